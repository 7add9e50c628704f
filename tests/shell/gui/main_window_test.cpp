#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabBar>
#include <QTest>

#include <functional>

#include "config/configuration.h"
#include "shell_fixture.h"
#include "shell/gui/quick_filter_field.h"
#include "views/gui/list_view.h"
#include "views/gui/record_list_model.h"

namespace pw::test {
namespace {

int ShownRows(const AppState& s) { return s.ListViewWindow ? s.ListViewWindow->model()->rowCount() : -1; }

// Every menu item is found by its id and served by the command table, and
// within each menu (the bar included) every item has its own letter.
TEST_F(ShellTest, EveryMenuItemIsWiredAndHasItsOwnLetter) {
  ASSERT_TRUE(StartUp());
  int items = 0;
  std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
    QSet<QChar> letters;
    for (QAction* action : actions) {
      if (action->isSeparator()) continue;
      const QString text = action->text();
      const qsizetype at = text.indexOf('&');
      const QChar letter = at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
      EXPECT_FALSE(letter.isNull() || letters.contains(letter)) << text.toStdString();
      letters.insert(letter);
      if (action->menu()) {
        walk(action->menu()->actions());
        continue;
      }
      const UINT id = action->data().toUInt();
      EXPECT_EQ(Window()->menuAction(id), action) << text.toStdString();
      EXPECT_TRUE(program.HasCommand(id)) << text.toStdString();
      ++items;
    }
  };
  walk(Window()->menuBar()->actions());
  EXPECT_EQ(items, 35);
}

TEST_F(ShellTest, StartUpEndsWhenADatabaseCannotBeOpened) {
  // An expense database with a sort order it cannot be opened with.
  const SORTORDERSPEC wrong{PWH_TIME_DATE_PROPID, 0};
  ASSERT_NE(CeCreateDatabase(PWH_EXPENSE_DB_NAME, 0, 1, &wrong), 0u);
  EXPECT_FALSE(StartUp());
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(State().ListViewWindow, nullptr);
}

// A click on a tab applies its range (the ranges themselves are the selection's) and shows the count.
TEST_F(ShellTest, DateTabsShowTheirRecords) {
  AddTimeRecords({u"03/14/2024", u"03/14/2024", u"03/08/2024", u"03/01/2024"});
  ASSERT_TRUE(StartUp());
  EXPECT_EQ(ShownRows(State()), 2);
  Window()->dateTabs()->setCurrentIndex(1);  // as a click does
  EXPECT_EQ(State().ActiveDateTab, 1);
  EXPECT_EQ(ShownRows(State()), 3);
  EXPECT_EQ(Window()->statusPart(2)->text(), " 3");
}

TEST_F(ShellTest, StartupChoiceExitEndsWithTheConfigurationStored) {
  ASSERT_TRUE(StartUp());
  State().Configuration->UseEuropeanDateFormat = 1;
  State().Configuration->set(PWH_CONFIRM_COPY, false);
  program.ApplyStartupChoice(IDC_STARTUP_EXIT);
  EXPECT_TRUE(program.quitPosted());
  EXPECT_TRUE(Window() == nullptr && State().ListViewWindow == nullptr);
  EXPECT_FALSE(State().TimeDatabase.IsOpen() || State().ConfigDatabase.IsOpen() || State().ExpenseDatabase.IsOpen());
  PWHConfiguration stored;
  EXPECT_TRUE(stored.europeanDates() && !stored.confirmCopy());
  // Whatever ends the program next, clean-up does not run again.
  program.Run(IDM_EXIT);
  program.CleanUp();
}

TEST_F(ShellTest, ClosingTheWindowIsExit) {
  ASSERT_TRUE(StartUp());
  Window()->close();
  EXPECT_TRUE(program.cleanedUp());
}

// The keyboard alone: the list has the focus from the start; the arrows, the
// menus' letters and the shortcuts work, and Ctrl+Q ends the program.
TEST_F(ShellTest, KeyboardAloneDrivesTheWindow) {
  AddTimeRecords({u"03/14/2024", u"03/14/2024", u"03/14/2024"});  // today
  ASSERT_TRUE(StartUp());
  ActivateForKeys(Window());
  AppState& s = State();
  auto listHasFocus = [&] { return s.ListViewWindow && QApplication::focusWidget() == s.ListViewWindow; };
  auto row = [&] { return s.ListViewWindow ? s.ListViewWindow->currentIndex().row() : -2; };
  auto popupOf = [&](UINT menu) {
    return Window() && QApplication::activePopupWidget() == Window()->menuBarPopup(menu);
  };
  auto rows = [&] { return s.ListViewWindow ? s.ListViewWindow->model()->rowCount() : -1; };
  // The Undo (Redo) item names its step and is greyed without one.
  auto named = [&](UINT item, QString text, const char* step) {
    QAction* a = Window()->menuAction(item);
    return a->text() == (*step ? text + ' ' + step : text) && a->isEnabled() == (*step != 0);
  };
  auto undo = [&](const char* step) { return named(IDM_UNDO, "&Undo", step); };
  auto redo = [&](const char* step) { return named(IDM_REDO, "&Redo", step); };
  host.Answer(IDYES);  // delete the row
  auto filter = [&] { return Window()->quickFilter(); };
  auto totals = [&] { return Window()->statusPart(PWH_STATUS_TOTALS)->text(); };
  ListWindow* filtered = nullptr;
  EXPECT_TRUE(listHasFocus() && row() == 0);  // the first row has the focus, unselected

  const struct {
    const char* what;
    QKeyCombination key;
    std::function<bool()> done;
  } steps[] = {
      {"Down: the second row", QKeyCombination(Qt::Key_Down), [&] { return row() == 1; }},
      {"Del: Delete Selected", QKeyCombination(Qt::Key_Delete), [&] { return rows() == 2 && undo("Delete Record"); }},
      {"Ctrl+Z: Undo", Qt::CTRL | Qt::Key_Z, [&] { return rows() == 3 && row() == 1 && redo("Delete Record"); }},
      {"Ctrl+Shift+Z: Redo", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, [&] { return rows() == 2 && undo("Delete Record"); }},
      {"Ctrl+Z again", Qt::CTRL | Qt::Key_Z, [&] { return rows() == 3 && row() == 1; }},
      {"Ctrl+Y: Redo", Qt::CTRL | Qt::Key_Y, [&] { return rows() == 2 && row() == 1 && redo(""); }},
      {"Ctrl+PgDown: the next tab, same row", Qt::CTRL | Qt::Key_PageDown,
       [&] { return s.ActiveDateTab == 1 && row() == 1 && listHasFocus(); }},
      {"Ctrl+PgUp", Qt::CTRL | Qt::Key_PageUp, [&] { return s.ActiveDateTab == 0 && row() == 1; }},
      {"Ctrl+PgUp: round to the last tab", Qt::CTRL | Qt::Key_PageUp, [&] { return s.ActiveDateTab == 4; }},
      {"Ctrl+2: Expense", Qt::CTRL | Qt::Key_2, [&] { return s.AppMode == PWH_EXPENSE_MODE && listHasFocus(); }},
      {"Ctrl+1: Time", Qt::CTRL | Qt::Key_1, [&] { return s.AppMode == PWH_TIME_MODE && listHasFocus(); }},
      {"Ctrl+K: the filter", Qt::CTRL | Qt::Key_K,
       [&] { return (filtered = s.ListViewWindow) && QApplication::focusWidget() == filter(); }},
      {"X: no record holds it", QKeyCombination(Qt::Key_X),
       [&] { return s.ListViewWindow->model()->rowCount() == 0 && totals().startsWith("0 of 2 shown; 0.00 h"); }},
      {"Escape clears it, back in the list", QKeyCombination(Qt::Key_Escape),
       [&] { return filter()->text().isEmpty() && listHasFocus() && rows() == 2 && row() == 0; }},
      {"The filter swapped the rows of the same list", QKeyCombination(Qt::Key_Down),
       [&] { return s.ListViewWindow == filtered && row() == 1; }},
      {"F10: the File menu opens", QKeyCombination(Qt::Key_F10), [&] { return popupOf(IDM_MENU_FILE); }},
      {"Escape closes it", QKeyCombination(Qt::Key_Escape), [&] { return !QApplication::activePopupWidget(); }},
      {"Escape leaves the bar", QKeyCombination(Qt::Key_Escape), [&] { return listHasFocus(); }},
      {"Alt+M: the Mode menu opens", Qt::ALT | Qt::Key_M, [&] { return popupOf(IDM_MENU_MODE); }},
      {"E: Expense", QKeyCombination(Qt::Key_E), [&] { return s.AppMode == PWH_EXPENSE_MODE && listHasFocus(); }},
      {"Ctrl+Q: Exit", Qt::CTRL | Qt::Key_Q, [&] { return program.cleanedUp(); }},
  };
  for (const auto& step : steps) {
    QWidget* to = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
    ASSERT_NE(to, nullptr) << step.what;
    QTest::keyClick(to, step.key.key(), step.key.keyboardModifiers());
    EXPECT_TRUE(step.done()) << step.what;
  }
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
  PwMainWindow* window = Window();
  const QFontMetrics metrics(large);
  QTabBar* tabs = window->dateTabs();
  EXPECT_GE(tabs->height(), metrics.height() + 4);
  for (int i = 0; i < tabs->count(); ++i)
    EXPECT_GE(tabs->tabRect(i).width(), metrics.horizontalAdvance(tabs->tabText(i))) << i;

  program.Run(IDM_MODE_EXPENSE);
  ShowRecordCount(100000);
  for (int part : {PWH_STATUS_MODE, PWH_STATUS_ACTIVITY, PWH_STATUS_COUNT}) {
    QLabel* label = window->statusPart(part);
    EXPECT_GE(label->contentsRect().width(), metrics.horizontalAdvance(label->text())) << label->text().toStdString();
    EXPECT_GE(label->height(), metrics.height()) << part;
  }
  EXPECT_EQ(window->statusPart(PWH_STATUS_COUNT)->text(), "100000");
}

// A timer left running by the last run shows at start-up (status part, title, its row's hours);
// its shortcut stops it.
TEST_F(ShellTest, ATimerLeftRunningShowsAndCtrlShiftPStopsIt) {
  CEOID oid = 0;
  {
    DatabaseHandle db;
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db));
    TimeRecord r{.startHour = 8, .startMinute = 48};
    CopyText(r.date, u"03/14/2024"), CopyText(r.client, u"Acme"), CopyText(r.project, u"Shop");
    CopyText(r.duration, u"--:--");
    ASSERT_TRUE(AddNewRecord(nullptr, db, r, &oid));
    PWHConfiguration settings;
    settings.RunningTimerOid = oid;
  }
  ASSERT_TRUE(StartUp());
  PwMainWindow* window = Window();
  EXPECT_EQ(window->statusPart(PWH_STATUS_TIMER)->text(), "Acme / Shop 1:42");
  EXPECT_TRUE(window->windowTitle().endsWith(" - 1:42"));
  const auto hours = [this] {
    auto* model = static_cast<RecordListModel*>(State().ListViewWindow->model());
    int column = 1;
    while (column < model->columnCount() && model->entryAtColumn(column) != 1) ++column;
    return model->index(0, column).data().toString();
  };
  EXPECT_EQ(hours(), "1.70");

  QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(program.timer().Running(), 0u);
  EXPECT_EQ(window->statusPart(PWH_STATUS_TIMER)->text(), "");
  EXPECT_FALSE(window->menuAction(IDM_STOP_TIMER)->isEnabled());
  EXPECT_EQ(hours(), "1.70");
}

}  // namespace
}  // namespace pw::test
