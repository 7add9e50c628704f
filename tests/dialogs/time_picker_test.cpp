#include "dialogs/time_picker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_host.h"
#include "text/time_text.h"

namespace pw::test {
namespace {

// Presses a picker's buttons in turn from a starting time.
struct PressCase {
  const char* name;
  bool twentyFourHour;
  int which;
  RecordTime before;
  std::vector<int> ids;
  RecordTime after;
  std::u16string title;
};

class PickerPressTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(PickerPressTest, StoresWhatTheButtonMeansAndTitlesIt) {
  const PressCase& c = GetParam();
  RecordTime t = c.before;
  for (int id : c.ids) EXPECT_TRUE(PressPickerButton(id, c.twentyFourHour, &t)) << id;
  EXPECT_EQ(t.hour, c.after.hour);
  EXPECT_EQ(t.minute, c.after.minute);
  EXPECT_EQ(t.pm, c.after.pm);
  EXPECT_EQ(PickerTitle(c.which, t, c.twentyFourHour), c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, PickerPressTest,
    ::testing::Values(
        PressCase{"TwelveThirtyPm", false, PWH_START_TIME, {}, {1025, 1043, IDC_PICK_PM}, {0, 30, true},
                  u"Start Time: 12:30 PM"},
        PressCase{"HourKeepsThePmFlag", false, PWH_END_TIME, {5, 10, true}, {1028}, {3, 10, true},
                  u"End Time: 03:10 PM"},
        PressCase{"AmKeepsTheHour", false, PWH_START_TIME, {7, 0, true}, {IDC_PICK_AM}, {7, 0, false},
                  u"Start Time: 07:00 AM"},
        PressCase{"FifteenFortyFive", true, PWH_END_TIME, {}, {1052, 1046}, {3, 45, true}, u"End Time: 15:45"},
        PressCase{"ZeroIsMidnight", true, PWH_START_TIME, {4, 0, true}, {1025}, {0, 0, false},
                  u"Start Time: 00:00"},
        PressCase{"TwelveIsNoon", true, PWH_START_TIME, {}, {1049}, {0, 0, true}, u"Start Time: 12:00"},
        PressCase{"LastButtons", false, PWH_START_TIME, {}, {1036, 1048}, {11, 55, false},
                  u"Start Time: 11:55 AM"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PickerButtonsTest, EachClockHasItsOwnButtons) {
  // An id that belongs to the other clock changes nothing.
  RecordTime t{4, 20, false};
  EXPECT_FALSE(PressPickerButton(IDC_PICK_PM, true, &t));
  EXPECT_FALSE(PressPickerButton(1050, false, &t));
  EXPECT_EQ(t.hour, 4);
  EXPECT_FALSE(t.pm);

  const auto& twelve = PickerButtons(false);
  const auto& twentyFour = PickerButtons(true);
  ASSERT_EQ(twelve.size(), 26u);
  ASSERT_EQ(twentyFour.size(), 36u);
  EXPECT_EQ(twelve.front().label, u"12");
  EXPECT_EQ(twelve[1].label, u"01");
  EXPECT_EQ(twentyFour.front().label, u"00");
  EXPECT_EQ(twentyFour[23].label, u"23");
  EXPECT_EQ(twelve[23].label, u"55");
  for (const auto* buttons : {&twelve, &twentyFour}) {
    for (const PickerButton& b : *buttons) {
      RecordTime probe;
      EXPECT_TRUE(PressPickerButton(b.id, buttons == &twentyFour, &probe)) << b.id;
    }
  }
}

// Twelve o'clock reads 12 on the 12-hour title whichever way it is stored.
TEST(PickerTitleTest, TwelveOClockForms) {
  EXPECT_EQ(PickerTitle(PWH_START_TIME, {0, 5, false}, false), u"Start Time: 12:05 AM");
  EXPECT_EQ(PickerTitle(PWH_START_TIME, {12, 5, false}, false), u"Start Time: 12:05 PM");
  EXPECT_EQ(PickerTitle(PWH_END_TIME, {0, 5, true}, false), u"End Time: 12:05 PM");
  EXPECT_EQ(PickerTitle(PWH_END_TIME, {0, 5, true}, true), u"End Time: 12:05");
  const SYSTEMTIME noon = TimeBoxValue({0, 5, true});
  EXPECT_EQ(noon.wHour, 12);
  EXPECT_EQ(noon.wYear, 2000);
  EXPECT_EQ(noon.wSecond, 5);
}

struct BoxTextCase {
  const char* name;
  std::u16string text;
  bool twentyFourHour;
  bool read;
  RecordTime time;  // the time after reading; {1, 2, true} is the unchanged start
};

class TimeBoxTextTest : public ::testing::TestWithParam<BoxTextCase> {};

TEST_P(TimeBoxTextTest, ReadsTheBoxOrWarnsAndKeepsTheTime) {
  const BoxTextCase& c = GetParam();
  ScriptedHost host;
  RecordTime t{1, 2, true};
  EXPECT_EQ(ReadTimeBoxText(nullptr, c.text, c.twentyFourHour, &t), c.read);
  EXPECT_EQ(t.hour, c.time.hour);
  EXPECT_EQ(t.minute, c.time.minute);
  EXPECT_EQ(t.pm, c.time.pm);
  ASSERT_EQ(host.messages.size(), c.read ? 0u : 1u);
  if (!c.read) {
    EXPECT_EQ(host.messages[0].title, u"PWH Warning");
    EXPECT_NE(host.messages[0].text.find(u"time: [" + c.text + u"]"), std::u16string::npos);
    EXPECT_NE(host.messages[0].text.find(c.twentyFourHour ? u"locale_european" : u"locale_american"),
              std::u16string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TimeBoxTextTest,
    ::testing::Values(BoxTextCase{"Morning", u" 09:07 AM", false, true, {9, 7, false}},
                      BoxTextCase{"Noon", u" 12:30 PM", false, true, {0, 30, true}},
                      BoxTextCase{"Midnight", u" 12:05 AM", false, true, {0, 5, false}},
                      BoxTextCase{"Afternoon24", u" 15:45", true, true, {3, 45, true}},
                      BoxTextCase{"Noon24", u" 12:00", true, true, {12, 0, false}},
                      BoxTextCase{"NoWord", u" 09:07", false, false, {1, 2, true}},
                      BoxTextCase{"Garbage24", u"xx", true, false, {1, 2, true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DurationEntryTextTest, ListsSummaryAndStoredText) {
  const auto& hours = DurationHourEntries();
  const auto& minutes = DurationMinuteEntries();
  EXPECT_EQ(hours[0], u"0 hours");
  EXPECT_EQ(hours[1], u"1 hour");
  EXPECT_EQ(hours[23], u"23 hours");
  EXPECT_EQ(minutes[0], u"0 minutes");
  EXPECT_EQ(minutes[11], u"55 minutes");
  EXPECT_EQ(DurationSummaryText(hours[1], minutes[1]), u"1 hour, 5 minutes");
  EXPECT_EQ(DurationEntryText(1, 1), u"01:05");
  EXPECT_EQ(DurationEntryText(23, 11), u"23:55");
  EXPECT_EQ(DurationEntryText(0, 0), u"00:00");
}

}  // namespace
}  // namespace pw::test
