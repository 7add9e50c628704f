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

namespace pw::test {
namespace {

struct Work {
  const char16_t* date;
  int startHour, startMinute;
  bool startPm;
  int endHour, endMinute;
  bool endPm;
  const char16_t* duration;
  const char16_t* client;
  const char16_t* project;
  const char16_t* task;
  const char16_t* rate;
  const char16_t* amount;
  int billable, billed;
  const char16_t* note;
};

const Work kWeek[] = {
    {u"03/08/2024", 9, 0, false, 11, 30, false, u"02:30", u"Acme Corp", u"Website", u"Design", u"85", u"212.50", 1, 1, u""},
    {u"03/08/2024", 1, 0, true, 4, 15, true, u"03:15", u"Birch & Co", u"Payroll", u"Support", u"70", u"227.50", 1, 1,
     u"Year-end figures"},
    {u"03/11/2024", 8, 30, false, 12, 0, true, u"03:30", u"Acme Corp", u"Website", u"Development", u"85", u"297.50", 1,
     0, u""},
    {u"03/11/2024", 1, 30, true, 5, 0, true, u"03:30", u"City Library", u"Catalogue", u"Development", u"60",
     u"210.00", 1, 0, u"New search page"},
    {u"03/12/2024", 9, 15, false, 10, 0, false, u"00:45", u"Internal", u"Admin", u"Invoices", u"0", u"0.00", 0, 0, u""},
    {u"03/12/2024", 10, 0, false, 1, 0, true, u"03:00", u"Birch & Co", u"Payroll", u"Meeting", u"70", u"210.00", 1, 0,
     u""},
    {u"03/13/2024", 9, 0, false, 12, 30, true, u"03:30", u"Acme Corp", u"Shop", u"Development", u"85", u"297.50", 1, 0,
     u"Checkout flow"},
    {u"03/13/2024", 2, 0, true, 4, 45, true, u"02:45", u"City Library", u"Catalogue", u"Testing", u"60", u"165.00", 1,
     0, u""},
    {u"03/14/2024", 8, 45, false, 10, 15, false, u"01:30", u"Acme Corp", u"Shop", u"Review", u"85", u"127.50", 1, 0,
     u""},
};

// A week of work in the time database, before the program starts.
void PutTheWeek() {
  DatabaseHandle db;
  ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db));
  for (const Work& w : kWeek) {
    TimeRecord r;
    CopyText(r.date, w.date);
    r.startHour = w.startHour;
    r.startMinute = w.startMinute;
    r.startPm = w.startPm;
    r.endHour = w.endHour;
    r.endMinute = w.endMinute;
    r.endPm = w.endPm;
    CopyText(r.duration, w.duration);
    CopyText(r.client, w.client);
    CopyText(r.project, w.project);
    CopyText(r.subproject, u"n/a");
    CopyText(r.task, w.task);
    CopyText(r.rate, w.rate);
    CopyText(r.currency, u"USD");
    CopyText(r.amount, w.amount);
    r.billable = w.billable;
    r.billed = w.billed;
    CopyText(r.notes, w.note);
    ASSERT_TRUE(AddNewRecord(nullptr, db, r));
  }
}

// Which view is pictured, and the variable naming the file it is saved to.
struct Shot {
  const char* name;
  UINT view;
  const char* target;
};

class ScreenshotTest : public ShellTest, public ::testing::WithParamInterface<Shot> {};

TEST_P(ScreenshotTest, OfAWeekOfWork) {
  const Shot& c = GetParam();
  PutTheWeek();
  ASSERT_TRUE(StartUp());
  PwMainWindow* window = MainWindowWidget();
  window->resize(1024, 700);
  window->dateTabs()->setCurrentIndex(1);  // "7 days"
  ASSERT_NE(ListViewWindow, nullptr);
  EXPECT_EQ(ListViewWindow->model()->rowCount(), int(std::size(kWeek)));
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
  if (!target.isEmpty()) {
    EXPECT_TRUE(shot.save(QString::fromLocal8Bit(target)));
  }
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
  CopyText(r.date, u"03/12/2024");
  CopyText(r.client, u"Acme Corp");
  CopyText(r.project, u"Website");
  CopyText(r.description, u"Client visit");
  r.mileage = true;
  CopyText(r.miles, u"120");
  CopyText(r.mileageRate, u"0.31");
  CopyText(r.paymentType, u"Company card");
  CopyText(r.currency, u"USD");
  CopyText(r.amount, u"37.20");
  r.billable = r.reimbursable = r.receipt = true;
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
