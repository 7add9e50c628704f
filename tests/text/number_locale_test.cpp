// The program's own printf and sscanf, and every number it writes or reads,
// in the "C" locale and in one that writes a decimal comma: a German user's
// amounts, rates and hours keep their decimal point like anybody else's, and
// the user's own locale is in force again for everything else.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "platform/code_page.h"
#include "support/locale_guard.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {
namespace {

class NumbersUnderLocale : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!guard_.emplace(GetParam()).ok()) GTEST_SKIP() << GetParam() << " is not installed (tools/install-deps.sh makes it)";
  }
  void TearDown() override {
    if (!guard_->ok()) return;
    // The C library still writes as the user's locale does.
    char raw[16];
    std::snprintf(raw, sizeof raw, "%.1f", 0.5);
    EXPECT_STREQ(raw, GetParam()[0] == 'C' ? "0.5" : "0,5");
  }
  std::optional<test::LocaleGuard> guard_;
};

TEST_P(NumbersUnderLocale, AreWrittenLikePrintfWithADecimalPoint) {
  const float hours = 1.5f, rate = 33.33f;
  struct {
    const char* what;
    std::u16string got, want;
  } const cases[] = {
      {"%2d pads", Format(u"[%2d]", 5), u"[ 5]"},
      {"%02d zero-pads", Format(u"%02d:%02d", 7, 5), u"07:05"},
      {"%02d wider than 2", Format(u"%02d", 123), u"123"},
      {"%ld", Format(u"failed: %ld.", 1392L), u"failed: 1392."},
      {"%ld negative", Format(u"%ld", -2147483647L - 1), u"-2147483648"},
      {"%u %x", Format(u"%u %x %X", 7u, 255, 255), u"7 ff FF"},
      {"%.2f rounds as the C library", Format(u"%.2f", 153.125), u"153.12"},
      {"%.2f of a float product", Format(u"%.2f", hours * rate), u"50.00"},
      {"the same in double", Format(u"%.2f", 1.5 * 33.33), u"49.99"},
      {"%f", Format(u"%f", 0.25), u"0.250000"},
      {"no grouping", Format(u"%d %.1f", 100000, 1234567.5), u"100000 1234567.5"},
      {"int for %f", Format(u"%.1f", 3), u"3.0"},
      {"%s", Format(u"'%s'", u"Pennywhistle Time 0.5"), u"'Pennywhistle Time 0.5'"},
      {"%s non-ASCII", Format(u"%s!", u"caf\u00e9 \u20ac \U0001F600"), u"caf\u00e9 \u20ac \U0001F600!"},
      {"%s std::u16string", Format(u"%s", std::u16string(u"x\u00e9")), u"x\u00e9"},
      {"%s null", Format(u"[%s]", static_cast<const char16_t*>(nullptr)), u"[]"},
      {"%-6s", Format(u"%-6s|", u"ab"), u"ab    |"},
      {"%5s counts code units", Format(u"%5s|", u"\U0001F600"), u"   \U0001F600|"},
      {"%.3s", Format(u"%.3s", u"abcdef"), u"abc"},
      {"%c", Format(u"%c%c", 0x20AC, 'a'), u"\u20ACa"},
      {"%%", Format(u"100%% of %d%%", 5), u"100% of 5%"},
      {"missing arguments", Format(u"%d and '%s' and %.2f", 1), u"1 and '' and 0.00"},
      {"text for %d, number for %s", Format(u"%d|%s", u"x", 3), u"0|"},
      {"unknown conversion keeps its argument", Format(u"%y %d", 5), u"%y 5"},
      {"trailing percent", Format(u"50%"), u"50%"},
      {"long output", Format(u"%0300d", 1), std::u16string(299, u'0') + u"1"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST_P(NumbersUnderLocale, AreReadLikeSscanfUpToTheirDecimalPoint) {
  int a = -1, b = -1, c = -1;
  EXPECT_EQ(ScanThreeInts(u"  12/31/1999 trailing", "%d/%d/%d", &a, &b, &c), 3);
  EXPECT_EQ(a * 10000 + b * 100 + c, 12 * 10000 + 31 * 100 + 1999);
  a = b = c = -1;
  EXPECT_EQ(ScanThreeInts(u"12/x/1999", "%d/%d/%d", &a, &b, &c), 1);  // partial scan counted
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, -1);
  EXPECT_EQ(ScanThreeInts(u"", "%d/%d/%d", &a, &b, &c), -1);  // EOF before the first conversion
  EXPECT_EQ(ScanTwoInts(u"9:05", "%d:%d", &a, &b), 2);
  EXPECT_EQ(b, 5);
  // %s receives UTF-8 bytes.
  char pm[8] = {};
  EXPECT_EQ(ScanText(u"10:30 PM", "%d:%d %7s", &a, &b, pm), 3);
  EXPECT_STREQ(pm, "PM");
  // A comma is not a decimal sign in stored text: the scan stops there.
  const std::pair<const char16_t*, float> floats[] = {
      {u"10.5", 10.5f}, {u" 22.50 EUR", 22.5f}, {u"1e2", 100.0f}, {u"10,5", 10.0f}, {u"abc", -1}};
  for (const auto& [text, want] : floats) {
    float value = -1;
    EXPECT_EQ(ScanFloat(text, &value), want == -1 ? 0 : 1);
    EXPECT_EQ(value, want) << WideToUtf8(text);
  }
}

TEST_P(NumbersUnderLocale, DecimalHoursInSinglePrecision) {
  // float truncation loses a minute where the fraction is not exact
  const std::pair<const char16_t*, const char16_t*> toTime[] = {{u"1.5", u"1:30"}, {u"2.25", u"2:15"}, {u"7.75", u"7:45"},
      {u"1.15", u"1:8"}, {u"2.3", u"2:17"}, {u"abc", u"abc"}, {u"", u""}, {u"1e30", u"1e30"}, {u"nan", u"nan"}},
      toDecimal[] = {{u"7:45", u"7.75"}, {u"0:20", u"0.33"}, {u"1:30", u"1.50"}, {u"--:--", u"--:--"}, {u"7", u"7"}};
  for (const auto& [in, out] : toTime) EXPECT_EQ(DecimalHoursToTimeText(in), out);
  for (const auto& [in, out] : toDecimal) EXPECT_EQ(TimeTextToDecimalText(in), out);
  const std::pair<const char16_t*, float> hours[] = {{u"7:45", 7.75f}, {u"0:01", 0.016666668f}, {u"--:--", 0}, {u"7", 0}};
  for (const auto& [in, h] : hours) EXPECT_EQ(TimeTextToHours(in), h);
  TimeRecord r;
  CopyText(r.duration, u"02:15");
  std::u16string summary;
  FormatDurationSummary(&summary, r, PWH_SUMMARY_LONG);
  EXPECT_EQ(summary, u"2 hrs, 15 mins (2.25)");
}

TEST_P(NumbersUnderLocale, AmountOrRateFollowsTheDuration) {
  struct Case {
    int billable;
    const char16_t *duration, *rate, *amount, *newRate, *newAmount;
  } cases[] = {
      {1, u"02:00", u"25", u"999", u"25", u"50.00"},
      {1, u"01:30", u"33.33", u"", u"33.33", u"50.00"},  // 49.995002f in single precision
      {1, u"02:00", u"", u"45", u"22.50", u"45"},        {1, u"02:00", u"n/a", u"abc", u"n/a", u"abc"},
      {1, u"--:--", u"25", u"10", u"", u""},             {1, u"00:00", u"25", u"10", u"", u""},
      {0, u"02:00", u"25", u"10", u"25", u"10"},
  };
  for (const Case& c : cases) {
    TimeRecord r;
    r.billable = c.billable;
    CopyText(r.duration, c.duration), CopyText(r.rate, c.rate), CopyText(r.amount, c.amount);
    EXPECT_TRUE(RecomputeRecordAmount(r));
    EXPECT_EQ(TextOf(r.rate), c.newRate);
    EXPECT_EQ(TextOf(r.amount), c.newAmount);
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, NumbersUnderLocale, ::testing::ValuesIn(test::kTestLocales),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "CommaDecimal"); });

}  // namespace
}  // namespace pw
