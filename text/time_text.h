// Text forms of dates, times of day and durations, and the arithmetic on a
// time record's start and end times.
//
// Forms:
//   stored date      "03/07/2000"  month/day/year (read "%d/%d/%d")
//   European date    "07.03.2000"  day.month.year (display only)
//   12-hour time     "01:05 PM"    (midnight "12:00 AM", noon "12:00 PM")
//   24-hour time     "13:05"
//   duration         "07:45"       hours:minutes; "--:--" when there is none
//   decimal hours    "7.75"        hours + minutes x (1/60 in single precision)
//
// Decimal hours and amounts are computed in float at every step and printed
// with "%.2f" by the C library, so 1.5 h at 33.33 prints "50.00".
#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/types.h"

namespace pw {

// Which time of a record (SetRecordTimeNow, FormatRecordTime).
inline constexpr int PWH_START_TIME = 3;
inline constexpr int PWH_END_TIME = 4;
inline constexpr int PWH_ZERO_TIME = 7;  // FormatRecordTime only: always the zero time

// How FormatRecordTime shows a record with no times entered (all six fields 0).
inline constexpr int PWH_BLANK_AS_ZERO = 8;    // "00:00 AM" / "00:00" (entry dialog)
inline constexpr int PWH_BLANK_AS_DASHES = 9;  // "--:--" (views, report)

// FormatDurationSummary styles.
inline constexpr int PWH_SUMMARY_LONG = 1;   // "2 hrs, 30 mins (2.50)"
inline constexpr int PWH_SUMMARY_SHORT = 2;  // "2h, 30m (2.50)"

inline constexpr const char16_t* PWH_NO_DURATION = u"--:--";

// --- Shape tests: true when text scans completely into the pattern's fields.
bool IsAmericanDateText(std::u16string_view text);    // "%d/%d/%d"
bool IsEuropeanDateText(std::u16string_view text);    // "%d.%d.%d"
bool IsTwelveHourTimeText(std::u16string_view text);  // "%d:%d %s"
// Also true for 12-hour text ("10:30 AM"); test IsTwelveHourTimeText first
// to tell the two apart.
bool IsTimeText(std::u16string_view text);            // "%d:%d"

// --- Conversions. Each writes into *out and returns true when the input
// scanned; otherwise it writes its fallback text and returns false. A null
// out writes nothing and returns false.

// "12/31/2000" -> "31.12.2000"; fallback "00/00/0000".
bool AmericanToEuropeanDate(std::u16string_view text, std::u16string* out);
// "31.12.2000" -> "12/31/2000"; fallback "0.0.0000".
bool EuropeanToAmericanDate(std::u16string_view text, std::u16string* out);
// "13:05" -> "01:05 PM", "12:30" -> "12:30 PM", "0:30" -> "12:30 AM";
// fallback "12:00 AM".
bool TwentyFourToTwelveHourTime(std::u16string_view text, std::u16string* out);

// "1.5" -> "1:30" (no leading zeros), rounded to the nearest minute with 60
// minutes carried into the hour: "3.85" -> "3:51", "1.999" -> "2:0". Text that
// does not scan as a number, or whose hours no int holds, is returned
// unchanged.
std::u16string DecimalHoursToTimeText(std::u16string_view text);
// "7:45" -> "7.75". Text that does not scan as "%d:%d" is returned unchanged.
std::u16string TimeTextToDecimalText(std::u16string_view text);
// "7:45" -> 7.75f; 0 for text that does not scan.
float TimeTextToHours(std::u16string_view text);

// Hours and minutes as decimal hours, in float at every step.
float DecimalHours(int hours, int minutes);
// A stored time of day (hour 0..12 and PM flag) as 12-hour text "hh:mm AM";
// twelve o'clock is "12" in either stored form.
std::u16string TwelveHourText(int hour, int minute, bool pm);

// A - B on hour/minute pairs (borrowing an hour for the minutes); both
// results 0 when B is later than A. Null outputs are skipped.
void SubtractTimes(int hoursA, int minutesA, int hoursB, int minutesB, int* outHours,
                   int* outMinutes);

// --- Date controls.

// Reads a stored date text into a SYSTEMTIME for a date picker: month, day
// and year as written, day of week 1, and hour, minute, second and
// milliseconds 5. Text that is no calendar date (does not scan, or names a
// day the month does not have) shows an error box owned by owner and leaves
// year, month and day 0. False then, or when out is null.
bool DateTextToSystemTime(HWND owner, std::u16string_view text, SYSTEMTIME* out);

// The date and time pickers' display formats ("dd.MM.yyy" / "MM/dd/yyy",
// " HH:mm" / " hh:mm tt").
std::u16string DatePickerFormat(bool europeanDates);
std::u16string TimePickerFormat(bool twentyFourHour);

}  // namespace pw
