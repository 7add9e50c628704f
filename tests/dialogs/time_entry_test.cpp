#include "dialogs/time_entry.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "text/format.h"

namespace pw::test {
namespace {

struct RecomputeCase {
  const char* name;
  std::u16string amount, rate, duration;
  std::u16string newAmount, newRate;
};

class RecomputeTest : public ::testing::TestWithParam<RecomputeCase> {};

TEST_P(RecomputeTest, AmountAndRateFollowTheDuration) {
  const RecomputeCase& c = GetParam();
  const AmountAndRate r = RecomputeAmountAndRate(c.amount, c.rate, c.duration);
  EXPECT_EQ(r.amount, c.newAmount);
  EXPECT_EQ(r.rate, c.newRate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecomputeTest,
    ::testing::Values(RecomputeCase{"RateGivesAmount", u"", u"30", u"01:30", u"45.00", u"30"},
                      RecomputeCase{"AmountGivesRate", u"60", u"", u"01:30", u"60", u"40.00"},
                      RecomputeCase{"RateWinsOverAmount", u"60", u"30", u"01:30", u"45.00", u"30"},
                      RecomputeCase{"NotNumbersStay", u"lots", u"fair", u"01:30", u"lots", u"fair"},
                      RecomputeCase{"NoHoursEmptiesBoth", u"45", u"30", u"--:--", u"", u""},
                      RecomputeCase{"ZeroDurationEmptiesBoth", u"45", u"30", u"00:00", u"", u""},
                      // 1.5 h at 33.33 is 49.995002 in single precision.
                      RecomputeCase{"SinglePrecision", u"", u"33.33", u"01:30", u"50.00", u"33.33"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AmountRateEditTest, TheOtherBoxFollowsOnlyWithHours) {
  EXPECT_EQ(AmountForRate(u"30", u"01:30"), u"45.00");
  EXPECT_EQ(RateForAmount(u"60", u"01:30"), u"40.00");
  EXPECT_EQ(RateForAmount(u"", u"01:30"), u"0.00");
  EXPECT_FALSE(AmountForRate(u"30", u"--:--"));
  EXPECT_FALSE(RateForAmount(u"60", u""));
}

struct BreakCase {
  const char* name;
  std::u16string duration, brk;
  std::optional<std::u16string> rest;
};

class SubtractBreakTest : public ::testing::TestWithParam<BreakCase> {};

TEST_P(SubtractBreakTest, LeavesTheRestOrNothing) {
  const BreakCase& c = GetParam();
  EXPECT_EQ(SubtractBreak(c.duration, c.brk), c.rest);
}

INSTANTIATE_TEST_SUITE_P(Cases, SubtractBreakTest,
                         ::testing::Values(BreakCase{"Lunch", u"08:30", u"00:45", u"07:45"},
                                           BreakCase{"WholeHours", u"08:00", u"01:00", u"07:00"},
                                           BreakCase{"LongerThanTheDay", u"00:30", u"01:00", u"00:00"},
                                           BreakCase{"NoDuration", u"--:--", u"00:45", std::nullopt},
                                           BreakCase{"NoBreak", u"08:30", u"", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimeEntryModeTest, OnlyTheNewModesClearOnCancel) {
  for (int mode = 1; mode <= 5; ++mode) {
    ASSERT_NE(FindTimeEntryMode(mode), nullptr);
    EXPECT_EQ(FindTimeEntryMode(mode)->clearOnCancel, mode == 1 || mode == 4) << mode;
  }
  EXPECT_EQ(FindTimeEntryMode(0), nullptr);
  EXPECT_EQ(FindTimeEntryMode(6), nullptr);
}

// A German user's amounts are written with a decimal point.
TEST(AmountLocaleTest, CommaDecimalLocaleStillWritesAPoint) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale here";
  const bool formatterFollowsLocale = Format(u"%.2f", 1.5) != u"1.50";
  const auto amount = AmountForRate(u"30", u"01:30");
  const AmountAndRate r = RecomputeAmountAndRate(u"66", u"", u"01:30");
  std::setlocale(LC_ALL, saved.c_str());
  if (formatterFollowsLocale) GTEST_SKIP() << "number text still follows the C library's locale";
  EXPECT_EQ(amount, u"45.00");
  EXPECT_EQ(r.rate, u"44.00");
}

}  // namespace
}  // namespace pw::test
