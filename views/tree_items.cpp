#include "views/tree_items.h"

#include "platform/host_port.h"

namespace pw {

std::int64_t TreeItemList::PositionOf(TreeItem item) const {
  if (!nodes_ || item < 0 || std::size_t(item) >= nodes_->size() || nodes_->node(item).hasChildren) return -1;
  return nodes_->node(item).recordPosition;
}

TreeItem TreeItemList::ItemOf(RecordPosition position) const {
  return nodes_ ? nodes_->LeafOf(position) : PWH_NO_TREE_ITEM;
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
