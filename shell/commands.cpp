#include "shell/commands.h"

#include <algorithm>

#include "dialogs/expense_entry.h"
#include "dialogs/time_entry.h"
#include "platform/clock.h"
#include "platform/command_ids.h"
#include "platform/host_port.h"
#include "selection/quick_filter.h"
#include "storage/record_operations.h"
#include "storage/record_times.h"
#include "text/date_time.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/search_fold.h"
#include "text/time_text.h"
#include "views/record_totals.h"

namespace pw {

namespace {

constexpr std::u16string_view kRecordSelection = u"Record Selection";
constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

// A question asked only when the confirmation setting is on; true when the
// command may go on.
bool Confirmed(HWND owner, bool ask, std::u16string_view text, std::u16string_view title) {
  return !ask || MessageBoxW(owner, text, title, kQuestion) == IDYES;
}

// The object id of the record at position in db, 0 when there is none.
CEOID OidAt(DatabaseHandle& db, std::int64_t position) {
  if (position < 0) return 0;
  const CEOID oid = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, DWORD(position), nullptr);
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return oid;
}

// Settings before start-up made them, and after exit: every flag off.
const Settings kNoSettings = [] {
  Settings s;
  for (int flag = 0; flag < PWH_BEHAVIOR_FLAG_COUNT; ++flag) s.set(flag, false);
  return s;
}();

// The working record begun from the default record when one is stored and
// in use; true when it was.
template <class Record>
bool BeginFromDefault(Record& working, bool active, const Blob* blob, bool (*deserialize)(const Blob*, Record&)) {
  ClearRecord(working);
  if (!active) return false;
  Record stored;
  if (!deserialize(blob, stored)) return false;
  working = stored;
  return true;
}

// A record dated today that started before now (or at this minute): New
// Subsequent Record ends it now without asking.
bool EndsNow(const TimeRecord& record) {
  std::u16string today;
  if (!TodayText(&today) || TextOf(record.date) != today) return false;
  const SYSTEMTIME now = GetLocalTime();
  const int start = (record.startPm ? record.startHour + 12 : record.startHour) * 60 + record.startMinute;
  return start <= now.wHour * 60 + now.wMinute;
}

bool ViewWithRecords(ShownView view) {
  return view == ShownView::List || view == ShownView::Tree || view == ShownView::Mixed;
}

}  // namespace

struct Commands::SelectedMark {
  bool (Settings::*confirm)() const;
  const char16_t* question;
  void (*timeMark)(TimeRecord&);  // null: the mark does not apply to time records
  void (*expenseMark)(ExpenseRecord&);
  const char16_t* step;  // its name in the undo history
};

struct Commands::MultipleCommand {
  bool (Settings::*confirm)() const;
  const char16_t* allQuestion;        // PWH_ALL_REC_MODE
  const char16_t* displayedQuestion;  // PWH_SELECT_REC_MODE
  const char16_t* title;
  int (*run)(HWND, DatabaseHandle&, int appMode, int recordSetMode, const RecordPositionList&);
  const char16_t* done;  // "%d" is the count
  const char16_t *stepVerb, *stepTail;  // its name in the undo history, around the count
};

const Settings& Commands::settings() const {
  return state_.Configuration ? *state_.Configuration : kNoSettings;
}

CEOID Commands::SelectedOid() { return OidAt(state_.CurrentDatabase(), views_.ShownRecordPosition()); }

bool Commands::RefreshView() { return pw::RefreshView(state_, state_, views_); }

bool Commands::ShowRecord(CEOID oid) {
  DatabaseHandle& db = state_.CurrentDatabase();
  DWORD position = 0;
  const bool found = CeSeekDatabase(db, CEDB_SEEK_CEOID, oid, &position) != 0;
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return found && views_.ShowRecord(position);
}

void Commands::RefreshShowing(CEOID oid) {
  RefreshView();
  if (oid) ShowRecord(oid);
}

// --- New records ---------------------------------------------------------------

