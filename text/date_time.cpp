#include "text/date_time.h"

#include "platform/clock.h"
#include "text/decimal_text.h"
#include "text/format.h"

namespace pw {

namespace {

// "%02d/%02d/%04d"
std::u16string DateText(int month, int day, int year) {
  std::u16string text;
  text.reserve(10);
  AppendDecimal(text, month, 2);
  text += u'/';
  AppendDecimal(text, day, 2);
  text += u'/';
  AppendDecimal(text, year, 4);
  return text;
}

bool WriteDate(std::u16string* out, int month, int day, int year) {
  if (!out) return false;
  *out = DateText(month, day, year);
  return true;
}

bool IsAmOrPm(std::u16string_view word, bool* pm) {
  if (word == u"AM" || word == u"am") {
    *pm = false;
    return true;
  }
  if (word == u"PM" || word == u"pm") {
    *pm = true;
    return true;
  }
  return false;
}

}  // namespace

void DateTimeValue::Clear() {
  month = 0;
  day = 0;
  year = 0;
  valid = 0;
}

bool DateTimeValue::SetDate(int m, int d, int y) {
  month = m;
  day = d;
  year = y;
  return Normalise();
}

bool DateTimeValue::ParseDate(std::u16string_view text) {
  int m = 0, d = 0, y = 0;
  if (!ScanDateNumbers(text, &m, &d, &y)) {
    Clear();
    return Normalise();
  }
  return SetDate(m, d, y);
}

bool DateTimeValue::ParseTime(std::u16string_view text, int mode) {
  int h = 0, m = 0;
  bool ok = false;
  bool isPm = false;
  if (mode == PWH_TWENTY_FOUR_HOUR_TEXT) {
    ok = ScanClock(text, &h, &m, nullptr) == 2 && h >= 0 && h <= 23;
    if (ok && h > 12) {
      h -= 12;
      isPm = true;
    }
  } else {
    std::u16string_view word;
    ok = ScanClock(text, &h, &m, &word) == 3 && h >= 1 && h <= 12;
    if (ok && !IsAmOrPm(word, &isPm)) {
      hour = h;
      minute = m;
      return false;
    }
    // Twelve o'clock is hour 0: "12:mm AM" midnight, "12:mm PM" noon.
    if (ok && h == 12) h = 0;
  }
  if (!ok || m < 0 || m > 59) {
    hour = 0;
    minute = 0;
    return false;
  }
  hour = h;
  minute = m;
  pm = isPm ? 1 : 0;
  return true;
}

bool DateTimeValue::Normalise() {
  year = CompleteYear(year);
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, year)) {
    Clear();
    return false;
  }
  valid = 1;
  return true;
}

bool DateTimeValue::FormatDate(std::u16string* out) const { return WriteDate(out, month, day, year); }

bool DateTimeValue::Equals(const DateTimeValue& other) const {
  return year == other.year && month == other.month && day == other.day;
}

bool DateTimeValue::IsAfter(const DateTimeValue& other) const {
  if (year != other.year) return year > other.year;
  if (month != other.month) return month > other.month;
  return day > other.day;
}

bool DateTimeValue::IsBefore(const DateTimeValue& other) const { return other.IsAfter(*this); }

bool TodayText(std::u16string* out) {
  if (!out) return false;
  const SYSTEMTIME now = GetLocalTime();
  return WriteDate(out, now.wMonth, now.wDay, now.wYear);
}

bool FirstOfMonthText(std::u16string* out) {
  if (!out) return false;
  const SYSTEMTIME now = GetLocalTime();
  return WriteDate(out, now.wMonth, 1, now.wYear);
}

bool LastOfMonthText(std::u16string* out) {
  if (!out) return false;
  const SYSTEMTIME now = GetLocalTime();
  return WriteDate(out, now.wMonth, DaysInMonth(now.wMonth, now.wYear), now.wYear);
}

bool DaysBeforeTodayText(std::u16string* out, int n) {
  if (!out) return false;
  const SYSTEMTIME now = GetLocalTime();
  return DaysBeforeText(out, now.wMonth, now.wDay, now.wYear, n);
}

bool DaysBeforeText(std::u16string* out, int month, int day, int year, int n) {
  if (!out) return false;
  if (month < 1 || month > 12) return WriteDate(out, month, day - n, year);
  day -= n;
  while (day < 1) {
    if (--month < 1) {
      month = 12;
      --year;
    }
    day += DaysInMonth(month, year);
  }
  // A negative n steps forward.
  while (n < 0 && day > DaysInMonth(month, year)) {
    day -= DaysInMonth(month, year);
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return WriteDate(out, month, day, year);
}

}  // namespace pw
