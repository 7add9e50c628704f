#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "text/format.h"
#include "text/time_text.h"
#include "support/locale_guard.h"

namespace pw {
namespace {

// Numbers keep the decimal point under a comma-decimal locale.
class NumbersInAnyLocale : public ::testing::TestWithParam<const char*> {};

TEST_P(NumbersInAnyLocale, WriteAndReadWithADecimalPoint) {
  test::LocaleGuard guard(GetParam());
  if (!guard.ok()) GTEST_SKIP() << "no locale " << GetParam();
  EXPECT_EQ(Format(u"%.2f", 1234.5), u"1234.50");
  EXPECT_EQ(TimeTextToDecimalText(u"7:45"), u"7.75");
  float value = 0;
  EXPECT_EQ(ScanFloat(u"2.75", &value), 1);
  EXPECT_FLOAT_EQ(value, 2.75f);
  EXPECT_EQ(DecimalHoursToTimeText(u"1.5"), u"1:30");
  // The user's own locale is back afterwards for everything else.
  char raw[16];
  std::snprintf(raw, sizeof raw, "%.1f", 0.5);
  EXPECT_STREQ(raw, GetParam()[0] == 'C' ? "0.5" : "0,5");
}

INSTANTIATE_TEST_SUITE_P(Locales, NumbersInAnyLocale, ::testing::ValuesIn(test::kTestLocales),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "German"); });

}  // namespace
}  // namespace pw