CEOID Commands::BeginNewTimeRecord(bool subsequent) {
  const Settings& s = settings();
  const bool fromDefault = BeginFromDefault(state_.WorkingTimeRecord, s.defaultTimeRecordActive(),
                                            s.defaultTimeRecordBlob(), DeserializeTimeRecord);
  const int mode = subsequent ? (fromDefault ? PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT : PWH_TIME_ENTRY_SUBSEQUENT)
                              : (fromDefault ? PWH_TIME_ENTRY_NEW_FROM_DEFAULT : PWH_TIME_ENTRY_NEW);
  if (dialogs_.time(mode) != IDOK) return 0;
  FillEmptyTexts(state_.WorkingTimeRecord);
  CEOID oid = 0;
  AddNewRecord(state_.MainWindow, state_.TimeDatabase, state_.WorkingTimeRecord, &oid);
  RefreshShowing(oid);
  return oid;
}

CEOID Commands::BeginNewExpenseRecord() {
  const Settings& s = settings();
  const bool fromDefault = BeginFromDefault(state_.WorkingExpenseRecord, s.defaultExpenseRecordActive(),
                                            s.defaultExpenseRecordBlob(), DeserializeExpenseRecord);
  if (dialogs_.expense(fromDefault ? PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT : PWH_EXPENSE_ENTRY_NEW) != IDOK) return 0;
  FillEmptyTexts(state_.WorkingExpenseRecord);
  CEOID oid = 0;
  AddNewExpenseRecord(state_.MainWindow, state_.ExpenseDatabase, state_.WorkingExpenseRecord, &oid);
  RefreshShowing(oid);
  return oid;
}

void Commands::Keep(std::u16string name, StepRecorder& recorder) {
  state_.Undo.Keep(state_.AppMode, std::move(name), recorder);
}

void Commands::NewRecord() {
  if (views_.Shown() == ShownView::Report) return;
  StepRecorder step(state_.CurrentDatabase());
  step.Added(state_.TimeMode() ? BeginNewTimeRecord(false) : BeginNewExpenseRecord());
  Keep(u"New Record", step);
}

void Commands::NewSubsequentRecord() {
  if (!state_.TimeMode() || views_.Shown() == ShownView::Report) return;
  const HWND owner = state_.MainWindow;
  const std::int64_t position = views_.SelectedRecordPosition();
  if (position < 0) {
    MessageBoxW(owner,
                u"Please select a record, after which the new subsequent record should be added.\n\n"
                u"Note: the selected record's end time and the new subsequent record's start time will be set to "
                u"the present time.",
                kRecordSelection, MB_OK | MB_ICONINFORMATION);
    return;
  }
  TimeRecord& record = state_.WorkingTimeRecord;
  if (!LoadPWHRecord(owner, state_.TimeDatabase, RecordPosition(position), &record)) return;
  // The selected record ends now; one from another day, or one that starts
  // later, only when the user says so. The next one is begun either way.
  const CEOID oid = OidAt(state_.TimeDatabase, position);
  // Both records are one step, also when the new one is not stored.
  StepRecorder step(state_.TimeDatabase);
  step.Watch(oid);
  if (EndsNow(record) ||
      MessageBoxW(owner,
                  u"The selected record is not from today, or starts later than now. Set its end time to now anyway?",
                  u"New Subsequent Record", kQuestion) == IDYES) {
    EndRecordNow(record);
    UpdateRecord(owner, state_.TimeDatabase, RecordPosition(position), record);
    RefreshShowing(oid);
  }
  // The next one starts now.
  step.Added(BeginNewTimeRecord(true));
  Keep(u"New Subsequent Record", step);
}

// --- One selected record -------------------------------------------------------

void Commands::Properties() {
  const std::int64_t position = views_.SelectedRecordPosition();
  if (position < 0) return;
  const HWND owner = state_.MainWindow;
  DatabaseHandle& db = state_.CurrentDatabase();
  const CEOID oid = OidAt(db, position);
  StepRecorder step(db);
  if (state_.TimeMode()) {
    if (!LoadPWHRecord(owner, db, RecordPosition(position), &state_.WorkingTimeRecord)) return;
    if (dialogs_.time(PWH_TIME_ENTRY_EDIT) != IDOK) return;
    step.Watch(oid);
    UpdateRecord(owner, db, RecordPosition(position), state_.WorkingTimeRecord);
  } else {
    if (!LoadPWHExpenseRecord(owner, db, RecordPosition(position), &state_.WorkingExpenseRecord)) return;
    if (dialogs_.expense(PWH_EXPENSE_ENTRY_EDIT) != IDOK) return;
    step.Watch(oid);
    UpdateExpenseRecord(owner, db, RecordPosition(position), state_.WorkingExpenseRecord);
  }
  Keep(u"Edit Record", step);
  // A changed date moves the record: it is found again by its object id.
  RefreshShowing(oid);
}

