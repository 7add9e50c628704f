#include "text/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <tuple>

#include "support/locale_guard.h"

namespace pw {
namespace {

struct FormatCase {
  const char* what;
  std::u16string got;
  std::u16string want;
};

TEST(FormatTest, RendersLikePrintf) {
  const float hours = 1.5f, rate = 33.33f;
  const FormatCase cases[] = {
      {"%d", Format(u"%d", 42), u"42"},
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
      {"many conversions",
       Format(u"Could not open Pennywhistle time database '%s', error code: [%ld].", u"Pennywhistle Time 0.5", 13L),
       u"Could not open Pennywhistle time database 'Pennywhistle Time 0.5', error code: [13]."},
      {"long output", Format(u"%0300d", 1), std::u16string(299, u'0') + u"1"},
  };
  for (const FormatCase& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(FormatTest, ScansLikeSscanf) {
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
  float f = 0;
  EXPECT_EQ(ScanFloat(u" 0.23abc", &f), 1);
  EXPECT_FLOAT_EQ(f, 0.23f);
  EXPECT_EQ(ScanFloat(u"abc", &f), 0);
  // %s receives UTF-8 bytes.
  char pm[8] = {};
  EXPECT_EQ(ScanText(u"10:30 PM", "%d:%d %7s", &a, &b, pm), 3);
  EXPECT_STREQ(pm, "PM");
}

// A German desktop writes "45,00" and reads "10,5" in its C library; the
// program's numbers do not follow it, and the user's locale is left as it was.
TEST(FormatTest, NumbersIgnoreTheUsersLocale) {
  for (const std::string& locale : test::NumberLocales()) {
    test::LocaleGuard scoped(locale);
    EXPECT_EQ(Format(u"%.2f|%d|%f", 45.0f, 12345, 0.5), u"45.00|12345|0.500000") << locale;
    float f = 0;
    EXPECT_EQ(ScanFloat(u"10.5", &f), 1);
    EXPECT_EQ(f, 10.5f) << locale;
    EXPECT_EQ(ScanFloat(u"10,5", &f), 1);
    EXPECT_EQ(f, 10.0f) << locale;
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), locale);
  }
}

}  // namespace
}  // namespace pw

namespace pw {
namespace {

// A German user's program (QApplication sets the locale from the environment) still writes and reads
// numbers with a decimal point, and the user's locale is in force again afterwards.
TEST(FormatTest, NumbersIgnoreACommaDecimalLocale) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  float f = 0;
  const int scanned = ScanFloat(u"37.25", &f);
  const std::u16string written = Format(u"%.2f|%f", 1.5f * 33.33f, 0.25);
  char own[16];
  std::snprintf(own, sizeof own, "%.1f", 2.5);
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(std::tuple(scanned, f, written), std::tuple(1, 37.25f, std::u16string(u"50.00|0.250000")));
  EXPECT_STREQ(own, "2,5");
}

}  // namespace
}  // namespace pw
