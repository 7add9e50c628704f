#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QSet>
#include <QTest>

#include <functional>
#include <algorithm>

#include "config/configuration.h"
#include "platform/code_page.h"
#include "selection/selection.h"
#include "shell/gui/commands.h"
#include "modal_poller.h"
#include "shell_fixture.h"
#include "views/gui/list_view.h"

namespace pw::test {
namespace {

// A menu text as shown: without the "&" that marks its letter.
QString Shown(const QString& text) { return QString(text).remove('&'); }

// Every menu item as "path id", then its keys (", " between them), then " grey" or " checked" as it shows,
// " unmapped" when the window does not find it by its id and " unserved" when the command table has no entry
// for it; sorted by path. On the way: within each menu, the bar included, every item has its own letter.
std::vector<std::string> MenuItems(PwMainWindow* window) {
  std::vector<std::string> items;
  std::function<void(const QList<QAction*>&, const QString&)> walk = [&](const QList<QAction*>& actions,
                                                                        const QString& path) {
    QSet<QChar> letters;
    for (QAction* action : actions) {
      if (action->isSeparator()) continue;
      const QString text = action->text();
      const QString itemPath = (path.isEmpty() ? "" : path + '/') + Shown(text);
      const qsizetype at = text.indexOf('&');
      const QChar letter = at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
      EXPECT_FALSE(letter.isNull() || letters.contains(letter)) << itemPath.toStdString();
      letters.insert(letter);
      if (action->menu()) {
        walk(action->menu()->actions(), itemPath);
        continue;
      }
      const UINT id = action->data().toUInt();
      QStringList keys;
      for (const QKeySequence& key : action->shortcuts()) keys << key.toString();
      items.push_back(itemPath.toStdString() + ' ' + std::to_string(id) +
                      (keys.isEmpty() ? "" : ' ' + keys.join(", ").toStdString()) +
                      (action->isEnabled() ? "" : " grey") + (action->isChecked() ? " checked" : "") +
                      (window->menuAction(id) == action ? "" : " unmapped") + (FindCommand(id) ? "" : " unserved"));
    }
  };
  walk(window->menuBar()->actions(), "");
  std::sort(items.begin(), items.end());
  return items;
}

int ShownRows() { return ListViewWindow ? ListViewWindow->model()->rowCount() : -1; }

// Counts paints of the view area: how an invalidated window shows.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

// Every command of the table at its menu path, as the program shows it once started.
const std::vector<std::string> kMenuAfterStartUp = {
    "Edit/Configuration/Application 40066", "Edit/Configuration/Columns 40052", "Edit/Configuration/Pulldowns 40009",
    "Edit/Copy 101 Ctrl+D", "Edit/Delete/Multiple 40053", "Edit/Delete/Selected 102 Del", "Edit/Find... 114 Ctrl+F",
    "Edit/Mark/Multiple/Billed 40064", "Edit/Mark/Multiple/Reimbursed 40065 grey", "Edit/Mark/Selected/Billed 40055",
    "Edit/Mark/Selected/Reimbursed 40058 grey", "Edit/Properties 103 Enter, Return, Alt+Return", "File/About 40002 F1",
    "File/Exit 40001 Ctrl+Q", "File/Export/PWH Database 40006", "File/Export/PWH Pulldowns 40070",
    "File/Import/PWH Database 40008", "File/Import/PWH Pulldowns 40069", "File/New/Record 40003 Ctrl+N",
    "File/New/Subsequent Record 40072 Ctrl+Shift+N", "File/Save/Report 40067 grey", "Mode/Expense 40012 Ctrl+2",
    "Mode/Time 40011 Ctrl+1 checked", "View/Expand/Collapse Tree 40068 grey", "View/List 104 Ctrl+L checked",
    "View/Mixed 40007 Ctrl+M", "View/Report 40004 Ctrl+R", "View/Tree 105 Ctrl+T"};

TEST_F(ShellTest, StartUpBuildsTheMainWindow) {
  ASSERT_TRUE(StartUp());
  PwMainWindow* window = MainWindowWidget();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Pennywhistle 2000 R6");
  const QRect desktop = window->screen()->availableGeometry();
  // The whole window, frame included, less the input panel's allowance.
  EXPECT_EQ(window->frameGeometry(), QRect(desktop.topLeft(), QSize(desktop.width(), desktop.height() - 26)));

  // The menu bar's popups in order, each found by its button.
  const std::pair<UINT, QString> popups[] = {{40087, "File"}, {40075, "Edit"}, {40078, "View"}, {40081, "Mode"}};
  const QList<QAction*> top = window->menuBar()->actions();
  ASSERT_EQ(top.size(), 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(Shown(top[i]->text()) == popups[i].second && GetMenuBarPopup(popups[i].first) == top[i]->menu()) << i;

  std::vector<UINT> tools;  // 0 for a button without an icon
  for (QAction* button : window->toolButtons()) tools.push_back(button->icon().isNull() ? 0 : button->data().toUInt());
  EXPECT_EQ(tools, (std::vector<UINT>{40003, 101, 102, 114}));

  // The date tabs, 24 pixels high, right above the view area, "Today" selected.
  QTabBar* tabs = window->dateTabs();
  QStringList labels;
  for (int i = 0; i < tabs->count(); ++i) labels << tabs->tabText(i);
  EXPECT_EQ(labels, QStringList({"Today", "7 days", "14 days", "Month", "All"}));
  EXPECT_TRUE(tabs->height() == 24 && tabs->currentIndex() == 0);
  EXPECT_EQ(tabs->mapTo(window, QPoint(0, tabs->height())).y(), window->viewArea()->mapTo(window, QPoint()).y());
  EXPECT_EQ(ListViewWindow ? ListViewWindow->parentWidget() : nullptr, window->viewArea());
  const std::pair<const char*, int> parts[] = {{"Time", 55}, {"idle", 200}, {" 0", 239}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(window->statusPart(i)->text(), parts[i].first) << i;
    EXPECT_EQ(window->statusPart(i)->geometry().right() + 1, parts[i].second) << i;
  }
  // The steps in the status line.
  const std::vector<std::u16string> steps = {u"reading PWH configuration...", u"idle", u"opening time db...",
                                             u"opening config db...", u"opening expense db..."};
  ASSERT_GE(Activity().size(), steps.size());
  EXPECT_EQ(std::vector<std::u16string>(Activity().begin(), Activity().begin() + steps.size()), steps);
  EXPECT_EQ(Activity().back(), u"idle");
  EXPECT_TRUE(host.messages.empty());
  // First start: the three databases were made silently.
  for (auto name : {PWH_TIME_DB_NAME, PWH_CONFIG_DB_NAME, PWH_EXPENSE_DB_NAME})
    EXPECT_NE(FindDatabaseByName(nullptr, name), 0u) << WideToUtf8(name);
}

TEST_F(ShellTest, MenuItemsHaveTheirPathIdentifierKeysLetterCheckAndGreyState) {
  ASSERT_TRUE(StartUp());
  EXPECT_EQ(MenuItems(MainWindowWidget()), kMenuAfterStartUp);
  EXPECT_EQ(CommandTable().size(), kMenuAfterStartUp.size());
}

TEST_F(ShellTest, StartUpEndsWhenADatabaseCannotBeOpened) {
  // An expense database with a sort order it cannot be opened with.
  const SORTORDERSPEC wrong{PWH_TIME_DATE_PROPID, 0};
  ASSERT_NE(CeCreateDatabase(PWH_EXPENSE_DB_NAME, 0, 1, &wrong), 0u);
  EXPECT_FALSE(StartUp());
  EXPECT_EQ(Activity().back(), u"opening expense db...");
  EXPECT_EQ(host.messages.empty() ? u"" : host.messages.back().title, u"Pennywhistle Startup");
  EXPECT_EQ(ListViewWindow, nullptr);
}

TEST_F(ShellTest, CommandsRepaintTheWindowButUnknownOnesDoNothing) {
  ASSERT_TRUE(StartUp());
  PaintCounter counter;
  MainWindowWidget()->viewArea()->installEventFilter(&counter);
  QTest::qWait(50);
  counter.paints = 0;
  EXPECT_EQ(WindowProc(MainWindow, WM_COMMAND, 12345, 0), 0);
  QTest::qWait(50);
  EXPECT_EQ(counter.paints, 0);
  // A known command repaints, here a Find cancelled; the command is the low word of the parameter.
  WhenModalAppears<QDialog>([](QDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(WindowProc(MainWindow, WM_COMMAND, (1u << 16) | IDM_FIND, 0), 0);
  QTest::qWait(50);
  EXPECT_GT(counter.paints, 0);
}

// A click on a tab applies its range (the ranges themselves are the selection's) and shows the count.
TEST_F(ShellTest, DateTabsShowTheirRecords) {
  AddTimeRecords({u"03/14/2024", u"03/14/2024", u"03/08/2024", u"03/01/2024"});
  ASSERT_TRUE(StartUp());
  EXPECT_EQ(ShownRows(), 2);
  MainWindowWidget()->dateTabs()->setCurrentIndex(1);  // as a click does
  EXPECT_EQ(ActiveDateTab, 1);
  EXPECT_EQ(ShownRows(), 3);
  EXPECT_EQ(MainWindowWidget()->statusPart(2)->text(), " 3");
  // A change notice for the tab already applied does nothing.
  const std::size_t before = Activity().size();
  QTableView* list = ListViewWindow;
  NMHDR change{.code = TCN_SELCHANGE};
  EXPECT_EQ(WindowProc(MainWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change)), 0);
  EXPECT_EQ(Activity().size(), before);
  EXPECT_EQ(ListViewWindow, list);
}

TEST_F(ShellTest, TabChangeUnderTheReportRestoresTheTab) {
  ASSERT_TRUE(StartUp());
  DestroyCurrentView();
  ASSERT_TRUE(CreateMainListView(&ReportListWindow, PWH_REPORT_VIEW));
  QTabBar* tabs = MainWindowWidget()->dateTabs();
  tabs->setCurrentIndex(3);
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(ActiveDateTab, 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].title, host.messages[0].type),
            std::tuple(u"Please select other view type for record selection.", u"Record Selection",
                       MB_OK | MB_ICONINFORMATION));
  // Nor does the mode change under the report.
  SendCommand(IDM_MODE_EXPENSE);
  EXPECT_EQ(AppMode, PWH_TIME_MODE);
}

TEST_F(ShellTest, ModeSwitchFollowsTheMenuRules) {
  AddTimeRecords({u"03/14/2024"});
  AddExpenseRecords({u"03/14/2024", u"03/14/2024", u"03/14/2024"});
  ASSERT_TRUE(StartUp());
  PwMainWindow* window = MainWindowWidget();
  struct { UINT command; int mode; const char* statusText; int rows; bool timeChecked, subsequent, reimbursed; } const
      cases[] = {
      {IDM_MODE_EXPENSE, PWH_EXPENSE_MODE, "Expense", 3, false, false, true},
      {IDM_MODE_TIME, PWH_TIME_MODE, "Time", 1, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statusText);
    // Through the menu item, as the user picks it.
    window->menuAction(c.command)->trigger();
    EXPECT_EQ(AppMode, c.mode);
    EXPECT_EQ(window->statusPart(0)->text(), c.statusText);
    EXPECT_EQ(ShownRows(), c.rows);
    EXPECT_EQ(window->menuAction(IDM_MODE_TIME)->isChecked(), c.timeChecked);
    EXPECT_EQ(window->menuAction(IDM_MODE_EXPENSE)->isChecked(), !c.timeChecked);
    EXPECT_EQ(window->menuAction(IDM_NEW_SUBSEQUENT_RECORD)->isEnabled(), c.subsequent);
    EXPECT_EQ(window->menuAction(IDM_MARK_SELECTED_REIMBURSED)->isEnabled(), c.reimbursed);
    EXPECT_EQ(window->menuAction(IDM_MARK_MULTIPLE_REIMBURSED)->isEnabled(), c.reimbursed);
  }
  // Back in time mode the tree's expand item is enabled again.
  EXPECT_TRUE(window->menuAction(IDM_EXPAND_COLLAPSE_TREE)->isEnabled());
  // Picking the mode or view already on rebuilds nothing and keeps its check.
  const std::size_t before = Activity().size();
  QTableView* list = ListViewWindow;
  window->menuAction(IDM_MODE_TIME)->trigger();
  window->menuAction(IDM_VIEW_LIST)->trigger();
  EXPECT_EQ(Activity().size(), before);
  EXPECT_EQ(ListViewWindow, list);
  EXPECT_TRUE(window->menuAction(IDM_MODE_TIME)->isChecked() && window->menuAction(IDM_VIEW_LIST)->isChecked());
}

TEST_F(ShellTest, StartupChoiceExpenseSwitchesModeBeforeTheLoop) {
  AddExpenseRecords({u"03/14/2024", u"03/14/2024"});
  ASSERT_TRUE(StartUp());
  // "Time" and a cancel leave the program as it started.
  for (int choice : {int(IDC_STARTUP_TIME), IDCANCEL}) {
    ApplyStartupChoice(choice);
    EXPECT_EQ(AppMode, PWH_TIME_MODE);
  }
  ApplyStartupChoice(IDC_STARTUP_EXPENSE);
  EXPECT_EQ(AppMode, PWH_EXPENSE_MODE);
  EXPECT_EQ(ShownRows(), 2);  // what else the switch shows is the menu's mode switch
  EXPECT_FALSE(QuitPosted);
}

TEST_F(ShellTest, StartupChoiceExitEndsWithTheConfigurationStored) {
  ASSERT_TRUE(StartUp());
  Configuration->UseEuropeanDateFormat = 1;
  Configuration->confirmCopy() = 0;
  ApplyStartupChoice(IDC_STARTUP_EXIT);
  EXPECT_TRUE(QuitPosted);
  EXPECT_TRUE(MainWindowWidget() == nullptr && ListViewWindow == nullptr);
  EXPECT_FALSE(TimeDatabase.IsOpen() || ConfigDatabase.IsOpen() || ExpenseDatabase.IsOpen());
  PWHConfiguration stored;
  EXPECT_TRUE(stored.UseEuropeanDateFormat == 1 && stored.confirmCopy() == 0);
  // Whatever ends the program next, clean-up does not run again.
  SendCommand(IDM_EXIT);
  CleanUp();
}

TEST_F(ShellTest, ClosingTheWindowIsExit) {
  ASSERT_TRUE(StartUp());
  Configuration->UseEuropeanTimeFormat = 1;
  MainWindowWidget()->close();
  EXPECT_TRUE(CleanedUp());
  PWHConfiguration stored;
  EXPECT_EQ(stored.UseEuropeanTimeFormat, 1);
}

TEST_F(ShellTest, ListsInTheViewAreaReportRowChanges) {
  AddTimeRecords({u"03/14/2024", u"03/14/2024"});
  ASSERT_TRUE(StartUp());
  DestroyCurrentView();
  ASSERT_TRUE(RecreateListView(MainWindow, &MixedListWindow, TimeDatabase, PWH_MIXED_VIEW));
  static int cardPaints = 0;
  const auto paintCard = OtherViews.paintMixedCard;
  OtherViews.paintMixedCard = [] { ++cardPaints; };
  // Selecting a row (selected and focused) repaints the Mixed view's card.
  MixedListWindow->selectRow(1);
  EXPECT_EQ(cardPaints, 1);
  // A click on another row: once more, however many signals the click takes.
  QTableView* list = MixedListWindow;
  const QRect row0 = list->visualRect(list->model()->index(0, 1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0.center());
  OtherViews.paintMixedCard = paintCard;
  EXPECT_EQ(list->selectionModel()->currentIndex().row(), 0);
  EXPECT_EQ(cardPaints, 2);
}

// The keyboard alone: the list has the focus from the start; the arrows, the
// menus' letters and the shortcuts work, and Ctrl+Q ends with the settings stored.
TEST_F(ShellTest, KeyboardAloneDrivesTheWindow) {
  AddTimeRecords({u"03/14/2024", u"03/14/2024", u"03/14/2024"});  // today
  ASSERT_TRUE(StartUp());
  ActivateForKeys(MainWindowWidget());
  Configuration->UseEuropeanDateFormat = 1;
  auto listHasFocus = [] { return ListViewWindow && QApplication::focusWidget() == ListViewWindow; };
  auto row = [] { return ListViewWindow ? ListViewWindow->currentIndex().row() : -2; };
  auto popupOf = [](UINT menu) { return QApplication::activePopupWidget() == GetMenuBarPopup(menu); };
  EXPECT_TRUE(listHasFocus() && row() == 0);  // the first row has the focus, unselected

  const struct {
    const char* what;
    QKeyCombination key;
    std::function<bool()> done;
  } steps[] = {
      {"Down: the second row", QKeyCombination(Qt::Key_Down), [&] { return row() == 1; }},
      {"Down: the third row", QKeyCombination(Qt::Key_Down), [&] { return row() == 2; }},
      {"Ctrl+PgDown: the next tab, same row", Qt::CTRL | Qt::Key_PageDown,
       [&] { return ActiveDateTab == 1 && row() == 2 && listHasFocus(); }},
      {"Ctrl+PgUp", Qt::CTRL | Qt::Key_PageUp, [&] { return ActiveDateTab == 0 && row() == 2; }},
      {"Ctrl+PgUp: round to the last tab", Qt::CTRL | Qt::Key_PageUp, [&] { return ActiveDateTab == 4; }},
      {"Ctrl+2: Expense", Qt::CTRL | Qt::Key_2, [&] { return AppMode == PWH_EXPENSE_MODE && listHasFocus(); }},
      {"Ctrl+1: Time", Qt::CTRL | Qt::Key_1, [&] { return AppMode == PWH_TIME_MODE && listHasFocus(); }},
      {"Ctrl+L: List, already shown", Qt::CTRL | Qt::Key_L, [&] { return listHasFocus(); }},
      {"F10: the File menu opens", QKeyCombination(Qt::Key_F10), [&] { return popupOf(IDM_MENU_FILE); }},
      {"Escape closes it", QKeyCombination(Qt::Key_Escape), [&] { return !QApplication::activePopupWidget(); }},
      {"Escape leaves the bar", QKeyCombination(Qt::Key_Escape), [&] { return listHasFocus(); }},
      {"Alt+M: the Mode menu opens", Qt::ALT | Qt::Key_M, [&] { return popupOf(IDM_MENU_MODE); }},
      {"E: Expense", QKeyCombination(Qt::Key_E), [&] { return AppMode == PWH_EXPENSE_MODE && listHasFocus(); }},
      {"Ctrl+Q: Exit", Qt::CTRL | Qt::Key_Q, [&] { return CleanedUp(); }},
  };
  for (const auto& step : steps) {
    QWidget* to = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
    ASSERT_NE(to, nullptr) << step.what;
    QTest::keyClick(to, step.key.key(), step.key.keyboardModifiers());
    EXPECT_TRUE(step.done()) << step.what;
  }
  PWHConfiguration stored;
  EXPECT_EQ(stored.UseEuropeanDateFormat, 1);
}

// With a larger desktop font the tab strip and the status parts grow: no
// label, mode name or record count is cut.
TEST_F(ShellTest, LargerFontGrowsTheBarsSoNothingIsCut) {
  const QFont normal = QApplication::font();
  QFont large = normal;
  large.setPixelSize(3 * QFontMetrics(normal).height());
  QApplication::setFont(large);
  const bool started = StartUp();
  QApplication::setFont(normal);
  ASSERT_TRUE(started);
  PwMainWindow* window = MainWindowWidget();
  const QFontMetrics metrics(large);
  QTabBar* tabs = window->dateTabs();
  EXPECT_GE(tabs->height(), metrics.height() + 4);
  for (int i = 0; i < tabs->count(); ++i)
    EXPECT_GE(tabs->tabRect(i).width(), metrics.horizontalAdvance(tabs->tabText(i))) << i;

  SendCommand(IDM_MODE_EXPENSE);
  ShowRecordCount(100000);
  for (int part : {PWH_STATUS_MODE, PWH_STATUS_ACTIVITY, PWH_STATUS_COUNT}) {
    QLabel* label = window->statusPart(part);
    EXPECT_GE(label->contentsRect().width(), metrics.horizontalAdvance(label->text())) << label->text().toStdString();
    EXPECT_GE(label->height(), metrics.height()) << part;
  }
  EXPECT_EQ(window->statusPart(PWH_STATUS_COUNT)->text(), "100000");
}

}  // namespace
}  // namespace pw::test
