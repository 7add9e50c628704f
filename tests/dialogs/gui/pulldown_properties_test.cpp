#include "dialogs/gui/pulldown_properties.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "config/configuration.h"
#include "shell/gui/modal_poller.h"
#include "shell/gui/shell_fixture.h"
#include "storage/pulldowns.h"

// Readable failures: texts rather than their bytes.
static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace pw::test {
namespace {

QStringList Lines(QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

// Where a key press goes: the focused widget, else the page shown.
QWidget* Focused(PulldownPropertiesDialog* d) {
  QWidget* focus = QApplication::focusWidget();
  return focus ? focus : d->pages()->currentWidget();
}

std::vector<std::u16string> Stored(int category) {
  std::vector<std::u16string> out;
  InitPulldownList(nullptr, ConfigDatabase, [&](std::u16string_view t) { out.emplace_back(t); }, category);
  return out;
}

class PulldownEditorTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(StartUp());
    for (const char16_t* v : {u"zulu", u"Alpha", u"beta", u"Alpha"})
      ASSERT_TRUE(AddNewPulldownItem(nullptr, v, ConfigDatabase, PWH_PULLDOWN_CLIENT));
    ASSERT_TRUE(AddNewPulldownItem(nullptr, u"Web", ConfigDatabase, PWH_PULLDOWN_PROJECT));
    Configuration->confirmAddPulldownItem() = 0;
    Configuration->confirmDeletePulldownItem() = 0;
  }
};

TEST_F(PulldownEditorTest, PagesInTableOrderEachFilledWhenFirstShown) {
  bool seen = false;
  WhenModalAppears<PulldownPropertiesDialog>([&](PulldownPropertiesDialog* d) {
    seen = true;
    ActivateForKeys(d);
    EXPECT_EQ(d->windowTitle(), "Pulldown Properties");
    QStringList titles;
    for (int i = 0; i < d->pages()->count(); ++i) titles << d->pages()->tabText(i);
    EXPECT_EQ(titles, (QStringList{"Client", "Project", "Subproject", "Task", "Rate", "Expense Description", "Mileage",
                                   "Mileage Rate", "Payment", "Currency", "Amount"}));
    EXPECT_EQ(Lines(d->page(0)->values()), (QStringList{"Alpha", "Alpha", "beta", "zulu"}));
    EXPECT_FALSE(d->page(1)->filled());

    QTest::keyClick(Focused(d), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(d->pages()->currentIndex(), 1);
    EXPECT_EQ(Lines(d->page(1)->values()), QStringList{"Web"});
    QTest::keyClick(Focused(d), Qt::Key_PageUp, Qt::ControlModifier);
    QTest::keyClick(Focused(d), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(d->pages()->currentIndex(), 10) << "wraps to the last page";
    EXPECT_TRUE(Lines(d->page(10)->values()).isEmpty());
    QTest::keyClick(d, Qt::Key_Escape);
  });
  SendCommand(IDM_PULLDOWNS);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PulldownEditorTest, EnterAddsInSortedPlaceAndDelRemovesTheChosenLine) {
  PulldownPropertiesDialog d(MainWindowWidget());
  d.show();
  ActivateForKeys(&d);
  PulldownPage* page = d.page(0);
  // A value typed with Enter goes into the list, not closing the editor.
  QTest::keyClicks(page->newValue(), "Bravo");
  QTest::keyClick(page->newValue(), Qt::Key_Return);
  EXPECT_EQ(d.result(), 0);
  EXPECT_EQ(Lines(page->values()), (QStringList{"Alpha", "Alpha", "beta", "Bravo", "zulu"}));
  EXPECT_EQ(page->values()->currentItem()->text(), "Bravo");
  EXPECT_TRUE(page->newValue()->text().isEmpty());
  // Already listed: stays in the edit box.
  QTest::keyClicks(page->newValue(), "zulu");
  page->add();
  EXPECT_EQ(page->newValue()->text(), "zulu");
  EXPECT_EQ(page->values()->count(), 5);

  page->values()->setCurrentRow(0);
  QTest::keyClick(page->values(), Qt::Key_Delete);
  EXPECT_EQ(Lines(page->values()), (QStringList{"Alpha", "beta", "Bravo", "zulu"}));
  EXPECT_EQ(Stored(PWH_PULLDOWN_CLIENT), (std::vector<std::u16string>{u"zulu", u"beta", u"Alpha", u"Bravo"}));
  EXPECT_EQ(Stored(PWH_PULLDOWN_PROJECT), std::vector<std::u16string>{u"Web"});
  EXPECT_TRUE(host.messages.empty());

  // With the question switched on, the recording host answers No: nothing goes.
  Configuration->confirmDeletePulldownItem() = 1;
  page->values()->setCurrentRow(0);
  page->deleteSelected();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, u"Delete 'Alpha' from the pulldown list ?");
  EXPECT_EQ(host.messages[0].owner, static_cast<HWND>(static_cast<QWidget*>(page)));
  EXPECT_EQ(page->values()->count(), 4);
}

}  // namespace
}  // namespace pw::test
