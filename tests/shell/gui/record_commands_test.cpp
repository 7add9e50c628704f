// The record commands on the real main window: what they ask, what they do
// with each answer, what they report, and which row is current afterwards.
// The entry dialogs are replaced by scripted stand-ins.
#include <QAbstractItemModel>
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>

#include <clocale>
#include <string>
#include <tuple>
#include <vector>

#include "config/configuration.h"
#include "dialogs/gui/expense_entry_dialog.h"
#include "dialogs/gui/time_entry_dialog.h"
#include "selection/selection.h"
#include "shell/gui/commands.h"
#include "shell/gui/record_commands.h"
#include "modal_poller.h"
#include "shell_fixture.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace pw::test {
namespace {

// What the stand-in dialogs were opened with, and how they answer.
struct ScriptedDialogs {
  std::vector<int> timeModes, expenseForms;
  std::vector<std::u16string> clientOnEntry;  // the working record's client as the dialog opened
  int reply = IDOK;
  std::u16string client = u"Acme";            // typed into the client box; empty leaves it
  std::u16string date;                        // typed into the date box; empty leaves it
};
ScriptedDialogs* dialogs = nullptr;

int ScriptedTimeDialog(HWND, int mode) {
  dialogs->timeModes.push_back(mode);
  dialogs->clientOnEntry.emplace_back(TextOf(WorkingTimeRecord.client));
  if (!dialogs->client.empty()) CopyText(WorkingTimeRecord.client, dialogs->client);
  if (!dialogs->date.empty()) CopyText(WorkingTimeRecord.date, dialogs->date);
  return dialogs->reply;
}

int ScriptedExpenseDialog(HWND, int form) {
  dialogs->expenseForms.push_back(form);
  dialogs->clientOnEntry.emplace_back(TextOf(WorkingExpenseRecord.client));
  if (!dialogs->client.empty()) CopyText(WorkingExpenseRecord.client, dialogs->client);
  if (!dialogs->date.empty()) CopyText(WorkingExpenseRecord.date, dialogs->date);
  return dialogs->reply;
}

constexpr const char16_t* kToday = u"03/14/2024";  // the fixture's clock

class RecordCommandsTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    saved_ = EntryDialogs;
    dialogs = &scripted;
    EntryDialogs = {ScriptedTimeDialog, ScriptedExpenseDialog};
  }
  void TearDown() override {
    EntryDialogs = saved_;
    dialogs = nullptr;
    ShellTest::TearDown();
  }

  // Starts the program in the given mode with "All" or "Today" shown.
  void Start(int mode, int tab = PWH_TAB_ALL) {
    ASSERT_TRUE(StartUp());
    MainWindowWidget()->dateTabs()->setCurrentIndex(tab);
    if (mode == PWH_EXPENSE_MODE) SendCommand(IDM_MODE_EXPENSE);
    host.messages.clear();
  }

  // Adds a record of the mode's kind before the program starts; done sets every flag.
  static void Add(int mode, const char16_t* date, const char16_t* client = u"", bool done = false) {
    DatabaseHandle db;
    if (mode == PWH_TIME_MODE) {
      TimeRecord r = Dated<TimeRecord>(date);
      CopyText(r.client, client);
      r.billable = r.billed = done;
      ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db) && AddNewRecord(nullptr, db, r));
    } else {
      ExpenseRecord r = Dated<ExpenseRecord>(date);
      CopyText(r.client, client);
      r.billable = r.billed = r.reimbursable = r.reimbursed = done;
      ASSERT_TRUE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &db) && AddNewExpenseRecord(nullptr, db, r));
    }
  }

  static int Rows() { return ListViewWindow ? ListViewWindow->model()->rowCount() : -1; }
  static int CurrentRow() {
    return ListViewWindow ? GetListSelectionMark(ListViewWindow) : -1;
  }
  static void Select(int row) { ListViewWindow->selectRow(row); }
  static DWORD Count(DatabaseHandle& db) { return DatabaseRecordCount(db); }

  TimeRecord TimeAt(RecordPosition p) {
    TimeRecord r;
    EXPECT_TRUE(LoadPWHRecord(nullptr, TimeDatabase, p, &r));
    return r;
  }
  ExpenseRecord ExpenseAt(RecordPosition p) {
    ExpenseRecord r;
    EXPECT_TRUE(LoadPWHExpenseRecord(nullptr, ExpenseDatabase, p, &r));
    return r;
  }

  std::vector<std::tuple<std::u16string, std::u16string, unsigned>> Messages() const {
    std::vector<std::tuple<std::u16string, std::u16string, unsigned>> out;
    for (const RecordedMessage& m : host.messages) out.emplace_back(m.text, m.title, m.type);
    return out;
  }

  ScriptedDialogs scripted;

 private:
  EntryDialogHooks saved_{};
};

constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
constexpr unsigned kInfo = MB_OK | MB_ICONINFORMATION;

// --- Commands on the selected record: question, answer, effect -------------------------------------

struct SelectedCase {
  const char* name;
  UINT command;
  int mode;
  int confirmFlag;
  const char16_t* question;
  const char16_t* title;
};

const SelectedCase kSelectedCases[] = {
    {"Copy", IDM_COPY, PWH_TIME_MODE, PWH_CONFIRM_COPY, u"Duplicate selected record ?", u"Duplicate Record"},
    {"Delete", IDM_DELETE_SELECTED, PWH_TIME_MODE, PWH_CONFIRM_DELETE, u"Delete selected record ?", u"Delete Record"},
    {"Billed", IDM_MARK_SELECTED_BILLED, PWH_TIME_MODE, PWH_CONFIRM_MARK_BILLED, u"Mark selected record \"billed\" ?",
     u"Mark Selected"},
    {"BilledExpense", IDM_MARK_SELECTED_BILLED, PWH_EXPENSE_MODE, PWH_CONFIRM_MARK_BILLED,
     u"Mark selected record \"billed\" ?", u"Mark Selected"},
    {"Reimbursed", IDM_MARK_SELECTED_REIMBURSED, PWH_EXPENSE_MODE, PWH_CONFIRM_MARK_REIMBURSED,
     u"Mark selected record \"reimbursed\" ?", u"Mark Selected"},
};

enum class Answer { NotAsked, Yes, No };

std::string AnswerName(Answer a) { return a == Answer::NotAsked ? "Unasked" : a == Answer::Yes ? "Yes" : "No"; }

class SelectedRecordCommand : public RecordCommandsTest,
                              public ::testing::WithParamInterface<std::tuple<SelectedCase, Answer>> {};

// Three records of three days; the middle one (client "B") is selected and acted on.
TEST_P(SelectedRecordCommand, AsksWhenSetAndActsOnlyOnYes) {
  const auto& [c, answer] = GetParam();
  const bool time = c.mode == PWH_TIME_MODE;
  for (const auto& [date, client] : {std::pair(u"03/13/2024", u"A"), std::pair(kToday, u"B"),
                                     std::pair(u"03/15/2024", u"C")})
    Add(c.mode, date, client);
  Start(c.mode);
  Configuration->behaviorFlags[c.confirmFlag] = answer != Answer::NotAsked;
  if (answer == Answer::Yes) host.answers.push_back(IDYES);
  Select(1);

  SendCommand(c.command);

  const bool acted = answer != Answer::No;
  std::vector<std::tuple<std::u16string, std::u16string, unsigned>> asked;
  if (answer != Answer::NotAsked) asked.emplace_back(c.question, c.title, kQuestion);
  EXPECT_EQ(Messages(), asked);
  DatabaseHandle& db = time ? TimeDatabase : ExpenseDatabase;
  auto clientAt = [&](RecordPosition p) {
    return std::u16string(time ? TextOf(TimeAt(p).client) : TextOf(ExpenseAt(p).client));
  };
  switch (c.command) {
    case IDM_COPY:
      ASSERT_EQ(Count(db), acted ? 4u : 3u);
      EXPECT_EQ(clientAt(2), acted ? u"B" : u"C");  // the copy sorts after its original
      break;
    case IDM_DELETE_SELECTED:
      ASSERT_EQ(Count(db), acted ? 2u : 3u);
      EXPECT_EQ(clientAt(1), acted ? u"C" : u"B");
      break;
    case IDM_MARK_SELECTED_BILLED:
      if (time) {
        EXPECT_EQ(std::tuple(TimeAt(1).billable, TimeAt(1).billed), std::tuple(int(acted), int(acted)));
      } else {
        EXPECT_EQ(std::tuple(ExpenseAt(1).billable, ExpenseAt(1).billed), std::tuple(acted, acted));
      }
      break;
    case IDM_MARK_SELECTED_REIMBURSED:
      EXPECT_EQ(std::tuple(ExpenseAt(1).reimbursable, ExpenseAt(1).reimbursed), std::tuple(acted, acted));
      EXPECT_FALSE(ExpenseAt(1).billed);
      break;
  }
  // The record acted on (the copy for Copy, the next one for Delete) is the current row;
  // a command not carried out changes nothing, the selection included.
  EXPECT_EQ(CurrentRow(), acted && c.command == IDM_COPY ? 2 : 1);
  EXPECT_EQ(Rows(), int(Count(db)));
}

