#include "views/gui/mixed_view.h"

#include <QImage>
#include <QTableView>

#include "storage/record_operations.h"
#include "views/gui/view_fixture.h"

namespace pw {
namespace {

class MixedViewTest : public test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    QPalette white = area_.palette();
    white.setColor(QPalette::Window, Qt::white);
    area_.setPalette(white);
    area_.setAutoFillBackground(true);
    area_.show();
    test::Put(TimeDatabase, test::Time(u"03/14/2024", u"A client whose name is long enough to be seen", 1, 0));
    test::Put(TimeDatabase, test::Time(u"03/15/2024", u"Beta"));
  }
  // The card as painted; its ink: how many of its pixels are not white.
  QImage Card() { return area_.grab().toImage().copy(GetCardRectangle(state).adjusted(1, 1, -1, -1)); }
  static int Ink(const QImage& card) {
    int ink = 0;
    for (int p = 0; p < card.width() * card.height(); ++p) ink += card.pixelColor(p % card.width(), p / card.width()) != Qt::white;
    return ink;
  }
};

// The list has the upper half of the area, whatever its size, and the card
// below it paints the selected record.
TEST_F(MixedViewTest, TheCardFollowsTheSelectedRow) {
  ASSERT_TRUE(RecreateListView(Sources(), &MixedListWindow, PWH_MIXED_VIEW));
  EXPECT_EQ(MixedListWindow->geometry().bottom() + 1, GetCardRectangle(state).top());
  EXPECT_EQ(Ink(Card()), 0);  // nothing selected: only the card's frame
  QImage cards[2];
  for (int row : {0, 1}) {
    MixedListWindow->selectRow(row);
    PaintMixedCard(state);  // as the list's change notice does
    cards[row] = Card();
    EXPECT_GT(Ink(cards[row]), 500);
  }
  EXPECT_NE(cards[0], cards[1]);
  area_.resize(500, 301);
  EXPECT_EQ(MixedListWindow->geometry(), QRect(0, 0, 500, 150));
}

// A record changed where it stands: its row, the totals and the card show it as a rebuild does.
TEST_F(MixedViewTest, ARecordChangedInPlaceShowsAsARebuildDoes) {
  ASSERT_TRUE(RecreateListView(Sources(), &MixedListWindow, PWH_MIXED_VIEW));
  const auto shown = [&] {
    MixedListWindow->selectRow(1);
    QStringList row;
    for (int c = 1; c < MixedListWindow->model()->columnCount(); ++c) row << MixedListWindow->model()->index(1, c).data().toString();
    return std::tuple(row, host.statusText(PWH_STATUS_TOTALS), Card());
  };
  const auto before = shown();
  TimeRecord r = test::Time(u"03/15/2024", u"Beta", 1);
  CopyText(r.duration, u"02:15"), CopyText(r.rate, u"40");
  ASSERT_TRUE(UpdateRecord(nullptr, TimeDatabase, 1, r));
  ASSERT_TRUE(views.RecordChanged(1));
  const auto inPlace = shown();
  ASSERT_TRUE(RecreateListView(Sources(), &MixedListWindow, PWH_MIXED_VIEW));
  EXPECT_EQ(inPlace, shown());
  EXPECT_NE(inPlace, before);
}

}  // namespace
}  // namespace pw
