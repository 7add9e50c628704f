#include "shell/gui/record_commands.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

#include "config/configuration.h"
#include "dialogs/gui/expense_entry_dialog.h"
#include "dialogs/gui/time_entry_dialog.h"
#include "platform/host_port.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "shell/gui/commands.h"
#include "storage/record_operations.h"
#include "storage/records.h"
#include "text/format.h"
#include "text/time_text.h"
#include "views/gui/current_row.h"
#include "views/gui/list_view.h"
#include "views/list_cells.h"

namespace pw {

EntryDialogHooks EntryDialogs{TimeEntryDialog, ExpenseEntryDialog};

namespace {

constexpr std::u16string_view kRecordSelection = u"Record Selection";
constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

// A question asked only when the confirmation setting is on; true when the
// command may go on.
bool Confirmed(HWND owner, bool ask, std::u16string_view text, std::u16string_view title) {
  return !ask || MessageBoxW(owner, text, title, kQuestion) == IDYES;
}

bool Setting(std::uint8_t& (PWHConfiguration::*flag)()) {
  return Configuration && (Configuration->*flag)() != 0;
}

// The list the List or Mixed view shows, null for the Tree and the Report.
QTableView* ShownList() { return ListViewWindow ? ListViewWindow : MixedListWindow; }

// The row of the list that shows the record at position, -1 when none does.
int RowOfPosition(const QTableView* list, RecordPosition position) {
  std::int64_t row = -1;
  if (RecordSetMode == PWH_ALL_REC_MODE) {
    row = position;
  } else if (RecordSetMode == PWH_SELECT_REC_MODE) {
    // The displayed positions are in ascending order.
    const auto& shown = DisplayedRecordList.positions();
    const auto it = std::lower_bound(shown.begin(), shown.end(), position);
    if (it != shown.end() && *it == position) row = it - shown.begin();
  }
  return row >= 0 && row < list->model()->rowCount() ? int(row) : -1;
}

void MakeRowCurrent(QTableView* list, int row) {
  // Column 0 carries no text and is hidden: the first shown column holds the row's focus.
  MakeCurrent(list, list->model()->index(row, std::min(1, list->model()->columnCount() - 1)));
  list->setFocus();
}

// The object id of the record at position in db, 0 when there is none.
CEOID OidAt(DatabaseHandle& db, std::int64_t position) {
  if (position < 0) return 0;
  const CEOID oid = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, DWORD(position), nullptr);
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return oid;
}

// The record selected now, by object id, so that it can be found again
// after the positions moved.
CEOID SelectedOid() { return OidAt(CurrentDatabase(), ShownRecordPosition()); }

// Re-creates the view and makes the record with object id oid current.
void RefreshShowing(CEOID oid) {
  RefreshView();
  if (oid) ShowRecordInView(oid);
}

bool TimeMode() { return AppMode == PWH_TIME_MODE; }

// --- New records ---------------------------------------------------------------

// The working record begun from the default record when one is stored and
// in use; true when it was.
template <class Record>
bool BeginFromDefault(Record& working, std::uint8_t& (PWHConfiguration::*active)(), const Blob* (PWHConfiguration::*blob)() const,
                      bool (*deserialize)(const Blob*, Record&)) {
  ClearRecord(working);
  if (!Setting(active)) return false;
  Record stored;
  if (!deserialize((Configuration->*blob)(), stored)) return false;
  working = stored;
  return true;
}

void BeginNewTimeRecord(HWND owner, bool subsequent) {
  const bool fromDefault = BeginFromDefault(WorkingTimeRecord, &PWHConfiguration::defaultTimeRecordActive,
                                            &PWHConfiguration::defaultTimeRecordBlob, DeserializeTimeRecord);
  const int mode = subsequent ? (fromDefault ? PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT : PWH_TIME_ENTRY_SUBSEQUENT)
                              : (fromDefault ? PWH_TIME_ENTRY_NEW_FROM_DEFAULT : PWH_TIME_ENTRY_NEW);
  if (EntryDialogs.time(owner, mode) != IDOK) return;
  FillEmptyTexts(WorkingTimeRecord);
  CEOID oid = 0;
  AddNewRecord(owner, TimeDatabase, WorkingTimeRecord, &oid);
  RefreshShowing(oid);
}

void BeginNewExpenseRecord(HWND owner) {
  const bool fromDefault = BeginFromDefault(WorkingExpenseRecord, &PWHConfiguration::defaultExpenseRecordActive,
                                            &PWHConfiguration::defaultExpenseRecordBlob, DeserializeExpenseRecord);
  if (EntryDialogs.expense(owner, fromDefault ? PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT : PWH_EXPENSE_ENTRY_NEW) != IDOK)
    return;
  FillEmptyTexts(WorkingExpenseRecord);
  CEOID oid = 0;
  AddNewExpenseRecord(owner, ExpenseDatabase, WorkingExpenseRecord, &oid);
  RefreshShowing(oid);
}

// --- Marks on the selected record ----------------------------------------------

struct SelectedMark {
  std::uint8_t& (PWHConfiguration::*confirm)();
  const char16_t* question;
  void (*timeMark)(TimeRecord&);       // null: the mark does not apply to time records
  void (*expenseMark)(ExpenseRecord&);
};

const SelectedMark kMarkBilled{
    &PWHConfiguration::confirmMarkBilled, u"Mark selected record \"billed\" ?",
    [](TimeRecord& r) { r.billable = r.billed = 1; },
    [](ExpenseRecord& r) { r.billable = r.billed = true; }};

const SelectedMark kMarkReimbursed{
    &PWHConfiguration::confirmMarkReimbursed, u"Mark selected record \"reimbursed\" ?", nullptr,
    [](ExpenseRecord& r) { r.reimbursable = r.reimbursed = true; }};

void MarkSelected(HWND owner, const SelectedMark& mark) {
  if (TimeMode() && !mark.timeMark) return;
  const std::int64_t position = SelectedRecordPosition();
  if (position < 0) return;
  if (!Confirmed(owner, Setting(mark.confirm), mark.question, u"Mark Selected")) return;
  DatabaseHandle& db = CurrentDatabase();
  const CEOID oid = OidAt(db, position);
  if (TimeMode()) {
    if (!LoadPWHRecord(owner, db, RecordPosition(position), &WorkingTimeRecord)) return;
    mark.timeMark(WorkingTimeRecord);
    UpdateRecord(owner, db, RecordPosition(position), WorkingTimeRecord);
  } else {
    if (!LoadPWHExpenseRecord(owner, db, RecordPosition(position), &WorkingExpenseRecord)) return;
    mark.expenseMark(WorkingExpenseRecord);
    UpdateExpenseRecord(owner, db, RecordPosition(position), WorkingExpenseRecord);
  }
  RefreshShowing(oid);
}

// --- Commands on every record shown --------------------------------------------

struct MultipleCommand {
  std::uint8_t& (PWHConfiguration::*confirm)();
  const char16_t* allQuestion;       // PWH_ALL_REC_MODE
  const char16_t* displayedQuestion; // PWH_SELECT_REC_MODE
  const char16_t* title;
  int (*run)(HWND, DatabaseHandle&, int, const RecordPositionList&);
  const char16_t* done;              // "%d" is the count
};

const MultipleCommand kDeleteMultiple{&PWHConfiguration::confirmDelete,
                                      u"Delete all records in the database ?",
                                      u"Delete all records currently displayed in the view ?",
                                      u"Delete Multiple Records",
                                      DeleteMultipleRecords,
                                      u"Deleted %d record(s)."};

const MultipleCommand kMarkMultipleBilled{&PWHConfiguration::confirmMarkBilled,
                                          u"Mark all records in the database \"billed\" ?",
                                          u"Mark all records currently displayed in the view \"billed\" ?",
                                          u"Multiple Record Modification",
                                          MarkMultipleRecordsBilled,
                                          u"Marked %d record(s) \"billed\"."};

const MultipleCommand kMarkMultipleReimbursed{&PWHConfiguration::confirmMarkReimbursed,
                                              u"Mark all records in the database \"reimbursed\" ?",
                                              u"Mark all records currently displayed in the view \"reimbursed\" ?",
                                              u"Multiple Record Modification",
                                              MarkMultipleRecordsReimbursed,
                                              u"Marked %d record(s) \"reimbursed\"."};

void RunOnMultiple(HWND owner, const MultipleCommand& command) {
  if (ReportListWindow) return;
  const std::u16string_view question =
      RecordSetMode == PWH_ALL_REC_MODE ? command.allQuestion : command.displayedQuestion;
  if (!Confirmed(owner, Setting(command.confirm), question, command.title)) return;
  // The record selected before stays selected when it is still there.
  const CEOID selected = SelectedOid();
  const int count = command.run(owner, CurrentDatabase(), RecordSetMode, DisplayedRecordList);
  if (count > 0) MessageBoxW(owner, Format(command.done, count), command.title, MB_OK | MB_ICONINFORMATION);
  RefreshShowing(selected);
}

}  // namespace

