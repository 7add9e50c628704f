#include "text/time_text.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "config/configuration.h"
#include "shell/globals.h"
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
  struct Case {
    const char16_t* text;
    bool american, european, twelveHour, time;
  } cases[] = {{u"3/7/2000", true, false, false, false}, {u" 3/7/2000 trailing", true, false, false, false},
               {u"3/7", false, false, false, false},     {u"31.12.2000", false, true, false, false},
               {u"10:30 AM", false, false, true, true},  {u"10:30", false, false, false, true},
               {u"--:--", false, false, false, false},   {u"", false, false, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text, c.text + std::u16string_view(c.text).size()));
    EXPECT_EQ(IsAmericanDateText(c.text), c.american);
    EXPECT_EQ(IsEuropeanDateText(c.text), c.european);
    EXPECT_EQ(IsTwelveHourTimeText(c.text), c.twelveHour);
    EXPECT_EQ(IsTimeText(c.text), c.time);
  }
}

TEST(TimeTextConvert, WritesTheOtherFormOrTheFallback) {
  using Fn = bool (*)(std::u16string_view, std::u16string*);
  const Fn toEuropean = AmericanToEuropeanDate, toAmerican = EuropeanToAmericanDate, to12 = TwentyFourToTwelveHourTime;
  struct Case {
    Fn fn;
    const char16_t *in, *out;
    bool ok;
  } cases[] = {
      {toEuropean, u"12/31/2000", u"31.12.2000", true}, {toEuropean, u"3/7/7", u"07.03.07", true},
      {toEuropean, u"3/7", u"00/00/0000", false},       {toAmerican, u"31.12.2000", u"12/31/2000", true},
      {toAmerican, u"n/a", u"0.0.0000", false},         {to12, u"13:05", u"01:05 PM", true},
      {to12, u"12:30", u"12:30 PM", true},              {to12, u"0:30", u"12:30 AM", true},
      {to12, u"9:5", u"09:05 AM", true},                {to12, u"noon", u"12:00 AM", false},
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
      {day, PWH_END_TIME, PWH_BLANK_AS_DASHES, u"12:45 AM", u"00:45"},
      {day, 5, PWH_BLANK_AS_DASHES, u"12:45 AM", u"00:45"},
      // Noon in both stored forms.
      {Times(0, 10, true, 0, 0, false), PWH_START_TIME, PWH_BLANK_AS_ZERO, u"12:10 PM", u"12:10"},
      {Times(12, 10, false, 0, 0, false), PWH_START_TIME, PWH_BLANK_AS_ZERO, u"12:10 PM", u"12:10"},
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

// Every time of day, however it was stored, must come back to the same
// minute of the day through each writer and reader of time text.
TEST(TimeTextRecordTime, EveryHourSurvivesTheRoundTrips) {
  for (int h = 0; h < 24; ++h) {
    SCOPED_TRACE(h);
    SYSTEMTIME now;
    now.wYear = 2000, now.wMonth = 3, now.wDay = 7, now.wHour = WORD(h), now.wMinute = 30;
    SetLocalTimeOverride(now);
    TimeRecord r;
    SetRecordTimeNow(r, PWH_START_TIME);
    const auto minuteOfDay = [](int hour, int minute, bool pm) { return (hour + (pm ? 12 : 0)) * 60 + minute; };
    ASSERT_EQ(minuteOfDay(r.startHour, r.startMinute, r.startPm), h * 60 + 30);

    std::u16string twelve, text;
    DateTimeValue v;
    FormatRecordTime(&twelve, r, PWH_START_TIME, PWH_BLANK_AS_ZERO, false);
    FormatRecordTime(&text, r, PWH_START_TIME, PWH_BLANK_AS_ZERO, true);
    ASSERT_TRUE(v.ParseTime(text, PWH_TWENTY_FOUR_HOUR_TEXT));
    EXPECT_EQ(minuteOfDay(v.hour, v.minute, v.pm), h * 60 + 30);
    ASSERT_TRUE(TwentyFourToTwelveHourTime(text, &text));
    EXPECT_EQ(text, twelve);
    ASSERT_TRUE(v.ParseTime(text, PWH_TWELVE_HOUR_TEXT)) << std::string(text.begin(), text.end());
    EXPECT_EQ(minuteOfDay(v.hour, v.minute, v.pm), h * 60 + 30);
    // The form the 12-hour reader stores writes back unchanged.
    FormatRecordTime(&text, Times(v.hour, v.minute, v.pm, 0, 0, false), PWH_START_TIME, PWH_BLANK_AS_ZERO, false);
    EXPECT_EQ(text, twelve);
  }
  SetLocalTimeOverride(std::nullopt);
}

TEST(TimeTextDuration, StoredDurationWinsThenElapsedTimeThenDashes) {
  struct Case {
    TimeRecord record;
    const char16_t *longForm, *shortForm;
    const char16_t* filled;  // duration after FillRecordDuration
  } cases[] = {
      {Times(11, 0, true, 1, 30, false), u"2 hrs, 30 mins (2.50)", u"2h, 30m (2.50)", u"02:30"},
      {Times(9, 0, false, 5, 15, true), u"8 hrs, 15 mins (8.25)", u"8h, 15m (8.25)", u"08:15"},
      {Times(0, 0, false, 0, 0, true), u"12 hrs, 0 mins (12.00)", u"12h, 0m (12.00)", u"12:00"},
      {Times(3, 0, true, 3, 0, true), u"--:--", u"--:--", u"--:--"},
      {Times(3, 0, false, 2, 0, false), u"--:--", u"--:--", u"--:--"},
      {Times(0, 0, false, 0, 0, false), u"--:--", u"--:--", u"--:--"},
      {Times(9, 0, false, 10, 0, false, u"--:--"), u"1 hrs, 0 mins (1.00)", u"1h, 0m (1.00)", u"--:--"},
      // A stored duration is shown even when the times disagree, and kept.
      {Times(9, 0, false, 8, 0, false, u"01:15"), u"1 hrs, 15 mins (1.25)", u"1h, 15m (1.25)", u"01:15"},
  };
  std::u16string out;
  for (Case& c : cases) {
    EXPECT_TRUE(FormatDurationSummary(&out, c.record, PWH_SUMMARY_LONG));
    EXPECT_EQ(out, c.longForm);
    EXPECT_TRUE(FormatDurationSummary(&out, c.record, PWH_SUMMARY_SHORT));
    EXPECT_EQ(out, c.shortForm);
    const bool wasEmpty = IsEmptyText(c.record.duration);
    EXPECT_EQ(FillRecordDuration(c.record), wasEmpty);
    EXPECT_EQ(TextOf(c.record.duration), c.filled);
  }
  out = u"kept";
  EXPECT_FALSE(FormatDurationSummary(&out, cases[0].record, 3));
  EXPECT_EQ(out, u"kept");
}

TEST(TimeTextDuration, SubtractTimesClampsAtZero) {
  const int cases[][6] = {{1, 10, 0, 30, 0, 40}, {0, 20, 0, 30, 0, 0}, {5, 45, 2, 15, 3, 30}, {2, 0, 0, 59, 1, 1}};
  for (const auto& c : cases) {
    int h = -1, m = -1;
    SubtractTimes(c[0], c[1], c[2], c[3], &h, &m);
    EXPECT_EQ(std::pair(h, m), std::pair(c[4], c[5]));
  }
}

TEST(TimeTextDateControl, ReadsStoredDateOrReportsIt) {
  test::ScriptedHost host;
  SYSTEMTIME st;
  EXPECT_TRUE(DateTextToSystemTime(nullptr, u"3/7/99", &st));
  EXPECT_EQ(std::vector<int>({st.wMonth, st.wDay, st.wYear, st.wDayOfWeek, st.wHour, st.wMinute, st.wSecond,
                              st.wMilliseconds}),
            std::vector<int>({3, 7, 99, 1, 5, 5, 5, 5}));
  EXPECT_TRUE(host.messages.empty());

  int owner = 0;
  SetLastError(87);
  EXPECT_FALSE(DateTextToSystemTime(&owner, u"n/a", &st));
  EXPECT_EQ(st.wYear + st.wMonth + st.wDay, 0);
  EXPECT_EQ(st.wHour, 5);
  ASSERT_EQ(host.messages.size(), 1u);
  const test::RecordedMessage& m = host.messages[0];
  EXPECT_EQ(std::tuple(m.owner, m.text, m.title, m.type),
            std::tuple(HWND(&owner), u"error: could not parse date 'n/a': error code: 87.", u"PWH Error",
                       MB_ICONEXCLAMATION | MB_OK));
}

TEST(TimeTextDateControl, FormsFollowTheSettings) {
  test::ScriptedHost host;
  Configuration = nullptr;  // without settings: American dates, 12-hour clock
  EXPECT_EQ(DatePickerFormat(), u"MM/dd/yyy");
  EXPECT_EQ(TimePickerFormat(), u" hh:mm tt");
  // A key of its own: the settings are stored when they go, and must not
  // reach the program's key that later tests read.
  PWHConfiguration settings(u"Software\\tests\\TimeTextDateControl");
  settings.UseEuropeanDateFormat = settings.UseEuropeanTimeFormat = 1;
  Configuration = &settings;
  EXPECT_EQ(DatePickerFormat(), u"dd.MM.yyy");
  EXPECT_EQ(TimePickerFormat(), u" HH:mm");
  std::u16string out;
  FormatRecordTime(&out, Times(1, 5, true, 0, 0, false), PWH_START_TIME, PWH_BLANK_AS_ZERO);
  EXPECT_EQ(out, u"13:05");
  Configuration = nullptr;
}

}  // namespace
}  // namespace pw
