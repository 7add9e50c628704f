#include <QAction>
#include <QLabel>
#include <QTableView>

#include "shell/gui/commands.h"
#include "shell_fixture.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_view.h"
#include "views/gui/view_selection.h"

namespace pw::test {
namespace {

// Which view is shown, by its menu command.
UINT ShownView() {
  if (ListViewWindow) return IDM_VIEW_LIST;
  if (TreeViewWindow) return IDM_VIEW_TREE;
  if (MixedListWindow) return IDM_VIEW_MIXED;
  if (ReportListWindow) return IDM_VIEW_REPORT;
  return 0;
}

struct SwitchCase {
  const char* name;
  int mode;
  std::vector<UINT> views;  // picked in turn
};

class ViewSwitchTest : public ShellTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(ViewSwitchTest, ChecksTheViewAndKeepsTheSelectedRecord) {
  const SwitchCase& c = GetParam();
  AddTimeRecords({u"03/14/2024", u"03/14/2024", u"03/14/2024"});
  AddExpenseRecords({u"03/14/2024", u"03/14/2024"});
  ASSERT_TRUE(StartUp());
  PwMainWindow* window = MainWindowWidget();
  if (c.mode == PWH_EXPENSE_MODE) SendCommand(IDM_MODE_EXPENSE);
  ListViewWindow->selectRow(1);
  for (UINT view : c.views) {
    SCOPED_TRACE(view);
    window->menuAction(view)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ShownView(), view);
    for (UINT item : {IDM_VIEW_LIST, IDM_VIEW_TREE, IDM_VIEW_MIXED, IDM_VIEW_REPORT})
      EXPECT_EQ(window->menuAction(item)->isChecked(), item == view) << item;
    EXPECT_EQ(window->menuAction(IDM_EXPAND_COLLAPSE_TREE)->isEnabled(), view == IDM_VIEW_TREE);
    EXPECT_EQ(window->menuAction(IDM_NEW_SUBSEQUENT_RECORD)->isEnabled(), c.mode == PWH_TIME_MODE);
    EXPECT_TRUE(window->menuAction(IDM_MODE_TIME)->isEnabled() && window->menuAction(IDM_MODE_EXPENSE)->isEnabled());
    // The record selected before is the one selected now, whatever the view.
    EXPECT_EQ(ShownRecordPosition(), 1);
  }
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Views, ViewSwitchTest,
    ::testing::Values(SwitchCase{"TimeTreeMixedList", PWH_TIME_MODE, {IDM_VIEW_TREE, IDM_VIEW_MIXED, IDM_VIEW_LIST}},
                      SwitchCase{"TimeMixedTreeTree", PWH_TIME_MODE, {IDM_VIEW_MIXED, IDM_VIEW_TREE, IDM_VIEW_TREE}},
                      SwitchCase{"ExpenseTreeListMixed", PWH_EXPENSE_MODE,
                                 {IDM_VIEW_TREE, IDM_VIEW_LIST, IDM_VIEW_MIXED}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellTest, ModeSwitchRebuildsTheTreeFromTheOtherDatabase) {
  AddTimeRecords({u"03/14/2024"});
  AddExpenseRecords({u"03/13/2024", u"03/14/2024", u"03/14/2024"});
  ASSERT_TRUE(StartUp());
  SendCommand(IDM_VIEW_TREE);
  ASSERT_NE(TreeViewWindow, nullptr);
  EXPECT_EQ(TreeItemCount, 1);
  SendCommand(IDM_MODE_EXPENSE);
  ASSERT_NE(TreeViewWindow, nullptr);
  // Today's two expenses; the date tab still applies.
  EXPECT_EQ(TreeItemCount, 2);
  EXPECT_EQ(MainWindowWidget()->statusPart(PWH_STATUS_COUNT)->text(), " 2");
  // Choosing Expense again rebuilds nothing.
  TreeNodeView* tree = TreeViewWindow;
  SendCommand(IDM_MODE_EXPENSE);
  EXPECT_EQ(TreeViewWindow, tree);
  // Expand/Collapse Tree reaches the tree through the command table.
  SendCommand(IDM_EXPAND_COLLAPSE_TREE);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, u"There are no tree nodes selected.");
}

}  // namespace
}  // namespace pw::test