INSTANTIATE_TEST_SUITE_P(Commands, SelectedRecordCommand,
                         ::testing::Combine(::testing::ValuesIn(kSelectedCases),
                                            ::testing::Values(Answer::NotAsked, Answer::Yes, Answer::No)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + AnswerName(std::get<1>(info.param));
                         });

// --- Commands on every record shown ------------------------------------------------------------------

struct MultipleCase {
  const char* name;
  UINT command;
  int mode;
  int confirmFlag;
  const char16_t* allQuestion;
  const char16_t* shownQuestion;
  const char16_t* title;
  const char16_t* done;  // with the count
  // Of the records below (two of today, one of them done already, and one older), how many the command
  // changes with "All" shown and with "Today" shown.
  int allCount, todayCount;
};

const MultipleCase kMultipleCases[] = {
    {"Delete", IDM_DELETE_MULTIPLE, PWH_TIME_MODE, PWH_CONFIRM_DELETE, u"Delete all records in the database ?",
     u"Delete all records currently displayed in the view ?", u"Delete Multiple Records", u"Deleted %d record(s).", 3,
     2},
    {"Billed", IDM_MARK_MULTIPLE_BILLED, PWH_TIME_MODE, PWH_CONFIRM_MARK_BILLED,
     u"Mark all records in the database \"billed\" ?",
     u"Mark all records currently displayed in the view \"billed\" ?", u"Multiple Record Modification",
     u"Marked %d record(s) \"billed\".", 2, 1},
    {"Reimbursed", IDM_MARK_MULTIPLE_REIMBURSED, PWH_EXPENSE_MODE, PWH_CONFIRM_MARK_REIMBURSED,
     u"Mark all records in the database \"reimbursed\" ?",
     u"Mark all records currently displayed in the view \"reimbursed\" ?", u"Multiple Record Modification",
     u"Marked %d record(s) \"reimbursed\".", 2, 1},
};

class MultipleRecordCommand
    : public RecordCommandsTest,
      public ::testing::WithParamInterface<std::tuple<MultipleCase, int /*tab*/, Answer>> {};

