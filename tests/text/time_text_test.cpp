#include "storage/record_times.h"
#include "text/time_text.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/scripted_host.h"
#include "text/date_time.h"
#include "text/fixed_text.h"

namespace pw {
namespace {

TimeRecord Times(int sh, int sm, bool spm, int eh, int em, bool epm, const char16_t* duration = u"") {
  TimeRecord r;
  r.startHour = sh, r.startMinute = sm, r.startPm = spm;
  r.endHour = eh, r.endMinute = em, r.endPm = epm;
  CopyText(r.duration, duration);
  return r;
}

TEST(TimeTextShape, RecognisesEachFormByCompleteScan) {
  EXPECT_TRUE(IsAmericanDateText(u"3/7/2000") && IsEuropeanDateText(u"31.12.2000") && IsTimeText(u"10:30"));
  EXPECT_TRUE(IsTwelveHourTimeText(u"10:30 AM") && IsTimeText(u"10:30 AM"));
  EXPECT_FALSE(IsEuropeanDateText(u"3/7/2000") || IsAmericanDateText(u"31.12.2000") || IsTwelveHourTimeText(u"10:30"));
  for (const char16_t* partial : {u"3/7", u"--:--"})
    EXPECT_FALSE(IsAmericanDateText(partial) || IsEuropeanDateText(partial) || IsTwelveHourTimeText(partial) ||
                 IsTimeText(partial));
}

TEST(TimeTextConvert, WritesTheOtherFormOrTheFallback) {
  using Fn = bool (*)(std::u16string_view, std::u16string*);
  const Fn toEuropean = AmericanToEuropeanDate, toAmerican = EuropeanToAmericanDate, to12 = TwentyFourToTwelveHourTime;
  struct Case {
    Fn fn;
    const char16_t *in, *out;
    bool ok;
  } cases[] = {
      {toEuropean, u"3/7/7", u"07.03.07", true},  {toEuropean, u"3/7", u"00/00/0000", false},
      {toAmerican, u"n/a", u"0.0.0000", false},   {to12, u"13:05", u"01:05 PM", true},
      {to12, u"9:5", u"09:05 AM", true},          {to12, u"noon", u"12:00 AM", false},
  };
  for (const Case& c : cases) {
    std::u16string out = u"old";
    EXPECT_EQ(c.fn(c.in, &out), c.ok);
    EXPECT_EQ(out, c.out);
    EXPECT_FALSE(c.fn(c.in, nullptr));
  }
}

TEST(TimeTextRecordTime, FormatsOnBothClocks) {
  const TimeRecord none, day = Times(1, 5, true, 0, 45, false);
  const struct {
    TimeRecord record;
    int which, blank;
    const char16_t *twelve, *twentyFour;
  } cases[] = {
      // No times entered: dashes in views, the zero time in the entry dialog.
      {none, PWH_START_TIME, PWH_BLANK_AS_DASHES, u"--:--", u"--:--"},
      {none, PWH_END_TIME, PWH_BLANK_AS_ZERO, u"00:00 AM", u"00:00"},
      {day, PWH_ZERO_TIME, PWH_BLANK_AS_DASHES, u"00:00 AM", u"00:00"},
      {day, PWH_START_TIME, PWH_BLANK_AS_DASHES, u"01:05 PM", u"13:05"},
      {day, 5, PWH_BLANK_AS_DASHES, u"12:45 AM", u"00:45"},  // anything but the start is the end
  };
  for (const auto& c : cases) {
    std::u16string out;
    EXPECT_EQ(FormatRecordTime(&out, c.record, c.which, c.blank, false), &out);
    EXPECT_EQ(out, c.twelve);
    FormatRecordTime(&out, c.record, c.which, c.blank, true);
    EXPECT_EQ(out, c.twentyFour);
  }
  EXPECT_EQ(FormatRecordTime(nullptr, day, PWH_START_TIME, PWH_BLANK_AS_ZERO, false), nullptr);
}

// Every hour of the day, as the clock sets it, comes back to the same minute
// of the day through each writer and reader of time text.
TEST(TimeTextRecordTime, EveryHourSurvivesTheRoundTrips) {
  const auto minuteOfDay = [](int hour, int minute, bool pm) { return (hour + (pm ? 12 : 0)) * 60 + minute; };
  for (int h = 0; h < 24; ++h) {
    SCOPED_TRACE(h);
    SYSTEMTIME now;
    now.wHour = WORD(h), now.wMinute = 30;
    SetLocalTimeOverride(now);
    TimeRecord r;
    SetRecordTimeNow(r, PWH_START_TIME);
    ASSERT_EQ(minuteOfDay(r.startHour, r.startMinute, r.startPm), h * 60 + 30);
    std::u16string twelve, text;
    DateTimeValue v;
    FormatRecordTime(&twelve, r, PWH_START_TIME, PWH_BLANK_AS_ZERO, false);
    FormatRecordTime(&text, r, PWH_START_TIME, PWH_BLANK_AS_ZERO, true);
    ASSERT_TRUE(v.ParseTime(text, PWH_TWENTY_FOUR_HOUR_TEXT));
    EXPECT_EQ(minuteOfDay(v.hour, v.minute, v.pm), h * 60 + 30);
    ASSERT_TRUE(TwentyFourToTwelveHourTime(text, &text));
    EXPECT_EQ(text, twelve);
    ASSERT_TRUE(v.ParseTime(text, PWH_TWELVE_HOUR_TEXT));
    EXPECT_EQ(minuteOfDay(v.hour, v.minute, v.pm), h * 60 + 30);
  }
  SetLocalTimeOverride(std::nullopt);
}

TEST(TimeTextDuration, StoredDurationWinsThenElapsedTimeThenDashes) {
  struct Case {
    TimeRecord record;
    const char16_t *summary, *filled;  // the long summary; the duration after FillRecordDuration
  } cases[] = {
      {Times(11, 0, true, 1, 30, false), u"2 hrs, 30 mins (2.50)", u"02:30"},  // past midnight
      {Times(9, 0, false, 5, 15, true), u"8 hrs, 15 mins (8.25)", u"08:15"},
      {Times(3, 0, true, 3, 0, true), u"--:--", u"--:--"},
      {Times(3, 0, false, 2, 0, false), u"--:--", u"--:--"},
      {Times(9, 0, false, 10, 0, false, u"--:--"), u"1 hrs, 0 mins (1.00)", u"--:--"},
      // A stored duration is shown even when the times disagree, and kept.
      {Times(9, 0, false, 8, 0, false, u"01:15"), u"1 hrs, 15 mins (1.25)", u"01:15"},
  };
  std::u16string out;
  for (Case& c : cases) {
    EXPECT_TRUE(FormatDurationSummary(&out, c.record, PWH_SUMMARY_LONG));
    EXPECT_EQ(out, c.summary);
    const bool wasEmpty = IsEmptyText(c.record.duration);
    EXPECT_EQ(FillRecordDuration(c.record), wasEmpty);
    EXPECT_EQ(TextOf(c.record.duration), c.filled);
  }
  EXPECT_TRUE(FormatDurationSummary(&out, cases[0].record, PWH_SUMMARY_SHORT));
  EXPECT_EQ(out, u"2h, 30m (2.50)");
  out = u"kept";
  EXPECT_FALSE(FormatDurationSummary(&out, cases[0].record, 3));
  EXPECT_EQ(out, u"kept");
  // Subtracting times clamps at zero.
  const int subtractions[][6] = {{1, 10, 0, 30, 0, 40}, {0, 20, 0, 30, 0, 0}, {5, 45, 2, 15, 3, 30}};
  for (const auto& c : subtractions) {
    int h = -1, m = -1;
    SubtractTimes(c[0], c[1], c[2], c[3], &h, &m);
    EXPECT_EQ(std::pair(h, m), std::pair(c[4], c[5]));
  }
}

TEST(TimeTextDateControl, ReadsStoredDateOrReportsIt) {
  test::ScriptedHost host;
  SYSTEMTIME st;
  EXPECT_TRUE(DateTextToSystemTime(nullptr, u"3/7/99", &st));  // the year as written
  EXPECT_EQ(std::tuple(st.wMonth, st.wDay, st.wYear), std::tuple(3, 7, 99));
  EXPECT_TRUE(host.messages.empty());
  int owner = 0;
  SetLastError(87);
  EXPECT_FALSE(DateTextToSystemTime(&owner, u"02/30/2026", &st));  // no such day
  EXPECT_EQ(st.wYear + st.wMonth + st.wDay, 0);
  ASSERT_EQ(host.messages.size(), 1u);
  const test::RecordedMessage& m = host.messages[0];
  EXPECT_EQ(std::tuple(m.owner, m.text, m.type),
            std::tuple(HWND(&owner), u"error: could not parse date '02/30/2026': error code: 87.", MB_ICONEXCLAMATION | MB_OK));
}

}  // namespace
}  // namespace pw
