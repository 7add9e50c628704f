#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace pw {
namespace {

TEST(CodePageTest, FileLinesAreUtf8WhenValidElseWindows1252) {
  struct Case {
    const char* line;
    std::u16string want;
  } const cases[] = {
      {"caf\xC3\xA9 \xE2\x82\xAC", u"caf\u00e9 \u20ac"},  // valid UTF-8
      {"caf\xE9", u"caf\u00e9"},                          // 0xE9 alone is not UTF-8
      {"\x80 \x93q\x94 \x85", u"\u20ac \u201cq\u201d \u2026"},
      {"\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},  // undefined bytes keep their C1 controls
      // One invalid byte makes the whole line Windows-1252, also its UTF-8 part.
      {"\xC3\xA9\xE9", u"\u00c3\u00a9\u00e9"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileTextToWide(c.line), c.want) << c.line;
}

TEST(CodePageTest, InvalidFormsBecomeReplacementCharacters) {
  // Overlong in two and three bytes, an encoded surrogate, beyond U+10FFFF, cut short, a lone continuation
  // byte, a five-byte form.
  const char* const invalid[] = {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                 "\xE2\x82", "\x82", "\xF8\x88\x80\x80\x80"};
  for (const char* s : invalid) {
    EXPECT_FALSE(IsValidUtf8(s)) << s;
    EXPECT_NE(Utf8ToWide(s).find(u'\xFFFD'), std::u16string::npos) << s;
  }
  EXPECT_EQ(Utf8ToWide("a\xE2\x82"), u"a\xFFFD\xFFFD");
  // Lone surrogates written out become replacement characters too.
  EXPECT_EQ(WideToUtf8(u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(WideToUtf8(u"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // a lone low one, a high one at the end
}

// Every code point survives UTF-16 -> UTF-8 -> UTF-16, pairs included.
TEST(CodePageTest, EveryCodePointRoundTrips) {
  std::u16string all;
  for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
    if (cp < 0xD800 || (cp > 0xDFFF && cp < 0x10000)) all += char16_t(cp);
    else if (cp >= 0x10000) all += {char16_t(0xD800 + ((cp - 0x10000) >> 10)), char16_t(0xDC00 + (cp & 0x3FF))};
  }
  const std::string utf8 = WideToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToWide(utf8), all);
  EXPECT_EQ(WideToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace pw