TEST_P(MultipleRecordCommand, AsksByRecordSetAndReportsTheCount) {
  const auto& [c, tab, answer] = GetParam();
  const bool time = c.mode == PWH_TIME_MODE;
  Add(c.mode, u"03/01/2024");
  Add(c.mode, kToday, u"", true);
  Add(c.mode, kToday);
  Start(c.mode, tab);
  ASSERT_EQ(RecordSetMode, tab == PWH_TAB_ALL ? PWH_ALL_REC_MODE : PWH_SELECT_REC_MODE);
  Configuration->behaviorFlags[c.confirmFlag] = answer != Answer::NotAsked;
  if (answer == Answer::Yes) host.answers.push_back(IDYES);
  DatabaseHandle& db = time ? TimeDatabase : ExpenseDatabase;
  const DWORD before = Count(db);

  SendCommand(c.command);

  const bool acted = answer != Answer::No;
  const int count = tab == PWH_TAB_ALL ? c.allCount : c.todayCount;
  std::vector<std::tuple<std::u16string, std::u16string, unsigned>> expected;
  if (answer != Answer::NotAsked)
    expected.emplace_back(tab == PWH_TAB_ALL ? c.allQuestion : c.shownQuestion, c.title, kQuestion);
  if (acted) expected.emplace_back(Format(c.done, count), c.title, kInfo);
  EXPECT_EQ(Messages(), expected);
  if (c.command == IDM_DELETE_MULTIPLE) {
    EXPECT_EQ(Count(db), before - (acted ? count : 0));
  } else {
    int marked = 0;
    for (RecordPosition p = 0; p < Count(db); ++p) {
      if (time) marked += TimeAt(p).billed;
      else marked += c.command == IDM_MARK_MULTIPLE_BILLED ? ExpenseAt(p).billed : ExpenseAt(p).reimbursed;
    }
    EXPECT_EQ(marked, 1 + (acted ? count : 0));
  }
  // The view shows the store as it is now.
  EXPECT_EQ(Rows(), int(RecordSetMode == PWH_ALL_REC_MODE ? Count(db) : DisplayedRecordList.count()));
}

INSTANTIATE_TEST_SUITE_P(Commands, MultipleRecordCommand,
                         ::testing::Combine(::testing::ValuesIn(kMultipleCases),
                                            ::testing::Values(int(PWH_TAB_ALL), int(PWH_TAB_TODAY)),
                                            ::testing::Values(Answer::NotAsked, Answer::Yes, Answer::No)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) == PWH_TAB_ALL ? "All" : "Today") +
                                  AnswerName(std::get<2>(info.param));
                         });

TEST_F(RecordCommandsTest, NothingToMarkOrDeleteSaysNothing) {
  Start(PWH_TIME_MODE);
  for (int flag : {PWH_CONFIRM_DELETE, PWH_CONFIRM_MARK_BILLED}) Configuration->behaviorFlags[flag] = 0;
  SendCommand(IDM_MARK_MULTIPLE_BILLED);
  SendCommand(IDM_DELETE_MULTIPLE);
  // Reimbursement is greyed in Time mode and does nothing, even when asked for.
  SendCommand(IDM_MARK_MULTIPLE_REIMBURSED);
  SendCommand(IDM_MARK_SELECTED_REIMBURSED);
  EXPECT_EQ(Messages().size(), 0u);
}

// --- Which record: no selection, the Report, a selected-record set -------------------------------------

TEST_F(RecordCommandsTest, WithoutASelectedRowCommandsDoNothingAndSayNothing) {
  AddTimeRecords({kToday, kToday});
  Start(PWH_TIME_MODE);
  // A rebuild keeps the focused row current and selected: take the selection away.
  ListViewWindow->selectionModel()->clearSelection();
  for (UINT command : {IDM_COPY, IDM_DELETE_SELECTED, IDM_MARK_SELECTED_BILLED, IDM_PROPERTIES}) {
    SendCommand(command);
  }
  EXPECT_EQ(Messages().size(), 0u);
  EXPECT_EQ(Count(TimeDatabase), 2u);
  EXPECT_TRUE(scripted.timeModes.empty());

  // New Subsequent Record says which record it needs.
  SendCommand(IDM_NEW_SUBSEQUENT_RECORD);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], std::tuple(std::u16string(u"Please select a record, after which the new subsequent record "
                                                     u"should be added.\n\nNote: the selected record's end time and "
                                                     u"the new subsequent record's start time will be set to the "
                                                     u"present time."),
                                      std::u16string(u"Record Selection"), kInfo));
}

