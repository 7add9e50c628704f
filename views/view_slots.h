// The windows of the four views. At most one slot holds a window; which one
// tells the view shown. The GUI makes the windows; the rest of the program
// only tells which one is there.
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "views/tree_items.h"

namespace pw {

class ListWindow;    // a list of records or report lines
class TreeNodeView;  // the tree control

struct ViewSlots {
  ListWindow* ListViewWindow = nullptr;
  ListWindow* MixedListWindow = nullptr;
  TreeNodeView* TreeViewWindow = nullptr;
  ListWindow* ReportListWindow = nullptr;
  // The widget the views are made in (below the date tabs, above the status
  // line); null before the main window is made.
  HWND ViewArea = nullptr;
  // The Tree view's leaves and their records, emptied whenever the tree is
  // destroyed, and how many there are.
  TreeItemList TreeItemTable;
  int TreeItemCount = 0;
  // The object id of the time record whose timer runs (0: none): its row
  // shows the hours it has run so far.
  std::uint32_t RunningTimeRecord = 0;
};

}  // namespace pw
