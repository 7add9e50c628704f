#include "views/gui/view_port.h"

#include <algorithm>
#include <utility>

#include "views/gui/current_row.h"
#include "views/gui/list_view.h"
#include "views/gui/mixed_view.h"
#include "views/gui/record_list_model.h"
#include "views/gui/tree_view.h"
#include "views/gui/view_selection.h"
#include "views/record_totals.h"

namespace pw {

namespace {

// The row of the list that shows the record at position, -1 when none does.
int RowOfPosition(const QTableView* list, const RecordSelection& selection, RecordPosition position) {
  std::int64_t row = -1;
  if (selection.RecordSetMode == PWH_ALL_REC_MODE) {
    row = position;
  } else if (selection.RecordSetMode == PWH_SELECT_REC_MODE) {
    // The displayed positions are in ascending order.
    const auto& shown = selection.DisplayedRecordList.positions();
    const auto it = std::lower_bound(shown.begin(), shown.end(), position);
    if (it != shown.end() && *it == position) row = it - shown.begin();
  }
  return row >= 0 && row < list->model()->rowCount() ? int(row) : -1;
}

}  // namespace

GuiViewPort::GuiViewPort(ViewSlots& viewSlots, RecordDatabases& databases, RecordSelection& selection,
                         std::function<HWND()> owner, std::function<Settings*()> settings)
    : viewSlots_(viewSlots),
      databases_(databases),
      selection_(selection),
      owner_(std::move(owner)),
      settings_(std::move(settings)) {}

ViewSources GuiViewPort::Sources() {
  Settings* settings = settings_ ? settings_() : nullptr;
  return ViewSources{Owner(), databases_, selection_, settings ? *settings : defaults_, viewSlots_};
}

ListWindow* GuiViewPort::ShownList() const {
  return viewSlots_.ListViewWindow ? viewSlots_.ListViewWindow : viewSlots_.MixedListWindow;
}

ShownView GuiViewPort::Shown() const {
  if (viewSlots_.ListViewWindow) return ShownView::List;
  if (viewSlots_.TreeViewWindow) return ShownView::Tree;
  if (viewSlots_.MixedListWindow) return ShownView::Mixed;
  if (viewSlots_.ReportListWindow) return ShownView::Report;
  return ShownView::None;
}

std::int64_t GuiViewPort::SelectedRecordPosition() { return pw::SelectedRecordPosition(Owner(), viewSlots_); }

std::int64_t GuiViewPort::ShownRecordPosition() { return pw::ShownRecordPosition(viewSlots_); }

int GuiViewPort::SelectedRow() { return GetListSelectionMark(ShownList()); }

bool GuiViewPort::CreateView(ShownView view) {
  switch (view) {
    case ShownView::List: return RecreateListView(Sources(), &viewSlots_.ListViewWindow, PWH_LIST_VIEW);
    case ShownView::Mixed: return RecreateListView(Sources(), &viewSlots_.MixedListWindow, PWH_MIXED_VIEW);
    case ShownView::Tree: return RecreateTreeView(Sources());
    case ShownView::None:
    case ShownView::Report: break;
  }
  return false;
}

bool GuiViewPort::ReplaceListRows(const ShownTotals& totals) {
  return viewSlots_.ListViewWindow &&
         pw::ReplaceListRows(viewSlots_.ListViewWindow, databases_.CurrentDatabase(), databases_.AppMode, selection_,
                             totals);
}

bool GuiViewPort::ShowRecord(RecordPosition position) {
  if (viewSlots_.TreeViewWindow) return SelectShownRecord(viewSlots_, position);
  ListWindow* list = ShownList();
  if (!list || !list->model()) return false;
  const int row = RowOfPosition(list, selection_, position);
  if (row < 0) return false;
  MakeListRowCurrent(list, row);
  return true;
}

void GuiViewPort::MakeRowCurrent(int row) {
  ListWindow* list = ShownList();
  if (!list || !list->model() || row < 0) return;
  const int rows = list->model()->rowCount();
  if (rows > 0) MakeListRowCurrent(list, std::min(row, rows - 1));
}

void GuiViewPort::StoreColumnWidths() {
  Settings* settings = settings_ ? settings_() : nullptr;
  if (!settings) return;
  if (viewSlots_.ListViewWindow)
    SaveListColumnWidths(&viewSlots_.ListViewWindow, *settings);
  else if (viewSlots_.MixedListWindow)
    SaveListColumnWidths(&viewSlots_.MixedListWindow, *settings);
}

void GuiViewPort::ClearMixedCard() { pw::ClearMixedCard(viewSlots_); }

bool GuiViewPort::RecordChanged(RecordPosition position) {
  ListWindow* list = ShownList();
  auto* model = list ? dynamic_cast<RecordListModel*>(list->model()) : nullptr;
  if (!model || model->appMode() != databases_.AppMode) return false;
  const int row = RowOfPosition(list, selection_, position);
  DatabaseHandle& db = databases_.CurrentDatabase();
  PropertyBuffer props;
  const bool read = row >= 0 && CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) != 0 &&
                    CeReadRecordProps(db, CEDB_ALLOWREALLOC, props) != 0;
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  if (!read || !model->rowChanged(row, props)) return false;
  ShowTotals(model->totals(), selection_, db);
  if (list == viewSlots_.MixedListWindow) PaintMixedCard(viewSlots_);
  return true;
}

}  // namespace pw
