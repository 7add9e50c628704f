// The record, mode and view commands over a table standing in for the views: what they ask, store and
// report, and which record is current afterwards. The entry dialogs are scripted.
#include "shell/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <tuple>

#include "dialogs/expense_entry.h"
#include "dialogs/time_entry.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/command_ids.h"
#include "storage/record_operations.h"
#include "storage/store_fixture.h"
#include "support/locale_guard.h"
#include "text/format.h"

namespace pw::test {
namespace {

// The view shown, the record selected in it (a position, -1 none) and the views made.
class FakeViews : public ViewPort {
 public:
  explicit FakeViews(AppState& state) : state_(state) {}
  ShownView Shown() const override { return shown; }
  std::int64_t SelectedRecordPosition() override { return selected; }
  std::int64_t ShownRecordPosition() override { return selected; }
  int SelectedRow() override { return RowOf(selected); }
  bool CreateView(ShownView view) override { return created.push_back(shown = view), selected = -1, true; }
  bool ShowRecord(RecordPosition position) override { return RowOf(position) >= 0 && (selected = position, true); }
  void MakeRowCurrent(int row) override {
    if (const auto rows = Rows(); !rows.empty()) selected = rows[std::min(std::size_t(row), rows.size() - 1)];
  }
  void StoreColumnWidths() override {}
  void ClearMixedCard() override { ++cardsCleared; }

  // The positions shown, in row order.
  std::vector<RecordPosition> Rows() const {
    if (state_.RecordSetMode == PWH_SELECT_REC_MODE) return state_.DisplayedRecordList.positions();
    std::vector<RecordPosition> all(DatabaseRecordCount(state_.CurrentDatabase()));
    std::iota(all.begin(), all.end(), RecordPosition(0));
    return all;
  }
  int RowOf(std::int64_t position) const {
    const auto rows = Rows();
    const auto at = std::find(rows.begin(), rows.end(), position);
    return at == rows.end() ? -1 : int(at - rows.begin());
  }

  ShownView shown = ShownView::List;
  std::int64_t selected = -1;
  std::vector<ShownView> created;
  int cardsCleared = 0;

 private:
  AppState& state_;
};

constexpr const char16_t* kToday = u"03/14/2024";
constexpr SYSTEMTIME kNow{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 14, .wMinute = 5};
constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, kInfo = MB_OK | MB_ICONINFORMATION;
using Command = void (Commands::*)();

class CommandsTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    OpenPulldownsAndSettings();
    static_cast<Settings&>(*Configuration) = Settings();  // whatever an earlier test stored
    SetLocalTimeOverride(kNow);
  }
  void TearDown() override {
    SetLocalTimeOverride(std::nullopt);
    StoreTest::TearDown();
  }
  // A record of the mode; done sets every flag.
  void Add(int mode, const char16_t* date, const char16_t* client, bool done = false) {
    if (mode == PWH_TIME_MODE) return void(Put(TimeDatabase, Time(date, client, done, done)));
    ExpenseRecord r = Expense(date, client);
    r.billable = r.billed = r.reimbursable = r.reimbursed = done;
    Put(ExpenseDatabase, r);
  }
  // The mode with the tab's records in the List view.
  void Start(int mode, int tab = PWH_TAB_ALL) {
    AppMode = mode, host.selectedTab = tab;
    ApplyDateTab(state, state);
  }
  // The mode's records in store order: each client, then ":" and its flags set (billable, Billed,
  // reimbursable, Reimbursed), if any.
  std::string Store() {
    std::string out;
    const auto add = [&](const auto& r, std::string flags) {
      std::erase(flags, '-');
      out += (out.empty() ? "" : " ") + WideToUtf8(TextOf(r.client)) + (flags.empty() ? "" : ":" + flags);
    };
    if (AppMode == PWH_TIME_MODE)
      for (const auto& r : ReadAll<TimeRecord>(TimeDatabase)) add(r, {"-b"[r.billable != 0], "-B"[r.billed != 0]});
    else
      for (const auto& r : ReadAll<ExpenseRecord>(ExpenseDatabase))
        add(r, {"-b"[r.billable], "-B"[r.billed], "-r"[r.reimbursable], "-R"[r.reimbursed]});
    return out;
  }
  int Dialog(int mode, auto& working) {
    opened.push_back(mode), clientOnEntry.emplace_back(TextOf(working.client));
    return CopyText(working.date, typedDate), reply;
  }