void Commands::Copy() {
  const std::int64_t position = views_.SelectedRecordPosition();
  if (position < 0) return;
  const HWND owner = state_.MainWindow;
  if (!Confirmed(owner, settings().confirmCopy(), u"Duplicate selected record ?", u"Duplicate Record")) return;
  DatabaseHandle& db = state_.CurrentDatabase();
  const CEOID original = OidAt(db, position);
  CEOID copy = 0;
  DuplicateRecord(owner, db, RecordPosition(position), &copy);
  StepRecorder step(db);
  step.Added(copy);
  Keep(u"Copy Record", step);
  // The copy is current; when there is none, the original stays so.
  RefreshShowing(copy ? copy : original);
}

void Commands::DeleteSelected() {
  const std::int64_t position = views_.SelectedRecordPosition();
  if (position < 0) return;
  const HWND owner = state_.MainWindow;
  if (!Confirmed(owner, settings().confirmDelete(), u"Delete selected record ?", u"Delete Record")) return;
  const int row = views_.SelectedRow();
  DatabaseHandle& db = state_.CurrentDatabase();
  StepRecorder step(db);
  step.Watch(OidAt(db, position));
  DeleteRecord(owner, db, RecordPosition(position));
  Keep(u"Delete Record", step);
  RefreshView();
  // The row that took the deleted record's place (or the last one) is current.
  if (row >= 0) views_.MakeRowCurrent(row);
}

void Commands::MarkSelected(const SelectedMark& mark) {
  if (state_.TimeMode() && !mark.timeMark) return;
  const std::int64_t position = views_.SelectedRecordPosition();
  if (position < 0) return;
  const HWND owner = state_.MainWindow;
  if (!Confirmed(owner, (settings().*mark.confirm)(), mark.question, u"Mark Selected")) return;
  DatabaseHandle& db = state_.CurrentDatabase();
  const CEOID oid = OidAt(db, position);
  StepRecorder step(db);
  step.Watch(oid);
  if (state_.TimeMode()) {
    if (!LoadPWHRecord(owner, db, RecordPosition(position), &state_.WorkingTimeRecord)) return;
    mark.timeMark(state_.WorkingTimeRecord);
    UpdateRecord(owner, db, RecordPosition(position), state_.WorkingTimeRecord);
  } else {
    if (!LoadPWHExpenseRecord(owner, db, RecordPosition(position), &state_.WorkingExpenseRecord)) return;
    mark.expenseMark(state_.WorkingExpenseRecord);
    UpdateExpenseRecord(owner, db, RecordPosition(position), state_.WorkingExpenseRecord);
  }
  Keep(mark.step, step);
  RefreshShowing(oid);
}

void Commands::MarkSelectedBilled() {
  static constexpr SelectedMark kMark{&Settings::confirmMarkBilled, u"Mark selected record \"billed\" ?",
                                      [](TimeRecord& r) { r.billable = r.billed = 1; },
                                      [](ExpenseRecord& r) { r.billable = r.billed = true; }, u"Mark Record Billed"};
  MarkSelected(kMark);
}

void Commands::MarkSelectedReimbursed() {
  static constexpr SelectedMark kMark{&Settings::confirmMarkReimbursed, u"Mark selected record \"reimbursed\" ?",
                                      nullptr, [](ExpenseRecord& r) { r.reimbursable = r.reimbursed = true; },
                                      u"Mark Record Reimbursed"};
  MarkSelected(kMark);
}

// --- Every record shown --------------------------------------------------------

