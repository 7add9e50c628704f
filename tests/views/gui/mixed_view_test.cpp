#include "views/gui/mixed_view.h"

#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <QTableView>

#include "text/fixed_text.h"
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
    TimeRecord r = test::Time(u"03/14/2024", u"A client whose name is long enough to be seen", 1, 0);
    CopyText(r.duration, u"02:30");
    test::Put(TimeDatabase, r);
    test::Put(TimeDatabase, test::Time(u"03/15/2024", u"Beta"));
  }

  // The card as painted, and how many of its pixels are not white.
  int InkOnCard(QImage* card = nullptr) {
    const QImage shot = area_.grab().toImage();
    const QRect r = GetCardRectangle();
    int ink = 0;
    for (int y = r.top() + 1; y < r.bottom(); ++y)
      for (int x = r.left() + 1; x < r.right(); ++x) ink += shot.pixelColor(x, y) != Qt::white;
    if (card) *card = shot.copy(r);
    return ink;
  }
};

TEST_F(MixedViewTest, TheCardFollowsTheSelectedRow) {
  ASSERT_TRUE(RecreateListView(nullptr, &MixedListWindow, TimeDatabase, PWH_MIXED_VIEW));
  // The list has the upper half, the card the rest of the area.
  EXPECT_EQ(MixedListWindow->geometry(), QRect(0, 0, 640, 240));
  EXPECT_EQ(GetCardRectangle(), QRect(0, 240, 640, 240));
  // Nothing selected: only the card's frame.
  EXPECT_EQ(InkOnCard(), 0);
  MixedListWindow->selectRow(0);
  PaintMixedCard();  // as the list's change notice does
  QImage first;
  const int inkFirst = InkOnCard(&first);
  EXPECT_GT(inkFirst, 500);
  MixedListWindow->selectRow(1);
  PaintMixedCard();
  QImage second;
  EXPECT_GT(InkOnCard(&second), 500);
  EXPECT_NE(first, second);
  // "Arial" is a metric twin here, never a fallback of another width.
  EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(), "Liberation Sans");
  const QByteArray target = qgetenv("PWH_CARD_PICTURE");
  if (!target.isEmpty()) first.save(QString::fromLocal8Bit(target));
  // The list keeps the upper half when the area changes.
  area_.resize(500, 301);
  EXPECT_EQ(MixedListWindow->geometry(), QRect(0, 0, 500, 150));
}

}  // namespace
}  // namespace pw