  FakeViews views{state};
  std::vector<int> opened;                    // the dialogs' modes or forms
  std::vector<std::u16string> clientOnEntry;  // the working record's client as a dialog opened
  int reply = IDOK;                           // the dialog's, which sets this date
  std::u16string typedDate = u"12/31/2024";
  Commands commands{state, views,
                    {[this](int mode) { return Dialog(mode, state.WorkingTimeRecord); },
                     [this](int form) { return Dialog(form, state.WorkingExpenseRecord); },
                     {}}};
};

// Of an older record and two of today, the first of them done already and the last selected.
struct RecordCase {
  const char* name;
  Command run;
  int mode, confirmFlag;
  const char16_t *title, *word;       // the word is in the question and in the report
  const char *allAfter, *todayAfter;  // the store afterwards with "All" and "Today" shown (null: the same)
  int current;                        // the position current afterwards
  int allCount = 0, todayCount = 0;   // reported by the commands on every record shown
};

constexpr int kTime = PWH_TIME_MODE, kExpense = PWH_EXPENSE_MODE;
const char16_t* const kMultiple = u"Multiple Record Modification";
const RecordCase kRecordCases[] = {
    {"Copy", &Commands::Copy, kTime, PWH_CONFIRM_COPY, u"Duplicate Record", u"Duplicate", "old done:bB new new",
     nullptr, 3},
    {"Delete", &Commands::DeleteSelected, kTime, PWH_CONFIRM_DELETE, u"Delete Record", u"Delete", "old done:bB",
     nullptr, 1},
    {"Billed", &Commands::MarkSelectedBilled, kTime, PWH_CONFIRM_MARK_BILLED, u"Mark Selected", u"\"billed\"",
     "old done:bB new:bB", nullptr, 2},
    {"BilledExpense", &Commands::MarkSelectedBilled, kExpense, PWH_CONFIRM_MARK_BILLED, u"Mark Selected",
     u"\"billed\"", "old done:bBrR new:bB", nullptr, 2},
    {"Reimbursed", &Commands::MarkSelectedReimbursed, kExpense, PWH_CONFIRM_MARK_REIMBURSED, u"Mark Selected",
     u"\"reimbursed\"", "old done:bBrR new:rR", nullptr, 2},
    {"DeleteMultiple", &Commands::DeleteMultiple, kTime, PWH_CONFIRM_DELETE, u"Delete Multiple Records", u"Delete",
     "", "old", -1, 3, 2},
    {"BilledMultiple", &Commands::MarkMultipleBilled, kTime, PWH_CONFIRM_MARK_BILLED, kMultiple, u"\"billed\"",
     "old:bB done:bB new:bB", "old done:bB new:bB", 2, 2, 1},
    {"ReimbursedMultiple", &Commands::MarkMultipleReimbursed, kExpense, PWH_CONFIRM_MARK_REIMBURSED, kMultiple,
     u"\"reimbursed\"", "old:rR done:bBrR new:rR", "old done:bBrR new:rR", 2, 2, 1},
};
// The tab shown and the answer given (0: the setting is off and nothing is asked).
const std::pair<int, int> kScenes[] = {{PWH_TAB_ALL, IDYES}, {PWH_TAB_TODAY, IDYES}, {PWH_TAB_TODAY, 0}, {PWH_TAB_ALL, IDNO}};
const char* const kSceneNames[] = {"AllYes", "TodayYes", "TodayUnasked", "AllNo"};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }

class RecordCommand : public CommandsTest,
                      public testing::WithParamInterface<std::tuple<RecordCase, std::pair<int, int>>> {};