bool ShowRecordInView(CEOID oid) {
  DatabaseHandle& db = CurrentDatabase();
  DWORD position = 0;
  const bool found = CeSeekDatabase(db, CEDB_SEEK_CEOID, oid, &position) != 0;
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  if (!found) return false;
  if (TreeViewWindow) return SelectShownRecord(position);
  QTableView* list = ShownList();
  if (!list || !list->model()) return false;
  const int row = RowOfPosition(list, position);
  if (row < 0) return false;
  MakeRowCurrent(list, row);
  return true;
}

LRESULT OnNewRecord(HWND window, UINT, WPARAM, LPARAM) {
  if (ReportListWindow) return 0;
  if (TimeMode())
    BeginNewTimeRecord(window, false);
  else
    BeginNewExpenseRecord(window);
  return 0;
}

LRESULT OnNewSubsequentRecord(HWND window, UINT, WPARAM, LPARAM) {
  if (!TimeMode() || ReportListWindow) return 0;
  const std::int64_t position = SelectedRecordPosition();
  if (position < 0) {
    MessageBoxW(window,
                u"Please select a record, after which the new subsequent record should be added.\n\n"
                u"Note: the selected record's end time and the new subsequent record's start time will be set to "
                u"the present time.",
                kRecordSelection, MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (!LoadPWHRecord(window, TimeDatabase, RecordPosition(position), &WorkingTimeRecord)) return 0;
  // The selected record ends now.
  SetRecordTimeNow(WorkingTimeRecord, PWH_END_TIME);
  WorkingTimeRecord.duration[0] = 0;
  FillRecordDuration(WorkingTimeRecord);
  RecomputeRecordAmount(WorkingTimeRecord);
  const CEOID oid = OidAt(TimeDatabase, position);
  UpdateRecord(window, TimeDatabase, RecordPosition(position), WorkingTimeRecord);
  RefreshShowing(oid);
  // The next one starts now.
  BeginNewTimeRecord(window, true);
  return 0;
}

LRESULT OnProperties(HWND window, UINT, WPARAM, LPARAM) {
  const std::int64_t position = SelectedRecordPosition();
  if (position < 0) return 0;
  DatabaseHandle& db = CurrentDatabase();
  const CEOID oid = OidAt(db, position);
  if (TimeMode()) {
    if (!LoadPWHRecord(window, db, RecordPosition(position), &WorkingTimeRecord)) return 0;
    if (EntryDialogs.time(window, PWH_TIME_ENTRY_EDIT) != IDOK) return 0;
    UpdateRecord(window, db, RecordPosition(position), WorkingTimeRecord);
  } else {
    if (!LoadPWHExpenseRecord(window, db, RecordPosition(position), &WorkingExpenseRecord)) return 0;
    if (EntryDialogs.expense(window, PWH_EXPENSE_ENTRY_EDIT) != IDOK) return 0;
    UpdateExpenseRecord(window, db, RecordPosition(position), WorkingExpenseRecord);
  }
  // A changed date moves the record: it is found again by its object id.
  RefreshShowing(oid);
  return 0;
}

LRESULT OnCopy(HWND window, UINT, WPARAM, LPARAM) {
  const std::int64_t position = SelectedRecordPosition();
  if (position < 0) return 0;
  if (!Confirmed(window, Setting(&PWHConfiguration::confirmCopy), u"Duplicate selected record ?", u"Duplicate Record"))
    return 0;
  DatabaseHandle& db = CurrentDatabase();
  const CEOID original = OidAt(db, position);
  CEOID copy = 0;
  DuplicateRecord(window, db, RecordPosition(position), &copy);
  // The copy is current; when there is none, the original stays so.
  RefreshShowing(copy ? copy : original);
  return 0;
}

LRESULT OnDeleteSelected(HWND window, UINT, WPARAM, LPARAM) {
  const std::int64_t position = SelectedRecordPosition();
  if (position < 0) return 0;
  if (!Confirmed(window, Setting(&PWHConfiguration::confirmDelete), u"Delete selected record ?", u"Delete Record"))
    return 0;
  const QTableView* before = ShownList();
  const int row = before ? GetListSelectionMark(before) : -1;
  DeleteRecord(window, CurrentDatabase(), RecordPosition(position));
  RefreshView();
  // The row that took the deleted record's place (or the last one) is current.
  QTableView* list = ShownList();
  if (list && list->model() && row >= 0 && list->model()->rowCount() > 0)
    MakeRowCurrent(list, std::min(row, list->model()->rowCount() - 1));
  return 0;
}

LRESULT OnMarkSelectedBilled(HWND window, UINT, WPARAM, LPARAM) {
  MarkSelected(window, kMarkBilled);
  return 0;
}

LRESULT OnMarkSelectedReimbursed(HWND window, UINT, WPARAM, LPARAM) {
  MarkSelected(window, kMarkReimbursed);
  return 0;
}

LRESULT OnDeleteMultiple(HWND window, UINT, WPARAM, LPARAM) {
  RunOnMultiple(window, kDeleteMultiple);
  return 0;
}

LRESULT OnMarkMultipleBilled(HWND window, UINT, WPARAM, LPARAM) {
  RunOnMultiple(window, kMarkMultipleBilled);
  return 0;
}

LRESULT OnMarkMultipleReimbursed(HWND window, UINT, WPARAM, LPARAM) {
  // Reimbursement is an expense matter: the item is greyed in Time mode.
  if (TimeMode()) return 0;
  RunOnMultiple(window, kMarkMultipleReimbursed);
  return 0;
}

}  // namespace pw
