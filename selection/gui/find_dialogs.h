// The two record selection dialogs ("Record Selection" for time records,
// "Expense Record Selection" for expense records) and the Find command that
// opens them.
//
// Controls carry their control id as object name ("1056") so that tests
// find them by id.
#pragma once

#include "config/settings.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "storage/record_databases.h"

class QDialog;
class QWidget;

namespace pw {

// Control ids of the selection dialogs.
enum : int {
  IDC_FIND_CLIENT = 1056,
  IDC_FIND_PROJECT = 1057,
  IDC_FIND_SUBPROJECT = 1059,     // time
  IDC_FIND_TASK = 1072,           // time
  IDC_FIND_CURRENCY = 1060,       // time
  IDC_FIND_BILLABLE_CHOICE = 1061,
  IDC_FIND_BILLED_CHOICE = 1062,
  IDC_FIND_DESCRIPTION = 1058,    // expense
  IDC_FIND_PAYMENT = 1020,
  IDC_FIND_COMPARISON = 1026,
  IDC_FIND_AMOUNT = 1060,         // expense (the time dialog's currency id)
  IDC_FIND_EXPENSE_CURRENCY = 1059,
  IDC_FIND_FROM = 1014,
  IDC_FIND_TO = 1013,
  IDC_FIND_MILEAGE = 1033,
  IDC_FIND_BILLABLE = 1073,
  IDC_FIND_BILLED = 1024,
  IDC_FIND_REIMBURSABLE = 1022,
  IDC_FIND_REIMBURSED = 1025,
  IDC_FIND_RECEIPT = 1038,
};

// The dialogs, ready to run. The text criteria offer the pulldown lists of the
// configuration database; the date pickers show dates in the European or
// the American form. On OK the dialog searches the database of its kind,
// puts the matches into *list (cleared first) and ends with IDOK; cancel
// ends it with IDCANCEL and leaves *list alone.
QDialog* CreateTimeSelectionDialog(QWidget* owner, RecordDatabases& databases, bool europeanDates,
                                   RecordPositionList* list);
QDialog* CreateExpenseSelectionDialog(QWidget* owner, RecordDatabases& databases, bool europeanDates,
                                      RecordPositionList* list);

// Runs the dialog of the current mode (databases.AppMode) over owner;
// returns IDOK or IDCANCEL.
int RunSelectionDialog(HWND owner, RecordDatabases& databases, bool europeanDates, RecordPositionList* list);

}  // namespace pw