TEST_F(RecordCommandsTest, UnderTheReportTheSelectedRecordIsAskedFor) {
  AddTimeRecords({kToday});
  Start(PWH_TIME_MODE);
  DestroyCurrentView();
  ASSERT_TRUE(CreateMainListView(&ReportListWindow, PWH_REPORT_VIEW));
  for (UINT command : {IDM_COPY, IDM_DELETE_SELECTED, IDM_MARK_SELECTED_BILLED, IDM_PROPERTIES}) {
    host.messages.clear();
    SendCommand(command);
    EXPECT_EQ(Messages(), (std::vector{std::tuple(std::u16string(u"Please select a record first."),
                                                  std::u16string(u"Record Selection"),
                                                  MB_OK | MB_ICONWARNING)}))
        << command;
  }
  // The commands on many records, and new records, wait for a record view.
  host.messages.clear();
  Configuration->confirmDelete() = 0;
  for (UINT command : {IDM_DELETE_MULTIPLE, IDM_MARK_MULTIPLE_BILLED, IDM_NEW_RECORD, IDM_NEW_SUBSEQUENT_RECORD})
    SendCommand(command);
  EXPECT_EQ(Messages().size(), 0u);
  EXPECT_EQ(Count(TimeDatabase), 1u);
  EXPECT_TRUE(scripted.timeModes.empty());
}

// With "Today" shown, row 1 is the second of today's records, not the second record of the store.
TEST_F(RecordCommandsTest, RowsOfADateTabLeadToTheirRecords) {
  AddTimeRecords({u"03/01/2024", u"03/02/2024", kToday, kToday});
  Start(PWH_TIME_MODE, PWH_TAB_TODAY);
  ASSERT_EQ(Rows(), 2);
  Select(1);
  EXPECT_EQ(SelectedRecordPosition(), 3);
  Configuration->confirmMarkBilled() = 0;
  SendCommand(IDM_MARK_SELECTED_BILLED);
  EXPECT_EQ(std::tuple(TimeAt(2).billed, TimeAt(3).billed), std::tuple(0, 1));
  EXPECT_EQ(CurrentRow(), 1);
}

// --- New records -----------------------------------------------------------------------------------------

struct NewCase {
  const char* name;
  int mode;
  bool defaultStored, defaultActive;
  int reply;
  int expectedDialogMode;
};

const NewCase kNewCases[] = {
    {"TimeNew", PWH_TIME_MODE, false, false, IDOK, PWH_TIME_ENTRY_NEW},
    {"TimeInactiveDefault", PWH_TIME_MODE, true, false, IDOK, PWH_TIME_ENTRY_NEW},
    {"TimeActiveWithoutDefault", PWH_TIME_MODE, false, true, IDOK, PWH_TIME_ENTRY_NEW},
    {"TimeFromDefault", PWH_TIME_MODE, true, true, IDOK, PWH_TIME_ENTRY_NEW_FROM_DEFAULT},
    {"TimeCancelled", PWH_TIME_MODE, true, true, IDCANCEL, PWH_TIME_ENTRY_NEW_FROM_DEFAULT},
    {"ExpenseNew", PWH_EXPENSE_MODE, false, false, IDOK, PWH_EXPENSE_ENTRY_NEW},
    {"ExpenseInactiveDefault", PWH_EXPENSE_MODE, true, false, IDOK, PWH_EXPENSE_ENTRY_NEW},
    {"ExpenseFromDefault", PWH_EXPENSE_MODE, true, true, IDOK, PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT},
    {"ExpenseCancelled", PWH_EXPENSE_MODE, false, false, IDCANCEL, PWH_EXPENSE_ENTRY_NEW},
};

class NewRecordCommand : public RecordCommandsTest, public ::testing::WithParamInterface<NewCase> {};

