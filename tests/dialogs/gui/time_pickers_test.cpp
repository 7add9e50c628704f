#include "dialogs/gui/time_pickers.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/gui/entry_fixture.h"
#include "dialogs/time_picker.h"
#include "text/fixed_text.h"
#include "text/time_text.h"

namespace pw::test {
namespace {

class TimePickerTest : public EntryDialogTest {
 protected:
  std::unique_ptr<QDialog> Open(int which, bool editForm, bool twentyFourHour) {
    std::unique_ptr<QDialog> d(CreateTimePicker(nullptr, record, which, editForm, twentyFourHour));
    d->show();
    return d;
  }
  bool Pressed(QDialog* d, int id) { return Control<QToolButton>(d, id)->isChecked(); }
  QString BoxText(QDialog* d) { return Control<QTimeEdit>(d, IDC_PICK_TIME_BOX)->text(); }

  TimeRecord record;
};

// One button per group stays pressed; the box follows the buttons.
TEST_F(TimePickerTest, OneButtonPerGroupStaysPressedAndTheBoxFollows) {
  auto d = Open(PWH_START_TIME, true, false);
  for (int id : {1028, 1030, 1043, int(IDC_PICK_PM)}) Control<QToolButton>(d.get(), id)->click();
  EXPECT_FALSE(Pressed(d.get(), 1028));
  EXPECT_TRUE(Pressed(d.get(), 1030));
  EXPECT_TRUE(Pressed(d.get(), 1043));
  EXPECT_TRUE(Pressed(d.get(), IDC_PICK_PM));
  Control<QToolButton>(d.get(), 1030)->click();  // pressing it again keeps it in
  EXPECT_TRUE(Pressed(d.get(), 1030));
  EXPECT_EQ(d->windowTitle(), "Start Time: 05:30 PM");
  EXPECT_EQ(BoxText(d.get()), " 05:30 PM");
  EXPECT_EQ(record.startHour, 5);
  EXPECT_TRUE(record.startPm);
  EXPECT_EQ(Control<QToolButton>(d.get(), IDC_PICK_PM)->font().weight(), QFont::Bold);
}

TEST_F(TimePickerTest, BothHourRowsOfTheTwentyFourHourClockAreOneGroup) {
  auto d = Open(PWH_END_TIME, true, true);
  Control<QToolButton>(d.get(), 1027)->click();  // "02"
  Control<QToolButton>(d.get(), 1052)->click();  // "15"
  EXPECT_FALSE(Pressed(d.get(), 1027));
  EXPECT_TRUE(Pressed(d.get(), 1052));
  EXPECT_EQ(d->windowTitle(), "End Time: 15:00");
  EXPECT_EQ(BoxText(d.get()), " 15:00");
  EXPECT_EQ(d->findChild<QToolButton*>(QString::number(IDC_PICK_AM)), nullptr);
}

// Typing a time into the box releases the buttons and takes the time.
TEST_F(TimePickerTest, AChangedBoxWinsOverTheButtons) {
  auto d = Open(PWH_END_TIME, true, false);
  Control<QToolButton>(d.get(), 1030)->click();
  auto* box = Control<QTimeEdit>(d.get(), IDC_PICK_TIME_BOX);
  box->setFocus();
  box->setSelectedSection(QDateTimeEdit::MinuteSection);
  QTest::keyClicks(box, "20");
  EXPECT_FALSE(Pressed(d.get(), 1030));
  EXPECT_EQ(record.endHour, 5);
  EXPECT_EQ(record.endMinute, 20);
  EXPECT_EQ(d->windowTitle(), "End Time: 05:20 AM");
}

// The new form takes the present time into the record as it opens, and
// cancel does not undo it; the editing form shows the record's time.
struct FormCase {
  const char* name;
  bool editForm;
  bool twentyFourHour;
  QString box;
  QString title;
};

class PickerFormTest : public TimePickerTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(PickerFormTest, OpensOnTheRightTime) {
  SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 9, .wMinute = 7});
  record.startHour = 3, record.startMinute = 45, record.startPm = true;
  auto d = Open(PWH_START_TIME, GetParam().editForm, GetParam().twentyFourHour);
  QTest::keyClick(d.get(), Qt::Key_Escape);
  EXPECT_EQ(d->result(), IDCANCEL);
  EXPECT_EQ(BoxText(d.get()), GetParam().box);
  EXPECT_EQ(d->windowTitle(), GetParam().title);
  EXPECT_EQ(record.startHour, GetParam().editForm ? 3 : 9);
  EXPECT_EQ(record.startMinute, GetParam().editForm ? 45 : 7);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PickerFormTest,
    ::testing::Values(FormCase{"New12", false, false, " 09:07 AM", "Start Time: 09:07 AM"},
                      FormCase{"New24", false, true, " 09:07", "Start Time: 09:07"},
                      FormCase{"Edit12", true, false, " 03:45 PM", "Start Time: 03:45 PM"},
                      FormCase{"Edit24", true, true, " 15:45", "Start Time: 15:45"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TimePickerTest, ATimeTheBoxCannotShowIsReported) {
  record.startHour = 12, record.startPm = true;  // hour 24
  auto d = Open(PWH_START_TIME, true, false);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, u"Error");
  EXPECT_EQ(record.startHour, 12);
}

// Duration entry: the summary follows the lists; OK stores "%02d:%02d".
struct DurationCase {
  const char* name;
  int hours, minutes;  // list indexes chosen
  bool ok;
  QString summary;
  std::u16string duration;
};

class DurationEntryTest : public EntryDialogTest, public ::testing::WithParamInterface<DurationCase> {};

TEST_P(DurationEntryTest, StoresTheChosenDurationOnOk) {
  const DurationCase& c = GetParam();
  TimeRecord record;
  CopyText(record.duration, u"07:00");
  std::unique_ptr<QDialog> d(CreateDurationEntry(nullptr, record));
  d->show();
  EXPECT_EQ(d->windowTitle(), "Duration Entry");
  Control<QComboBox>(d.get(), IDC_DURATION_HOURS)->setCurrentIndex(c.hours);
  Control<QComboBox>(d.get(), IDC_DURATION_MINUTES)->setCurrentIndex(c.minutes);
  EXPECT_EQ(Control<QLabel>(d.get(), IDC_DURATION_SUMMARY)->text(), c.summary);
  QTest::keyClick(d.get(), c.ok ? Qt::Key_Return : Qt::Key_Escape);
  EXPECT_EQ(d->result(), c.ok ? IDOK : IDCANCEL);
  EXPECT_EQ(TextOf(record.duration), c.duration);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, DurationEntryTest,
    ::testing::Values(DurationCase{"HourAndFive", 1, 1, true, "1 hour, 5 minutes", u"01:05"},
                      DurationCase{"Unchanged", 0, 0, true, "0 hours, 0 minutes", u"00:00"},
                      DurationCase{"Longest", 23, 11, true, "23 hours, 55 minutes", u"23:55"},
                      DurationCase{"Cancelled", 2, 3, false, "2 hours, 15 minutes", u"07:00"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pw::test
