// The record kind being worked on and the three open databases: the part of
// the program's state that every reader and writer of records needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/object_store.h"
#include "storage/record_store.h"

namespace pw {

// AppMode values.
enum : int { PWH_TIME_MODE = 1, PWH_EXPENSE_MODE = 2 };

struct RecordDatabases {
  // 1 Time, 2 Expense; starts at 1.
  int AppMode = PWH_TIME_MODE;
  DatabaseHandle TimeDatabase;
  DatabaseHandle ConfigDatabase;
  DatabaseHandle ExpenseDatabase;

  bool TimeMode() const { return AppMode != PWH_EXPENSE_MODE; }
  // The time database in Time mode, the expense database in Expense mode.
  DatabaseHandle& CurrentDatabase() { return AppMode == PWH_EXPENSE_MODE ? ExpenseDatabase : TimeDatabase; }
};

// RecordSetMode values: which records the views show and the multi-record
// commands act on.
inline constexpr int PWH_ALL_REC_MODE = 1;     // every record, in database order
inline constexpr int PWH_SELECT_REC_MODE = 2;  // the positions of a RecordPositionList

// An ordered list of record positions, appended in ascending order and
// cleared before every rebuild.
class RecordPositionList {
 public:
  std::size_t count() const { return positions_.size(); }
  bool empty() const { return positions_.empty(); }
  RecordPosition at(std::size_t i) const { return positions_[i]; }
  RecordPosition operator[](std::size_t i) const { return positions_[i]; }
  // The first and last positions; only when not empty.
  RecordPosition first() const { return positions_.front(); }
  RecordPosition last() const { return positions_.back(); }

  void Clear() { positions_.clear(); }
  // False (and the list unchanged) when no room could be made.
  bool Append(RecordPosition position) {
    try {
      positions_.push_back(position);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  std::vector<RecordPosition>::const_iterator begin() const { return positions_.begin(); }
  std::vector<RecordPosition>::const_iterator end() const { return positions_.end(); }
  const std::vector<RecordPosition>& positions() const { return positions_; }

 private:
  std::vector<RecordPosition> positions_;
};

}  // namespace pw
