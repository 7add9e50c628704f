// The record commands on the real main window: what they ask, what they do
// with each answer, what they report, and which row is current afterwards.
// The entry dialogs are replaced by scripted stand-ins.
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>

#include <string>
#include <tuple>
#include <vector>

#include "config/configuration.h"
#include "dialogs/gui/expense_entry_dialog.h"
#include "dialogs/gui/time_entry_dialog.h"
#include "modal_poller.h"
#include "platform/code_page.h"
#include "selection/selection.h"
#include "shell/gui/commands.h"
#include "shell/gui/record_commands.h"
#include "shell_fixture.h"
#include "support/locale_guard.h"
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

template <class Record>
int ScriptedDialog(std::vector<int>& opened, int mode, Record& working) {
  opened.push_back(mode);
  dialogs->clientOnEntry.emplace_back(TextOf(working.client));
  if (!dialogs->client.empty()) CopyText(working.client, dialogs->client);
  if (!dialogs->date.empty()) CopyText(working.date, dialogs->date);
  return dialogs->reply;
}

constexpr const char16_t* kToday = u"03/14/2024";  // the fixture's clock
constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
constexpr unsigned kInfo = MB_OK | MB_ICONINFORMATION;
using Messages = std::vector<std::tuple<std::u16string, std::u16string, unsigned>>;

class RecordCommandsTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    saved_ = EntryDialogs;
    dialogs = &scripted;
    EntryDialogs = {[](HWND, int mode) { return ScriptedDialog(dialogs->timeModes, mode, WorkingTimeRecord); },
                    [](HWND, int form) { return ScriptedDialog(dialogs->expenseForms, form, WorkingExpenseRecord); }};
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
  static void Add(int mode, const char16_t* date, const char16_t* client, bool done = false) {
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

  // Stores the mode's default record with this client and note.
  static void SetDefault(int mode, const char16_t* client, const char16_t* notes) {
    Blob blob;
    TimeRecord t;
    ExpenseRecord e;
    CopyText(t.client, client), CopyText(t.notes, notes), CopyText(e.client, client), CopyText(e.notes, notes);
    if (mode == PWH_TIME_MODE) {
      ASSERT_TRUE(SerializeTimeRecord(t, &blob));
      Configuration->setDefaultTimeRecordBlob(blob);
    } else {
      ASSERT_TRUE(SerializeExpenseRecord(e, &blob));
      Configuration->setDefaultExpenseRecordBlob(blob);
    }
  }

  static int Rows() { return ListViewWindow ? ListViewWindow->model()->rowCount() : -1; }
  static int CurrentRow() { return ListViewWindow ? GetListSelectionMark(ListViewWindow) : -1; }
  static void Select(int row) { ListViewWindow->selectRow(row); }
  static DatabaseHandle& Db() { return AppMode == PWH_TIME_MODE ? TimeDatabase : ExpenseDatabase; }

  static TimeRecord TimeAt(RecordPosition p) {
    TimeRecord r;
    EXPECT_TRUE(LoadPWHRecord(nullptr, TimeDatabase, p, &r));
    return r;
  }
  static ExpenseRecord ExpenseAt(RecordPosition p) {
    ExpenseRecord r;
    EXPECT_TRUE(LoadPWHExpenseRecord(nullptr, ExpenseDatabase, p, &r));
    return r;
  }

  // The records of the mode in store order, blanks between: each client, then
  // ":" and the flags set (b billable, B billed, r reimbursable, R reimbursed), if any.
  static std::string Store() {
    std::string out;
    for (RecordPosition p = 0; p < DatabaseRecordCount(Db()); ++p) {
      std::string client, flags;
      if (AppMode == PWH_TIME_MODE) {
        const TimeRecord r = TimeAt(p);
        client = WideToUtf8(TextOf(r.client)), flags = std::string(r.billable ? "b" : "") + (r.billed ? "B" : "");
      } else {
        const ExpenseRecord r = ExpenseAt(p);
        client = WideToUtf8(TextOf(r.client));
        flags = std::string(r.billable ? "b" : "") + (r.billed ? "B" : "") + (r.reimbursable ? "r" : "") +
                (r.reimbursed ? "R" : "");
      }
      out += (out.empty() ? "" : " ") + client + (flags.empty() ? "" : ":" + flags);
    }
    return out;
  }

  Messages Shown() const {
    Messages out;
    for (const RecordedMessage& m : host.messages) out.emplace_back(m.text, m.title, m.type);
    return out;
  }

  ScriptedDialogs scripted;

 private:
  EntryDialogHooks saved_{};
};

