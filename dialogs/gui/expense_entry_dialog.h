// The expense entry dialog: the form in which the working expense record is
// entered or edited. A plain amount, or a mileage expense whose amount is
// miles x rate per mile.
#pragma once

#include "platform/types.h"

class QDialog;
class QWidget;

namespace pw {

// Forms of the dialog: what the working record holds on entry and what the
// date box shows.
enum : int {
  PWH_EXPENSE_ENTRY_NEW = 1,               // cleared record, today
  PWH_EXPENSE_ENTRY_EDIT = 2,              // a stored record, its own date
  PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT = 3,  // the default record, today
};

// Runs the dialog modally over owner on WorkingExpenseRecord. IDOK leaves the
// entered values in the record (new pick-list values have been offered for
// adding); IDCANCEL clears the record in the new form and leaves it otherwise
// (only the note may have changed).
int ExpenseEntryDialog(HWND owner, int form);

// The dialog, not yet shown; the caller runs and deletes it.
QDialog* CreateExpenseEntryDialog(QWidget* owner, int form);

}  // namespace pw