void Commands::RunOnMultiple(const MultipleCommand& command) {
  if (views_.Shown() == ShownView::Report) return;
  const HWND owner = state_.MainWindow;
  const std::u16string_view question =
      state_.RecordSetMode == PWH_ALL_REC_MODE ? command.allQuestion : command.displayedQuestion;
  if (!Confirmed(owner, (settings().*command.confirm)(), question, command.title)) return;
  // The record selected before stays selected when it is still there.
  const CEOID selected = SelectedOid();
  DatabaseHandle& db = state_.CurrentDatabase();
  StepRecorder step(db);
  step.WatchShown(state_.RecordSetMode, state_.DisplayedRecordList);
  const int count = command.run(owner, db, state_.AppMode, state_.RecordSetMode, state_.DisplayedRecordList);
  std::vector<RecordChange> changes = step.Finish();
  const std::size_t changed = changes.size();
  state_.Undo.Keep(state_.AppMode, CountedStepName(command.stepVerb, changed, command.stepTail), std::move(changes));
  if (count > 0) MessageBoxW(owner, Format(command.done, count), command.title, MB_OK | MB_ICONINFORMATION);
  RefreshShowing(selected);
}

void Commands::DeleteMultiple() {
  static constexpr MultipleCommand kCommand{
      &Settings::confirmDelete,
      u"Delete all records in the database ?",
      u"Delete all records currently displayed in the view ?",
      u"Delete Multiple Records",
      [](HWND owner, DatabaseHandle& db, int, int setMode, const RecordPositionList& list) {
        return DeleteMultipleRecords(owner, db, setMode, list);
      },
      u"Deleted %d record(s).",
      u"Delete",
      u""};
  RunOnMultiple(kCommand);
}

void Commands::MarkMultipleBilled() {
  static constexpr MultipleCommand kCommand{&Settings::confirmMarkBilled,
                                            u"Mark all records in the database \"billed\" ?",
                                            u"Mark all records currently displayed in the view \"billed\" ?",
                                            u"Multiple Record Modification",
                                            MarkMultipleRecordsBilled,
                                            u"Marked %d record(s) \"billed\".",
                                            u"Mark",
                                            u" Billed"};
  RunOnMultiple(kCommand);
}

void Commands::MarkMultipleReimbursed() {
  // Reimbursement is an expense matter: the item is greyed in Time mode.
  if (state_.TimeMode()) return;
  static constexpr MultipleCommand kCommand{&Settings::confirmMarkReimbursed,
                                            u"Mark all records in the database \"reimbursed\" ?",
                                            u"Mark all records currently displayed in the view \"reimbursed\" ?",
                                            u"Multiple Record Modification",
                                            MarkMultipleRecordsReimbursed,
                                            u"Marked %d record(s) \"reimbursed\".",
                                            u"Mark",
                                            u" Reimbursed"};
  RunOnMultiple(kCommand);
}

// --- Undo and Redo -------------------------------------------------------------

void Commands::UndoOrRedo(bool undo) {
  if (views_.Shown() == ShownView::Report) return;
  UndoHistory& history = state_.Undo;
  CEOID shown = 0;
  std::optional<CEOID> running;
  const HWND owner = state_.MainWindow;
  DatabaseHandle& db = state_.CurrentDatabase();
  const bool done = undo ? history.Undo(owner, db, state_.AppMode, &shown, &running)
                         : history.Redo(owner, db, state_.AppMode, &shown, &running);
  if (!done) return;
  // A step that started or stopped the timer: the record that ran then runs
  // again from its stored start (the timer reads it after every command).
  PWHConfiguration* config = state_.Configuration;
  if (running && config && config->RunningTimerOid != *running) {
    config->RunningTimerOid = *running;
    config->storeRunningTimer();
  }
  // The record selected before stays selected when the step has none left.
  RefreshShowing(shown ? shown : SelectedOid());
}

void Commands::Undo() { UndoOrRedo(true); }
void Commands::Redo() { UndoOrRedo(false); }

std::u16string Commands::UndoMenuText(bool undo, bool* enabled) {
  const std::u16string step = undo ? state_.Undo.UndoName(state_.AppMode) : state_.Undo.RedoName(state_.AppMode);
  *enabled = !step.empty() && views_.Shown() != ShownView::Report;
  const std::u16string item = undo ? u"&Undo" : u"&Redo";
  return step.empty() ? item : item + u" " + step;
}

void Commands::KeepAdded(std::u16string_view verb, const std::vector<CEOID>& oids) {
  StepRecorder step(state_.CurrentDatabase());
  for (const CEOID oid : oids) step.Added(oid);
  std::vector<RecordChange> changes = step.Finish();
  const std::size_t added = changes.size();
  state_.Undo.Keep(state_.AppMode, CountedStepName(verb, added), std::move(changes));
}