enum class Answer { NotAsked, Yes, No };

std::string AnswerName(Answer a) { return a == Answer::NotAsked ? "Unasked" : a == Answer::Yes ? "Yes" : "No"; }

// --- Commands on the selected record: question, answer, effect -------------------------------------

struct SelectedCase {
  const char* name;
  UINT command;
  int mode, confirmFlag;
  const char16_t *question, *title;
  const char* after;  // the store when the command was carried out
};

const SelectedCase kSelectedCases[] = {
    {"Copy", IDM_COPY, PWH_TIME_MODE, PWH_CONFIRM_COPY, u"Duplicate selected record ?", u"Duplicate Record",
     "A B B C"},
    {"Delete", IDM_DELETE_SELECTED, PWH_TIME_MODE, PWH_CONFIRM_DELETE, u"Delete selected record ?", u"Delete Record",
     "A C"},
    {"Billed", IDM_MARK_SELECTED_BILLED, PWH_TIME_MODE, PWH_CONFIRM_MARK_BILLED, u"Mark selected record \"billed\" ?",
     u"Mark Selected", "A B:bB C"},
    {"BilledExpense", IDM_MARK_SELECTED_BILLED, PWH_EXPENSE_MODE, PWH_CONFIRM_MARK_BILLED,
     u"Mark selected record \"billed\" ?", u"Mark Selected", "A B:bB C"},
    {"Reimbursed", IDM_MARK_SELECTED_REIMBURSED, PWH_EXPENSE_MODE, PWH_CONFIRM_MARK_REIMBURSED,
     u"Mark selected record \"reimbursed\" ?", u"Mark Selected", "A B:rR C"},
};

class SelectedRecordCommand : public RecordCommandsTest,
                              public ::testing::WithParamInterface<std::tuple<SelectedCase, Answer>> {};

// Three records of three days; the middle one (client "B") is selected and acted on.
TEST_P(SelectedRecordCommand, AsksWhenSetAndActsOnlyOnYes) {
  const auto& [c, answer] = GetParam();
  Add(c.mode, u"03/13/2024", u"A"), Add(c.mode, kToday, u"B"), Add(c.mode, u"03/15/2024", u"C");
  Start(c.mode);
  Configuration->behaviorFlags[c.confirmFlag] = answer != Answer::NotAsked;
  if (answer == Answer::Yes) host.answers.push_back(IDYES);
  Select(1);

  SendCommand(c.command);

  const bool acted = answer != Answer::No;
  Messages asked;
  if (answer != Answer::NotAsked) asked.emplace_back(c.question, c.title, kQuestion);
  EXPECT_EQ(Shown(), asked);
  EXPECT_EQ(Store(), acted ? c.after : "A B C");
  // The record acted on (the copy for Copy, the next one for Delete) is the current row;
  // a command not carried out changes nothing, the selection included.
  EXPECT_EQ(CurrentRow(), acted && c.command == IDM_COPY ? 2 : 1);
  EXPECT_EQ(Rows(), int(DatabaseRecordCount(Db())));
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
  int mode, confirmFlag;
  const char16_t *allQuestion, *shownQuestion, *title;
  const char16_t* done;  // with the count
  // Of an older record and two of today, one of them done already: how many the command changes and the
  // store afterwards, with "All" shown and with "Today" shown.
  int allCount, todayCount;
  const char *allAfter, *todayAfter;
};

const MultipleCase kMultipleCases[] = {
    {"Delete", IDM_DELETE_MULTIPLE, PWH_TIME_MODE, PWH_CONFIRM_DELETE, u"Delete all records in the database ?",
     u"Delete all records currently displayed in the view ?", u"Delete Multiple Records", u"Deleted %d record(s).", 3,
     2, "", "old"},
    {"Billed", IDM_MARK_MULTIPLE_BILLED, PWH_TIME_MODE, PWH_CONFIRM_MARK_BILLED,
     u"Mark all records in the database \"billed\" ?",
     u"Mark all records currently displayed in the view \"billed\" ?", u"Multiple Record Modification",
     u"Marked %d record(s) \"billed\".", 2, 1, "old:bB done:bB new:bB", "old done:bB new:bB"},
    {"Reimbursed", IDM_MARK_MULTIPLE_REIMBURSED, PWH_EXPENSE_MODE, PWH_CONFIRM_MARK_REIMBURSED,
     u"Mark all records in the database \"reimbursed\" ?",
     u"Mark all records currently displayed in the view \"reimbursed\" ?", u"Multiple Record Modification",
     u"Marked %d record(s) \"reimbursed\".", 2, 1, "old:rR done:bBrR new:rR", "old done:bBrR new:rR"},
};

