#include "views/gui/list_view.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QTableView>
#include <QWidget>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "platform/object_store.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/gui/record_list_model.h"
#include "views/list_cells.h"

namespace pw {
namespace {

using test::ScriptedHost;

// A store of its own, both record databases, a configuration and a view
// area for every test.
class ListViewTest : public testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    ++serial;
    path_ = test::TemporaryHome() + "/list-view-" + std::to_string(serial) + ".db";
    OpenStore();
    configKey_ = Format(u"Software\\tests\\ListView %d", serial);
    config_ = std::make_unique<PWHConfiguration>(configKey_.c_str());
    Configuration = config_.get();
    area_ = std::make_unique<QWidget>();
    area_->resize(640, 480);
    ViewArea = area_.get();
    AppMode = PWH_TIME_MODE;
    RecordSetMode = PWH_ALL_REC_MODE;
    DisplayedRecordList.Clear();
  }

  void TearDown() override {
    DestroyCurrentView();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ViewArea = nullptr;
    area_.reset();
    Configuration = nullptr;
    config_.reset();
    CloseStore();
    AppMode = PWH_TIME_MODE;
  }

  void OpenStore() {
    ASSERT_TRUE(OpenObjectStore(path_));
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &TimeDatabase));
    ASSERT_TRUE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &ExpenseDatabase));
  }

  void CloseStore() {
    TimeDatabase.Close();
    ExpenseDatabase.Close();
    CloseObjectStore();
  }

  void Put(const TimeRecord& r) {
    CEPROPVAL props[PWH_TIME_PROP_COUNT];
    ASSERT_NE(CeWriteRecordProps(TimeDatabase, 0, PWH_TIME_PROP_COUNT, RecordToProps(r, props)), 0u);
  }
  void Put(const ExpenseRecord& r) {
    CEPROPVAL props[PWH_EXPENSE_PROP_COUNT];
    ASSERT_NE(CeWriteRecordProps(ExpenseDatabase, 0, PWH_EXPENSE_PROP_COUNT, RecordToProps(r, props)), 0u);
  }

  // Time records dated 01/01/2000, 01/02/2000, ... with clients "C0", "C1",
  // ...; every odd one billable, every third one with a note.
  void PutTimeRecords(int n) {
    StoreTransaction group;
    for (int i = 0; i < n; ++i) {
      TimeRecord r;
      CopyText(r.date, Format(u"01/%02d/2000", i + 1));
      CopyText(r.client, Format(u"C%d", i));
      CopyText(r.project, Format(u"P%d", i));
      CopyText(r.duration, u"01:30");
      r.billable = i % 2;
      if (i % 3 == 0) CopyText(r.notes, u"note");
      Put(r);
    }
  }

  void Select(std::vector<RecordPosition> positions) {
    RecordSetMode = PWH_SELECT_REC_MODE;
    DisplayedRecordList.Clear();
    for (RecordPosition p : positions) ASSERT_TRUE(DisplayedRecordList.Append(p));
  }

  bool Recreate(int kind = PWH_LIST_VIEW) {
    QTableView** slot = kind == PWH_MIXED_VIEW ? &MixedListWindow
                        : kind == PWH_REPORT_VIEW ? &ReportListWindow
                                                  : &ListViewWindow;
    return RecreateListView(nullptr, slot, CurrentDatabase(), kind);
  }

  static QString Text(QTableView* view, int row, int column) {
    return view->model()->index(row, column).data(Qt::DisplayRole).toString();
  }

  // The strip image a cell shows, -1 for none.
  static int Icon(QTableView* view, int row, int column) {
    const QVariant v = view->model()->index(row, column).data(Qt::DecorationRole);
    if (!v.isValid()) return -1;
    const QImage shown = v.value<QIcon>().pixmap(16, 16).toImage();
    const QImage strip(":/bitmaps/124.png");
    for (int i = 0; i < 3; ++i) {
      bool same = shown.size() == QSize(16, 16);
      for (int y = 0; same && y < 16; ++y) {
        for (int x = 0; same && x < 16; ++x) same = shown.pixelColor(x, y) == strip.pixelColor(16 * i + x, y);
      }
      if (same) return i;
    }
    return -2;  // an icon, but none of the strip's
  }

  static std::vector<QString> Titles(QTableView* view) {
    std::vector<QString> titles;
    for (int c = 0; c < view->model()->columnCount(); ++c) {
      titles.push_back(view->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    return titles;
  }

  ScriptedHost host_;
  std::string path_;
  std::u16string configKey_;
  std::unique_ptr<PWHConfiguration> config_;
  std::unique_ptr<QWidget> area_;
};

TEST_F(ListViewTest, ColumnsFollowTheColumnModel) {
  PutTimeRecords(2);
  ColumnModel& columns = Configuration->columns();
  // Hide "Client", move "Task" to the front, widen "Project".
  ASSERT_TRUE(columns.UpdateColumnByName(ColumnRange::Time, u"Client", 60, 3, 0));
  for (std::uint32_t p = columns.GetColumn(8).position; p > 1; --p) columns.MoveColumnUp(ColumnRange::Time, p);
  ASSERT_TRUE(columns.UpdateColumnByName(ColumnRange::Time, u"Project", 111, columns.GetColumn(3).position, 1));

  ASSERT_TRUE(Recreate());
  QTableView* view = ListViewWindow;
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Titles(view), (std::vector<QString>{"", "Task", "Date", "Hours", "Project", "Start", "End", "Rate",
                                                 "Subproject", "Ccy", "Amount", "B", "B'd", "N"}));
  EXPECT_EQ(view->columnWidth(0), 0);
  const std::vector<int> widths{90, 80, 44, 111, 65, 65, 50, 90, 45, 90, 30, 35, 30};
  for (int c = 1; c <= 13; ++c) EXPECT_EQ(view->columnWidth(c), widths[c - 1]) << "column " << c;
  EXPECT_FALSE(view->horizontalHeader()->isHidden());
  EXPECT_FALSE(view->verticalHeader()->isVisibleTo(view));

  // Cells land at their own columns, past the hidden one too.
  EXPECT_EQ(Text(view, 1, 2), "01/02/2000");
  EXPECT_EQ(Text(view, 1, 3), "1.50");
  EXPECT_EQ(Text(view, 1, 4), "P1");
  EXPECT_EQ(Text(view, 1, 0), "");
  EXPECT_EQ(Icon(view, 1, 11), PWH_ICON_CHECK);
  EXPECT_EQ(Icon(view, 1, 13), PWH_ICON_CROSS);
}

