#include "views/gui/list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>

#include "config/configuration.h"
#include "platform/host_port.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "text/format.h"
#include "views/gui/current_row.h"
#include "views/gui/mixed_view.h"
#include "views/gui/record_list_model.h"
#include "views/gui/tree_node_view.h"
#include "views/list_cells.h"
#include "views/tree_items.h"

namespace pw {

QTableView* ListViewWindow = nullptr;
QTableView* MixedListWindow = nullptr;
TreeNodeView* TreeViewWindow = nullptr;
QTableView* ReportListWindow = nullptr;
int TreeItemCount = 0;
QWidget* ViewArea = nullptr;

namespace {

// Save Report in the File menu: only available while a report is shown.
constexpr unsigned kSaveReportCommand = 40067;
constexpr int kReportColumnWidth = 700;

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
}

// The columns used when there is no configuration object.
ColumnModel& FallbackColumns() {
  static ColumnModel columns;
  return columns;
}

RecordListModel* RecordModelOf(const QTableView* list) {
  return list ? dynamic_cast<RecordListModel*>(list->model()) : nullptr;
}

ReportListModel* ReportModelOf(const QTableView* list) {
  return list ? dynamic_cast<ReportListModel*>(list->model()) : nullptr;
}

QRect ViewRectangleOf(QWidget* view) {
  QRect r = GetViewRectangle();
  // The Mixed view's list takes the upper half; its card is drawn below.
  if (view == MixedListWindow) r.setHeight(int(r.height() * 0.5));
  return r;
}

// Keeps the view that is shown filling the view area when the area changes size.
class ViewAreaFollower final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == ViewArea && event->type() == QEvent::Resize) {
      for (QWidget* view : {static_cast<QWidget*>(ListViewWindow), static_cast<QWidget*>(MixedListWindow),
                            static_cast<QWidget*>(ReportListWindow), static_cast<QWidget*>(TreeViewWindow)}) {
        if (view) view->setGeometry(ViewRectangleOf(view));
      }
    }
    return false;
  }
};

void FollowViewArea() {
  static QPointer<QWidget> followed;
  if (followed == ViewArea) return;
  followed = ViewArea;
  ViewArea->installEventFilter(new ViewAreaFollower(ViewArea));
}

// A slot whose view Qt destroys on its own (with its parent) must not keep
// pointing at it.
void ForgetWhenDestroyed(QWidget* view) {
  QObject::connect(view, &QObject::destroyed, [view](QObject*) {
    if (ListViewWindow == view) ListViewWindow = nullptr;
    if (MixedListWindow == view) MixedListWindow = nullptr;
    if (ReportListWindow == view) ReportListWindow = nullptr;
  });
}

// Hides a view at once and deletes it when control returns to the event
// loop: the command that re-creates a view may run inside one of its signals.
template <class View>
void DisposeView(View*& slot) {
  if (!slot) return;
  QWidget* view = slot;
  slot = nullptr;
  view->hide();
  view->deleteLater();
}

// A column width the user dragged goes straight into the column model.
void KeepDraggedWidth(const RecordListModel* model, int column, int width) {
  if (!Configuration || width < 0) return;
  const int entry = model->entryAtColumn(column);
  if (entry < 0) return;
  ColumnModel& columns = Configuration->columns();
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

void SetUpRecordColumns(QTableView* view) {
  ColumnModel& columns = Configuration ? Configuration->columns() : FallbackColumns();
  auto* model = new RecordListModel(AppMode, columns, CurrentListCellFormat(), view);
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
                   [model](int column, int, int width) { KeepDraggedWidth(model, column, width); });
}

// The record current in the record list shown (List view, else the Mixed
// view's list).
KeptRecord CurrentRecordOfShownList() {
  QTableView* list = ListViewWindow ? ListViewWindow : MixedListWindow;
  const RecordListModel* model = RecordModelOf(list);
  if (!model || !list->selectionModel()) return {};
  const QModelIndex current = list->selectionModel()->currentIndex();
  return current.isValid() ? KeptRecord{model->appMode(), model->positionOfRow(current.row())} : KeptRecord{};
}

