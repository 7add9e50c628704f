// The Tree view: the shown records of the current mode grouped in a tree
// (views/tree_nodes.h) in a tree control filling the view area, with the
// record table beside it (views/tree_items.h) and Expand/Collapse Tree.
#pragma once

#include <span>

#include "platform/types.h"
#include "views/gui/view_sources.h"
#include "views/tree_items.h"
#include "views/view_slots.h"

namespace pw {

class TreeNodeView;

// Makes the tree control of appMode's records in viewSlots.TreeViewWindow, shown
// at the view rectangle; false when there is no view area.
bool CreateMainTreeView(ViewSlots& viewSlots, int appMode);

// Destroys the view shown, makes the tree control (viewSlots.TreeViewWindow) and
// loads it from the current database. When the tree was shown before, the
// record (or group) that was current stays current in the new tree when it
// is still there; the tree has the keyboard focus afterwards. False when the
// control could not be made or a record could not be read (the tree is then
// empty).
bool RecreateTreeView(const ViewSources& sources);

// Status "loading tree view...", LoadMainTreeViewListBox, status "idle".
bool LoadTreeView(const ViewSources& sources);
// Builds the nodes of the shown records of the current database, hands them
// to viewSlots.TreeViewWindow, fills viewSlots.TreeItemTable and
// viewSlots.TreeItemCount and shows the record count. False after a read
// failure.
bool LoadMainTreeViewListBox(const ViewSources& sources);

// Command 40068: toggles the selected node of tree and, each on its own,
// every node below it. "There are no tree nodes selected." when none is.
void ExpandCollapseTree(HWND window, TreeNodeView* tree);

// Toggles every group node of the subtrees below `roots` (the roots
// included), each on its own, and lays the tree out once.
void ToggleSubtrees(TreeNodeView* tree, std::span<const TreeItem> roots);

// The selected item of a tree, PWH_NO_TREE_ITEM when none.
TreeItem SelectedTreeItem(const TreeNodeView* tree);
// Makes an item current and selected, its parents expanded and itself
// scrolled into view; false for an item the tree does not have.
bool SelectTreeItem(TreeNodeView* tree, TreeItem item);

}  // namespace pw
