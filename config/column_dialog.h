// What the "Column Configuration" dialog does to the column model of one
// record kind: the two lists it shows and its four buttons. Every change is
// made to the model at once; the dialog only refills its lists afterwards.
#pragma once

#include <string>
#include <vector>

#include "config/column_model.h"
#include "platform/types.h"

namespace pw {

// Dialog 128 and its controls.
enum : int {
  IDD_COLUMN_CONFIG = 128,
  IDC_COLUMNS_HIDDEN = 1006,   // list "Hidden", left, sorted alphabetically
  IDC_COLUMNS_VISIBLE = 1048,  // list "Visible", right, in display order
  IDC_COLUMNS_SHOW = 1046,     // ">>"
  IDC_COLUMNS_HIDE = 1004,     // "<<"
  IDC_COLUMNS_UP = 1007,
  IDC_COLUMNS_DOWN = 1047,
};

// The lines of the two lists: the hidden columns by name (letter case
// ignored, as a sorted list box does), the shown ones left to right.
struct ColumnLists {
  std::vector<std::u16string> hidden;
  std::vector<std::u16string> visible;
};
ColumnLists ColumnDialogLists(ColumnModel& model, ColumnRange range);

// ">>": shows the hidden column of that name at the right end. Without a
// selection (null) the user is told to choose from the left pane; false.
bool ShowHiddenColumn(HWND dialog, ColumnModel& model, ColumnRange range, const std::u16string* selected);
// "<<": hides the column on that line of "Visible" (0-based; -1 for none,
// which the user is told to fix); false when nothing was hidden.
bool HideVisibleColumn(HWND dialog, ColumnModel& model, ColumnRange range, int line);
// "Up" / "Down": moves the column on that line of "Visible" one place and
// gives the line to select afterwards: the one above / below the old line,
// -1 (no selection) when there is none or nothing was selected.
int MoveVisibleColumnUp(HWND dialog, ColumnModel& model, ColumnRange range, int line);
int MoveVisibleColumnDown(HWND dialog, ColumnModel& model, ColumnRange range, int line);

}  // namespace pw