class MultipleRecordCommand
    : public RecordCommandsTest,
      public ::testing::WithParamInterface<std::tuple<MultipleCase, int /*tab*/, Answer>> {};

TEST_P(MultipleRecordCommand, AsksByRecordSetAndReportsTheCount) {
  const auto& [c, tab, answer] = GetParam();
  Add(c.mode, u"03/01/2024", u"old"), Add(c.mode, kToday, u"done", true), Add(c.mode, kToday, u"new");
  Start(c.mode, tab);
  const bool all = tab == PWH_TAB_ALL;
  ASSERT_EQ(RecordSetMode, all ? PWH_ALL_REC_MODE : PWH_SELECT_REC_MODE);
  Configuration->behaviorFlags[c.confirmFlag] = answer != Answer::NotAsked;
  if (answer == Answer::Yes) host.answers.push_back(IDYES);
  const std::string before = Store();
  const int last = Rows() - 1;
  Select(last);

  SendCommand(c.command);

  const bool acted = answer != Answer::No;
  Messages expected;
  if (answer != Answer::NotAsked) expected.emplace_back(all ? c.allQuestion : c.shownQuestion, c.title, kQuestion);
  if (acted) expected.emplace_back(Format(c.done, all ? c.allCount : c.todayCount), c.title, kInfo);
  EXPECT_EQ(Shown(), expected);
  EXPECT_EQ(Store(), acted ? (all ? c.allAfter : c.todayAfter) : before);
  // The view shows the store as it is now; the record selected before is current again.
  EXPECT_EQ(Rows(), int(all ? DatabaseRecordCount(Db()) : DisplayedRecordList.count()));
  if (c.command != IDM_DELETE_MULTIPLE) EXPECT_EQ(CurrentRow(), last);
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
  // Reimbursement is greyed in Time mode and does nothing, even when asked for.
  for (UINT command : {IDM_MARK_MULTIPLE_BILLED, IDM_DELETE_MULTIPLE, IDM_MARK_MULTIPLE_REIMBURSED,
                       IDM_MARK_SELECTED_REIMBURSED})
    SendCommand(command);
  EXPECT_EQ(Shown(), Messages{});
}

// --- Which record: no selection, the Report, a selected-record set -------------------------------------

TEST_F(RecordCommandsTest, WithoutASelectedRowCommandsDoNothingAndSayNothing) {
  AddTimeRecords({kToday, kToday});
  Start(PWH_TIME_MODE);
  // A rebuild keeps the focused row current and selected: take the selection away.
  ListViewWindow->selectionModel()->clearSelection();
  for (UINT command : {IDM_COPY, IDM_DELETE_SELECTED, IDM_MARK_SELECTED_BILLED, IDM_PROPERTIES}) SendCommand(command);
  EXPECT_EQ(Shown(), Messages{});
  EXPECT_EQ(DatabaseRecordCount(TimeDatabase), 2u);
  EXPECT_TRUE(scripted.timeModes.empty());

  // New Subsequent Record says which record it needs.
  SendCommand(IDM_NEW_SUBSEQUENT_RECORD);
  EXPECT_EQ(Shown(), (Messages{{u"Please select a record, after which the new subsequent record should be added.\n\n"
                                u"Note: the selected record's end time and the new subsequent record's start time "
                                u"will be set to the present time.",
                                u"Record Selection", kInfo}}));
}

TEST_F(RecordCommandsTest, UnderTheReportTheSelectedRecordIsAskedFor) {
  AddTimeRecords({kToday});
  Start(PWH_TIME_MODE);
  DestroyCurrentView();
  ASSERT_TRUE(CreateMainListView(&ReportListWindow, PWH_REPORT_VIEW));
  for (UINT command : {IDM_COPY, IDM_DELETE_SELECTED, IDM_MARK_SELECTED_BILLED, IDM_PROPERTIES}) {
    host.messages.clear();
    SendCommand(command);
    EXPECT_EQ(Shown(), (Messages{{u"Please select a record first.", u"Record Selection", MB_OK | MB_ICONWARNING}}))
        << command;
  }
  // The commands on many records, and new records, wait for a record view.
  host.messages.clear();
  Configuration->confirmDelete() = 0;
  for (UINT command : {IDM_DELETE_MULTIPLE, IDM_MARK_MULTIPLE_BILLED, IDM_NEW_RECORD, IDM_NEW_SUBSEQUENT_RECORD})
    SendCommand(command);
  EXPECT_EQ(Shown(), Messages{});
  EXPECT_EQ(DatabaseRecordCount(TimeDatabase), 1u);
  EXPECT_TRUE(scripted.timeModes.empty());
}

