// The forms of the expense entry dialog: what the working record holds on
// entry and what the date box shows.
#pragma once

namespace pw {

enum : int {
  PWH_EXPENSE_ENTRY_NEW = 1,               // cleared record, today
  PWH_EXPENSE_ENTRY_EDIT = 2,              // a stored record, its own date
  PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT = 3,  // the default record, today
};

}  // namespace pw
