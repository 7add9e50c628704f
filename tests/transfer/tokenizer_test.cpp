#include "transfer/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_page.h"

namespace pw::test {
namespace {

TEST(TokenizeTest, SplitsOrNamesTheFault) {
  const struct {
    std::u16string line, qualifier, delimiter;
    int code;
    std::vector<std::u16string> fields;
  } cases[] = {
      {u"\"a\",\"b\"", u"\"", u",", 0, {u"a", u"b"}},
      {u"\"\",\"\",", u"\"", u",", 0, {u"", u""}},
      {u"a,\"b\",c", u"\"", u",", 0, {u"a", u"b", u"c"}},
      {u"a,b,,c,", u"", u",", 0, {u"a", u"b", u"", u"c"}},
      {u"\"a\"\"b\"", u"\"", u"", 0, {u"a", u"b"}},  // no delimiter: a bare field runs to a qualifier
      {u"ab\"c\"", u"\"", u"", 0, {u"ab", u"c"}},
      {u"\U0001F600a\U0001F600;", u"\U0001F600", u";", 0, {u"a"}},
      {u"\"a\"x,\"b\"", u"\"", u",", PWH_PARSE_MISSING_DELIMITER, {}},
      {u"a,\"b", u"\"", u",", PWH_PARSE_UNEXPECTED_END, {}},
      {std::u16string(u"\"a\0b\",c\0d,e", 11), u"\"", u",", 0, {u"a", u"c", u"e"}},  // cut at a NUL
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.line));
    std::vector<std::u16string_view> fields;
    EXPECT_EQ(TokenizeLine(c.line, c.qualifier, c.delimiter, &fields), c.code);
    if (c.code == PWH_PARSE_OK) {
      EXPECT_EQ(std::vector<std::u16string>(fields.begin(), fields.end()), c.fields);
    }
  }
}

}  // namespace
}  // namespace pw::test
