// The settings object: every user setting, read from the registry key at
// construction and written back at destruction.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "config/column_model.h"
#include "config/settings.h"
#include "platform/registry.h"
#include "storage/records.h"

namespace pw {

inline constexpr const char16_t* PWH_REGISTRY_KEY = u"Software\\brenwick\\Pennywhistle\\RunTimeConfig 0.5";

// WriteRegistryKey refuses longer values: a default time record with a note
// over 227 characters, or an expense record with one over 2036, cannot be
// stored.
inline constexpr std::size_t PWH_MAX_REGISTRY_VALUE_LENGTH = 4096;

// Stored default records: a fixed part, then the note's characters and a NUL.
inline constexpr std::size_t PWH_TIME_BLOB_FIXED_SIZE = 3640;     // an empty note makes 3642
inline constexpr std::size_t PWH_EXPENSE_BLOB_FIXED_SIZE = 4118;  // an empty note makes 4120
// What the record values hold when there is no default record ("-" in UTF-16LE);
// any stored length of exactly 2 is read as "none".
inline constexpr std::uint8_t PWH_NO_DEFAULT_MARKER[2] = {0x2D, 0x00};

// The settings object: the settings, read from the registry key at
// construction and written back at destruction.
class PWHConfiguration : public Settings {
 public:
  explicit PWHConfiguration(const char16_t* keyPath = PWH_REGISTRY_KEY);
  ~PWHConfiguration();
  PWHConfiguration(const PWHConfiguration&) = delete;
  PWHConfiguration& operator=(const PWHConfiguration&) = delete;

  // Writes the eight values in one registry transaction: all of them, or
  // (after a failure, which is shown) none. Does nothing (and shows
  // nothing) when the key could not be opened.
  bool storeSelf();
  // Stores 1..4096 bytes as a binary value of the key; every refusal and
  // failure is shown to the user.
  bool WriteRegistryKey(const char16_t* valueName, const std::uint8_t* bytes, std::size_t length);
  // On success *pBlob holds the value's bytes and *pBlobLength their count.
  // A value that cannot be queried or read is shown only when required.
  bool ReadRegistryKey(const char16_t* valueName, Blob* pBlob, std::size_t* pBlobLength, bool required);

  bool keyOpen() const { return key_ != nullptr; }

  // Stores RunningTimerOid at once (the rest waits for storeSelf); false,
  // with the failure shown, when it could not be stored.
  bool storeRunningTimer();

 private:
  void setDefaults();
  void loadSelf();
  void loadExpenseRecord();
  // What a read found: the value, none (missing or shorter than minLength,
  // except a 2-byte no-default marker where markerAllowed), or a value that
  // is there but could not be read (an I/O error, the registry busy, no
  // memory).
  enum class ValueRead { Read, Missing, Unreadable };
  ValueRead readValue(const char16_t* valueName, Blob* pBlob, std::size_t* pBlobLength, bool required,
                      std::size_t minLength, bool markerAllowed);
  // The timer's values, optional: a missing or short one keeps its default.
  void loadTimerValues();
  bool writeTimerValues();
  void showUnableToQuery(const char16_t* valueName, LONG code);
  void showUnableToStore(LONG code);
  // The seven settings as stored (the expense record whole; it is written
  // in two halves), in the order storeSelf writes them.
  static constexpr std::size_t kValueCount = 7;
  using StoredValues = std::array<Blob, kValueCount>;
  StoredValues storedValues(const Blob& columns) const;
  // The writes of storeSelf, in order; stops at the first that fails.
  bool writeValues(const Blob& columns);

  std::u16string keyPath_;
  HKEY key_ = nullptr;
  // Values that exist but could not be read at load: what they held in
  // memory then. Unless the user changed one since, it is not written back,
  // so that a passing read error never replaces a stored setting.
  std::array<bool, kValueCount> unreadable_{};
  bool timerUnreadable_ = false;
  bool awayUnreadable_ = false;
  StoredValues loaded_;
};

// Serialisers of the default records (3640 + 2 + 2n and 4118 + 2 + 2n bytes
// for a note of n characters). A serialiser given no place for its result, or
// a deserialiser given no blob or one shorter than its fixed part, does
// nothing and returns false. Deserialised notes are cut to 2047 characters.
bool SerializeTimeRecord(const TimeRecord& record, Blob* blob);
bool DeserializeTimeRecord(const Blob* blob, TimeRecord& record);
bool SerializeExpenseRecord(const ExpenseRecord& record, Blob* blob);
bool DeserializeExpenseRecord(const Blob* blob, ExpenseRecord& record);


}  // namespace pw