// With "Today" shown, row 1 is the second of today's records, not the second record of the store.
TEST_F(RecordCommandsTest, RowsOfADateTabLeadToTheirRecords) {
  Add(PWH_TIME_MODE, u"03/01/2024", u"A"), Add(PWH_TIME_MODE, u"03/02/2024", u"B");
  Add(PWH_TIME_MODE, kToday, u"C"), Add(PWH_TIME_MODE, kToday, u"D");
  Start(PWH_TIME_MODE, PWH_TAB_TODAY);
  ASSERT_EQ(Rows(), 2);
  Select(1);
  EXPECT_EQ(SelectedRecordPosition(), 3);
  Configuration->confirmMarkBilled() = 0;
  SendCommand(IDM_MARK_SELECTED_BILLED);
  EXPECT_EQ(Store(), "A B C D:bB");
  EXPECT_EQ(CurrentRow(), 1);
}

// --- New records -----------------------------------------------------------------------------------------

struct NewCase {
  const char* name;
  int mode;
  bool defaultStored, defaultActive;
  int reply, expectedDialogMode;
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
  Add(c.mode, u"03/01/2024", u"A"), Add(c.mode, u"03/20/2024", u"C");
  Start(c.mode);
  if (c.defaultStored) SetDefault(c.mode, u"Default client", u"from the default");
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
  EXPECT_EQ(scripted.clientOnEntry, std::vector<std::u16string>{fromDefault ? u"Default client" : u""});
  if (c.reply != IDOK) {
    // Nothing stored, the view not rebuilt, the selection kept.
    EXPECT_EQ(Store(), "A C");
    EXPECT_EQ(Activity().size(), activityBefore);
    EXPECT_EQ(CurrentRow(), 0);
    return;
  }
  // Sorted between the two others, current and with its empty texts filled.
  EXPECT_EQ(Store(), fromDefault ? "A Default client C" : "A n/a C");
  EXPECT_EQ(CurrentRow(), 1);
  const std::u16string notes = fromDefault ? u"from the default" : u"";
  if (time) {
    const TimeRecord r = TimeAt(1);
    EXPECT_EQ(std::tuple(TextOf(r.task), TextOf(r.duration), TextOf(r.notes)), std::tuple(u"n/a", u"n/a", notes));
  } else {
    EXPECT_EQ(std::tuple(TextOf(ExpenseAt(1).miles), TextOf(ExpenseAt(1).notes)), std::tuple(u"n/a", notes));
  }
  EXPECT_EQ(Shown(), Messages{});
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
  ASSERT_EQ(DatabaseRecordCount(Db()), 1u);
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
  int mode, tab, reply;
  const char16_t* newDate;
  const char* after;
  int currentRowAfter;
};

const PropertiesCase kPropertiesCases[] = {
    {"TimeEdited", PWH_TIME_MODE, PWH_TAB_ALL, IDOK, kToday, "Edited B C", 0},
    {"TimeMovedDown", PWH_TIME_MODE, PWH_TAB_ALL, IDOK, u"12/31/2024", "B C Edited", 2},
    // The record left the tab: the row nearest to where it was is current.
    {"TimeMovedOutOfTheTab", PWH_TIME_MODE, PWH_TAB_TODAY, IDOK, u"01/01/2020", "Edited B C", 0},
    {"TimeCancelled", PWH_TIME_MODE, PWH_TAB_ALL, IDCANCEL, u"12/31/2024", "A B C", 0},
    {"ExpenseMovedDown", PWH_EXPENSE_MODE, PWH_TAB_ALL, IDOK, u"12/31/2024", "B C Edited", 2},
    {"ExpenseCancelled", PWH_EXPENSE_MODE, PWH_TAB_ALL, IDCANCEL, u"12/31/2024", "A B C", 0},
};

class PropertiesCommand : public RecordCommandsTest, public ::testing::WithParamInterface<PropertiesCase> {};

