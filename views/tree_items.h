// The Tree view's record table: one pair (tree item, record position) per
// record leaf, in leaf order, so that the selected leaf leads back to its
// record. It grows with the tree: every leaf stays addressable.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"
#include "storage/record_store.h"
#include "views/tree_nodes.h"

namespace pw {

// A tree item is the node it shows.
using TreeItem = TreeNodeId;
inline constexpr TreeItem PWH_NO_TREE_ITEM = PWH_NO_TREE_NODE;

class TreeItemList {
 public:
  std::size_t count() const { return pairs_.size(); }
  void Clear();
  void Append(TreeItem item, RecordPosition position);
  // Fills the table with the leaves of `nodes` in creation order.
  void FillFromLeaves(const TreeNodeList& nodes);

  // The position paired with `item` (the last pair when several are), -1
  // when none is.
  std::int64_t PositionOf(TreeItem item) const;
  // The first item paired with `position`, PWH_NO_TREE_ITEM when none is.
  TreeItem ItemOf(RecordPosition position) const;

 private:
  struct Pair {
    TreeItem item;
    RecordPosition position;
  };
  std::vector<Pair> pairs_;
  bool ascending_ = true;  // items appended in ascending order: binary search
};


// The record that the selected tree item stands for, for the commands that
// act on the selected record. With no item selected: "No records available."
// and -1; with an item that is no record leaf (a group, or an empty table):
// "Please select a record first." and -1.
std::int64_t TreeSelectionToPosition(HWND owner, const TreeItemList& table, TreeItem selected);

}  // namespace pw
