#include "views/gui/list_view.h"

#include <QHeaderView>
#include <QTableView>

#include "views/gui/record_list_model.h"
#include "views/gui/view_fixture.h"

namespace pw {
namespace {

class ListViewTest : public test::ViewTest {
 protected:
  // Records dated 01/01/2000, 01/02/2000, ... with clients "C0", "C1", ... and projects "P0", ...
  void PutTimeRecords(int n) {
    StoreTransaction group;
    for (int i = 0; i < n; ++i) {
      TimeRecord r = test::Time(Format(u"01/%02d/2000", i + 1), Format(u"C%d", i));
      CopyText(r.project, Format(u"P%d", i)), CopyText(r.duration, u"01:30");
      test::Put(TimeDatabase, r);
    }
  }
  bool Recreate() { return RecreateListView(Sources(), &ListViewWindow, PWH_LIST_VIEW); }
};

TEST_F(ListViewTest, ColumnsFollowTheColumnModel) {
  PutTimeRecords(2);
  ColumnModel& columns = settings.columns();
  // Hide "Client", move "Task" to the front, widen "Project".
  ASSERT_TRUE(columns.UpdateColumnByName(ColumnRange::Time, u"Client", 60, 3, 0));
  for (std::uint32_t p = columns.GetColumn(8).position; p > 1; --p) columns.MoveColumnUp(ColumnRange::Time, p);
  ASSERT_TRUE(columns.UpdateColumnByName(ColumnRange::Time, u"Project", 111, columns.GetColumn(3).position, 1));

  ASSERT_TRUE(Recreate());
  QTableView* view = ListViewWindow;
  ASSERT_EQ(view->model()->columnCount(), 14);
  EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Task");
  EXPECT_EQ(std::vector<int>({view->columnWidth(0), view->columnWidth(1), view->columnWidth(4)}),
            std::vector<int>({0, 90, 111}));
  EXPECT_EQ(view->model()->index(1, 4).data().toString(), "P1");  // past the hidden column
}

// A rebuild shows the rows of the record set mode; the record that was
// current (or its nearest neighbour) is current, selected and in sight, and
// the list has the keyboard focus.
TEST_F(ListViewTest, RebuildShowsTheSelectionKeepsTheCurrentRecordAndTheFocus) {
  PutTimeRecords(300);
  area_.resize(640, 200);
  area_.show();
  const struct { const char* what; int mode; std::vector<RecordPosition> list; int rows, currentRow, keptRow; } cases[]{
      {"all records", PWH_ALL_REC_MODE, {}, 300, 250, 250},
      {"its nearest neighbour", PWH_SELECT_REC_MODE, {10, 255, 400, 290}, 2, 250, 1},  // 400 ends the walk
      {"nothing current", PWH_ALL_REC_MODE, {}, 300, -1, -1},
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
    EXPECT_EQ(list->model()->rowCount(), c.rows);
    EXPECT_EQ(list->currentIndex().row(), c.keptRow);
    EXPECT_EQ(GetListSelectionMark(list), c.keptRow);
    EXPECT_EQ(area_.focusWidget(), list);
    if (c.keptRow >= 0) {
      EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(list->currentIndex())));
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ListViewTest, DraggedWidthIsKept) {
  ASSERT_TRUE(Recreate());
  QHeaderView* header = ListViewWindow->horizontalHeader();
  header->blockSignals(true);  // only SaveListColumnWidths sees this one
  header->resizeSection(4, 120);
  header->blockSignals(false);
  EXPECT_TRUE(SaveListColumnWidths(&ListViewWindow, settings));
  EXPECT_EQ(settings.columns().GetColumn(3).width, 120u);
  DestroyCurrentView(state);  // to another view and back
  ASSERT_TRUE(Recreate());
  EXPECT_EQ(ListViewWindow->columnWidth(4), 120);
  // A drag goes into the column model at once.
  ListViewWindow->horizontalHeader()->resizeSection(1, 99);
  EXPECT_EQ(settings.columns().GetColumn(0).width, 99u);
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

}  // namespace
}  // namespace pw