TEST_P(RecordCommand, AsksWhenSetActsOnlyOnYesAndKeepsTheRecordCurrent) {
  const auto& [c, scene] = GetParam();
  const auto [tab, answer] = scene;
  Add(c.mode, u"03/01/2024", u"old"), Add(c.mode, kToday, u"done", true), Add(c.mode, kToday, u"new");
  Start(c.mode, tab);
  Configuration->behaviorFlags[c.confirmFlag] = answer ? 1 : 2;  // a stored 2 is off: only exactly 1 asks
  host.Answer(answer);
  const bool all = tab == PWH_TAB_ALL, acted = answer != IDNO, multiple = c.allCount > 0;
  const std::string before = Store();
  views.selected = 2;
  (commands.*c.run)();
  // Each message's part that varies: which records are asked about, how many were done.
  std::vector<std::tuple<std::u16string, const char16_t*, unsigned>> expected;
  if (answer) expected.emplace_back(!multiple ? u"" : all ? u"in the database" : u"displayed in the view", c.title, kQuestion);
  if (acted && multiple) expected.emplace_back(Format(u"%d record(s)", all ? c.allCount : c.todayCount), c.title, kInfo);
  ASSERT_EQ(host.messages.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& [part, title, type] = expected[i];
    const RecordedMessage& m = host.messages[i];
    EXPECT_EQ(std::tuple(m.title, m.type), std::tuple(title, type));
    EXPECT_TRUE(m.text.find(c.word) != m.text.npos && m.text.find(part) != m.text.npos) << WideToUtf8(m.text);
  }
  EXPECT_EQ(Store(), acted ? (all || !c.todayAfter ? c.allAfter : c.todayAfter) : before);
  // A command not carried out leaves the view alone.
  EXPECT_EQ(std::tuple(views.selected, views.created.size()), std::tuple(acted ? c.current : 2, acted ? 1u : 0u));
}

INSTANTIATE_TEST_SUITE_P(Commands, RecordCommand,
                         testing::Combine(testing::ValuesIn(kRecordCases), testing::ValuesIn(kScenes)),
                         [](const auto& info) {
                           return std::get<0>(info.param).name + std::string(kSceneNames[info.index % 4]);
                         });

TEST_F(CommandsTest, NothingToActOnSaysNothing) {
  Start(kTime);
  Configuration->set(PWH_CONFIRM_DELETE, false), Configuration->set(PWH_CONFIRM_MARK_BILLED, false);
  for (Command run : {&Commands::MarkMultipleBilled, &Commands::DeleteMultiple}) (commands.*run)();
  EXPECT_TRUE(host.messages.empty());
  Add(kTime, kToday, u"A");
  for (Command run : {&Commands::Copy, &Commands::DeleteSelected, &Commands::MarkSelectedBilled, &Commands::Properties})
    (commands.*run)();  // no record selected
  // Reimbursement is an expense matter: nothing in Time mode, not even the question.
  views.selected = 0;
  for (Command run : {&Commands::MarkMultipleReimbursed, &Commands::MarkSelectedReimbursed}) (commands.*run)();
  EXPECT_EQ(std::tuple(host.messages.size(), Store(), opened.size()), std::tuple(0u, "A", 0u));
  views.selected = -1;
  commands.NewSubsequentRecord();  // asks for one
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].title, host.messages[0].type), std::tuple(u"Record Selection", kInfo));
  // Expense mode has no subsequent records.
  host.messages.clear(), Start(kExpense);
  commands.NewSubsequentRecord();
  EXPECT_EQ(std::tuple(host.messages.size(), opened.size()), std::tuple(0u, 0u));
}

TEST_F(CommandsTest, TheReportBlocksNewRecordsManyRecordsModesAndTabs) {
  Add(kTime, kToday, u"A");
  Start(kTime);
  views.shown = ShownView::Report, views.selected = 0;
  Configuration->set(PWH_CONFIRM_DELETE, false);
  for (Command run : {&Commands::NewRecord, &Commands::NewSubsequentRecord, &Commands::DeleteMultiple,
                      &Commands::MarkMultipleBilled})
    (commands.*run)();
  commands.SwitchMode(kExpense);
  EXPECT_EQ(std::tuple(Store(), opened.size(), AppMode, host.messages.size()), std::tuple("A", 0u, kTime, 0u));
  // A tab picked under the report goes back to the one it was made from.
  host.selectedTab = PWH_TAB_MONTH;
  commands.DateTabChanged();
  EXPECT_EQ(std::tuple(host.selectedTab, state.ActiveDateTab), std::tuple(PWH_TAB_ALL, PWH_TAB_ALL));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, u"Please select other view type for record selection.");
  EXPECT_TRUE(views.created.empty());
}

