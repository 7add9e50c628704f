#include "platform/calendar_date.h"

#include <cstdint>

namespace pw {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// One "%d": advances i past it; false when no digit follows the sign.
bool ScanNumber(std::u16string_view text, std::size_t& i, int* value) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int digits = 0;
  std::int32_t n = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    if (++digits > 9) return false;
    n = n * 10 + (text[i] - u'0');
  }
  if (digits == 0) return false;
  *value = negative ? -n : n;
  return true;
}

// Marks that put every valid date before every other text.
constexpr char16_t kValidDate = 1;
constexpr char16_t kOtherText = 2;

}  // namespace

bool ScanDateNumbers(std::u16string_view text, char16_t separator, int* a, int* b, int* c) {
  std::size_t i = 0;
  if (!ScanNumber(text, i, a)) return false;
  if (i >= text.size() || text[i++] != separator) return false;
  if (!ScanNumber(text, i, b)) return false;
  if (i >= text.size() || text[i++] != separator) return false;
  return ScanNumber(text, i, c);
}

bool ScanDateNumbers(std::u16string_view text, int* month, int* day, int* year) {
  return ScanDateNumbers(text, u'/', month, day, year);
}

int CompleteYear(int year) {
  if (year < 50) return year + 2000;
  if (year < 100) return year + 1900;
  if (year < 900) return year + 2000;
  if (year < 1000) return year + 1000;
  return year;
}

bool IsLeapYear(int year) {
  if (year % 400 == 0) return true;
  if (year % 100 == 0) return false;
  return year % 4 == 0;
}

int DaysInMonth(int month, int year) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

bool ReadCalendarDate(std::u16string_view text, int* month, int* day, int* year) {
  int m = 0, d = 0, y = 0;
  if (!ScanDateNumbers(text, &m, &d, &y)) return false;
  y = CompleteYear(y);
  if (m < 1 || m > 12 || d < 1 || d > DaysInMonth(m, y)) return false;
  *month = m, *day = d, *year = y;
  return true;
}

std::u16string CalendarSortKey(std::u16string_view text) {
  int month, day, year;
  if (!ReadCalendarDate(text, &month, &day, &year)) {
    std::u16string key(1, kOtherText);
    key += text;
    return key;
  }
  // The year's sign bit flipped, so that its two halves compare as units.
  const std::uint32_t y = std::uint32_t(year) ^ 0x80000000u;
  return {kValidDate, char16_t(y >> 16), char16_t(y & 0xFFFF), char16_t(month), char16_t(day)};
}

}  // namespace pw