TEST_P(NewRecordCommand, BeginsFromTheDefaultRecordAndStoresWithGapsFilled) {
  const NewCase& c = GetParam();
  const bool time = c.mode == PWH_TIME_MODE;
  AddTimeRecords({u"03/01/2024", u"03/20/2024"});
  AddExpenseRecords({u"03/01/2024", u"03/20/2024"});
  Start(c.mode);
  if (c.defaultStored) {
    Blob blob;
    TimeRecord t;
    ExpenseRecord e;
    CopyText(t.client, u"Default client");
    CopyText(e.client, u"Default client");
    CopyText(t.notes, u"from the default");
    CopyText(e.notes, u"from the default");
    if (time) {
      ASSERT_TRUE(SerializeTimeRecord(t, &blob));
      Configuration->setDefaultTimeRecordBlob(blob);
    } else {
      ASSERT_TRUE(SerializeExpenseRecord(e, &blob));
      Configuration->setDefaultExpenseRecordBlob(blob);
    }
  }
  (time ? Configuration->defaultTimeRecordActive() : Configuration->defaultExpenseRecordActive()) = c.defaultActive;
  // Something left in the working record by an earlier command does not leak into the new one.
  CopyText(WorkingTimeRecord.client, u"left over");
  CopyText(WorkingExpenseRecord.client, u"left over");
  scripted.reply = c.reply;
  scripted.client.clear();  // the user leaves the client as the dialog shows it
  scripted.date = kToday;
  const std::size_t activityBefore = Activity().size();

  Select(0);
  SendCommand(IDM_NEW_RECORD);

  EXPECT_EQ(time ? scripted.timeModes : scripted.expenseForms, std::vector{c.expectedDialogMode});
  const bool fromDefault = c.expectedDialogMode == (time ? int(PWH_TIME_ENTRY_NEW_FROM_DEFAULT) : int(PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT));
  ASSERT_EQ(scripted.clientOnEntry.size(), 1u);
  EXPECT_EQ(scripted.clientOnEntry[0], fromDefault ? u"Default client" : u"");
  DatabaseHandle& db = time ? TimeDatabase : ExpenseDatabase;
  if (c.reply != IDOK) {
    // Nothing stored, the view not rebuilt, the selection kept.
    EXPECT_EQ(Count(db), 2u);
    EXPECT_EQ(Activity().size(), activityBefore);
    EXPECT_EQ(CurrentRow(), 0);
    return;
  }
  ASSERT_EQ(Count(db), 3u);
  // Sorted between the two others, current and with its empty texts filled.
  EXPECT_EQ(CurrentRow(), 1);
  if (time) {
    const TimeRecord r = TimeAt(1);
    EXPECT_EQ(TextOf(r.client), fromDefault ? u"Default client" : u"n/a");
    EXPECT_EQ(std::tuple(TextOf(r.task), TextOf(r.duration), TextOf(r.notes)),
              std::tuple(u"n/a", u"n/a", fromDefault ? u"from the default" : u""));
  } else {
    const ExpenseRecord r = ExpenseAt(1);
    EXPECT_EQ(TextOf(r.client), fromDefault ? u"Default client" : u"n/a");
    EXPECT_EQ(std::tuple(TextOf(r.miles), TextOf(r.notes)), std::tuple(u"n/a", fromDefault ? u"from the default" : u""));
  }
  EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, NewRecordCommand, ::testing::ValuesIn(kNewCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The commands open the real entry dialogs: what the user types there and confirms is stored.
class RealEntryDialog : public RecordCommandsTest, public ::testing::WithParamInterface<int> {};

TEST_P(RealEntryDialog, NewRecordStoresWhatWasEntered) {
  EntryDialogs = {TimeEntryDialog, ExpenseEntryDialog};
  const bool time = GetParam() == PWH_TIME_MODE;
  Start(GetParam());
  WhenModalAppears<QDialog>([](QDialog* dialog) {
    dialog->findChild<QComboBox*>("1056")->lineEdit()->setText("Acme");
    dialog->findChild<QPushButton*>("1")->click();
  });
  SendCommand(IDM_NEW_RECORD);
  DatabaseHandle& db = time ? TimeDatabase : ExpenseDatabase;
  ASSERT_EQ(Count(db), 1u);
  const std::u16string client(time ? TextOf(TimeAt(0).client) : TextOf(ExpenseAt(0).client));
  const std::u16string project(time ? TextOf(TimeAt(0).project) : TextOf(ExpenseAt(0).project));
  EXPECT_EQ(std::tuple(client, project), std::tuple(u"Acme", u"n/a"));
  EXPECT_EQ(CurrentRow(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, RealEntryDialog, ::testing::Values(int(PWH_TIME_MODE), int(PWH_EXPENSE_MODE)),
                         [](const auto& info) { return std::string(info.param == PWH_TIME_MODE ? "Time" : "Expense"); });

// --- Properties --------------------------------------------------------------------------------------------

struct PropertiesCase {
  const char* name;
  int mode;
  int tab;
  int reply;
  const char16_t* newDate;
  int currentRowAfter;  // -1: the record left the rows shown
};

const PropertiesCase kPropertiesCases[] = {
    {"TimeEdited", PWH_TIME_MODE, PWH_TAB_ALL, IDOK, kToday, 0},
    {"TimeMovedDown", PWH_TIME_MODE, PWH_TAB_ALL, IDOK, u"12/31/2024", 2},
    // The record left the tab: the row nearest to where it was is current.
    {"TimeMovedOutOfTheTab", PWH_TIME_MODE, PWH_TAB_TODAY, IDOK, u"01/01/2020", 0},
    {"TimeCancelled", PWH_TIME_MODE, PWH_TAB_ALL, IDCANCEL, u"12/31/2024", 0},
    {"ExpenseMovedDown", PWH_EXPENSE_MODE, PWH_TAB_ALL, IDOK, u"12/31/2024", 2},
    {"ExpenseCancelled", PWH_EXPENSE_MODE, PWH_TAB_ALL, IDCANCEL, u"12/31/2024", 0},
};

class PropertiesCommand : public RecordCommandsTest, public ::testing::WithParamInterface<PropertiesCase> {};

TEST_P(PropertiesCommand, EditsTheSelectedRecordAndFollowsIt) {
  const PropertiesCase& c = GetParam();
  const bool time = c.mode == PWH_TIME_MODE;
  AddTimeRecords({kToday, kToday, kToday});
  AddExpenseRecords({kToday, kToday, kToday});
  Start(c.mode, c.tab);
  scripted.reply = c.reply;
  scripted.client = u"Edited";
  scripted.date = c.newDate;
  Select(0);

  SendCommand(IDM_PROPERTIES);

  EXPECT_EQ(time ? scripted.timeModes : scripted.expenseForms,
            std::vector{time ? int(PWH_TIME_ENTRY_EDIT) : int(PWH_EXPENSE_ENTRY_EDIT)});
  DatabaseHandle& db = time ? TimeDatabase : ExpenseDatabase;
  ASSERT_EQ(Count(db), 3u);
  const bool edited = c.reply == IDOK;
  RecordPosition where = 0;
  if (edited && std::u16string_view(c.newDate) == u"12/31/2024") where = 2;
  const std::u16string client(time ? TextOf(TimeAt(where).client) : TextOf(ExpenseAt(where).client));
  EXPECT_EQ(client, edited ? u"Edited" : u"");
  // An edit keeps empty texts empty: "n/a" is for new records only.
  if (time) {
    EXPECT_EQ(TextOf(TimeAt(where).task), u"");
  }
  EXPECT_EQ(CurrentRow(), c.currentRowAfter);
}

INSTANTIATE_TEST_SUITE_P(Commands, PropertiesCommand, ::testing::ValuesIn(kPropertiesCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordCommandsTest, ActivatingARowOpensItsProperties) {
  AddExpenseRecords({kToday, kToday});
  Start(PWH_EXPENSE_MODE);
  const QModelIndex row1 = ListViewWindow->model()->index(1, 1);
  ListViewWindow->setCurrentIndex(row1);
  emit ListViewWindow->activated(row1);
  EXPECT_EQ(scripted.expenseForms, std::vector{int(PWH_EXPENSE_ENTRY_EDIT)});
  EXPECT_EQ(TextOf(ExpenseAt(1).client), u"Acme");
}

// --- New Subsequent Record --------------------------------------------------------------------------------

// The selected record ends now and the next one begins now; amounts follow under a comma-decimal locale too.
class SubsequentRecordCommand : public RecordCommandsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SubsequentRecordCommand, EndsTheSelectedRecordNowAndBeginsTheNext) {
  const char* saved = std::setlocale(LC_ALL, nullptr);
  const std::string before = saved ? saved : "C";
  if (!std::setlocale(LC_ALL, GetParam())) GTEST_SKIP() << GetParam() << " is not installed";
  {
    TimeRecord r = Dated<TimeRecord>(kToday);
    r.startHour = 1;
    r.startPm = true;
    r.billable = 1;
    CopyText(r.rate, u"30");
    CopyText(r.duration, u"00:30");
    DatabaseHandle db;
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db));
    ASSERT_TRUE(AddNewRecord(nullptr, db, r));
  }
  SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 14, .wMinute = 5});
  Start(PWH_TIME_MODE);
  scripted.date = kToday;
  Select(0);

  SendCommand(IDM_NEW_SUBSEQUENT_RECORD);
  std::setlocale(LC_ALL, before.c_str());

  EXPECT_EQ(scripted.timeModes, std::vector{int(PWH_TIME_ENTRY_SUBSEQUENT)});
  // The dialog began with a cleared record.
  EXPECT_EQ(scripted.clientOnEntry, std::vector<std::u16string>{u""});
  ASSERT_EQ(Count(TimeDatabase), 2u);
  const TimeRecord ended = TimeAt(0);
  EXPECT_EQ(std::tuple(ended.endHour, ended.endMinute, ended.endPm), std::tuple(2, 5, true));
  EXPECT_EQ(std::tuple(TextOf(ended.duration), TextOf(ended.amount)), std::tuple(u"01:05", u"32.50"));
  EXPECT_EQ(TextOf(TimeAt(1).client), u"Acme");
  EXPECT_EQ(CurrentRow(), 1);
}