// Of records dated before, on and after today, the first one shown selected; the dialog dates it 12/31.
struct DialogCase {
  const char* name;
  Command run;
  int mode, defaultSet, reply, dialog;  // defaultSet: 1 stored, 2 in use, 3 both
  const char* after;                    // the store afterwards
  int current;
};

constexpr Command kNew = &Commands::NewRecord, kNext = &Commands::NewSubsequentRecord, kEdit = &Commands::Properties;
const DialogCase kDialogCases[] = {
    {"NewTimeDefaultNotInUse", kNew, kTime, 1, IDOK, PWH_TIME_ENTRY_NEW, "A B C n/a", 3},
    {"NewTimeNoDefaultStored", kNew, kTime, 2, IDOK, PWH_TIME_ENTRY_NEW, "A B C n/a", 3},
    {"NewTimeFromDefault", kNew, kTime, 3, IDOK, PWH_TIME_ENTRY_NEW_FROM_DEFAULT, "A B C Default client", 3},
    {"NewTimeCancelled", kNew, kTime, 3, IDCANCEL, PWH_TIME_ENTRY_NEW_FROM_DEFAULT, "A B C", 0},
    {"NewExpenseFromDefault", kNew, kExpense, 3, IDOK, PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT, "A B C Default client", 3},
    {"NewExpenseCancelled", kNew, kExpense, 0, IDCANCEL, PWH_EXPENSE_ENTRY_NEW, "A B C", 0},
    {"Subsequent", kNext, kTime, 0, IDOK, PWH_TIME_ENTRY_SUBSEQUENT, "A B C n/a", 3},
    {"SubsequentFromDefaultCancelled", kNext, kTime, 3, IDCANCEL, PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT, "A B C", 0},
    {"EditTime", kEdit, kTime, 0, IDOK, PWH_TIME_ENTRY_EDIT, "B C A", 2},
    {"EditTimeCancelled", kEdit, kTime, 0, IDCANCEL, PWH_TIME_ENTRY_EDIT, "A B C", 0},
    {"EditExpense", kEdit, kExpense, 0, IDOK, PWH_EXPENSE_ENTRY_EDIT, "B C A", 2},
    {"EditExpenseCancelled", kEdit, kExpense, 0, IDCANCEL, PWH_EXPENSE_ENTRY_EDIT, "A B C", 0},
};

class DialogCommand : public CommandsTest, public testing::WithParamInterface<DialogCase> {};

