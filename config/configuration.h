// The settings object: every user setting, read from the registry key at
// construction and written back at destruction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/column_model.h"
#include "platform/registry.h"
#include "storage/records.h"

namespace pw {

inline constexpr const char16_t* PWH_REGISTRY_KEY = u"Software\\brenwick\\Pennywhistle\\RunTimeConfig 0.5";

// The eight behaviour flags, in their stored order.
enum : int {
  PWH_CONFIRM_COPY = 0,
  PWH_CONFIRM_DELETE,
  PWH_CONFIRM_MARK_BILLED,
  PWH_CONFIRM_MARK_REIMBURSED,
  PWH_CONFIRM_ADD_PULLDOWN_ITEM,
  PWH_CONFIRM_DELETE_PULLDOWN_ITEM,
  PWH_DEFAULT_TIME_RECORD_ACTIVE,
  PWH_DEFAULT_EXPENSE_RECORD_ACTIVE,
  PWH_BEHAVIOR_FLAG_COUNT
};

using Blob = std::vector<std::uint8_t>;

class PWHConfiguration {
 public:
  explicit PWHConfiguration(const char16_t* keyPath = PWH_REGISTRY_KEY);
  ~PWHConfiguration();
  PWHConfiguration(const PWHConfiguration&) = delete;
  PWHConfiguration& operator=(const PWHConfiguration&) = delete;

  bool storeSelf();
  bool WriteRegistryKey(const char16_t* valueName, const std::uint8_t* bytes, std::size_t length);
  // On success *pBlob holds the value's bytes and *pBlobLength their count.
  bool ReadRegistryKey(const char16_t* valueName, Blob* pBlob, std::size_t* pBlobLength, bool required);

  std::uint8_t DBSortOrder = 1;
  // Behaviour flags, named views of behaviorFlags below.
  std::uint8_t& confirmCopy() { return behaviorFlags[PWH_CONFIRM_COPY]; }
  std::uint8_t& confirmDelete() { return behaviorFlags[PWH_CONFIRM_DELETE]; }
  std::uint8_t& confirmMarkBilled() { return behaviorFlags[PWH_CONFIRM_MARK_BILLED]; }
  std::uint8_t& confirmMarkReimbursed() { return behaviorFlags[PWH_CONFIRM_MARK_REIMBURSED]; }
  std::uint8_t& confirmAddPulldownItem() { return behaviorFlags[PWH_CONFIRM_ADD_PULLDOWN_ITEM]; }
  std::uint8_t& confirmDeletePulldownItem() { return behaviorFlags[PWH_CONFIRM_DELETE_PULLDOWN_ITEM]; }
  std::uint8_t& defaultTimeRecordActive() { return behaviorFlags[PWH_DEFAULT_TIME_RECORD_ACTIVE]; }
  std::uint8_t& defaultExpenseRecordActive() { return behaviorFlags[PWH_DEFAULT_EXPENSE_RECORD_ACTIVE]; }
  std::uint8_t behaviorFlags[PWH_BEHAVIOR_FLAG_COUNT] = {1, 1, 1, 1, 1, 1, 0, 0};
  std::uint8_t UseEuropeanDateFormat = 0;
  std::uint8_t UseEuropeanTimeFormat = 0;

  ColumnModel& columns() { return columnModel_; }
  const ColumnModel& columns() const { return columnModel_; }

  // Default records in their stored form; null when there is none.
  const Blob* defaultTimeRecordBlob() const { return timeBlob_.empty() ? nullptr : &timeBlob_; }
  void setDefaultTimeRecordBlob(Blob blob) { timeBlob_ = std::move(blob); }
  const Blob* defaultExpenseRecordBlob() const { return expenseBlob_.empty() ? nullptr : &expenseBlob_; }
  void setDefaultExpenseRecordBlob(Blob blob) { expenseBlob_ = std::move(blob); }

  bool keyOpen() const { return key_ != nullptr; }

 private:
  void setDefaults();
  void loadSelf();

  std::u16string keyPath_;
  HKEY key_ = nullptr;
  ColumnModel columnModel_;
  Blob timeBlob_;
  Blob expenseBlob_;
};

// Serialisers of the default records. A serialiser given no place for its
// result, or a deserialiser given no blob, does nothing and returns false.
bool SerializeTimeRecord(const TimeRecord& record, Blob* blob);
bool DeserializeTimeRecord(const Blob* blob, TimeRecord& record);
bool SerializeExpenseRecord(const ExpenseRecord& record, Blob* blob);
bool DeserializeExpenseRecord(const Blob* blob, ExpenseRecord& record);

// 1 when the European date / 24-hour time setting is on; 0 without a configuration.
bool EuropeanDates();
bool EuropeanTimes();

}  // namespace pw
