#include "views/tree_items.h"

#include <algorithm>

#include "platform/host_port.h"

namespace pw {

void TreeItemList::Clear() {
  pairs_.clear();
  pairs_.shrink_to_fit();
  ascending_ = true;
}

void TreeItemList::Append(TreeItem item, RecordPosition position) {
  if (!pairs_.empty() && item < pairs_.back().item) ascending_ = false;
  pairs_.push_back({item, position});
}

void TreeItemList::FillFromLeaves(const TreeNodeList& nodes) {
  Clear();
  pairs_.reserve(nodes.leafCount());
  for (TreeNodeId id = 0; id < TreeNodeId(nodes.size()); ++id) {
    const TreeNode& n = nodes.node(id);
    if (!n.hasChildren) Append(id, n.recordPosition);
  }
}

std::int64_t TreeItemList::PositionOf(TreeItem item) const {
  if (ascending_) {
    // The last pair of equal items is the one before the first greater item.
    const auto after = std::upper_bound(pairs_.begin(), pairs_.end(), item,
                                        [](TreeItem i, const Pair& p) { return i < p.item; });
    if (after == pairs_.begin() || std::prev(after)->item != item) return -1;
    return std::prev(after)->position;
  }
  for (auto p = pairs_.rbegin(); p != pairs_.rend(); ++p)
    if (p->item == item) return p->position;
  return -1;
}

TreeItem TreeItemList::ItemOf(RecordPosition position) const {
  for (const Pair& p : pairs_)
    if (p.position == position) return p.item;
  return PWH_NO_TREE_ITEM;
}

std::int64_t TreeSelectionToPosition(HWND owner, const TreeItemList& table, TreeItem selected) {
  if (selected == PWH_NO_TREE_ITEM) {
    MessageBoxW(owner, u"No records available.", u"Record Selection", MB_OK | MB_ICONERROR);
    return -1;
  }
  const std::int64_t position = table.PositionOf(selected);
  if (position < 0)
    MessageBoxW(owner, u"Please select a record first.", u"Record Selection", MB_OK | MB_ICONWARNING);
  return position;
}

}  // namespace pw