TEST_P(DialogCommand, BeginsTheRecordStoresItAndFollowsIt) {
  const DialogCase& c = GetParam();
  const bool inTime = c.mode == kTime, active = c.defaultSet & 2, edit = c.run == kEdit;
  for (auto [date, client] : {std::pair{u"03/01/2024", u"A"}, {kToday, u"B"}, {u"03/20/2024", u"C"}})
    Add(c.mode, date, client);
  Start(c.mode);
  Blob time, expense;  // default records of this client
  SerializeTimeRecord(Time(u"", u"Default client"), &time), SerializeExpenseRecord(Expense(u"", u"Default client"), &expense);
  if (c.defaultSet & 1) Configuration->setDefaultTimeRecordBlob(time), Configuration->setDefaultExpenseRecordBlob(expense);
  // The other mode's setting is the opposite: each mode reads its own.
  Configuration->set(PWH_DEFAULT_TIME_RECORD_ACTIVE, inTime == active);
  Configuration->set(PWH_DEFAULT_EXPENSE_RECORD_ACTIVE, inTime != active);
  // What an earlier command left in the working records does not reach this one.
  CopyText(state.WorkingTimeRecord.client, u"left over"), CopyText(state.WorkingExpenseRecord.client, u"left over");
  reply = c.reply, views.selected = 0;
  (commands.*c.run)();
  EXPECT_EQ(opened, std::vector{c.dialog});
  EXPECT_EQ(clientOnEntry, std::vector<std::u16string>{edit ? u"A" : c.defaultSet == 3 ? u"Default client" : u""});
  EXPECT_EQ(host.messages.size(), c.run == kNext ? 1u : 0u);  // A is not from today: asked, No
  // In date order, a new record's empty client filled, and current.
  EXPECT_EQ(std::tuple(Store(), views.selected), std::tuple(c.after, c.current));
  for (const TimeRecord& r : ReadAll<TimeRecord>(TimeDatabase))  // an edit keeps empty texts empty
    EXPECT_TRUE(!edit || TextOf(r.task).empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, DialogCommand, testing::ValuesIn(kDialogCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The selected record ends now, even when the next one is cancelled; its amount follows under a
// comma-decimal locale too.
class SubsequentRecordCommand : public CommandsTest, public testing::WithParamInterface<const char*> {};

TEST_P(SubsequentRecordCommand, EndsTheSelectedRecordNow) {
  LocaleGuard locale(GetParam());
  TimeRecord r = Time(kToday, u"A", 1);
  r.startHour = 1, r.startPm = true;
  CopyText(r.rate, u"30"), CopyText(r.duration, u"00:30");
  Put(TimeDatabase, r);
  Start(kTime);
  reply = IDCANCEL, views.selected = 0;
  commands.NewSubsequentRecord();
  const TimeRecord ended = ReadAll<TimeRecord>(TimeDatabase)[0];
  EXPECT_EQ(std::tuple(ended.endHour, ended.endMinute, ended.endPm), std::tuple(2, 5, true));
  EXPECT_EQ(std::tuple(TextOf(ended.duration), TextOf(ended.amount)), std::tuple(u"01:05", u"32.50"));
}

// Only a record of today that started before now (14:05) ends without the question; No keeps it
// whole, rate and amount included.
TEST_F(CommandsTest, SubsequentRecordAsksBeforeEndingAnotherRecord) {
  const struct { const char16_t* date; int hour; bool pm; int answer; bool asked, ended; } cases[] = {
      {kToday, 2, true, IDNO, false, true},       {kToday, 2, true, IDYES, false, true},
      {kToday, 3, true, IDNO, true, false},       {kToday, 3, true, IDYES, true, true},
      {u"03/13/2024", 9, false, IDNO, true, false}, {u"03/13/2024", 9, false, IDYES, true, true},
      {u"03/15/2024", 9, false, IDNO, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << WideToUtf8(c.date) << " " << c.hour << " " << c.answer);
    TimeRecord r = Time(c.date, u"A", 1);
    r.startHour = c.hour, r.startPm = c.pm;
    CopyText(r.rate, u"30"), CopyText(r.amount, u"15.00");
    DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE, {});
    Put(TimeDatabase, r), Start(kTime);
    host.messages.clear(), host.answers = {c.answer}, reply = IDCANCEL, views.selected = 0;
    commands.NewSubsequentRecord();
    ASSERT_EQ(host.messages.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].type),
                std::tuple(u"The selected record is not from today, or starts later than now. Set its end time to "
                           u"now anyway?", kQuestion));
    }
    const TimeRecord after = ReadAll<TimeRecord>(TimeDatabase)[0];
    EXPECT_EQ(std::tuple(after.endHour == 2 && after.endMinute == 5, TextOf(after.amount) == u"15.00"),
              std::tuple(c.ended, !c.ended));
    EXPECT_EQ(opened.size(), 1u);
    opened.clear();
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, SubsequentRecordCommand, testing::ValuesIn(kTestLocales),
                         [](const auto& info) { return std::string(info.index ? "CommaDecimal" : "C"); });

