// The Tree view's record table: pairs each record leaf (tree item) with its
// record's position, so that the selected leaf leads back to its record and
// a record to its leaf. It reads the tree's own nodes, so every leaf stays
// addressable however large the tree grows.
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "storage/record_store.h"
#include "views/tree_nodes.h"

namespace pw {

// A tree item is the node it shows.
using TreeItem = TreeNodeId;
inline constexpr TreeItem PWH_NO_TREE_ITEM = PWH_NO_TREE_NODE;

class TreeItemList {
 public:
  // The number of records in the tree.
  std::size_t count() const { return nodes_ ? nodes_->recordCount() : 0; }
  // Forgets the tree.
  void Clear() { nodes_ = nullptr; }
  // Pairs the leaves of `nodes` (kept by the caller until Clear) with their
  // records, the deferred ones included.
  void Attach(TreeNodeList* nodes) { nodes_ = nodes; }

  // The position of the record whose leaf `item` is; -1 for a group or an
  // unknown item.
  std::int64_t PositionOf(TreeItem item) const;
  // The leaf of the record at `position` (its day made first when
  // deferred), PWH_NO_TREE_ITEM when the tree does not hold it.
  TreeItem ItemOf(RecordPosition position) const;

 private:
  TreeNodeList* nodes_ = nullptr;
};

// The record that the selected tree item stands for, for the commands that
// act on the selected record. With no item selected: "No records available."
// and -1; with an item that is no record leaf (a group, or an empty table):
// "Please select a record first." and -1.
std::int64_t TreeSelectionToPosition(HWND owner, const TreeItemList& table, TreeItem selected);

}  // namespace pw
