// Keeping the user's place when a view is made anew: the record that was
// current before is made current again (or its nearest neighbour), in sight,
// and the view takes the keyboard focus.
#pragma once

#include <cstdint>

class QAbstractItemView;
class QModelIndex;
class QTableView;

namespace pw {

// The record of a view's current row, by mode and database position;
// position -1 when no row was current.
struct KeptRecord {
  int appMode = 0;
  std::int64_t position = -1;
};

// Makes index the current and only selected item of view and scrolls it
// into sight; nothing for an invalid index.
void MakeCurrent(QAbstractItemView* view, const QModelIndex& index);

// Makes a row of a record list current (its first shown column, column 0
// being hidden) and gives the list the keyboard focus; nothing for a row the
// list does not have.
void MakeListRowCurrent(QTableView* list, int row);

}  // namespace pw
