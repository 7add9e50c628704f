#include "views/gui/view_selection.h"

#include <QItemSelectionModel>
#include <QTableView>

#include "platform/host_port.h"
#include "views/gui/list_view.h"
#include "views/gui/record_list_model.h"
#include "views/gui/tree_view.h"
#include "views/tree_items.h"

namespace pw {

namespace {

QTableView* ShownRecordList(const ViewSlots& viewSlots) {
  return viewSlots.ListViewWindow ? viewSlots.ListViewWindow : viewSlots.MixedListWindow;
}

const RecordListModel* RecordModelOf(const QTableView* list) {
  return list ? dynamic_cast<const RecordListModel*>(list->model()) : nullptr;
}

std::int64_t ListSelection(const QTableView* list) {
  const RecordListModel* model = RecordModelOf(list);
  return model ? model->positionOfRow(GetListSelectionMark(list)) : -1;
}

}  // namespace

std::int64_t SelectedRecordPosition(HWND owner, const ViewSlots& viewSlots) {
  if (QTableView* list = ShownRecordList(viewSlots)) return ListSelection(list);
  if (viewSlots.TreeViewWindow)
    return TreeSelectionToPosition(owner, viewSlots.TreeItemTable, SelectedTreeItem(viewSlots.TreeViewWindow));
  MessageBoxW(owner, u"Please select a record first.", u"Record Selection", MB_OK | MB_ICONWARNING);
  return -1;
}

std::int64_t ShownRecordPosition(const ViewSlots& viewSlots) {
  if (QTableView* list = ShownRecordList(viewSlots)) return ListSelection(list);
  if (viewSlots.TreeViewWindow) return viewSlots.TreeItemTable.PositionOf(SelectedTreeItem(viewSlots.TreeViewWindow));
  return -1;
}

bool SelectShownRecord(const ViewSlots& viewSlots, std::int64_t position) {
  if (position < 0) return false;
  if (viewSlots.TreeViewWindow)
    return SelectTreeItem(viewSlots.TreeViewWindow, viewSlots.TreeItemTable.ItemOf(RecordPosition(position)));
  QTableView* list = ShownRecordList(viewSlots);
  const RecordListModel* model = RecordModelOf(list);
  if (!model) return false;
  // Rows are in ascending position order: search for the row.
  int low = 0, high = model->rowCount() - 1;
  while (low <= high) {
    const int mid = low + (high - low) / 2;
    const std::int64_t at = model->positionOfRow(mid);
    if (at == position) {
      list->selectRow(mid);
      list->scrollTo(model->index(mid, 1));
      return true;
    }
    if (at < position) low = mid + 1;
    else high = mid - 1;
  }
  return false;
}

}  // namespace pw
