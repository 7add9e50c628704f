#include "transfer/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pw::test {
namespace {

struct TokenCase {
  const char* name;
  std::u16string line;
  std::u16string qualifier;
  std::u16string delimiter;
  int code;
  std::vector<std::u16string> fields;
};

class TokenizeTest : public ::testing::TestWithParam<TokenCase> {};

TEST_P(TokenizeTest, SplitsOrNamesTheFault) {
  const TokenCase& c = GetParam();
  std::vector<std::u16string_view> fields;
  EXPECT_EQ(TokenizeLine(c.line, c.qualifier, c.delimiter, &fields), c.code);
  if (c.code == PWH_PARSE_OK) {
    EXPECT_EQ(std::vector<std::u16string>(fields.begin(), fields.end()), c.fields);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TokenizeTest,
    ::testing::Values(
        TokenCase{"exported_line", u"\"a\",\"b\",", u"\"", u",", 0, {u"a", u"b"}},
        TokenCase{"no_trailing_delimiter", u"\"a\",\"b\"", u"\"", u",", 0, {u"a", u"b"}},
        TokenCase{"empty_fields_kept", u"\"\",\"\",", u"\"", u",", 0, {u"", u""}},
        TokenCase{"empty_line", u"", u"\"", u",", 0, {}},
        TokenCase{"delimiter_inside_qualifier", u"\"a,b\",\"c\nd\",", u"\"", u",", 0, {u"a,b", u"c\nd"}},
        TokenCase{"unqualified_field", u"a,\"b\",c", u"\"", u",", 0, {u"a", u"b", u"c"}},
        TokenCase{"bare_fields_no_qualifier", u"a,b,,c,", u"", u",", 0, {u"a", u"b", u"", u"c"}},
        TokenCase{"tab_delimiter", u"'x'\t'y'\t", u"'", u"\t", 0, {u"x", u"y"}},
        TokenCase{"no_delimiter", u"\"a\"\"b\"", u"\"", u"", 0, {u"a", u"b"}},
        TokenCase{"no_delimiter_bare_runs_to_qualifier", u"ab\"c\"", u"\"", u"", 0, {u"ab", u"c"}},
        TokenCase{"surrogate_qualifier", u"\U0001F600a\U0001F600;", u"\U0001F600", u";", 0, {u"a"}},
        TokenCase{"unclosed_qualifier", u"\"a\",\"b", u"\"", u",", PWH_PARSE_UNEXPECTED_END, {}},
        TokenCase{"text_after_qualifier", u"\"a\"x,\"b\"", u"\"", u",", PWH_PARSE_MISSING_DELIMITER, {}},
        TokenCase{"qualifier_inside_text", u"\"say \"hi\"\",", u"\"", u",", PWH_PARSE_MISSING_DELIMITER, {}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pw::test
