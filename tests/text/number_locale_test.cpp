// The program's own printf and sscanf, and the numbers it writes or reads, in the "C" locale and in one
// that writes a decimal comma: a German user's amounts, rates and hours keep their decimal point like
// anybody else's, and the user's own locale is in force again for everything else.
#include <gtest/gtest.h>

#include <locale.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>

#include "platform/code_page.h"
#include "support/locale_guard.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "storage/record_times.h"
#include "text/time_text.h"

namespace pw {
namespace {

class NumbersUnderLocale : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { guard_.emplace(GetParam()); }
  void TearDown() override {
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
      {"%ld negative", Format(u"%ld", -2147483647L - 1), u"-2147483648"},
      {"%u %x", Format(u"%u %x %X", 7u, 255, 255), u"7 ff FF"},
      {"%.2f of a float product", Format(u"%.2f", hours * rate), u"50.00"},
      {"the same in double", Format(u"%.2f", 1.5 * 33.33), u"49.99"},
      {"int for %f", Format(u"%.1f", 3), u"3.0"},
      {"%s", Format(u"'%s'", u"caf\u00e9 0.5 \U0001F600"), u"'caf\u00e9 0.5 \U0001F600'"},
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
  int a = -1, b = -1;
  char pm[8] = {};  // %s receives UTF-8 bytes
  EXPECT_EQ(ScanText(u"10:30 p\u00e9", "%d:%d %7s", &a, &b, pm), 3);
  EXPECT_EQ(std::tuple(a, b, std::string(pm)), std::tuple(10, 30, std::string("p\xC3\xA9")));
  // "%d:%d" as sscanf reads it; the plain form is read without it.
  for (const char* text : {"1:30", "01:05", "0:00", "123456789:59", "1234567890:1", "1:", ":5", "1:30x", " 1:30",
                           "1 :30", "1: 30", "+1:30", "-1:30", "12", "", "--:--", "1:2:3"}) {
    int got[2] = {-7, -7}, want[2] = {-7, -7};
    const int fields = ScanTwoInts(Utf8ToWide(text), "%d:%d", &got[0], &got[1]);
    EXPECT_EQ(fields, std::sscanf(text, "%d:%d", &want[0], &want[1])) << text;
    EXPECT_EQ(std::pair(got[0], got[1]), std::pair(want[0], want[1])) << text;
  }
  // A comma is not a decimal sign in stored text: the scan stops there.
  const std::pair<const char16_t*, float> floats[] = {
      {u"10.5", 10.5f}, {u"10,5", 10.0f}, {u"abc", -1}};
  for (const auto& [text, want] : floats) {
    float value = -1;
    EXPECT_EQ(ScanFloat(text, &value), want == -1 ? 0 : 1);
    EXPECT_EQ(value, want) << WideToUtf8(text);
  }
  // Plain decimals are read without strtof; they must round exactly as it does.
  const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
  for (std::uint32_t i = 0, n = 1; i < 20000; ++i, n = n * 1103515245u + 12345u) {
    std::string text = std::to_string((n >> 4) % 1000000000 >> (i % 24));
    text.insert(text.size() - std::min<std::size_t>(text.size(), i % 11), ".");
    if (i % 3 == 0) text.insert(0, "-");
    float value = 0;
    ASSERT_EQ(ScanFloat(Utf8ToWide(text), &value), 1) << text;
    EXPECT_EQ(value, strtof_l(text.c_str(), nullptr, c)) << text;
  }
  freelocale(c);
}

TEST_P(NumbersUnderLocale, DecimalHoursInSinglePrecision) {
  // to the nearest minute, 60 carried into the hour, where the fraction is not exact in binary too
  const std::pair<const char16_t*, const char16_t*> toTime[] = {{u"1.5", u"1:30"}, {u"1.15", u"1:9"},
      {u"3.85", u"3:51"}, {u"1.999", u"2:0"}, {u"0.0083", u"0:0"}, {u"-1.5", u"-1:-30"},
      {u"abc", u"abc"}, {u"1e30", u"1e30"}, {u"nan", u"nan"}}, toDecimal[] = {{u"0:20", u"0.33"}, {u"--:--", u"--:--"}};
  for (const auto& [in, out] : toTime) EXPECT_EQ(DecimalHoursToTimeText(in), out);
  for (const auto& [in, out] : toDecimal) EXPECT_EQ(TimeTextToDecimalText(in), out);
  EXPECT_EQ(TimeTextToHours(u"0:01"), 0.016666668f);
  EXPECT_EQ(TimeTextToHours(u"--:--"), 0.0f);
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
      {1, u"01:30", u"33.33", u"999", u"33.33", u"50.00"},  // the rate wins; 49.995002f in single precision
      {1, u"02:00", u"", u"45", u"22.50", u"45"},           {1, u"02:00", u"n/a", u"abc", u"n/a", u"abc"},
      {1, u"--:--", u"25", u"10", u"", u""},                {0, u"02:00", u"25", u"10", u"25", u"10"},
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