INSTANTIATE_TEST_SUITE_P(Locales, SubsequentRecordCommand, ::testing::Values("C.UTF-8", "de_DE.UTF-8"),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "German"); });

TEST_F(RecordCommandsTest, SubsequentRecordBeginsFromTheActiveDefault) {
  AddTimeRecords({kToday});
  Start(PWH_TIME_MODE);
  Blob blob;
  TimeRecord d;
  CopyText(d.client, u"Default client");
  ASSERT_TRUE(SerializeTimeRecord(d, &blob));
  Configuration->setDefaultTimeRecordBlob(blob);
  Configuration->defaultTimeRecordActive() = 1;
  scripted.reply = IDCANCEL;
  Select(0);
  SendCommand(IDM_NEW_SUBSEQUENT_RECORD);
  EXPECT_EQ(scripted.timeModes, std::vector{int(PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT)});
  EXPECT_EQ(scripted.clientOnEntry, std::vector<std::u16string>{u"Default client"});
  // Cancelled: the selected record was ended all the same, and stays current.
  EXPECT_EQ(Count(TimeDatabase), 1u);
  EXPECT_EQ(TimeAt(0).endHour, 10);
  EXPECT_EQ(CurrentRow(), 0);
  // In Expense mode the command is greyed and does nothing.
  SendCommand(IDM_MODE_EXPENSE);
  host.messages.clear();
  SendCommand(IDM_NEW_SUBSEQUENT_RECORD);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(scripted.timeModes.size(), 1u);
}

// The record selected before a command on many records is current again after it, when it is still there.
TEST_F(RecordCommandsTest, MarkingManyKeepsTheSelection) {
  AddTimeRecords({kToday, kToday, kToday});
  Start(PWH_TIME_MODE);
  Configuration->confirmMarkBilled() = 0;
  Select(2);
  SendCommand(IDM_MARK_MULTIPLE_BILLED);
  EXPECT_EQ(CurrentRow(), 2);
}

}  // namespace
}  // namespace pw::test
