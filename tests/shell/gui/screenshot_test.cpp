// Shows the main window with a week of work at 1024 x 700 in the List, Tree
// and Mixed views and grabs it. With PWH_SCREENSHOT (List),
// PWH_SCREENSHOT_TREE or PWH_SCREENSHOT_MIXED set the picture is saved there,
// and the pictures of the dialogs beside the List one, each under its own name:
//   PWH_SCREENSHOT=$PWD/docs/screenshot.png build/test/tests/pwh_gui_tests --gtest_filter='*Screenshot*'
#include <QAbstractItemModel>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "dialogs/gui/expense_entry_dialog.h"
#include "shell_fixture.h"
#include "storage/pulldowns.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_model.h"
#include "views/gui/tree_node_view.h"
#include "views/gui/tree_view.h"
#include "views/gui/view_selection.h"
#include "week_of_work.h"

namespace pw::test {
namespace {

// Which view is pictured, and the variable naming the file it is saved to.
struct Shot {
  const char* name;
  UINT view;
  const char* target;
};

class ScreenshotTest : public ShellTest, public ::testing::WithParamInterface<Shot> {};

TEST_P(ScreenshotTest, OfAWeekOfWork) {
  const Shot& c = GetParam();
  ASSERT_TRUE(StartUp());
  PutAWeekOfWork(TimeDatabase);
  PwMainWindow* window = MainWindowWidget();
  window->resize(1024, 700);
  window->dateTabs()->setCurrentIndex(1);  // "7 days", loaded afresh
  ASSERT_NE(ListViewWindow, nullptr);
  EXPECT_EQ(ListViewWindow->model()->rowCount(), 9);
  if (c.view != IDM_VIEW_LIST) SendCommand(c.view);
  if (c.view == IDM_VIEW_TREE) {
    // Two days opened to the records: the 11th whole, the 13th down to its clients.
    TreeNodeView* tree = TreeViewWindow;
    ASSERT_NE(tree, nullptr);
    const auto days = tree->nodeModel()->nodes().Children(PWH_NO_TREE_NODE);
    ASSERT_GE(days.size(), 4u);
    SelectTreeItem(tree, days[1]);
    SendCommand(IDM_EXPAND_COLLAPSE_TREE);
    tree->setOpen(days[3], true);
    SelectShownRecord(3);
  }
  if (c.view == IDM_VIEW_MIXED) {
    ASSERT_NE(MixedListWindow, nullptr);
    MixedListWindow->selectRow(3);
  }
  QTest::qWait(100);

  const QImage shot = window->grab().toImage();
  EXPECT_EQ(shot.size(), QSize(1024, 700) * shot.devicePixelRatio());
  const QByteArray target = qgetenv(c.target);
  if (!target.isEmpty()) EXPECT_TRUE(shot.save(QString::fromLocal8Bit(target)));
}

INSTANTIATE_TEST_SUITE_P(Views, ScreenshotTest,
                         ::testing::Values(Shot{"List", IDM_VIEW_LIST, "PWH_SCREENSHOT"},
                                           Shot{"Tree", IDM_VIEW_TREE, "PWH_SCREENSHOT_TREE"},
                                           Shot{"Mixed", IDM_VIEW_MIXED, "PWH_SCREENSHOT_MIXED"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Saves a picture beside the main window's, under its own name.
void SaveBesideScreenshot(const QImage& shot, const char* name) {
  const QByteArray target = qgetenv("PWH_SCREENSHOT");
  if (target.isEmpty()) return;
  EXPECT_TRUE(shot.save(QFileInfo(QString::fromLocal8Bit(target)).dir().filePath(QString::fromLatin1(name))));
}

TEST_F(ShellTest, ScreenshotOfTheExpenseEntryDialog) {
  ASSERT_TRUE(StartUp());
  for (const auto& [category, text] : {std::pair(PWH_PULLDOWN_CLIENT, u"Acme Corp"), std::pair(PWH_PULLDOWN_CLIENT, u"Birch & Co"),
                                       std::pair(PWH_PULLDOWN_PAYMENT, u"Company card"), std::pair(PWH_PULLDOWN_CURRENCY, u"USD")})
    ASSERT_TRUE(AddNewPulldownItem(nullptr, text, ConfigDatabase, category));
  ExpenseRecord& r = WorkingExpenseRecord;
  ClearRecord(r);
  CopyText(r.date, u"03/12/2024"), CopyText(r.client, u"Acme Corp"), CopyText(r.project, u"Website");
  CopyText(r.description, u"Client visit"), CopyText(r.miles, u"120"), CopyText(r.mileageRate, u"0.31");
  CopyText(r.paymentType, u"Company card"), CopyText(r.currency, u"USD"), CopyText(r.amount, u"37.20");
  r.mileage = r.billable = r.reimbursable = r.receipt = true;
  std::unique_ptr<QDialog> dialog(CreateExpenseEntryDialog(MainWindowWidget(), PWH_EXPENSE_ENTRY_EDIT));
  dialog->show();
  QTest::qWait(100);
  const QImage shot = dialog->grab().toImage();
  EXPECT_FALSE(shot.isNull());
  SaveBesideScreenshot(shot, "expense-entry.png");
  ClearRecord(r);
}

}  // namespace
}  // namespace pw::test
