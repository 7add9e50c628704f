#include "transfer/delimited_format.h"

#include <gtest/gtest.h>

namespace pw::test {
namespace {

struct SettingCase {
  const char* name;
  std::u16string typed;
  std::u16string setting;
  std::u16string shown;
};

class ReadFormatSettingTest : public ::testing::TestWithParam<SettingCase> {};

TEST_P(ReadFormatSettingTest, NamesAndCutsToOneCharacter) {
  const FormatSettingText read = ReadFormatSetting(GetParam().typed);
  EXPECT_EQ(read.setting, GetParam().setting);
  EXPECT_EQ(read.shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadFormatSettingTest,
    ::testing::Values(SettingCase{"tab", u"{tab}", u"\t", u"{tab}"},
                      SettingCase{"newline", u"{newline}", u"\n", u"{newline}"},
                      SettingCase{"one_character", u";", u";", u";"},
                      SettingCase{"longer_text_is_cut", u"|x", u"|", u"|"},
                      SettingCase{"newline_typed_over", u"{newline}x", u"{", u"{"},
                      SettingCase{"empty", u"", u"", u""},
                      SettingCase{"emoji_stays_whole", u"\U0001F600x", u"\U0001F600", u"\U0001F600"}),
    [](const auto& info) { return info.param.name; });

TEST(FormatPreviewTest, ShowsTwoSampleRecordsInTheFraming) {
  EXPECT_EQ(FormatPreview({}),
            u"\"04/12/1999\",\"bank\", (...) \n\"04/13/1999\",\"shop\", (...) \n");
  EXPECT_EQ(FormatPreview({u"", u"\t", u"#"}),
            u"04/12/1999\tbank\t (...) #04/13/1999\tshop\t (...) #");
}

struct RefusalCase {
  const char* name;
  DelimitedFormat format;
  std::u16string_view startsWith;
};

class FormatRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FormatRefusalTest, RefusesOnlyFramingThatCannotSeparate) {
  EXPECT_TRUE(FormatRefusal(GetParam().format).starts_with(GetParam().startsWith));
  EXPECT_EQ(FormatRefusal(GetParam().format).empty(), GetParam().startsWith.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Framings, FormatRefusalTest,
    ::testing::Values(
        RefusalCase{"defaults", {}, u""},
        RefusalCase{"no_qualifier", {u"", u",", u"\n"}, u""},
        RefusalCase{"no_field_delimiter", {u"'", u"", u"\n"}, u""},
        // The format dialog's tests show the two refusals in full.
        RefusalCase{"neither_nor_record", {u"", u"", u""}, u"You have to specify a non-empty field qualifier"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pw::test
