// The logic of the time pickers (dialog 109 on the 12-hour clock, dialog 131
// on the 24-hour clock) and of the duration entry dialog (127): their
// buttons and lists, what a press stores, the titles, and reading and
// setting the time box.
#pragma once

#include <array>
#include <vector>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/types.h"
#include "storage/records.h"

namespace pw {

enum : int {
  IDD_TIME_PICKER_12 = 109,
  IDD_TIME_ENTRY = 120,
  IDD_DURATION_ENTRY = 127,
  IDD_TIME_PICKER_24 = 131,
};

// Control ids of the pickers.
enum : int {
  IDC_PICK_AM = 3,
  IDC_PICK_PM = 4,
  IDC_PICK_HOUR_FIRST = 1025,      // 1025..1036: "12", "01".."11" or "00".."11"
  IDC_PICK_MINUTE_FIRST = 1037,    // 1037..1048: "00", "05".."55"
  IDC_PICK_PM_HOUR_FIRST = 1049,   // 1049..1060 on the 24-hour clock: "12".."23"
  IDC_PICK_TIME_BOX = 1064,
};

// Control ids of the duration entry dialog.
enum : int { IDC_DURATION_HOURS = 1043, IDC_DURATION_MINUTES = 1044, IDC_DURATION_SUMMARY = 1045 };

// The groups within which one button stays pressed.
enum class PickerGroup { Hour, Minute, AmPm };

struct PickerButton {
  int id;
  std::u16string label;
  PickerGroup group;
};

// A record's start or end time as the record holds it.
struct RecordTime {
  int hour = 0;  // 0..11 with pm, or as stored
  int minute = 0;
  bool pm = false;
};

// A picker edits the working record's start (PWH_START_TIME) or end
// (PWH_END_TIME) time.
RecordTime GetRecordTime(const TimeRecord& record, int which);
void SetRecordTime(TimeRecord& record, int which, const RecordTime& time);

// The buttons of dialog 109 (hour, minute, then "AM" and "PM") or dialog 131
// (the hours 00..11, 12..23, then the minutes), in id order per group.
const std::vector<PickerButton>& PickerButtons(bool twentyFourHour);

// Stores what the button means into time: an hour button of the 12-hour
// clock only the hour, "AM"/"PM" only the PM flag, an hour button of the
// 24-hour clock the hour and the PM flag, a minute button the minute. False
// (time unchanged) for an id that is not a button of that picker.
bool PressPickerButton(int id, bool twentyFourHour, RecordTime* time);

// "Start Time: 12:30 PM" / "End Time: 15:45".
std::u16string PickerTitle(int which, const RecordTime& time, bool twentyFourHour);

// The time box's value for a record time: 1 January 2000 at
// hour + 12 x PM : minute, second and millisecond 5.
SYSTEMTIME TimeBoxValue(const RecordTime& time);
// Shows the message of a time the box refused.
void ShowTimeBoxRefused(HWND owner);

// Reads the time box's text ("%d:%d %s" on the 12-hour clock, "%d:%d" on
// the 24-hour clock; a leading blank is skipped) into *time. On failure the
// user is warned and *time is left alone.
bool ReadTimeBoxText(HWND owner, std::u16string_view text, bool twentyFourHour, RecordTime* time);

// --- Duration entry.

// "0 hours", "1 hour", "2 hours" .. "23 hours" (index = hours).
const std::array<std::u16string, 24>& DurationHourEntries();
// "0 minutes", "5 minutes" .. "55 minutes" (index x 5 = minutes).
const std::array<std::u16string, 12>& DurationMinuteEntries();
// "%s, %s" of the two entries.
std::u16string DurationSummaryText(std::u16string_view hours, std::u16string_view minutes);
// "%02d:%02d" of hoursIndex and minutesIndex x 5.
std::u16string DurationEntryText(int hoursIndex, int minutesIndex);

}  // namespace pw
