// The time entry dialog (120, "Pennywhistle Entry"): the one form in which a
// time record is entered or edited. It edits the caller's record in place;
// the caller prepares the record for the mode and stores it after OK.
#pragma once

#include "dialogs/gui/dialog_support.h"
#include "dialogs/time_entry.h"
#include "platform/types.h"
#include "storage/records.h"

class QDialog;
class QWidget;

namespace pw {

// Modes (dialogs/time_entry.h): PWH_TIME_ENTRY_NEW = 1, PWH_TIME_ENTRY_EDIT
// = 2, PWH_TIME_ENTRY_NEW_FROM_DEFAULT = 3, PWH_TIME_ENTRY_SUBSEQUENT = 4,
// PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT = 5, and Start Timer's
// PWH_TIME_ENTRY_TIMER = 6, PWH_TIME_ENTRY_TIMER_FROM_DEFAULT = 7 (titled
// "Start Timer"; end and duration show "--:--" and cannot be changed).
//
// Runs the dialog modally over owner on record; returns IDOK (1) or
// IDCANCEL (2). Times, duration and note are written into the record as
// they are chosen, the texts and flags on OK; on OK new pulldown list values are
// offered for adding. Cancel clears the record in the new modes 1 and 4.
int TimeEntryDialog(HWND owner, int mode, TimeRecord& record, const EntryContext& context);

// The dialog, for callers and tests that drive it themselves.
QDialog* CreateTimeEntryDialog(QWidget* owner, TimeRecord& record, int mode, const EntryContext& context);

}  // namespace pw
