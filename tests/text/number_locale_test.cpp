// Every number the program writes or reads keeps its decimal point under a
// locale that writes a decimal comma: a German user's amounts, rates and
// hours are the same as anybody else's.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/comma_locale.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {
namespace {

enum class Locale { C, CommaDecimal };

class NumbersUnderLocale : public ::testing::TestWithParam<Locale> {
 protected:
  void SetUp() override {
    if (GetParam() != Locale::CommaDecimal) return;
    comma_.emplace();
    if (!comma_->active()) GTEST_SKIP() << test::kCommaLocale << " is not installed (tools/install-deps.sh makes it)";
  }

 private:
  std::optional<test::CommaDecimalLocale> comma_;
};

struct TextCase {
  const char* what;
  std::u16string (*got)();
  const char16_t* want;
};

TEST_P(NumbersUnderLocale, AreWrittenWithADecimalPoint) {
  const TextCase cases[] = {
      {"%.2f", [] { return Format(u"%.2f", 45.0); }, u"45.00"},
      {"%f", [] { return Format(u"%f", 0.25); }, u"0.250000"},
      {"no grouping", [] { return Format(u"%d %.1f", 100000, 1234567.5); }, u"100000 1234567.5"},
      {"decimal hours", [] { return TimeTextToDecimalText(u"7:45"); }, u"7.75"},
      {"hours to time", [] { return DecimalHoursToTimeText(u"1.5"); }, u"1:30"},
      {"duration summary",
       [] {
         TimeRecord r;
         CopyText(r.duration, u"02:15");
         std::u16string out;
         FormatDurationSummary(&out, r, PWH_SUMMARY_LONG);
         return out;
       },
       u"2 hrs, 15 mins (2.25)"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(c.got(), c.want) << c.what;
}

TEST_P(NumbersUnderLocale, AreReadUpToTheirDecimalPoint) {
  const std::pair<const char16_t*, float> floats[] = {{u"10.5", 10.5f}, {u" 22.50 EUR", 22.5f}, {u"1e2", 100.0f}};
  for (const auto& [text, want] : floats) {
    float value = -1;
    EXPECT_EQ(ScanFloat(text, &value), 1);
    EXPECT_EQ(value, want);
  }
  // A comma is not a decimal sign in stored text: the scan stops there.
  float value = -1;
  EXPECT_EQ(ScanFloat(u"10,5", &value), 1);
  EXPECT_EQ(value, 10.0f);
}

TEST_P(NumbersUnderLocale, AmountFromRateAndDurationIsStoredWithAPoint) {
  struct Case {
    const char16_t *duration, *rate, *amount, *newRate, *newAmount;
  } cases[] = {
      {u"02:00", u"22.50", u"", u"22.50", u"45.00"},
      {u"01:30", u"", u"37.5", u"25.00", u"37.5"},
  };
  for (const Case& c : cases) {
    TimeRecord r;
    r.billable = 1;
    CopyText(r.duration, c.duration), CopyText(r.rate, c.rate), CopyText(r.amount, c.amount);
    ASSERT_TRUE(RecomputeRecordAmount(r));
    EXPECT_EQ(TextOf(r.rate), c.newRate);
    EXPECT_EQ(TextOf(r.amount), c.newAmount);
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, NumbersUnderLocale, ::testing::Values(Locale::C, Locale::CommaDecimal),
                         [](const auto& info) { return info.param == Locale::C ? "C" : "CommaDecimal"; });

}  // namespace
}  // namespace pw