// --- Find and Exit -------------------------------------------------------------

void Commands::Find() {
  views_.StoreColumnWidths();
  const ShownView shown = views_.Shown();
  if (!ViewWithRecords(shown)) {
    MessageBoxW(state_.MainWindow, u"Please select other view type for record selection.", kRecordSelection,
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (dialogs_.find(&state_.DisplayedRecordList) != IDOK) return;
  state_.RecordSetMode = PWH_SELECT_REC_MODE;
  state_.FindResult = true;
  RebaseQuickFilter(state_, state_);
  views_.CreateView(shown);
}

void Commands::QuickFilter(std::u16string_view typed) {
  const ShownView shown = views_.Shown();
  // The Report view keeps the records it summarised; the text applies to
  // the next view with records.
  if (!ViewWithRecords(shown)) {
    state_.Filter.folded = SearchFolded(typed);
    return;
  }
  SetQuickFilter(state_, state_, typed);
  // The List view only swaps its rows: the records are the same, and their
  // totals were read with their texts.
  ShownTotals totals;
  if (shown == ShownView::List && QuickFilterTotals(state_, state_.AppMode, &totals) && views_.ReplaceListRows(totals))
    return;
  views_.StoreColumnWidths();
  views_.CreateView(shown);
}

void Commands::Exit(const std::function<void()>& cleanUp) {
  views_.StoreColumnWidths();
  cleanUp();
}

// --- Modes, views and tabs -----------------------------------------------------

void Commands::SwitchMode(int mode) {
  const ShownView shown = views_.Shown();
  if (shown == ShownView::Report) return;
  if (shown == ShownView::Mixed) views_.ClearMixedCard();
  views_.StoreColumnWidths();
  if (state_.AppMode == mode) return;
  state_.AppMode = mode;
  ApplyDateTab(state_, state_);

  HostPort& host = Host();
  const bool time = mode == PWH_TIME_MODE;
  host.EnableMenuItem(IDM_NEW_SUBSEQUENT_RECORD, time);
  if (time) host.EnableMenuItem(IDM_EXPAND_COLLAPSE_TREE, true);
  host.CheckMenuItem(IDM_MODE_TIME, time);
  host.CheckMenuItem(IDM_MODE_EXPENSE, !time);
  // Reimbursement is an expense matter.
  host.EnableMenuItem(IDM_MARK_SELECTED_REIMBURSED, !time);
  host.EnableMenuItem(IDM_MARK_MULTIPLE_REIMBURSED, !time);
  SetStatusText(PWH_STATUS_MODE, time ? u"Time" : u"Expense");

  if (ViewWithRecords(shown)) views_.CreateView(shown);
}

void Commands::SwitchView(ShownView view) {
  if (!ViewWithRecords(view) || views_.Shown() == view) return;
  HostPort& host = Host();
  host.EnableMenuItem(IDM_EXPAND_COLLAPSE_TREE, view == ShownView::Tree);
  host.CheckMenuItem(IDM_VIEW_LIST, view == ShownView::List);
  host.CheckMenuItem(IDM_VIEW_TREE, view == ShownView::Tree);
  host.CheckMenuItem(IDM_VIEW_MIXED, view == ShownView::Mixed);
  host.CheckMenuItem(IDM_VIEW_REPORT, false);
  host.EnableMenuItem(IDM_NEW_RECORD, true);
  if (state_.TimeMode()) host.EnableMenuItem(IDM_NEW_SUBSEQUENT_RECORD, true);
  host.EnableMenuItem(IDM_MODE_TIME, true);
  host.EnableMenuItem(IDM_MODE_EXPENSE, true);
  // The record selected in the view left stays selected in the new one.
  const std::int64_t selected = views_.ShownRecordPosition();
  views_.StoreColumnWidths();
  ApplyDateTab(state_, state_);
  views_.CreateView(view);
  if (selected >= 0) views_.ShowRecord(RecordPosition(selected));
}

void Commands::DateTabChanged() {
  views_.StoreColumnWidths();
  if (!ViewWithRecords(views_.Shown())) {
    // The Report view keeps the selection it was made from.
    Host().SelectDateTab(state_.ActiveDateTab);
    MessageBoxW(state_.MainWindow, u"Please select other view type for record selection.", kRecordSelection,
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  RefreshView();
}

}  // namespace pw