struct RowsCase {
  const char* what;
  int mode;
  std::vector<RecordPosition> list;
  int records;
  std::vector<QString> clients;  // of the rows, top to bottom
};

void PrintTo(const RowsCase& c, std::ostream* os) { *os << c.what; }

class ListViewRowsTest : public ListViewTest, public testing::WithParamInterface<RowsCase> {};

TEST_P(ListViewRowsTest, RowsFollowTheRecordSetMode) {
  const RowsCase& c = GetParam();
  PutTimeRecords(c.records);
  if (c.mode == PWH_SELECT_REC_MODE) Select(c.list);

  ASSERT_TRUE(Recreate());
  QTableView* view = ListViewWindow;
  ASSERT_EQ(view->model()->rowCount(), int(c.clients.size()));
  for (int row = 0; row < int(c.clients.size()); ++row) {
    EXPECT_EQ(Text(view, row, 3), c.clients[row]) << "row " << row;
    // The rest of the row is the same record's.
    const int record = c.clients[row].mid(1).toInt();
    EXPECT_EQ(Text(view, row, 4), QString("P%1").arg(record));
    EXPECT_EQ(Icon(view, row, 12), record % 2 ? PWH_ICON_CHECK : PWH_ICON_CROSS);
    EXPECT_EQ(Icon(view, row, 14), record % 3 ? PWH_ICON_CROSS : PWH_ICON_NOTE);
  }
  EXPECT_EQ(host_.statusText(PWH_STATUS_COUNT), Format(u"%2d", int(c.clients.size())));
  EXPECT_EQ(host_.statusHistory(PWH_STATUS_ACTIVITY),
            (std::vector<std::u16string>{u"re-creating list view...", u"loading new list view...", u"idle"}));
  EXPECT_TRUE(host_.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    BothModes, ListViewRowsTest,
    testing::Values(RowsCase{"all records", PWH_ALL_REC_MODE, {}, 4, {"C0", "C1", "C2", "C3"}},
                    RowsCase{"empty database", PWH_ALL_REC_MODE, {}, 0, {}},
                    RowsCase{"selected positions", PWH_SELECT_REC_MODE, {2, 5}, 7, {"C2", "C5"}},
                    RowsCase{"nothing selected", PWH_SELECT_REC_MODE, {}, 7, {}},
                    RowsCase{"a position past the end ends the walk", PWH_SELECT_REC_MODE, {1, 9, 2}, 3,
                             {"C1"}}));

TEST_F(ListViewTest, ExpenseRecordsInEuropeanForm) {
  AppMode = PWH_EXPENSE_MODE;
  Configuration->UseEuropeanDateFormat = 1;
  ExpenseRecord r;
  CopyText(r.date, u"12/31/2000");
  CopyText(r.miles, u"120");
  r.reimbursed = true;
  Put(r);

  ASSERT_TRUE(Recreate());
  QTableView* view = ListViewWindow;
  ASSERT_EQ(view->model()->rowCount(), 1);
  EXPECT_EQ(Titles(view).size(), 17u);
  EXPECT_EQ(Text(view, 0, 1), "31.12.2000");
  EXPECT_EQ(Icon(view, 0, 6), PWH_ICON_CROSS);  // Mileage
  EXPECT_EQ(Text(view, 0, 7), "");               // Miles of a record without mileage
  EXPECT_EQ(Icon(view, 0, 14), PWH_ICON_CHECK);  // R'd
}

TEST_F(ListViewTest, DraggedWidthIsKept) {
  PutTimeRecords(1);
  ASSERT_TRUE(Recreate());
  QHeaderView* header = ListViewWindow->horizontalHeader();

  // Width read back by SaveListColumnWidths (the drag itself not noticed).
  header->blockSignals(true);
  header->resizeSection(4, 120);  // "Project"
  header->blockSignals(false);
  EXPECT_TRUE(SaveListColumnWidths(&ListViewWindow, Configuration));
  EXPECT_EQ(Configuration->columns().GetColumn(3).width, 120u);
  EXPECT_EQ(Configuration->columns().GetColumn(3).position, 4u);

  // To another view and back.
  DestroyCurrentView();
  ASSERT_TRUE(Recreate());
  EXPECT_EQ(ListViewWindow->columnWidth(4), 120);

  // A drag goes into the column model at once.
  ListViewWindow->horizontalHeader()->resizeSection(1, 99);
  EXPECT_EQ(Configuration->columns().GetColumn(0).width, 99u);
  for (int i = 0; i <= 13; ++i) EXPECT_TRUE(Configuration->columns().GetColumn(i).visible);

  // Without a List or Mixed view there is nothing to save.
  DestroyCurrentView();
  EXPECT_TRUE(SaveListColumnWidths(&ListViewWindow, Configuration));
}

TEST_F(ListViewTest, ReadFailureKeepsTheRowsReadSoFar) {
  PutTimeRecords(4);
  // Damage the stored bytes of the last record behind the store's back.
  CloseStore();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE records SET props = x'ff' WHERE oid = (SELECT max(oid) FROM records)",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  OpenStore();

  EXPECT_FALSE(Recreate());
  ASSERT_NE(ListViewWindow, nullptr);
  EXPECT_EQ(ListViewWindow->model()->rowCount(), 3);
  EXPECT_EQ(Text(ListViewWindow, 2, 3), "C2");
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text,
            Format(u"LoadMainListBox: could not CeReadRecordProps(): error code: (%ld).", long(ERROR_INVALID_DATA)));
  EXPECT_EQ(host_.messages[0].title, u"Pennywhistle Db Error");
  EXPECT_EQ(host_.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
  // The count is not updated after a failure; the activity still ends.
  EXPECT_EQ(host_.statusText(PWH_STATUS_COUNT), u" 0");
  EXPECT_EQ(host_.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

// Cells are read when shown, through a handle of the list's own: painting a
// screenful reads each shown record once and leaves the program's handle
// where the walk left it.
TEST_F(ListViewTest, PaintingReadsOnlyTheShownRecords) {
  PutTimeRecords(120);
  ASSERT_TRUE(Recreate());
  area_->show();
  auto* model = dynamic_cast<RecordListModel*>(ListViewWindow->model());
  ASSERT_NE(model, nullptr);
  ListViewWindow->grab();
  const int shown = ListViewWindow->viewport()->height() / ListViewWindow->rowHeight(0) + 1;
  EXPECT_GT(model->recordReads(), 0u);
  EXPECT_LE(model->recordReads(), std::uint64_t(shown));

  PropertyBuffer buffer;
  ASSERT_NE(CeReadRecordProps(TimeDatabase, CEDB_ALLOWREALLOC, buffer), 0u);
  TimeRecord current;
  PropsToRecord(buffer.data(), buffer.size(), current);
  EXPECT_EQ(TextOf(current.client), u"C0");
}

TEST_F(ListViewTest, MixedListTakesTheUpperHalf) {
  ASSERT_TRUE(Recreate(PWH_MIXED_VIEW));
  EXPECT_EQ(GetViewRectangle(), QRect(0, 0, 640, 480));
  EXPECT_EQ(MixedListWindow->geometry(), QRect(0, 0, 640, 240));
  area_->show();
  area_->resize(500, 301);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(MixedListWindow->geometry(), QRect(0, 0, 500, 150));
  EXPECT_EQ(ListViewWindow, nullptr);
}

TEST_F(ListViewTest, ReportListHasOneColumnAndNoHeader) {
  ASSERT_TRUE(CreateMainListView(&ReportListWindow, PWH_REPORT_VIEW));
  QTableView* view = ReportListWindow;
  EXPECT_EQ(view->model()->columnCount(), 1);
  EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Report Entry");
  EXPECT_EQ(view->columnWidth(0), 700);
  EXPECT_TRUE(view->horizontalHeader()->isHidden());
  EXPECT_TRUE(view->showGrid());
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);

  // Lines are put at the top, so they read back in the reverse order.
  for (const char16_t* line : {u"third", u"", u"first"}) EXPECT_TRUE(InsertReportLine(view, 0, line));
  EXPECT_EQ(ReportLineCount(view), 3);
  std::u16string text;
  EXPECT_TRUE(GetReportLine(view, 0, &text));
  EXPECT_EQ(text, u"first");
  EXPECT_TRUE(GetReportLine(view, 2, &text));
  EXPECT_EQ(text, u"third");
  EXPECT_FALSE(GetReportLine(view, 3, &text));

  // Leaving the report greys Save Report; leaving a list does not touch it.
  host_.menuEnabled[40067] = true;
  ASSERT_TRUE(Recreate());
  EXPECT_EQ(ReportListWindow, nullptr);
  EXPECT_FALSE(host_.menuEnabled[40067]);
  host_.menuEnabled[40067] = true;
  DestroyCurrentView();
  EXPECT_TRUE(host_.menuEnabled[40067]);
}

TEST_F(ListViewTest, CreationFailureIsReported) {
  ViewArea = nullptr;
  EXPECT_FALSE(Recreate());
  EXPECT_EQ(ListViewWindow, nullptr);
  ASSERT_EQ(host_.messages.size(), 2u);
  EXPECT_EQ(host_.messages[0].text, u"ERROR: CreateWindowEx (LISTBOX) failed (6).");
  EXPECT_EQ(host_.messages[0].title, u"Error");
  EXPECT_EQ(host_.messages[0].type, MB_OK | MB_ICONSTOP);
  EXPECT_EQ(host_.messages[1].text, u"Pennywhistle error: CreateMainListView failed. Error code: [6].");
  EXPECT_EQ(host_.messages[1].title, u"Pennywhistle Error");
  EXPECT_EQ(host_.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

TEST_F(ListViewTest, SelectionMarkIsTheSelectedRow) {
  PutTimeRecords(3);
  ASSERT_TRUE(Recreate());
  EXPECT_EQ(GetListSelectionMark(ListViewWindow), -1);
  ListViewWindow->selectRow(2);
  EXPECT_EQ(GetListSelectionMark(ListViewWindow), 2);
  EXPECT_EQ(GetListSelectionMark(nullptr), -1);
}

}  // namespace
}  // namespace pw
