// The expense entry dialog: the form in which an expense record is entered
// or edited in place. A plain amount, or a mileage expense whose amount is
// miles x rate per mile.
#pragma once

#include "dialogs/expense_entry.h"
#include "dialogs/gui/dialog_support.h"
#include "platform/types.h"
#include "storage/records.h"

class QDialog;
class QWidget;

namespace pw {


// Runs the dialog modally over owner on record. IDOK leaves the
// entered values in the record (new pulldown list values have been offered for
// adding); IDCANCEL clears the record in the new form and leaves it otherwise
// (only the note may have changed).
int ExpenseEntryDialog(HWND owner, int form, ExpenseRecord& record, const EntryContext& context);

// The dialog, not yet shown; the caller runs and deletes it.
QDialog* CreateExpenseEntryDialog(QWidget* owner, ExpenseRecord& record, int form, const EntryContext& context);

}  // namespace pw