// A step to the other mode switches the mode, else the view: the view is made again (not the one shown), the
// date tab still applies, a record selected stays so across views, and the menu follows.
TEST_F(CommandsTest, ModeAndViewSwitchesRemakeTheViewAndSetTheMenu) {
  Add(kTime, kToday, u"t"), Add(kTime, kToday, u"t");
  for (const char16_t* date : {u"03/13/2024", kToday, kToday, kToday}) Add(kExpense, date, u"e");
  Start(kTime, PWH_TAB_TODAY);
  host.menuChecked[IDM_VIEW_REPORT] = true;  // as the Report view leaves the menu
  for (unsigned item : {IDM_MODE_TIME, IDM_MODE_EXPENSE, IDM_NEW_RECORD}) host.menuEnabled[item] = false;
  const std::pair<int, ShownView> steps[] = {{kExpense, ShownView::List}, {kExpense, ShownView::Mixed},
                                             {kExpense, ShownView::Mixed}, {kTime, ShownView::Mixed},
                                             {kTime, ShownView::Tree}, {kExpense, ShownView::Tree},
                                             {kExpense, ShownView::List}};
  const std::pair<unsigned, ShownView> items[] = {{IDM_VIEW_LIST, ShownView::List}, {IDM_VIEW_TREE, ShownView::Tree},
                                                  {IDM_VIEW_MIXED, ShownView::Mixed}, {IDM_VIEW_REPORT, ShownView::Report}};
  std::size_t made = 0;
  int cleared = 0;
  bool expand = false;
  for (const auto& [mode, view] : steps) {
    const bool time = mode == kTime, modeStep = mode != AppMode;
    SCOPED_TRACE(testing::Message() << "step " << made << (modeStep ? " mode" : " view"));
    cleared += modeStep && views.shown == ShownView::Mixed;
    made += modeStep || views.shown != view;
    expand = modeStep ? expand || time : view == ShownView::Tree;
    views.selected = 1;
    modeStep ? commands.SwitchMode(mode) : commands.SwitchView(view);
    EXPECT_EQ(std::tuple(views.shown, views.created.size(), views.selected, views.Rows().size(), views.cardsCleared),
              std::tuple(view, made, modeStep ? -1 : 1, time ? 2u : 3u, cleared));
    EXPECT_EQ(std::tuple(AppMode, host.statusText(PWH_STATUS_MODE)), std::tuple(mode, time ? u"Time" : u"Expense"));
    EXPECT_EQ(std::tuple(host.menuChecked[IDM_MODE_TIME], host.menuChecked[IDM_MODE_EXPENSE]), std::tuple(time, !time));
    EXPECT_EQ(std::tuple(host.menuEnabled[IDM_MARK_SELECTED_REIMBURSED], host.menuEnabled[IDM_MARK_MULTIPLE_REIMBURSED],
                         host.menuEnabled[IDM_NEW_SUBSEQUENT_RECORD], host.menuEnabled[IDM_EXPAND_COLLAPSE_TREE]),
              std::tuple(!time, !time, time, expand));
    for (const auto& [item, itemView] : items)  // the view switched to, or the one kept
      EXPECT_TRUE(modeStep || host.menuChecked[item] == (itemView == view)) << item;
  }
  commands.SwitchMode(kExpense);  // the mode already on remakes nothing
  EXPECT_EQ(views.created.size(), made);
  for (unsigned item : {IDM_MODE_TIME, IDM_MODE_EXPENSE, IDM_NEW_RECORD}) EXPECT_TRUE(host.menuEnabled[item]) << item;
  EXPECT_TRUE(host.messages.empty());
}

// Undo takes each command back to exactly what was there (texts, flags, order, object ids), Redo does it again.
struct UndoCase {
  const char* name;
  std::function<void(Commands&, AppState&)> run;
  int mode, tab;
  const char16_t* step;
};
const auto kRun = [](Command run) { return [run](Commands& c, AppState&) { (c.*run)(); }; };
const UndoCase kUndoCases[] = {
    {"New", kRun(kNew), kExpense, PWH_TAB_ALL, u"New Record"},
    {"Subsequent", kRun(kNext), kTime, PWH_TAB_ALL, u"New Subsequent Record"},
    {"Edit", kRun(kEdit), kTime, PWH_TAB_ALL, u"Edit Record"},
    {"Copy", kRun(&Commands::Copy), kTime, PWH_TAB_ALL, u"Copy Record"},
    {"Delete", kRun(&Commands::DeleteSelected), kExpense, PWH_TAB_ALL, u"Delete Record"},
    {"Billed", kRun(&Commands::MarkSelectedBilled), kTime, PWH_TAB_ALL, u"Mark Record Billed"},
    {"Reimbursed", kRun(&Commands::MarkSelectedReimbursed), kExpense, PWH_TAB_ALL, u"Mark Record Reimbursed"},
    {"DeleteAll", kRun(&Commands::DeleteMultiple), kTime, PWH_TAB_ALL, u"Delete 3 Records"},
    {"DeleteShown", kRun(&Commands::DeleteMultiple), kExpense, PWH_TAB_TODAY, u"Delete 2 Records"},
    {"BilledAll", kRun(&Commands::MarkMultipleBilled), kTime, PWH_TAB_ALL, u"Mark 2 Records Billed"},
    {"ReimbursedShown", kRun(&Commands::MarkMultipleReimbursed), kExpense, PWH_TAB_TODAY, u"Mark 1 Record Reimbursed"},
    {"Import",
     [](Commands& c, AppState& s) {
       std::vector<CEOID> added(2);
       for (CEOID& oid : added) AddNewRecord(nullptr, s.TimeDatabase, Time(kToday, u"imported"), &oid);
       c.KeepAdded(u"Import", added);
     },
     kTime, PWH_TAB_ALL, u"Import 2 Records"},
};

