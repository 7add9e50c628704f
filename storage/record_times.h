// A time record's times: setting one from the clock, showing them, the
// duration worked out from them and the amount that follows from it.
#pragma once

#include <string>

#include "platform/clock.h"
#include "storage/records.h"
#include "text/time_text.h"

namespace pw {

// Sets the start (PWH_START_TIME) or end (PWH_END_TIME) time from the local
// clock: hours 13..23 as hour - 12 with PM set, 0..12 with PM clear. Other
// values of which change nothing. Returns true.
bool SetRecordTimeNow(TimeRecord& record, int which);
// The same from a time of day (hour 0..23, minute 0..59).
void SetRecordTime(TimeRecord& record, int which, int hourOfDay, int minute);

// Writes the start time (PWH_START_TIME), the zero time (PWH_ZERO_TIME) or
// the end time (any other which) into *out and returns out (null stays null).
// A record with no times entered shows "--:--" with PWH_BLANK_AS_DASHES and
// the zero time otherwise, on the 24-hour clock when twentyFourHour is set.
std::u16string* FormatRecordTime(std::u16string* out, const TimeRecord& record, int which,
                                 int blankStyle, bool twentyFourHour);

// The record's duration as "%d hrs, %d mins (%.2f)" (PWH_SUMMARY_LONG) or
// "%dh, %dm (%.2f)" (PWH_SUMMARY_SHORT). A duration text that scans as
// "%d:%d" wins over the start and end times; otherwise the elapsed time is
// worked out from them, across midnight when the start is PM and the end AM.
// "--:--" when there is none. False (nothing written) for a null out or an
// unknown style.
bool FormatDurationSummary(std::u16string* out, const TimeRecord& record, int style);

// Fills an empty duration from the start and end times ("%02d:%02d", or
// "--:--" when there is no positive elapsed time). A non-empty duration is
// left alone. Returns true when the duration was written.
bool FillRecordDuration(TimeRecord& record);

// For a billable record: with no hours in the duration, rate and amount
// become empty; otherwise a non-zero rate gives amount = hours x rate, or
// else a non-zero amount gives rate = amount / hours ("%.2f"). Returns true.
bool RecomputeRecordAmount(TimeRecord& record);

// Ends a record at a time of day: the end time set, the duration worked out
// afresh from the start and end times (or, when workedMinutes is not
// negative, written as that many minutes, "%02d:%02d", which may pass 24
// hours) and the amount recomputed. EndRecordNow ends it at the present time.
void EndRecordAt(TimeRecord& record, int hourOfDay, int minute, int workedMinutes = -1);
void EndRecordNow(TimeRecord& record);

// A record still running: its duration is "--:--" (no end entered yet).
bool IsOpenRecord(const TimeRecord& record);
// Minutes from the record's date and start time to `now` (0 when `now` is
// earlier; -1 when the date does not read as a valid date).
int MinutesSinceStart(const TimeRecord& record, const SYSTEMTIME& now);
// A running record's hours so far, as its hours show: decimal, "%.2f".
std::u16string RunningHoursText(const TimeRecord& record, const SYSTEMTIME& now);
// The day number of a date (days since 1 January 1970); for telling how many
// midnights lie between two dates.
int DayNumber(int year, int month, int day);

}  // namespace pw
