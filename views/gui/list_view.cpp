#include "views/gui/list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

#include "platform/command_ids.h"
#include "platform/gui/hwnd.h"
#include "platform/host_port.h"
#include "text/format.h"
#include "views/gui/current_row.h"
#include "views/gui/mixed_view.h"
#include "views/gui/record_list_model.h"
#include "views/gui/report_charts.h"
#include "views/gui/tree_node_view.h"
#include "views/list_cells.h"
#include "views/record_totals.h"
#include "views/tree_items.h"

namespace pw {

namespace {

// Save Report, Report as PDF and Print Report in the File menu: only
// available while a report is shown.
constexpr unsigned kReportCommands[] = {IDM_SAVE_REPORT, IDM_SAVE_REPORT_PDF, IDM_PRINT_REPORT};
constexpr int kReportColumnWidth = 700;

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
}

RecordListModel* RecordModelOf(const QTableView* list) {
  return list ? dynamic_cast<RecordListModel*>(list->model()) : nullptr;
}

ReportListModel* ReportModelOf(const QTableView* list) {
  return list ? dynamic_cast<ReportListModel*>(list->model()) : nullptr;
}

QRect ViewRectangleOf(const ViewSlots& viewSlots, QWidget* view) {
  QRect r = GetViewRectangle(viewSlots);
  // The Mixed view's list takes the upper half; its card is drawn below.
  if (view == viewSlots.MixedListWindow) r.setHeight(int(r.height() * 0.5));
  // The Report view's charts take the right of the area.
  if (view == viewSlots.ReportListWindow) r.setWidth(ReportLinesWidth(r.width(), view->font()));
  return r;
}

constexpr const char* kFollowerName = "ViewAreaFollower";

// Keeps the view that is shown filling the view area when the area changes size.
class ViewAreaFollower final : public QObject {
 public:
  ViewAreaFollower(QWidget* area, ViewSlots* viewSlots) : QObject(area), area_(area), viewSlots_(viewSlots) {
    setObjectName(QString::fromLatin1(kFollowerName));
  }
  void follow(ViewSlots* viewSlots) { viewSlots_ = viewSlots; }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == area_ && event->type() == QEvent::Resize) {
      const ViewSlots& s = *viewSlots_;
      for (QWidget* view : {static_cast<QWidget*>(s.ListViewWindow), static_cast<QWidget*>(s.MixedListWindow),
                            static_cast<QWidget*>(s.ReportListWindow), static_cast<QWidget*>(s.TreeViewWindow)}) {
        if (view) view->setGeometry(ViewRectangleOf(s, view));
      }
    }
    return false;
  }

 private:
  QWidget* area_;
  ViewSlots* viewSlots_;
};

// The view area keeps one follower, of the slots it was last given.
void FollowViewArea(ViewSlots& viewSlots) {
  QWidget* area = FromHwnd(viewSlots.ViewArea);
  auto* follower = static_cast<ViewAreaFollower*>(
      area->findChild<QObject*>(QString::fromLatin1(kFollowerName), Qt::FindDirectChildrenOnly));
  if (follower) {
    follower->follow(&viewSlots);
    return;
  }
  area->installEventFilter(new ViewAreaFollower(area, &viewSlots));
}

// A slot whose view Qt destroys on its own (with its parent) must not keep
// pointing at it. The view itself receives the signal, so that disposing of
// the view (which empties the slot first) can take it back.
void ForgetWhenDestroyed(ViewSlots& viewSlots, ListWindow* view) {
  QObject::connect(view, &QObject::destroyed, view, [&viewSlots, view](QObject*) {
    if (viewSlots.ListViewWindow == view) viewSlots.ListViewWindow = nullptr;
    if (viewSlots.MixedListWindow == view) viewSlots.MixedListWindow = nullptr;
    if (viewSlots.ReportListWindow == view) viewSlots.ReportListWindow = nullptr;
  });
}

