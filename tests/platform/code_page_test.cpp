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
      {"plain", u"plain"},
      {"caf\xC3\xA9 \xE2\x82\xAC", u"caf\u00e9 \u20ac"},  // valid UTF-8
      {"caf\xE9", u"caf\u00e9"},                          // 0xE9 alone is not UTF-8
      {"\x80 100", u"\u20ac 100"},
      {"\x93quoted\x94 \x85", u"\u201cquoted\u201d \u2026"},
      {"\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},  // undefined bytes keep their C1 controls
      // One invalid byte makes the whole line Windows-1252, also its UTF-8 part.
      {"\xC3\xA9\xE9", u"\u00c3\u00a9\u00e9"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileTextToWide(c.line), c.want) << c.line;
}

TEST(CodePageTest, RejectsInvalidUtf8Forms) {
  const char* const invalid[] = {
      "\xC0\x80",          // overlong NUL
      "\xE0\x80\x80",      // overlong
      "\xED\xA0\x80",      // an encoded surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xE2\x82",          // cut short
      "\x82",              // a lone continuation byte
      "\xF8\x88\x80\x80\x80",
  };
  for (const char* s : invalid) {
    EXPECT_FALSE(IsValidUtf8(s)) << s;
    EXPECT_NE(Utf8ToWide(s).find(u'\xFFFD'), std::u16string::npos) << s;
  }
  EXPECT_EQ(Utf8ToWide("a\xE2\x82"), u"a\xFFFD\xFFFD");
}

TEST(CodePageTest, LoneSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(WideToUtf8(u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(WideToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
  EXPECT_EQ(WideToUtf8(u"x\xD83D"), "x\xEF\xBF\xBD");              // high surrogate at the end
  EXPECT_EQ(WideToUtf8(u"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // pair in the wrong order
}

// Every code point survives UTF-16 -> UTF-8 -> UTF-16, pairs included.
TEST(CodePageTest, EveryCodePointRoundTrips) {
  std::u16string all;
  for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    if (cp < 0x10000) {
      all.push_back(char16_t(cp));
    } else {
      all.push_back(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
      all.push_back(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
  }
  const std::string utf8 = WideToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToWide(utf8), all);
  EXPECT_EQ(WideToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace pw
