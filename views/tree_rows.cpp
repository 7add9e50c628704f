#include "views/tree_rows.h"

namespace pw {

void TreeRows::Reset(TreeNodeList* nodes) {
  nodes_ = nodes;
  open_.assign(nodes ? nodes->size() : 0, 0);
  Update();
}

void TreeRows::Grow() {
  if (nodes_ && open_.size() < nodes_->size()) open_.resize(nodes_->size(), 0);
}

void TreeRows::SetOpen(TreeNodeId id, bool open) {
  Grow();
  if (!nodes_ || id < 0 || std::size_t(id) >= open_.size() || !nodes_->node(id).hasChildren) return;
  if (open) {
    nodes_->Build(std::span<const TreeNodeId>(&id, 1));
    Grow();
  }
  open_[std::size_t(id)] = open;
}

void TreeRows::OpenParentsOf(TreeNodeId id) {
  Grow();
  if (!nodes_ || id < 0 || std::size_t(id) >= open_.size()) return;
  for (TreeNodeId up = nodes_->node(id).parent; up != PWH_NO_TREE_NODE; up = nodes_->node(up).parent)
    open_[std::size_t(up)] = 1;
}

template <class Visit>
void TreeRows::ForEachGroupBelow(std::span<const TreeNodeId> roots, bool build, Visit&& visit) {
  if (!nodes_) return;
  std::vector<TreeNodeId> stack(roots.rbegin(), roots.rend());
  if (build) nodes_->Build(roots);
  Grow();
  while (!stack.empty()) {
    const TreeNodeId id = stack.back();
    stack.pop_back();
    if (id < 0 || std::size_t(id) >= open_.size() || !nodes_->node(id).hasChildren) continue;
    visit(open_[std::size_t(id)]);
    for (TreeNodeId child : nodes_->Children(id))
      if (nodes_->node(child).hasChildren) stack.push_back(child);
  }
}

void TreeRows::SetSubtreeOpen(TreeNodeId root, bool open) {
  ForEachGroupBelow(std::span<const TreeNodeId>(&root, 1), open, [open](char& flag) { flag = open; });
}

void TreeRows::FlipSubtrees(std::span<const TreeNodeId> roots) {
  // A deferred day opens: it is made first, and its groups flip open too.
  ForEachGroupBelow(roots, true, [](char& flag) { flag = !flag; });
}

void TreeRows::Update() {
  Grow();
  rows_.clear();
  rowOf_.assign(open_.size(), -1);
  if (!nodes_) return;
  // Depth first, each level's children in their order; a frame is the rest
  // of one child list still to be shown.
  std::vector<std::span<const TreeNodeId>> frames{nodes_->Children(PWH_NO_TREE_NODE)};
  while (!frames.empty()) {
    std::span<const TreeNodeId>& rest = frames.back();
    if (rest.empty()) {
      frames.pop_back();
      continue;
    }
    const TreeNodeId id = rest.front();
    rest = rest.subspan(1);
    rowOf_[std::size_t(id)] = std::int32_t(rows_.size());
    rows_.push_back(id);
    if (open_[std::size_t(id)]) frames.push_back(nodes_->Children(id));
  }
}

std::vector<OpenGroup> TreeRows::OpenGroups() const {
  std::vector<OpenGroup> groups;
  if (!nodes_) return groups;
  // A shown open group's parent is shown and open, and comes before it.
  std::vector<std::int32_t> placeOf(open_.size(), -1);
  for (TreeNodeId id : rows_) {
    if (!IsOpen(id)) continue;
    const TreeNode& n = nodes_->node(id);
    placeOf[std::size_t(id)] = std::int32_t(groups.size());
    const std::int32_t parent = n.parent == PWH_NO_TREE_NODE ? -1 : placeOf[std::size_t(n.parent)];
    groups.push_back(OpenGroup{std::u16string(nodes_->text(id)), n.level, parent});
  }
  return groups;
}

void TreeRows::Reopen(std::span<const OpenGroup> groups) {
  if (!nodes_) return;
  std::vector<TreeNodeId> found(groups.size(), PWH_NO_TREE_NODE);
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const OpenGroup& g = groups[i];
    if (g.parent >= std::int32_t(i)) continue;  // not from OpenGroups
    const TreeNodeId parent = g.parent < 0 ? PWH_NO_TREE_NODE : found[std::size_t(g.parent)];
    if (g.parent >= 0 && parent == PWH_NO_TREE_NODE) continue;  // its parent is gone
    found[i] = nodes_->FindTreeNode(g.text, parent, g.level);
    SetOpen(found[i], true);
  }
}

TreeNodeId TreeRows::ShownNodeAtOrAbove(TreeNodeId id) const {
  if (!nodes_ || id < 0 || std::size_t(id) >= rowOf_.size()) return PWH_NO_TREE_NODE;
  while (id != PWH_NO_TREE_NODE && RowOf(id) < 0) id = nodes_->node(id).parent;
  return id;
}

}  // namespace pw
