// Stored date texts read as calendar dates. A record's date is stored as
// American month/day/year text ("%02d/%02d/%04d" when the program writes it,
// whatever the display setting), so reading it never depends on a setting.
// This is the one reader of that text: the date value of text/date_time.h and
// the calendar sort order of the object store both use it.
#pragma once

#include <string>
#include <string_view>

namespace pw {

// Reads three numbers as "%d/%d/%d" does: blanks before each number, an
// optional sign, decimal digits; the slashes exactly; anything after the
// third number is ignored. False when the three are not there or a number
// has more than nine digits. The second form reads another separator
// ("%d.%d.%d" for u'.').
bool ScanDateNumbers(std::u16string_view text, int* month, int* day, int* year);
bool ScanDateNumbers(std::u16string_view text, char16_t separator, int* a, int* b, int* c);

// The full year of a year as typed: below 50 +2000, 50..99 +1900, 100..899
// +2000, 900..999 +1000, the rest as it is.
int CompleteYear(int year);

// Gregorian leap years; days in month 1..12 of a year (0 for another month).
bool IsLeapYear(int year);
int DaysInMonth(int month, int year);

// Reads a stored date text: true with month, day and the completed year when
// it is a day of the calendar (month 1..12, day 1..the month's length).
bool ReadCalendarDate(std::u16string_view text, int* month, int* day, int* year);

// The key by which the calendar sort order compares date texts, unit by
// unit: every valid date before every other text, valid dates by year, month
// and day (equal dates give equal keys), the other texts by their own units.
std::u16string CalendarSortKey(std::u16string_view text);

}  // namespace pw
