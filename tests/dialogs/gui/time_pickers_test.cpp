#include "dialogs/gui/time_pickers.h"

#include <QLabel>
#include <QTimeEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <tuple>

#include "dialogs/gui/entry_fixture.h"
#include "dialogs/time_picker.h"
#include "text/time_text.h"

namespace pw::test {
namespace {

class TimePickerTest : public EntryDialogTest {
 protected:
  void Open(int which, bool editForm, bool twentyFourHour) {
    Show(CreateTimePicker(nullptr, record, which, editForm, twentyFourHour));
  }
  QToolButton* Button(int id) { return Get<QToolButton>(id); }
  QString BoxText() { return Get<QTimeEdit>(IDC_PICK_TIME_BOX)->text(); }

  TimeRecord record;
};

// One button per group stays pressed; the box follows the buttons.
TEST_F(TimePickerTest, OneButtonPerGroupStaysPressedAndTheBoxFollows) {
  Open(PWH_START_TIME, true, false);
  for (int id : {1028, 1030, 1043, int(IDC_PICK_PM), 1030}) Button(id)->click();  // 1030 again keeps it in
  EXPECT_FALSE(Button(1028)->isChecked());
  EXPECT_TRUE(Button(1030)->isChecked() && Button(1043)->isChecked() && Button(IDC_PICK_PM)->isChecked());
  EXPECT_EQ(dialog->windowTitle(), "Start Time: 05:30 PM");
  EXPECT_EQ(BoxText(), " 05:30 PM");
  EXPECT_EQ(std::tuple(record.startHour, record.startPm), std::tuple(5, true));
  EXPECT_EQ(Button(IDC_PICK_PM)->font().weight(), QFont::Bold);
}

// Typing a time into the box releases the buttons and takes the time.
TEST_F(TimePickerTest, AChangedBoxWinsOverTheButtons) {
  Open(PWH_END_TIME, true, false);
  Button(1030)->click();
  auto* box = Get<QTimeEdit>(IDC_PICK_TIME_BOX);
  box->setFocus();
  box->setSelectedSection(QDateTimeEdit::MinuteSection);
  QTest::keyClicks(box, "20");
  EXPECT_FALSE(Button(1030)->isChecked());
  EXPECT_EQ(std::tuple(record.endHour, record.endMinute), std::tuple(5, 20));
  EXPECT_EQ(dialog->windowTitle(), "End Time: 05:20 AM");
}

// The new form takes the present time into the record as it opens, and
// cancel does not undo it; the editing form shows the record's time.
TEST_F(TimePickerTest, EachFormOpensOnTheRightTime) {
  const struct {
    bool editForm, twentyFourHour;
    QString box;
  } forms[] = {{false, false, " 09:07 AM"}, {false, true, " 09:07"}, {true, false, " 03:45 PM"}, {true, true, " 15:45"}};
  SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 9, .wMinute = 7});
  for (const auto& c : forms) {
    SCOPED_TRACE(c.box.toStdString());
    record.startHour = 3, record.startMinute = 45, record.startPm = true;
    Open(PWH_START_TIME, c.editForm, c.twentyFourHour);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL);
    EXPECT_EQ(BoxText(), c.box);
    EXPECT_EQ(dialog->windowTitle(), "Start Time:" + c.box);
    EXPECT_EQ(std::tuple(record.startHour, record.startMinute), c.editForm ? std::tuple(3, 45) : std::tuple(9, 7));
  }
}

TEST_F(TimePickerTest, ATimeTheBoxCannotShowIsReported) {
  record.startHour = 12, record.startPm = true;  // hour 24
  Open(PWH_START_TIME, true, false);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, u"Error");
  EXPECT_EQ(record.startHour, 12);
}

// Duration entry: the summary follows the lists; OK stores "%02d:%02d".
TEST_F(EntryDialogTest, DurationEntryStoresTheChosenDurationOnOk) {
  const struct {
    int hours, minutes;  // list indexes chosen
    bool ok;
    QString summary;
    std::u16string duration;
  } cases[] = {{1, 1, true, "1 hour, 5 minutes", u"01:05"},
               {0, 0, true, "0 hours, 0 minutes", u"00:00"},
               {23, 11, true, "23 hours, 55 minutes", u"23:55"},  // the longest
               {2, 3, false, "2 hours, 15 minutes", u"07:00"}};   // cancelled
  TimeRecord record;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.summary.toStdString());
    CopyText(record.duration, u"07:00");
    Show(CreateDurationEntry(nullptr, record));
    EXPECT_EQ(dialog->windowTitle(), "Duration Entry");
    Box(IDC_DURATION_HOURS)->setCurrentIndex(c.hours);
    Box(IDC_DURATION_MINUTES)->setCurrentIndex(c.minutes);
    EXPECT_EQ(Get<QLabel>(IDC_DURATION_SUMMARY)->text(), c.summary);
    QTest::keyClick(dialog.get(), c.ok ? Qt::Key_Return : Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), c.ok ? IDOK : IDCANCEL);
    EXPECT_EQ(TextOf(record.duration), c.duration);
  }
}

}  // namespace
}  // namespace pw::test
