#include "dialogs/text_limit.h"

#include <gtest/gtest.h>

#include <string>

namespace pw::test {
namespace {

TEST(CutToLimitTest, KeepsWhatFitsAndCutsWhatCameLast) {
  const std::u16string pair = u"\U0001F600";  // one character, two units
  const struct {
    const char* name;
    std::u16string text;
    std::size_t cursor, max;
    std::u16string kept;  // the text after the cut
  } cases[] = {
      {"fits", u"abc", 3, 3, u"abc"},
      {"pasted in the middle", u"abXYZc", 5, 4, u"abXc"},
      {"cursor at the start cuts the end", u"abcde", 0, 3, u"abc"},
      {"a pair at the cut's start goes whole", u"a" + pair + u"b", 3, 3, u"ab"},
      {"a pair at the cut's end goes whole", u"x" + pair, 2, 2, u"x"},
      {"cursor past the end", u"abcd", 99, 3, u"abc"},
  };
  for (const auto& c : cases) {
    const TextCut cut = CutToLimit(c.text, c.cursor, c.max);
    std::u16string kept = c.text;
    kept.erase(cut.from, cut.count);
    EXPECT_EQ(kept, c.kept) << c.name;
  }
}

}  // namespace
}  // namespace pw::test