// Hides a view at once and deletes it when control returns to the event
// loop: the command that re-creates a view may run inside one of its signals.
// The slots may be gone by then: the view no longer tells them.
template <class View>
void DisposeView(View*& slot) {
  if (!slot) return;
  QWidget* view = slot;
  slot = nullptr;
  QObject::disconnect(view, &QObject::destroyed, view, nullptr);
  view->hide();
  view->deleteLater();
}

// A column width the user dragged goes straight into the column model.
void KeepDraggedWidth(Settings& settings, const RecordListModel* model, int column, int width) {
  if (width < 0) return;
  const int entry = model->entryAtColumn(column);
  if (entry < 0) return;
  ColumnModel& columns = settings.columns();
  const ColumnInfo c = columns.GetColumn(entry);
  if (!c.visible || c.width == std::uint32_t(width)) return;
  columns.UpdateColumnByName(model->range(), c.text(), std::uint32_t(width), c.position, c.visible);
}

void SetUpTable(QTableView* view) {
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setWordWrap(false);
  view->setCornerButtonEnabled(false);
  view->setIconSize(QSize(16, 16));

  // The selection stays visible while the list does not have the focus.
  QPalette palette = view->palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  }
  view->setPalette(palette);

  // Fixed row height: rows are never measured, whatever their number.
  QHeaderView* rows = view->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(std::max(18, view->fontMetrics().height() + 4));

  QHeaderView* columns = view->horizontalHeader();
  columns->setSectionsMovable(false);
  columns->setHighlightSections(false);
  columns->setStretchLastSection(false);
  columns->setMinimumSectionSize(8);
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void SetUpRecordColumns(const ViewSources& sources, QTableView* view) {
  Settings& settings = sources.settings;
  const ColumnModel& columns = settings.columns();
  auto* model = new RecordListModel(sources.databases.AppMode, columns, ListCellFormatOf(settings), view);
  model->setRunningRecord(&sources.viewSlots.RunningTimeRecord);
  view->setModel(model);
  view->setShowGrid(false);

  // Column 0 carries no text and has no width; the record columns follow
  // at their display positions with their stored widths.
  QHeaderView* header = view->horizontalHeader();
  view->setColumnHidden(0, true);
  for (int c = 1; c < model->columnCount(); ++c) {
    header->resizeSection(c, int(columns.GetColumn(model->entryAtColumn(c)).width));
  }
  QObject::connect(header, &QHeaderView::sectionResized, view,
                   [&settings, model](int column, int, int width) { KeepDraggedWidth(settings, model, column, width); });
}

// The record current in the record list shown (List view, else the Mixed
// view's list).
KeptRecord CurrentRecordOfShownList(const ViewSlots& viewSlots) {
  QTableView* list = viewSlots.ListViewWindow ? viewSlots.ListViewWindow : viewSlots.MixedListWindow;
  const RecordListModel* model = RecordModelOf(list);
  if (!model || !list->selectionModel()) return {};
  const QModelIndex current = list->selectionModel()->currentIndex();
  return current.isValid() ? KeptRecord{model->appMode(), model->positionOfRow(current.row())} : KeptRecord{};
}

// Makes the kept record (or its nearest neighbour) current in a new list of
// the same mode.
void RestoreCurrentRecord(QTableView* list, const RecordSelection& selection, const KeptRecord& kept) {
  RecordListModel* model = RecordModelOf(list);
  if (!model || kept.position < 0 || kept.appMode != model->appMode()) return;
  const int row = RowNearestToPosition(kept.position, model->rowCount(), selection.RecordSetMode,
                                       selection.DisplayedRecordList);
  // Column 0 is hidden: the first record column carries the focus.
  if (row >= 0) MakeCurrent(list, model->index(row, std::min(1, model->columnCount() - 1)));
}

void SetUpReportColumn(QTableView* view) {
  view->setModel(new ReportListModel(view));
  view->setShowGrid(true);
  view->horizontalHeader()->hide();
  view->horizontalHeader()->resizeSection(0, kReportColumnWidth);
}

}  // namespace

QRect GetViewRectangle(const ViewSlots& viewSlots) {
  if (!viewSlots.ViewArea) return QRect();
  return QRect(QPoint(0, 0), FromHwnd(viewSlots.ViewArea)->size());
}

