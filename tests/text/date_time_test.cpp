#include "text/date_time.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace pw {
namespace {

std::u16string DateOf(const DateTimeValue& v) {
  std::u16string out;
  v.FormatDate(&out);
  return out;
}

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(DateTimeParse, DatesAreCheckedTheirYearCompletedAndCleared) {
  const struct {
    const char16_t* text;
    bool valid;
    const char16_t* stored = u"00/00/0000";  // FormatDate after parsing
  } cases[] = {
      // Year completion at every boundary.
      {u"3/7/49", true, u"03/07/2049"}, {u"3/7/50", true, u"03/07/1950"}, {u"3/7/99", true, u"03/07/1999"},
      {u"3/7/100", true, u"03/07/2100"}, {u"3/7/899", true, u"03/07/2899"}, {u"3/7/900", true, u"03/07/1900"},
      {u"3/7/999", true, u"03/07/1999"}, {u"3/7/1000", true, u"03/07/1000"}, {u"1/1/-1", true, u"01/01/1999"},
      // Month lengths, leap years by the completed year.
      {u"2/29/2000", true, u"02/29/2000"}, {u"2/29/00", true, u"02/29/2000"}, {u"4/30/2026", true, u"04/30/2026"},
      {u"2/30/2026", false}, {u"4/31/2026", false}, {u"2/29/2026", false}, {u"2/29/1900", false}, {u"2/29/100", false},
      // Invalid: out of range, a partial scan or a number too long.
      {u"1/1/1234567890", false}, {u"13/1/2000", false}, {u"0/1/2000", false}, {u"1/0/2000", false}, {u"1/32/2000", false}, {u"3/7", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    DateTimeValue v;
    v.SetDate(5, 5, 2005);  // a failed parse must not leave this date behind
    EXPECT_EQ(v.ParseDate(c.text), c.valid);
    EXPECT_EQ(v.IsValid(), c.valid);
    EXPECT_EQ(DateOf(v), c.stored);
  }
}

TEST(DateTimeParse, TimesGiveHourMinuteAndPm) {
  constexpr int k24 = PWH_TWENTY_FOUR_HOUR_TEXT, k12 = PWH_TWELVE_HOUR_TEXT;
  const struct {
    const char16_t* text;
    int mode;
    bool ok;
    int hour = 0, minute = 0, pm = 7;  // a failed parse leaves pm as it was
  } cases[] = {
      {u"0:30", k24, true, 0, 30, 0}, {u"12:30", k24, true, 12, 30, 0}, {u"13:05", k24, true, 1, 5, 1},
      {u"23:59", k24, true, 11, 59, 1}, {u"24:00", k24, false}, {u"-1:00", k24, false}, {u"10:60", k24, false},
      {u"10", k24, false},
      // Twelve o'clock reads as hour 0: midnight AM, noon PM.
      {u"12:30 AM", k12, true, 0, 30, 0}, {u"12:30 PM", k12, true, 0, 30, 1}, {u"1:05 pm", k12, true, 1, 5, 1},
      {u"11:59 am", k12, true, 11, 59, 0}, {u"0:30 AM", k12, false}, {u"13:00 PM", k12, false},
      {u"10:60 AM", k12, false}, {u"10:30", k12, false},
      // An unknown word fails but leaves the numbers as read.
      {u"10:30 Am", k12, false, 10, 30, 7}, {u"12:15 xx", 0, false, 12, 15, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    DateTimeValue v;
    v.SetDate(3, 7, 2000);
    v.hour = v.minute = 9;
    v.pm = 7;
    EXPECT_EQ(v.ParseTime(c.text, c.mode), c.ok);
    EXPECT_EQ(std::tuple(v.hour, v.minute, v.pm), std::tuple(c.hour, c.minute, c.pm));
    EXPECT_EQ(DateOf(v), u"03/07/2000");
  }
}

TEST(DateTimeCompare, OrdersByYearThenMonthThenDayIgnoringTime) {
  const std::tuple<const char16_t*, const char16_t*, int> cases[] = {  // -1 first before second, 0 equal, 1 after
      {u"3/7/2000", u"3/7/2000", 0}, {u"3/8/2000", u"3/7/2000", 1}, {u"12/31/1999", u"1/1/2000", -1},
      {u"2/1/2000", u"1/31/2000", 1}};
  for (const auto& [first, second, order] : cases) {
    DateTimeValue a, b;
    ASSERT_TRUE(a.ParseDate(first) && b.ParseDate(second) && a.ParseTime(u"11:00 PM", PWH_TWELVE_HOUR_TEXT));
    SCOPED_TRACE(Narrow(first) + " vs " + Narrow(second));
    EXPECT_EQ(a.Equals(b), order == 0);
    EXPECT_EQ(a.IsAfter(b), order > 0);
    EXPECT_EQ(a.IsBefore(b), order < 0);
    EXPECT_EQ(b.IsBefore(a), order > 0);
  }
}

TEST(DateTimeCalendar, LeapYearsMonthLengthsAndDaysBefore) {
  const int cases[][3] = {{2, 2000, 29}, {2, 2004, 29}, {2, 1900, 28}, {2, 2100, 28}, {2, 2001, 28},
                          {1, 2001, 31}, {4, 2001, 30}, {12, 2001, 31}, {0, 2001, 0},  {13, 2001, 0}};
  for (const auto& c : cases) EXPECT_EQ(DaysInMonth(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
  // Counting days back crosses month and year ends.
  const struct {
    int month, day, year, n;
    const char16_t* expected;
  } back[] = {{3, 3, 2000, 7, u"02/25/2000"}, {3, 3, 2001, 7, u"02/24/2001"}, {3, 7, 2000, 7, u"02/29/2000"},
               {3, 10, 2000, 7, u"03/03/2000"}, {1, 5, 2001, 14, u"12/22/2000"}, {3, 1, 2000, 31, u"01/30/2000"}};
  for (const auto& c : back) {
    std::u16string out;
    EXPECT_TRUE(DaysBeforeText(&out, c.month, c.day, c.year, c.n));
    EXPECT_EQ(out, c.expected);
  }
  EXPECT_FALSE(DaysBeforeText(nullptr, 3, 3, 2000, 7));
}

}  // namespace
}  // namespace pw
