// TEMPORARY stand-in until the expense entry dialog can be built on the shared dialog support.
#include "dialogs/gui/expense_entry_dialog.h"

#include "platform/host_port.h"

namespace pw {

int ExpenseEntryDialog(HWND, int) { return IDCANCEL; }

}  // namespace pw
