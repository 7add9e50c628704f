#include "views/gui/list_view.h"

#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QTableView>

#include <vector>

#include "support/comma_locale.h"
#include "text/fixed_text.h"
#include "views/gui/record_list_model.h"
#include "views/gui/view_fixture.h"

namespace pw {
namespace {

class ListViewTest : public test::ViewTest {
 protected:
  // Records dated 01/01/2000, 01/02/2000, ... with clients "C0", "C1", ... and projects "P0", ...; every odd
  // one billable.
  void PutTimeRecords(int n) {
    StoreTransaction group;
    for (int i = 0; i < n; ++i) {
      TimeRecord r = test::Time(Format(u"01/%02d/2000", i + 1), Format(u"C%d", i), i % 2);
      CopyText(r.project, Format(u"P%d", i)), CopyText(r.duration, u"01:30");
      test::Put(TimeDatabase, r);
    }
  }

  bool Recreate() { return RecreateListView(nullptr, &ListViewWindow, CurrentDatabase(), PWH_LIST_VIEW); }

  // The text, title and type of a recorded message box.
  static auto Box(const test::RecordedMessage& m) { return std::tuple(m.text, m.title, m.type); }

  static QString Text(QTableView* v, int row, int column) { return v->model()->index(row, column).data().toString(); }

