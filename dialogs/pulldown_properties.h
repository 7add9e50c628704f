// What a page of the "Pulldown Properties" editor does with its category:
// adding the typed value and deleting the selected one, with every question
// and message. Changes go to the configuration database at once.
#pragma once

#include <functional>
#include <string_view>

#include "platform/object_store.h"
#include "platform/types.h"

namespace pw {

// Dialog 106 (one page) and its controls.
enum : int {
  IDD_PULLDOWN_PAGE = 106,
  IDC_PULLDOWN_ADD = 1002,
  IDC_PULLDOWN_DELETE = 1003,
  IDC_PULLDOWN_NEW_VALUE = 1004,
  IDC_PULLDOWN_VALUES = 1005,
};

// The categories of the editor's pages, in their order (time before
// expense, the billing rate after the task).
inline constexpr int PulldownPageCategories[11] = {16, 17, 32, 33, 34, 68, 69, 70, 71, 72, 73};

// The longest value the edit box hands over (a 255-unit buffer with its NUL).
inline constexpr std::size_t PWH_PULLDOWN_VALUE_LIMIT = 254;

// How "Add" ended, and so what becomes of the page's boxes.
enum class PulldownAdd {
  Empty,     // nothing typed: the user was told
  Listed,    // already in the list (or "n/a"): the text stays in the edit box
  Added,     // stored: the text goes into the list, the edit box is emptied
  Declined,  // the user said No: the edit box is emptied
};
// confirmAdd: ask before storing the value.
PulldownAdd AddPulldownValue(HWND page, DatabaseHandle& db, int categoryId, std::u16string_view typed,
                             bool confirmAdd);

// How "Delete" ended.
enum class PulldownDelete {
  NoSelection,  // the user was told
  EmptyText,    // silently nothing
  Declined,     // the user said No
  Removed,      // the line was removed (even when the stored entry could not be)
};
// selected is the list's selected line (-1 for none) and text its text;
// removeLine takes the line out of the list before the stored entry goes;
// confirmDelete: ask first.
PulldownDelete DeletePulldownValue(HWND page, DatabaseHandle& db, int categoryId, int selected,
                                   std::u16string_view text, bool confirmDelete,
                                   const std::function<void()>& removeLine);

}  // namespace pw
