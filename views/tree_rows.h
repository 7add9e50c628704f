// The rows a tree shows: its top nodes and, below every open group, that
// group's children, depth first. Which groups are open is kept per node, so
// opening or closing any number of groups costs one walk over the rows that
// end up shown, however large the tree. A deferred day is made when it
// opens (alone or with the groups below others).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "views/tree_nodes.h"

namespace pw {

// An open group as a new tree of the same records finds it again: its text
// and level, and the place of the open group above it in the same list (-1
// for a top node).
struct OpenGroup {
  std::u16string text;
  std::int32_t level;
  std::int32_t parent;
};

class TreeRows {
 public:
  // Starts over for `nodes` (kept by the caller) with every group closed.
  void Reset(TreeNodeList* nodes);

  bool IsOpen(TreeNodeId id) const {
    return id >= 0 && std::size_t(id) < open_.size() && open_[std::size_t(id)];
  }
  // Opens or closes a group; leaves and unknown ids are ignored. The rows
  // follow at the next Update().
  void SetOpen(TreeNodeId id, bool open);
  // Opens every group above a node, so that it is shown after Update().
  void OpenParentsOf(TreeNodeId id);
  // Opens or closes a group and every group below it.
  void SetSubtreeOpen(TreeNodeId root, bool open);
  // Flips every group of the subtrees below `roots` (the roots included),
  // each on its own: an open group below a closed one closes, and so on.
  void FlipSubtrees(std::span<const TreeNodeId> roots);

  // The open groups shown, in row order.
  std::vector<OpenGroup> OpenGroups() const;
  // Opens every group of `groups` (from OpenGroups of another tree) that
  // this tree has under the same path, its day made first when deferred.
  void Reopen(std::span<const OpenGroup> groups);

  // Lays the rows out again after the calls above.
  void Update();

  std::size_t size() const { return rows_.size(); }
  TreeNodeId NodeAt(std::size_t row) const { return row < rows_.size() ? rows_[row] : PWH_NO_TREE_NODE; }
  // The row of a node, -1 when it is not shown (a closed group above it).
  int RowOf(TreeNodeId id) const {
    return id >= 0 && std::size_t(id) < rowOf_.size() ? rowOf_[std::size_t(id)] : -1;
  }
  // The nearest shown node at or above `id`; PWH_NO_TREE_NODE for none.
  TreeNodeId ShownNodeAtOrAbove(TreeNodeId id) const;

 private:
  // Calls visit(open flag) for every group of the subtrees below `roots`.
  // The deferred days among the roots are made first when `build`.
  template <class Visit>
  void ForEachGroupBelow(std::span<const TreeNodeId> roots, bool build, Visit&& visit);
  // Makes room for the nodes made since.
  void Grow();

  TreeNodeList* nodes_ = nullptr;
  std::vector<char> open_;
  std::vector<TreeNodeId> rows_;
  std::vector<std::int32_t> rowOf_;
};

}  // namespace pw
