#include "dialogs/text_limit.h"

#include <gtest/gtest.h>

#include <string>

namespace pw::test {
namespace {

struct CutCase {
  const char* name;
  std::u16string text;
  std::size_t cursor;
  std::size_t max;
  std::u16string kept;  // the text after the cut
};

class CutToLimitTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutToLimitTest, KeepsWhatFitsAndCutsWhatCameLast) {
  const CutCase& c = GetParam();
  const TextCut cut = CutToLimit(c.text, c.cursor, c.max);
  std::u16string kept = c.text;
  kept.erase(cut.from, cut.count);
  EXPECT_EQ(kept, c.kept);
  EXPECT_LE(kept.size(), c.max);
}

const char16_t kPair[] = u"\U0001F600";  // one character, two units

INSTANTIATE_TEST_SUITE_P(
    Cases, CutToLimitTest,
    ::testing::Values(CutCase{"Fits", u"abc", 3, 3, u"abc"},
                      CutCase{"TypedAtTheEnd", u"abcd", 4, 3, u"abc"},
                      CutCase{"PastedInTheMiddle", u"abXYZc", 5, 4, u"abXc"},
                      CutCase{"CursorAtTheStartCutsTheEnd", u"abcde", 0, 3, u"abc"},
                      CutCase{"PairAtTheCutsStartGoesWhole", u"a" + std::u16string(kPair) + u"b", 3, 3, u"ab"},
                      CutCase{"PairAtTheCutsEndGoesWhole", u"x" + std::u16string(kPair), 2, 2, u"x"},
                      CutCase{"CursorPastTheEnd", u"abcd", 99, 3, u"abc"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pw::test