// Makes the kept record (or its nearest neighbour) current in a new list of
// the same mode.
void RestoreCurrentRecord(QTableView* list, const KeptRecord& kept) {
  RecordListModel* model = RecordModelOf(list);
  if (!model || kept.position < 0 || kept.appMode != model->appMode()) return;
  const int row = RowNearestToPosition(kept.position, model->rowCount(), RecordSetMode, DisplayedRecordList);
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

QRect GetViewRectangle() {
  if (!ViewArea) return QRect();
  return QRect(QPoint(0, 0), ViewArea->size());
}

bool CreateMainListView(QTableView** slot, int kind) {
  const bool knownKind = kind == PWH_LIST_VIEW || kind == PWH_REPORT_VIEW || kind == PWH_MIXED_VIEW;
  if (!slot || !ViewArea || !knownKind) {
    const DWORD error = !ViewArea ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER;
    if (slot) *slot = nullptr;
    MessageBoxW(MainWindow, Format(u"ERROR: CreateWindowEx (LISTBOX) failed (%ld).", long(error)), u"Error",
                MB_OK | MB_ICONSTOP);
    SetLastError(error);
    return false;
  }

  auto* view = new QTableView(ViewArea);
  SetUpTable(view);
  if (kind == PWH_REPORT_VIEW) SetUpReportColumn(view);
  else SetUpRecordColumns(view);

  *slot = view;
  ForgetWhenDestroyed(view);
  FollowViewArea();
  QRect r = GetViewRectangle();
  if (kind == PWH_MIXED_VIEW) r.setHeight(int(r.height() * 0.5));
  view->setGeometry(r);
  view->show();
  if (kind == PWH_MIXED_VIEW) AttachMixedCard(view);
  return true;
}

bool LoadMainListBox(HWND owner, QTableView* list, DatabaseHandle& db) {
  ShowRecordCount(0);
  RecordListModel* model = RecordModelOf(list);
  if (!model) return false;
  model->attachDatabase(db);

  // Every row's record is reached and read once, so that a damaged record
  // is reported now; its cells are only worked out when they are shown.
  PropertyBuffer buffer;
  std::size_t count = 0;
  DWORD readError = 0;
  bool readFailed = false;
  auto visit = [&](DWORD position) {
    if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0) return false;
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) {
      readError = GetLastError();
      readFailed = true;
      return false;
    }
    buffer.clear();
    ++count;
    return true;
  };

  if (RecordSetMode == PWH_ALL_REC_MODE) {
    for (DWORD p = 0; visit(p); ++p) {
    }
    model->setAllRows(count);
  } else if (RecordSetMode == PWH_SELECT_REC_MODE) {
    for (RecordPosition p : DisplayedRecordList) {
      if (!visit(p)) break;
    }
    model->setSelectedRows(DisplayedRecordList.positions(), count);
  }

  if (readFailed) {
    buffer.clear();
    MessageBoxW(owner, Format(u"LoadMainListBox: could not CeReadRecordProps(): error code: (%ld).", long(readError)),
                u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  ShowRecordCount(int(count));
  return true;
}

bool RecreateListView(HWND owner, QTableView** slot, DatabaseHandle& db, int kind) {
  SetStatusText(PWH_STATUS_ACTIVITY, u"re-creating list view...");
  const KeptRecord kept = CurrentRecordOfShownList();
  DestroyCurrentView();
  if (!CreateMainListView(slot, kind)) {
    const DWORD error = GetLastError();
    MessageBoxW(nullptr, Format(u"Pennywhistle error: CreateMainListView failed. Error code: [%ld].", long(error)),
                u"Pennywhistle Error", MB_OK | MB_ICONEXCLAMATION);
    SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
    return false;
  }
  SetStatusText(PWH_STATUS_ACTIVITY, u"loading new list view...");
  const bool loaded = LoadMainListBox(owner, *slot, db);
  if (loaded) RestoreCurrentRecord(*slot, kept);
  // Arrow keys, Enter and Del go on working where the user was.
  (*slot)->setFocus();
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  return loaded;
}

void DestroyCurrentView() {
  TreeItemCount = 0;
  TreeItemTable.Clear();
  DisposeView(TreeViewWindow);
  DisposeView(MixedListWindow);
  DisposeView(ListViewWindow);
  if (ReportListWindow) {
    Host().EnableMenuItem(kSaveReportCommand, false);
    DisposeView(ReportListWindow);
  }
}

bool SaveListColumnWidths(QTableView** slot, PWHConfiguration* config) {
  if (!slot || !config) return true;
  QTableView* view = *slot;
  if (!view || (view != ListViewWindow && view != MixedListWindow)) return true;
  const RecordListModel* model = RecordModelOf(view);
  if (!model) return true;

  ColumnModel& columns = config->columns();
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
