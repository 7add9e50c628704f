#include "views/gui/mixed_view.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

#include "config/configuration.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "storage/store_fixture.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace pw {
namespace {

class MixedViewTest : public test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    static int serial = 0;
    configKey_ = Format(u"Software\\tests\\MixedView %d", ++serial);
    config_ = std::make_unique<PWHConfiguration>(configKey_.c_str());
    Configuration = config_.get();
    area_.resize(640, 480);
    QPalette white = area_.palette();
    white.setColor(QPalette::Window, Qt::white);
    area_.setPalette(white);
    area_.setAutoFillBackground(true);
    area_.show();
    ViewArea = &area_;
    RecordSetMode = PWH_ALL_REC_MODE;
    TimeRecord r = test::Time(u"03/14/2024", u"A client whose name is long enough to be seen", 1, 0);
    CopyText(r.duration, u"02:30");
    test::Put(TimeDatabase, r);
    test::Put(TimeDatabase, test::Time(u"03/15/2024", u"Beta"));
  }

  void TearDown() override {
    DestroyCurrentView();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ViewArea = nullptr;
    Configuration = nullptr;
    StoreTest::TearDown();
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

  std::u16string configKey_;
  std::unique_ptr<PWHConfiguration> config_;
  QWidget area_;
};

TEST_F(MixedViewTest, TheCardFollowsTheSelectedRow) {
  ASSERT_TRUE(RecreateListView(nullptr, &MixedListWindow, TimeDatabase, PWH_MIXED_VIEW));
  const QRect card = GetCardRectangle();
  // The list has the upper half, the card the rest of the area.
  EXPECT_EQ(card, QRect(0, 240, 640, 240));
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
}

}  // namespace
}  // namespace pw
