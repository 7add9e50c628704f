#include "transfer/delimited_format.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"

namespace pw::test {
namespace {

TEST(DelimitedFormatTest, SettingIsNamedOrCutToOneCharacter) {
  const std::u16string cases[][3] = {  // typed, setting, shown
      {u"{tab}", u"\t", u"{tab}"}, {u"{newline}", u"\n", u"{newline}"}, {u"|x", u"|", u"|"},
      {u"{newline}x", u"{", u"{"}, {u"", u"", u""},   {u"\U0001F600x", u"\U0001F600", u"\U0001F600"}};
  for (const auto& [typed, setting, shown] : cases) {
    const FormatSettingText read = ReadFormatSetting(typed);
    EXPECT_EQ(read.setting + u"|" + read.shown, setting + u"|" + shown) << WideToUtf8(typed);
  }
}

TEST(DelimitedFormatTest, PreviewShowsTwoSampleRecordsInTheFraming) {
  EXPECT_EQ(FormatPreview({}), u"\"04/12/1999\",\"bank\", (...) \n\"04/13/1999\",\"shop\", (...) \n");
  EXPECT_EQ(FormatPreview({u"", u"\t", u"#"}), u"04/12/1999\tbank\t (...) #04/13/1999\tshop\t (...) #");
}

// The format dialog's tests show the two refusals in full.
TEST(DelimitedFormatTest, RefusesOnlyFramingThatCannotSeparate) {
  EXPECT_EQ(FormatRefusal({u"", u",", u"\n"}), u"");
  EXPECT_EQ(FormatRefusal({u"'", u"", u"\n"}), u"");
  EXPECT_TRUE(FormatRefusal({u"", u"", u""}).starts_with(u"You have to specify a non-empty field qualifier"));
}

}  // namespace
}  // namespace pw::test
