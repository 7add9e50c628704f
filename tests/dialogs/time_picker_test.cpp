#include "dialogs/time_picker.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/error_codes.h"
#include "support/scripted_host.h"
#include "text/time_text.h"

namespace pw::test {
namespace {

auto Fields(const RecordTime& t) { return std::tuple(t.hour, t.minute, t.pm); }

// Presses a picker's buttons in turn from a starting time.
TEST(PickerPressTest, StoresWhatTheButtonMeansAndTitlesIt) {
  const struct {
    bool twentyFourHour;
    int which;
    RecordTime before;
    std::vector<int> ids;
    RecordTime after;
    std::u16string title;
  } cases[] = {
      {false, PWH_START_TIME, {}, {1025, 1043, IDC_PICK_PM}, {0, 30, true}, u"Start Time: 12:30 PM"},
      {false, PWH_END_TIME, {5, 10, true}, {1028}, {3, 10, true}, u"End Time: 03:10 PM"},  // the hour keeps PM
      {false, PWH_START_TIME, {7, 0, true}, {IDC_PICK_AM}, {7, 0, false}, u"Start Time: 07:00 AM"},
      {true, PWH_END_TIME, {}, {1052, 1046}, {3, 45, true}, u"End Time: 15:45"},
      {true, PWH_START_TIME, {4, 0, true}, {1025}, {0, 0, false}, u"Start Time: 00:00"},  // midnight
      {true, PWH_START_TIME, {}, {1049}, {0, 0, true}, u"Start Time: 12:00"},             // noon
      {false, PWH_START_TIME, {}, {1036, 1048}, {11, 55, false}, u"Start Time: 11:55 AM"},  // the last buttons
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.title.begin(), c.title.end()));
    RecordTime t = c.before;
    for (int id : c.ids) EXPECT_TRUE(PressPickerButton(id, c.twentyFourHour, &t)) << id;
    EXPECT_EQ(Fields(t), Fields(c.after));
    EXPECT_EQ(PickerTitle(c.which, t, c.twentyFourHour), c.title);
  }
  // Twelve o'clock reads 12 on the 12-hour title in its other stored forms too.
  EXPECT_EQ(PickerTitle(PWH_START_TIME, {0, 5, false}, false), u"Start Time: 12:05 AM");
  EXPECT_EQ(PickerTitle(PWH_START_TIME, {12, 5, false}, false), u"Start Time: 12:05 PM");
  // The buttons of the other clock mean nothing.
  RecordTime t{4, 20, false};
  EXPECT_FALSE(PressPickerButton(IDC_PICK_PM, true, &t));
  EXPECT_FALSE(PressPickerButton(1050, false, &t));
  EXPECT_EQ(Fields(t), std::tuple(4, 20, false));
  const SYSTEMTIME noon = TimeBoxValue({0, 5, true});
  EXPECT_EQ(std::tuple(noon.wHour, noon.wYear, noon.wSecond), std::tuple(12, 2000, 5));
}

// Reads the box's text, or warns and keeps the time.
TEST(TimeBoxTextTest, ReadsTheBoxOrWarnsAndKeepsTheTime) {
  const struct {
    std::u16string text;
    bool twentyFourHour, read;
    RecordTime time;  // the time after reading; {1, 2, true} is the unchanged start
    std::u16string warning = {};  // how the warning ends
  } cases[] = {
      {u" 09:07 AM", false, true, {9, 7, false}},
      {u" 15:45", true, true, {3, 45, true}},
      {u" 09:07", false, false, {1, 2, true},
       u"Warning: Windows CE time box initialization failed: locale: [locale_american], time: [ 09:07], code: [87]."},
      {u"xx", true, false, {1, 2, true}, u"locale: [locale_european], time: [xx], code: code: [87]."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    ScriptedHost host;
    SetLastError(87);
    RecordTime t{1, 2, true};
    EXPECT_EQ(ReadTimeBoxText(nullptr, c.text, c.twentyFourHour, &t), c.read);
    EXPECT_EQ(Fields(t), Fields(c.time));
    ASSERT_EQ(host.messages.size(), c.read ? 0u : 1u);
    if (c.read) continue;
    EXPECT_TRUE(host.messages[0].text.ends_with(c.warning));
    EXPECT_EQ(host.messages[0].title, u"PWH Warning");
  }
}

}  // namespace
}  // namespace pw::test