class UndoCommand : public CommandsTest, public testing::WithParamInterface<UndoCase> {
 protected:
  // The records of the mode in sort order: object id and stored bytes.
  std::vector<std::pair<CEOID, std::optional<std::string>>> Snapshot() {
    std::vector<std::pair<CEOID, std::optional<std::string>>> out;
    DatabaseHandle& db = state.CurrentDatabase();
    for (DWORD i = 0; CEOID oid = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, i, nullptr); ++i)
      out.emplace_back(oid, RecordImage(db, oid));
    return out;
  }
};

TEST_P(UndoCommand, TakesBackExactlyAndRedoes) {
  const UndoCase& c = GetParam();
  Add(c.mode, u"03/01/2024", u"old"), Add(c.mode, kToday, u"done", true), Add(c.mode, kToday, u"new");
  Start(c.mode, c.tab);
  for (int flag : {PWH_CONFIRM_COPY, PWH_CONFIRM_DELETE, PWH_CONFIRM_MARK_BILLED, PWH_CONFIRM_MARK_REIMBURSED})
    Configuration->set(flag, false);
  views.selected = 2, typedDate = u"01/01/2024";  // an edit moves the record first
  const auto before = Snapshot();
  c.run(commands, state);
  const auto after = Snapshot();
  ASSERT_NE(after, before);
  EXPECT_EQ(std::tuple(state.Undo.UndoName(c.mode), state.Undo.UndoName(3 - c.mode)), std::tuple(c.step, u""));
  host.messages.clear();
  for (int round = 0; round < 2; ++round) {
    commands.Undo();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(std::tuple(state.Undo.UndoName(c.mode), state.Undo.RedoName(c.mode)), std::tuple(u"", c.step));
    commands.Redo();
    EXPECT_EQ(Snapshot(), after);
  }
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, UndoCommand, testing::ValuesIn(kUndoCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A record changed behind the history's back: its step is refused and dropped, nothing is written; the other
// database's history is its own.
TEST_F(CommandsTest, UndoRefusesAStepWhoseRecordChangedSince) {
  Add(kTime, kToday, u"T"), Add(kExpense, kToday, u"E");
  for (int flag : {PWH_CONFIRM_DELETE, PWH_CONFIRM_MARK_BILLED, PWH_CONFIRM_MARK_REIMBURSED}) Configuration->set(flag, false);
  Start(kTime), views.selected = 0, commands.DeleteSelected();
  Start(kExpense), views.selected = 0, commands.MarkSelectedBilled(), commands.MarkSelectedReimbursed();
  commands.Undo();
  UpdateExpenseRecord(nullptr, ExpenseDatabase, 0, Expense(kToday, u"changed"));
  commands.Undo();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].title, host.messages[0].text.substr(0, 32)),
            std::tuple(u"Undo", u"Cannot undo \"Mark Record Billed\""));
  EXPECT_EQ(std::tuple(Store(), state.Undo.UndoName(kExpense), state.Undo.RedoName(kExpense)),
            std::tuple("changed", u"", u"Mark Record Reimbursed"));
  Start(kTime), commands.Undo();
  EXPECT_EQ(Store(), "T");
}

}  // namespace
}  // namespace pw::test