TEST_P(PropertiesCommand, EditsTheSelectedRecordAndFollowsIt) {
  const PropertiesCase& c = GetParam();
  const bool time = c.mode == PWH_TIME_MODE;
  for (const char16_t* client : {u"A", u"B", u"C"}) Add(c.mode, kToday, client);
  Start(c.mode, c.tab);
  scripted.reply = c.reply;
  scripted.client = u"Edited";
  scripted.date = c.newDate;
  Select(0);

  SendCommand(IDM_PROPERTIES);

  EXPECT_EQ(time ? scripted.timeModes : scripted.expenseForms,
            std::vector{time ? int(PWH_TIME_ENTRY_EDIT) : int(PWH_EXPENSE_ENTRY_EDIT)});
  EXPECT_EQ(Store(), c.after);
  // An edit keeps empty texts empty: "n/a" is for new records only.
  for (RecordPosition p = 0; time && p < 3; ++p) EXPECT_EQ(TextOf(TimeAt(p).task), u"");
  EXPECT_EQ(CurrentRow(), c.currentRowAfter);
}

INSTANTIATE_TEST_SUITE_P(Commands, PropertiesCommand, ::testing::ValuesIn(kPropertiesCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordCommandsTest, ActivatingARowOpensItsProperties) {
  Add(PWH_EXPENSE_MODE, kToday, u"A"), Add(PWH_EXPENSE_MODE, kToday, u"B");
  Start(PWH_EXPENSE_MODE);
  const QModelIndex row1 = ListViewWindow->model()->index(1, 1);
  ListViewWindow->setCurrentIndex(row1);
  emit ListViewWindow->activated(row1);
  EXPECT_EQ(scripted.expenseForms, std::vector{int(PWH_EXPENSE_ENTRY_EDIT)});
  EXPECT_EQ(Store(), "A Acme");
}

// --- New Subsequent Record --------------------------------------------------------------------------------

// The selected record ends now and the next one begins now; amounts follow under a comma-decimal locale too.
class SubsequentRecordCommand : public RecordCommandsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SubsequentRecordCommand, EndsTheSelectedRecordNowAndBeginsTheNext) {
  LocaleGuard locale(GetParam());
  if (!locale.ok()) GTEST_SKIP() << GetParam() << " is not installed";
  TimeRecord r = Dated<TimeRecord>(kToday);
  CopyText(r.client, u"A");
  r.startHour = 1, r.startPm = true, r.billable = 1;
  CopyText(r.rate, u"30"), CopyText(r.duration, u"00:30");
  DatabaseHandle db;
  ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db) && AddNewRecord(nullptr, db, r));
  SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 14, .wMinute = 5});
  Start(PWH_TIME_MODE);
  scripted.date = kToday;
  Select(0);

  SendCommand(IDM_NEW_SUBSEQUENT_RECORD);

  EXPECT_EQ(scripted.timeModes, std::vector{int(PWH_TIME_ENTRY_SUBSEQUENT)});
  // The dialog began with a cleared record.
  EXPECT_EQ(scripted.clientOnEntry, std::vector<std::u16string>{u""});
  EXPECT_EQ(Store(), "A:b Acme");
  const TimeRecord ended = TimeAt(0);
  EXPECT_EQ(std::tuple(ended.endHour, ended.endMinute, ended.endPm), std::tuple(2, 5, true));
  EXPECT_EQ(std::tuple(TextOf(ended.duration), TextOf(ended.amount)), std::tuple(u"01:05", u"32.50"));
  EXPECT_EQ(CurrentRow(), 1);
}

INSTANTIATE_TEST_SUITE_P(Locales, SubsequentRecordCommand, ::testing::Values("C.UTF-8", "de_DE.UTF-8"),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "German"); });

TEST_F(RecordCommandsTest, SubsequentRecordBeginsFromTheActiveDefault) {
  AddTimeRecords({kToday});
  Start(PWH_TIME_MODE);
  SetDefault(PWH_TIME_MODE, u"Default client", u"");
  Configuration->defaultTimeRecordActive() = 1;
  scripted.reply = IDCANCEL;
  Select(0);
  SendCommand(IDM_NEW_SUBSEQUENT_RECORD);
  EXPECT_EQ(scripted.timeModes, std::vector{int(PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT)});
  EXPECT_EQ(scripted.clientOnEntry, std::vector<std::u16string>{u"Default client"});
  // Cancelled: the selected record was ended all the same, and stays current.
  EXPECT_EQ(DatabaseRecordCount(TimeDatabase), 1u);
  EXPECT_EQ(TimeAt(0).endHour, 10);
  EXPECT_EQ(CurrentRow(), 0);
  // In Expense mode the command is greyed and does nothing.
  SendCommand(IDM_MODE_EXPENSE);
  host.messages.clear();
  SendCommand(IDM_NEW_SUBSEQUENT_RECORD);
  EXPECT_EQ(Shown(), Messages{});
  EXPECT_EQ(scripted.timeModes.size(), 1u);
}

}  // namespace
}  // namespace pw::test
