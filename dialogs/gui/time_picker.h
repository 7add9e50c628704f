// The time pickers (dialog 109 on the 12-hour clock, 131 on the 24-hour
// clock) and the duration entry dialog (127). All three write their result
// straight into the time record they are given.
#pragma once

#include "config/settings.h"
#include "platform/types.h"
#include "storage/records.h"

class QDialog;
class QWidget;

namespace pw {

// Picks the start (PWH_START_TIME) or end (PWH_END_TIME) of the time record:
// dialog 131 when the settings want the 24-hour clock, else dialog 109. The new form (editForm false) takes the present time into the
// record as it opens; the editing form shows the record's time. Every press
// changes the record at once, and cancel does not undo it. Returns IDOK or
// IDCANCEL.
int PickRecordTime(HWND owner, TimeRecord& record, int which, bool editForm, const Settings& settings);
QDialog* CreateTimePicker(QWidget* owner, TimeRecord& record, int which, bool editForm,
                          bool twentyFourHour);

// Duration entry over owner: on OK the record's duration becomes the
// chosen hours and minutes ("%02d:%02d"); cancel leaves it. Returns IDOK or
// IDCANCEL.
int EnterDuration(HWND owner, TimeRecord& record);
QDialog* CreateDurationEntry(QWidget* owner, TimeRecord& record);

}  // namespace pw
