// Every user setting as a plain value: what the program reads. Loading it
// from the registry and storing it back is the configuration object's
// (config/configuration.h); changing it is the configuration dialogs'.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "config/column_model.h"

namespace pw {

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

// The largest "away" time the settings take, in minutes (a day).
inline constexpr int PWH_MAX_AWAY_MINUTES = 24 * 60;
inline constexpr int PWH_DEFAULT_AWAY_MINUTES = 10;

struct Settings {
  std::uint8_t DBSortOrder = 1;
  // The behaviour flags in their stored order (PWH_CONFIRM_COPY ...). A flag
  // is on only when it holds exactly 1: read them through on() and the named
  // accessors below, never directly.
  std::uint8_t behaviorFlags[PWH_BEHAVIOR_FLAG_COUNT] = {1, 1, 1, 1, 1, 1, 0, 0};
  // 1: dates day.month.year, times on the 24-hour clock. Read through
  // europeanDates() and europeanTimes().
  std::uint8_t UseEuropeanDateFormat = 0;
  std::uint8_t UseEuropeanTimeFormat = 0;
  // The object id of the time record whose timer runs; 0 when none does.
  // Stored the moment it changes, so that a timer outlives a crash.
  std::uint32_t RunningTimerOid = 0;
  // "Ask when I am away for N minutes": N, 0 when off.
  std::int32_t AwayMinutes = PWH_DEFAULT_AWAY_MINUTES;

  bool on(int flag) const { return behaviorFlags[flag] == 1; }
  void set(int flag, bool value) { behaviorFlags[flag] = value ? 1 : 0; }
  bool confirmCopy() const { return on(PWH_CONFIRM_COPY); }
  bool confirmDelete() const { return on(PWH_CONFIRM_DELETE); }
  bool confirmMarkBilled() const { return on(PWH_CONFIRM_MARK_BILLED); }
  bool confirmMarkReimbursed() const { return on(PWH_CONFIRM_MARK_REIMBURSED); }
  bool confirmAddPulldownItem() const { return on(PWH_CONFIRM_ADD_PULLDOWN_ITEM); }
  bool confirmDeletePulldownItem() const { return on(PWH_CONFIRM_DELETE_PULLDOWN_ITEM); }
  bool defaultTimeRecordActive() const { return on(PWH_DEFAULT_TIME_RECORD_ACTIVE); }
  bool defaultExpenseRecordActive() const { return on(PWH_DEFAULT_EXPENSE_RECORD_ACTIVE); }
  bool europeanDates() const { return UseEuropeanDateFormat == 1; }
  bool europeanTimes() const { return UseEuropeanTimeFormat == 1; }

  ColumnModel& columns() { return columnModel_; }
  const ColumnModel& columns() const { return columnModel_; }
  // Default records in their stored form; null when there is none. Setting
  // replaces the blob held so far; an empty blob means none.
  const Blob* defaultTimeRecordBlob() const { return timeBlob_.empty() ? nullptr : &timeBlob_; }
  void setDefaultTimeRecordBlob(Blob blob) { timeBlob_ = std::move(blob); }
  const Blob* defaultExpenseRecordBlob() const { return expenseBlob_.empty() ? nullptr : &expenseBlob_; }
  void setDefaultExpenseRecordBlob(Blob blob) { expenseBlob_ = std::move(blob); }

 protected:
  ColumnModel columnModel_;
  Blob timeBlob_;
  Blob expenseBlob_;
};

}  // namespace pw