  // The image of the strip that a cell shows, -1 for none.
  static int Icon(QTableView* view, int row, int column) {
    const QVariant v = view->model()->index(row, column).data(Qt::DecorationRole);
    if (!v.isValid()) return -1;
    const QImage shown = v.value<QIcon>().pixmap(16, 16).toImage();
    const QImage strip(":/bitmaps/124.png");
    for (int i = 0; i < 3; ++i) {
      bool same = shown.size() == QSize(16, 16);
      for (int p = 0; same && p < 256; ++p) same = shown.pixelColor(p % 16, p / 16) == strip.pixelColor(16 * i + p % 16, p / 16);
      if (same) return i;
    }
    return -2;
  }
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
  const std::vector<QString> titles{"", "Task", "Date", "Hours", "Project", "Start", "End",
                                    "Rate", "Subproject", "Ccy", "Amount", "B", "B'd", "N"};
  const std::vector<int> widths{0, 90, 80, 44, 111, 65, 65, 50, 90, 45, 90, 30, 35, 30};
  ASSERT_EQ(view->model()->columnCount(), 14);
  for (int c = 0; c < 14; ++c) {
    EXPECT_EQ(view->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
    EXPECT_EQ(view->columnWidth(c), widths[c]) << "column " << c;
  }
  EXPECT_FALSE(view->verticalHeader()->isVisibleTo(view));

  // Cells land at their own columns, past the hidden one too; their texts and icons are the cells' own.
  EXPECT_EQ(Text(view, 1, 4), "P1");
  EXPECT_EQ(Icon(view, 1, 11), PWH_ICON_CHECK);
}

TEST_F(ListViewTest, RowsFollowTheRecordSetMode) {
  PutTimeRecords(7);
  // rows: the clients shown, top to bottom.
  struct { int mode; std::vector<RecordPosition> list; QStringList rows; } const cases[]{
      {PWH_ALL_REC_MODE, {}, {"C0", "C1", "C2", "C3", "C4", "C5", "C6"}},
      {PWH_SELECT_REC_MODE, {2, 5}, {"C2", "C5"}},
      {PWH_SELECT_REC_MODE, {1, 9, 2}, {"C1"}},  // a position past the end ends the walk
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.rows.size() << " rows");
    RecordSetMode = c.mode;
    DisplayedRecordList.Clear();
    for (RecordPosition p : c.list) DisplayedRecordList.Append(p);
    host.status.clear();
    ASSERT_TRUE(Recreate());
    QStringList shown;
    for (int row = 0; row < ListViewWindow->model()->rowCount(); ++row) shown << Text(ListViewWindow, row, 3);
    EXPECT_EQ(shown, c.rows);
    EXPECT_EQ(host.statusText(PWH_STATUS_COUNT), Format(u"%2d", int(c.rows.size())));
    EXPECT_EQ(host.statusHistory(PWH_STATUS_ACTIVITY),
              (std::vector<std::u16string>{u"re-creating list view...", u"loading new list view...", u"idle"}));
  }
  EXPECT_TRUE(host.messages.empty());
}

// After a rebuild the record that was current (or its nearest neighbour)
// is current, selected and in sight, and the list has the keyboard focus.
TEST_F(ListViewTest, RebuildKeepsTheCurrentRecordAndTheFocus) {
  PutTimeRecords(300);
  area_.resize(640, 200);
  area_.show();
  // list: shown in PWH_SELECT_REC_MODE; currentRow: before, -1 for none; keptRow: after.
  const struct { const char* what; int mode; std::vector<RecordPosition> list; int currentRow, keptRow; } cases[]{
      {"all records", PWH_ALL_REC_MODE, {}, 250, 250},
      {"the record is in the new selection", PWH_SELECT_REC_MODE, {10, 250, 260}, 250, 1},
      {"its nearest neighbour", PWH_SELECT_REC_MODE, {10, 255, 290}, 250, 1},
      {"nothing current", PWH_ALL_REC_MODE, {}, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecordSetMode = PWH_ALL_REC_MODE;
    ASSERT_TRUE(Recreate());
    ListViewWindow->setCurrentIndex(c.currentRow >= 0 ? ListViewWindow->model()->index(c.currentRow, 1) : QModelIndex());
    RecordSetMode = c.mode;
    DisplayedRecordList.Clear();
    for (RecordPosition p : c.list) DisplayedRecordList.Append(p);
    ASSERT_TRUE(Recreate());
    QTableView* list = ListViewWindow;
    EXPECT_EQ(list->currentIndex().row(), c.keptRow);
    EXPECT_EQ(GetListSelectionMark(list), c.keptRow);
    EXPECT_EQ(area_.focusWidget(), list);
    if (c.keptRow >= 0) {
      const QRect row = list->visualRect(list->currentIndex());
      EXPECT_TRUE(list->viewport()->rect().contains(row)) << "in sight";
    }
  }
}

// A German desktop's C library writes "1,50": the list still shows the
// program's own numbers.
TEST_F(ListViewTest, HoursKeepTheirDecimalPointUnderACommaLocale) {
  test::CommaDecimalLocale german;
  if (!german.active()) GTEST_SKIP() << test::kCommaLocale << " is not installed (tools/install-deps.sh makes it)";
  PutTimeRecords(1);
  ASSERT_TRUE(Recreate());
  EXPECT_EQ(Text(ListViewWindow, 0, 2), "1.50");
}

TEST_F(ListViewTest, ExpenseModeShowsExpenseColumns) {
  AppMode = PWH_EXPENSE_MODE;
  Configuration->UseEuropeanDateFormat = 1;
  test::Put(ExpenseDatabase, test::Expense(u"12/31/2000"));

  ASSERT_TRUE(Recreate());
  ASSERT_EQ(ListViewWindow->model()->columnCount(), 17);
  EXPECT_EQ(Text(ListViewWindow, 0, 1), "31.12.2000");  // in the configured date form
}

TEST_F(ListViewTest, DraggedWidthIsKept) {
  ASSERT_TRUE(Recreate());
  QHeaderView* header = ListViewWindow->horizontalHeader();
  header->blockSignals(true);  // only SaveListColumnWidths sees this one
  header->resizeSection(4, 120);
  header->blockSignals(false);
  EXPECT_TRUE(SaveListColumnWidths(&ListViewWindow, Configuration));
  EXPECT_EQ(Configuration->columns().GetColumn(3).width, 120u);
  EXPECT_EQ(Configuration->columns().GetColumn(3).position, 4u);
  DestroyCurrentView();  // to another view and back
  ASSERT_TRUE(Recreate());
  EXPECT_EQ(ListViewWindow->columnWidth(4), 120);
  // A drag goes into the column model at once.
  ListViewWindow->horizontalHeader()->resizeSection(1, 99);
  EXPECT_EQ(Configuration->columns().GetColumn(0).width, 99u);
}

TEST_F(ListViewTest, ReadFailureKeepsTheRowsReadSoFar) {
  PutTimeRecords(3);
  DamageRecord(test::Put(TimeDatabase, test::Time(u"01/04/2000", u"C3")));  // sorts last
  EXPECT_FALSE(Recreate());
  EXPECT_EQ(ListViewWindow->model()->rowCount(), 3);
  EXPECT_EQ(Text(ListViewWindow, 2, 3), "C2");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(Box(host.messages[0]), std::tuple(u"LoadMainListBox: could not CeReadRecordProps(): error code: (13).",
                                                u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(host.statusText(PWH_STATUS_COUNT) + host.statusText(PWH_STATUS_ACTIVITY), u" 0idle");
}

// Painting a screenful reads each shown record once, through the list's own
// handle: the program's handle stays where the walk left it.
TEST_F(ListViewTest, PaintingReadsOnlyTheShownRecords) {
  PutTimeRecords(120);
  ASSERT_TRUE(Recreate());
  area_.show();
  auto* model = dynamic_cast<RecordListModel*>(ListViewWindow->model());
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

TEST_F(ListViewTest, ReportList) {
  ASSERT_TRUE(CreateMainListView(&ReportListWindow, PWH_REPORT_VIEW));
  QTableView* view = ReportListWindow;
  EXPECT_EQ(view->model()->columnCount(), 1);
  EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Report Entry");
  EXPECT_EQ(view->columnWidth(0), 700);
  EXPECT_TRUE(view->horizontalHeader()->isHidden() && view->showGrid());
  for (const char16_t* line : {u"third", u"", u"first"}) EXPECT_TRUE(InsertReportLine(view, 0, line));
  std::u16string text;
  EXPECT_TRUE(GetReportLine(view, 0, &text));
  EXPECT_EQ(text, u"first");
  EXPECT_EQ(ReportLineCount(view), 3);
}

TEST_F(ListViewTest, CreationFailureIsReported) {
  ViewArea = nullptr;
  EXPECT_FALSE(Recreate());
  EXPECT_EQ(ListViewWindow, nullptr);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(Box(host.messages[0]),
            std::tuple(u"ERROR: CreateWindowEx (LISTBOX) failed (6).", u"Error", MB_OK | MB_ICONSTOP));
  EXPECT_EQ(host.messages[1].text, u"Pennywhistle error: CreateMainListView failed. Error code: [6].");
  EXPECT_EQ(host.messages[1].title, u"Pennywhistle Error");
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

}  // namespace
}  // namespace pw
