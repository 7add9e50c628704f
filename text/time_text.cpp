#include "text/time_text.h"

#include <cmath>

#include "platform/calendar_date.h"
#include "platform/host_port.h"
#include "text/decimal_text.h"
#include "text/fixed_text.h"
#include "text/format.h"

namespace pw {

namespace {

// 1/60 as single precision holds it; every decimal-hours value is computed in
// float with it so that results round exactly as the stored figures always have.
constexpr float kHoursPerMinute = 0.016666668f;

}  // namespace

float DecimalHours(int hours, int minutes) {
  return static_cast<float>(hours) + static_cast<float>(minutes) * kHoursPerMinute;
}

// 12-hour text of a stored time. Twelve o'clock is written "12" in either
// stored form (hour 0, or hour 12 with PM clear for noon from the clock), so
// the minute of the day survives being read back.
std::u16string TwelveHourText(int hour, int minute, bool pm) {
  const int hourOfDay = hour + (pm ? 12 : 0);
  if (hourOfDay == 0) return Format(u"%02d:%02d %s", 12, minute, u"AM");
  if (hourOfDay == 12) return Format(u"%02d:%02d %s", 12, minute, u"PM");
  return Format(u"%02d:%02d %s", hour, minute, pm ? u"PM" : u"AM");
}

bool IsAmericanDateText(std::u16string_view text) {
  int a, b, c;
  return ScanDateNumbers(text, u'/', &a, &b, &c);
}

bool IsEuropeanDateText(std::u16string_view text) {
  int a, b, c;
  return ScanDateNumbers(text, u'.', &a, &b, &c);
}

bool IsTwelveHourTimeText(std::u16string_view text) {
  int a, b;
  std::u16string_view word;
  return ScanClock(text, &a, &b, &word) == 3;
}

bool IsTimeText(std::u16string_view text) {
  int a, b;
  return ScanClock(text, &a, &b, nullptr) == 2;
}

bool AmericanToEuropeanDate(std::u16string_view text, std::u16string* out) {
  if (!out) return false;
  int month, day, year;
  if (!ScanDateNumbers(text, u'/', &month, &day, &year)) {
    *out = u"00/00/0000";
    return false;
  }
  *out = Format(u"%02d.%02d.%02d", day, month, year);
  return true;
}

bool EuropeanToAmericanDate(std::u16string_view text, std::u16string* out) {
  if (!out) return false;
  int day, month, year;
  if (!ScanDateNumbers(text, u'.', &day, &month, &year)) {
    *out = u"0.0.0000";
    return false;
  }
  *out = Format(u"%02d/%02d/%02d", month, day, year);
  return true;
}

bool TwentyFourToTwelveHourTime(std::u16string_view text, std::u16string* out) {
  if (!out) return false;
  int hour, minute;
  if (ScanTwoInts(text, "%d:%d", &hour, &minute) != 2) {
    *out = u"12:00 AM";
    return false;
  }
  if (hour > 12)
    *out = TwelveHourText(hour - 12, minute, true);
  else
    *out = TwelveHourText(hour, minute, false);
  return true;
}

std::u16string DecimalHoursToTimeText(std::u16string_view text) {
  float value = 0;
  if (ScanFloat(text, &value) != 1) return std::u16string(text);
  // Hours no int can hold ("1e30", "inf", "nan") have no time text either;
  // truncating them would be undefined.
  if (!(value >= -2147483648.0f && value < 2147483648.0f)) return std::u16string(text);
  // To the nearest minute (3.85 is 3:51), 60 minutes carried into the hour.
  const long long total = std::llround(double(value) * 60.0);
  const int hours = static_cast<int>(total / 60);
  const int minutes = static_cast<int>(total % 60);
  std::u16string out;  // "%d:%d"
  AppendDecimal(out, hours);
  out += u':';
  AppendDecimal(out, minutes);
  return out;
}

std::u16string TimeTextToDecimalText(std::u16string_view text) {
  int hours, minutes;
  if (ScanTwoInts(text, "%d:%d", &hours, &minutes) != 2) return std::u16string(text);
  return Format(u"%.2f", DecimalHours(hours, minutes));
}

float TimeTextToHours(std::u16string_view text) {
  int hours, minutes;
  if (ScanTwoInts(text, "%d:%d", &hours, &minutes) != 2) return 0.0f;
  return DecimalHours(hours, minutes);
}

void SubtractTimes(int hoursA, int minutesA, int hoursB, int minutesB, int* outHours,
                   int* outMinutes) {
  int minutes = minutesA - minutesB;
  if (minutes < 0) {
    minutes += 60;
    --hoursA;
  }
  int hours = hoursA - hoursB;
  if (hours < 0) {
    hours = 0;
    minutes = 0;
  }
  if (outHours) *outHours = hours;
  if (outMinutes) *outMinutes = minutes;
}

bool DateTextToSystemTime(HWND owner, std::u16string_view text, SYSTEMTIME* out) {
  if (!out) return false;
  int month = 0, day = 0, year = 0;
  int m, d, y;  // the same date with its year completed
  const bool ok = ScanDateNumbers(text, &month, &day, &year) && ReadCalendarDate(text, &m, &d, &y);
  SYSTEMTIME st;
  st.wDayOfWeek = 1;
  st.wHour = 5;
  st.wMinute = 5;
  st.wSecond = 5;
  st.wMilliseconds = 5;
  if (ok) {
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
  } else {
    MessageBoxW(owner,
                Format(u"error: could not parse date '%s': error code: %ld.", text,
                       static_cast<long>(GetLastError())),
                u"PWH Error", MB_ICONEXCLAMATION | MB_OK);
  }
  *out = st;
  return ok;
}

std::u16string DatePickerFormat(bool europeanDates) {
  return europeanDates ? u"dd.MM.yyy" : u"MM/dd/yyy";
}

std::u16string TimePickerFormat(bool twentyFourHour) {
  return twentyFourHour ? u" HH:mm" : u" hh:mm tt";
}

}  // namespace pw
