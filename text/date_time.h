// The calendar value: a date (month, day, year) with an optional time of day,
// read from and written as the stored date text "MM/DD/YYYY", validated and
// compared by date. Plus the calendar helpers that record selection builds its
// preset ranges from (today, this month, n days ago).
//
// Stored date text is always American month/day/year, whatever the display
// setting; it is written "%02d/%02d/%04d" and read as "%d/%d/%d" reads it (so
// 3/7/2000 and leading blanks are accepted, and trailing text is ignored) by
// platform/calendar_date.h. A day the month does not have is no date.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/calendar_date.h"  // IsLeapYear, DaysInMonth

namespace pw {

// Modes of DateTimeValue::ParseTime.
inline constexpr int PWH_TWENTY_FOUR_HOUR_TEXT = 1;  // "HH:MM"
inline constexpr int PWH_TWELVE_HOUR_TEXT = 2;       // "HH:MM AM" (any mode other than 1)

struct DateTimeValue {
  std::int32_t month = 0;   // 1..12 when valid
  std::int32_t day = 0;     // 1..the month's length when valid
  std::int32_t year = 0;    // full year once normalised
  std::int32_t hour = 0;    // time of day as a TimeRecord holds it: hour + 12 x pm
  std::int32_t minute = 0;  // 0..59
  std::uint8_t pm = 0;
  std::uint8_t valid = 0;   // 1 when the date part passed Normalise

  // month, day, year and valid become 0; the time part is left alone.
  void Clear();

  // Stores the three numbers and normalises them; returns Normalise's result.
  bool SetDate(int month, int day, int year);

  // Reads "%d/%d/%d" as month, day, year. Fewer than three numbers clear the
  // date. Returns Normalise's result (false for text that does not scan).
  bool ParseDate(std::u16string_view text);

  // Reads a time of day into hour, minute and pm; the date part is untouched.
  //   PWH_TWENTY_FOUR_HOUR_TEXT: "%d:%d", hour 0..23 as typed; 13..23 are
  //     stored as hour - 12 with pm set, 0..12 with pm clear.
  //   any other mode: "%d:%d %s", hour 1..12 and a word AM/am/PM/pm;
  //     "12:mm AM" is hour 0 with pm clear (midnight), "12:mm PM" hour 0 with
  //     pm set (noon).
  // Minute 0..59 in both modes. A scan or range failure sets hour and minute
  // to 0; an unknown word leaves hour and minute as read. Both return false.
  bool ParseTime(std::u16string_view text, int mode);

  // Completes the year (CompleteYear: below 50 +2000, 50..99 +1900, 100..899
  // +2000, 900..999 +1000) and validates month 1..12 and day 1..the month's
  // length in that year (02/30, 04/31 and 02/29 of a common year are no
  // dates). An invalid date becomes 0/0/0 with valid clear. Returns valid.
  bool Normalise();

  bool IsValid() const { return valid != 0; }

  // Writes "%02d/%02d/%04d" (month, day, year) into *out; false when out is null.
  bool FormatDate(std::u16string* out) const;

  // Date comparisons (year, then month, then day); the time part is ignored.
  bool Equals(const DateTimeValue& other) const;
  bool IsAfter(const DateTimeValue& other) const;   // strictly later
  bool IsBefore(const DateTimeValue& other) const;  // strictly earlier
};

// Calendar helpers. Each writes a stored date text "%02d/%02d/%04d" into
// *out and returns true; with a null out they write nothing and return false.
// "Today" is the local clock (GetLocalTime).
bool TodayText(std::u16string* out);
bool FirstOfMonthText(std::u16string* out);
bool LastOfMonthText(std::u16string* out);
bool DaysBeforeTodayText(std::u16string* out, int n);
// The date n days before month/day/year, stepping back across month and year
// ends as often as needed.
bool DaysBeforeText(std::u16string* out, int month, int day, int year, int n);

}  // namespace pw
