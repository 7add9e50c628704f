#include "dialogs/time_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "support/locale_guard.h"

namespace pw::test {
namespace {

// The amount and rate boxes follow the duration, with a decimal point also
// for a user whose locale writes a decimal comma.
class RecomputeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RecomputeTest, AmountAndRateFollowTheDuration) {
  LocaleGuard locale(GetParam());
  const struct {
    const char* name;
    std::u16string amount, rate, duration, newAmount, newRate;
  } cases[] = {
      {"rate wins over amount", u"60", u"30", u"01:30", u"45.00", u"30"},
      {"amount gives the rate", u"66", u"", u"01:30", u"66", u"44.00"},
      {"not numbers stay", u"lots", u"fair", u"01:30", u"lots", u"fair"},
      {"no hours empties both", u"45", u"30", u"--:--", u"", u""},
      {"zero duration empties both", u"45", u"30", u"00:00", u"", u""},
      // 1.5 h at 33.33 is 49.995002 in single precision.
      {"single precision", u"", u"33.33", u"01:30", u"50.00", u"33.33"},
  };
  for (const auto& c : cases) {
    const AmountAndRate r = RecomputeAmountAndRate(c.amount, c.rate, c.duration);
    EXPECT_EQ(r.amount, c.newAmount) << c.name;
    EXPECT_EQ(r.rate, c.newRate) << c.name;
  }
  EXPECT_EQ(AmountForRate(u"30", u"01:30"), u"45.00");
  EXPECT_EQ(RateForAmount(u"66", u"01:30"), u"44.00");
  EXPECT_EQ(AmountForRate(u"30", u"--:--"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Locales, RecomputeTest, ::testing::ValuesIn(kTestLocales),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "CommaDecimal"); });

}  // namespace
}  // namespace pw::test