bool CreateMainListView(const ViewSources& sources, ListWindow** slot, int kind) {
  ViewSlots& viewSlots = sources.viewSlots;
  const bool knownKind = kind == PWH_LIST_VIEW || kind == PWH_REPORT_VIEW || kind == PWH_MIXED_VIEW;
  if (!slot || !viewSlots.ViewArea || !knownKind) {
    const DWORD error = !viewSlots.ViewArea ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER;
    if (slot) *slot = nullptr;
    MessageBoxW(sources.owner, Format(u"ERROR: CreateWindowEx (LISTBOX) failed (%ld).", long(error)), u"Error",
                MB_OK | MB_ICONSTOP);
    SetLastError(error);
    return false;
  }

  auto* view = new ListWindow(FromHwnd(viewSlots.ViewArea));
  SetUpTable(view);
  if (kind == PWH_REPORT_VIEW) SetUpReportColumn(view);
  else SetUpRecordColumns(sources, view);

  *slot = view;
  ForgetWhenDestroyed(viewSlots, view);
  FollowViewArea(viewSlots);
  view->setGeometry(ViewRectangleOf(viewSlots, view));
  view->show();
  if (kind == PWH_MIXED_VIEW) AttachMixedCard(sources, view);
  return true;
}

bool LoadMainListBox(HWND owner, QTableView* list, DatabaseHandle& db, const RecordSelection& selection) {
  ShowRecordCount(0);
  RecordListModel* model = RecordModelOf(list);
  if (!model) return false;
  model->attachDatabase(db);

  // Every row's record is reached and read once, so that a damaged record
  // is reported now; its cells are only worked out when they are shown.
  PropertyBuffer buffer;
  TotalsCounter totals(model->appMode());
  totals.KeepTerms();
  std::size_t count = 0;
  DWORD readError = 0;
  bool readFailed = false;
  // Only the fields of the totals are taken from each record.
  const PropertyIdSet& fields = TotalsFields(model->appMode() != PWH_EXPENSE_MODE);
  auto visit = [&](DWORD position) {
    if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0) return false;
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer, &fields) == 0) {
      readError = GetLastError();
      readFailed = true;
      return false;
    }
    totals.Add(buffer);
    buffer.clear();
    ++count;
    return true;
  };

  if (selection.RecordSetMode == PWH_ALL_REC_MODE) {
    for (DWORD p = 0; visit(p); ++p) {
    }
    model->setAllRows(count);
  } else if (selection.RecordSetMode == PWH_SELECT_REC_MODE) {
    for (RecordPosition p : selection.DisplayedRecordList) {
      if (!visit(p)) break;
    }
    model->setSelectedRows(selection.DisplayedRecordList.positions(), count);
  }

  if (readFailed) {
    buffer.clear();
    MessageBoxW(owner, Format(u"LoadMainListBox: could not CeReadRecordProps(): error code: (%ld).", long(readError)),
                u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  ShowRecordCount(int(count));
  ShowTotals(totals.totals(), selection, db);
  model->setTotals(std::move(totals));
  return true;
}

bool ReplaceListRows(QTableView* list, DatabaseHandle& db, int appMode, const RecordSelection& selection,
                     const ShownTotals& totals) {
  RecordListModel* model = RecordModelOf(list);
  if (!model || model->appMode() != appMode || totals.records < 0) return false;
  const std::size_t count = std::size_t(totals.records);
  const bool all = selection.RecordSetMode == PWH_ALL_REC_MODE;
  if (!all && (selection.RecordSetMode != PWH_SELECT_REC_MODE || selection.DisplayedRecordList.count() != count))
    return false;
  const QModelIndex current = list->selectionModel() ? list->selectionModel()->currentIndex() : QModelIndex();
  const std::int64_t kept = current.isValid() ? model->positionOfRow(current.row()) : -1;
  if (all) model->setAllRows(count);
  else model->setSelectedRows(selection.DisplayedRecordList.positions(), count);
  const int row = std::max(0, model->rowOfPosition(kept));
  // Column 0 is hidden: the first record column carries the focus.
  if (count > 0) MakeCurrent(list, model->index(row, std::min(1, model->columnCount() - 1)));
  ShowRecordCount(int(count));
  ShowTotals(totals, selection, db);
  return true;
}

bool RecreateListView(const ViewSources& sources, ListWindow** slot, int kind) {
  SetStatusText(PWH_STATUS_ACTIVITY, u"re-creating list view...");
  const KeptRecord kept = CurrentRecordOfShownList(sources.viewSlots);
  DestroyCurrentView(sources.viewSlots);
  if (!CreateMainListView(sources, slot, kind)) {
    const DWORD error = GetLastError();
    MessageBoxW(nullptr, Format(u"Pennywhistle error: CreateMainListView failed. Error code: [%ld].", long(error)),
                u"Pennywhistle Error", MB_OK | MB_ICONEXCLAMATION);
    SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
    return false;
  }
  SetStatusText(PWH_STATUS_ACTIVITY, u"loading new list view...");
  const bool loaded =
      LoadMainListBox(sources.owner, *slot, sources.databases.CurrentDatabase(), sources.selection);
  if (loaded) RestoreCurrentRecord(*slot, sources.selection, kept);
  // Arrow keys, Enter and Del go on working where the user was.
  (*slot)->setFocus();
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  return loaded;
}

void DestroyCurrentView(ViewSlots& viewSlots) {
  viewSlots.TreeItemCount = 0;
  viewSlots.TreeItemTable.Clear();
  DisposeView(viewSlots.TreeViewWindow);
  DisposeView(viewSlots.MixedListWindow);
  DisposeView(viewSlots.ListViewWindow);
  if (viewSlots.ReportListWindow) {
    for (unsigned id : kReportCommands) Host().EnableMenuItem(id, false);
    DisposeView(viewSlots.ReportListWindow);
  }
}

bool SaveListColumnWidths(ListWindow** slot, Settings& settings) {
  if (!slot) return true;
  QTableView* view = *slot;
  // Only record lists have column widths to keep (not the Report list).
  const RecordListModel* model = RecordModelOf(view);
  if (!model) return true;

  ColumnModel& columns = settings.columns();
  for (int c = 1; c < model->columnCount(); ++c) {
    const ColumnInfo info = columns.GetColumn(model->entryAtColumn(c));
    const int width = view->columnWidth(c);
    if (info.visible && width >= 0 && info.width != std::uint32_t(width)) {
      columns.UpdateColumnByName(model->range(), info.text(), std::uint32_t(width), info.position, info.visible);
    }
  }
  return true;
}

int GetListSelectionMark(const QTableView* list) {
  if (!list || !list->selectionModel()) return -1;
  const QModelIndexList selected = list->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

bool InsertReportLine(QTableView* list, int row, std::u16string_view text) {
  ReportListModel* model = ReportModelOf(list);
  if (!model) return false;
  model->insertLine(row, ToQString(text));
  return true;
}

int ReportLineCount(const QTableView* list) {
  const ReportListModel* model = ReportModelOf(list);
  return model ? model->lineCount() : 0;
}

bool GetReportLine(const QTableView* list, int row, std::u16string* out) {
  const ReportListModel* model = ReportModelOf(list);
  if (!model || !out || row < 0 || row >= model->lineCount()) return false;
  *out = FromQString(model->line(row));
  return true;
}

bool SetReportLines(QTableView* list, const std::vector<std::u16string>& lines) {
  ReportListModel* model = ReportModelOf(list);
  if (!model) return false;
  std::deque<QString> texts;
  for (const std::u16string& line : lines) texts.push_back(ToQString(line));
  model->setLines(std::move(texts));
  return true;
}

std::vector<std::u16string> GetReportLines(const QTableView* list) {
  std::vector<std::u16string> out;
  const ReportListModel* model = ReportModelOf(list);
  if (!model) return out;
  out.reserve(std::size_t(model->lineCount()));
  for (int row = 0; row < model->lineCount(); ++row) out.push_back(FromQString(model->line(row)));
  return out;
}

}  // namespace pw
