#include "dialogs/gui/time_entry.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDateEdit>
#include <QTimeEdit>
#include <QToolButton>

#include <tuple>

#include "dialogs/gui/entry_fixture.h"
#include "dialogs/gui/time_picker.h"
#include "dialogs/time_picker.h"
#include "text/time_text.h"
#include "shell/gui/modal_poller.h"

namespace pw::test {
namespace {

class TimeEntryTest : public EntryDialogTest {
 protected:
  // A billable morning's work on the last day of February.
  static TimeRecord Stored() {
    TimeRecord r;
    CopyText(r.date, u"02/29/2024"), CopyText(r.client, u"Acme"), CopyText(r.rate, u"30");
    r.startHour = 9, r.endHour = 10, r.endMinute = 30;
    r.billable = 1, r.billed = 1;
    return r;
  }
  void Open(int mode) { Show(CreateTimeEntryDialog(nullptr, record, mode, context)); }
  QPushButton* Button(int id) { return Get<QPushButton>(id); }
  QCheckBox* Check(int id) { return Get<QCheckBox>(id); }
  QString Date() { return Get<QDateEdit>(IDC_ENTRY_DATE)->text(); }
  // Chooses in the duration entry dialog that the next click opens, and
  // ends it with Enter or Escape.
  static void WhenDurationEntryOpens(int hours, int minutes, bool ok = true) {
    WhenModalAppears<QDialog>([=](QDialog* d) {
      Control<QComboBox>(d, IDC_DURATION_HOURS)->setCurrentIndex(hours);
      Control<QComboBox>(d, IDC_DURATION_MINUTES)->setCurrentIndex(minutes);
      QTest::keyClick(d, ok ? Qt::Key_Return : Qt::Key_Escape);
    });
  }

  TimeRecord record = Stored();
};

// What a mode shows on opening (each of its switches both ways), where the
// focus is, and what Escape leaves.
TEST_F(TimeEntryTest, EachModeFillsTheControlsAndEscapeCancels) {
  const struct {
    int mode;
    QString date, client, start;
  } modes[] = {
      {PWH_TIME_ENTRY_NEW, "03/14/2024", "", "00:00"},
      {PWH_TIME_ENTRY_EDIT, "02/29/2024", "Acme", "09:00 AM"},
      {PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT, "03/14/2024", "Acme", "10:30 AM"},
  };
  for (const auto& c : modes) {
    SCOPED_TRACE(c.mode);
    record = Stored();
    Open(c.mode);
    EXPECT_EQ(std::tuple(Date(), Text(IDC_ENTRY_CLIENT), Button(IDC_ENTRY_START)->text()),
              std::tuple(c.date, c.client, c.start));
    EXPECT_EQ(Check(IDC_ENTRY_BILLED)->isChecked(), !c.client.isEmpty());
    // Focus is on the client box while it is empty, else on the date.
    EXPECT_EQ(dialog->focusWidget() == Box(IDC_ENTRY_CLIENT), c.client.isEmpty());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL);
    EXPECT_EQ(TextOf(record.client), c.client.toStdU16String());
  }
}

// Start Timer's form: no end and no hours yet, so nothing is worked out from
// them; the default's rate and amount stay as they are.
TEST_F(TimeEntryTest, TheTimerFormHasNoEndYet) {
  Open(PWH_TIME_ENTRY_TIMER_FROM_DEFAULT);
  EXPECT_EQ(dialog->windowTitle(), "Start Timer");
  EXPECT_EQ(Button(IDC_ENTRY_START)->text(), "10:30 AM");
  for (int id : {IDC_ENTRY_END, IDC_ENTRY_DURATION, IDC_ENTRY_SUBTRACT_BREAK})
    EXPECT_FALSE(Button(id)->isEnabled()) << id;
  EXPECT_EQ(Button(IDC_ENTRY_END)->text(), "--:--");
  EXPECT_EQ(Button(IDC_ENTRY_DURATION)->text(), "--:--");
  EXPECT_EQ(Text(IDC_ENTRY_RATE), QString::fromStdU16String(std::u16string(TextOf(Stored().rate))));
  EXPECT_EQ(Text(IDC_ENTRY_AMOUNT), QString::fromStdU16String(std::u16string(TextOf(Stored().amount))));
  QTest::keyClick(dialog.get(), Qt::Key_Return);
  EXPECT_EQ(dialog->result(), IDOK);
  EXPECT_EQ(TextOf(record.duration), PWH_NO_DURATION);
}

// The duration button and "subtract break" both go through the duration
// entry dialog (Escape there changes nothing); without a duration "subtract
// break" only says so.
TEST_F(TimeEntryTest, DurationButtonsRunTheDurationEntry) {
  Open(PWH_TIME_ENTRY_EDIT);
  WhenDurationEntryOpens(2, 3);
  Button(IDC_ENTRY_DURATION)->click();
  EXPECT_EQ(TextOf(record.duration), u"02:15");
  EXPECT_EQ(Text(IDC_ENTRY_AMOUNT), "67.50");
  WhenDurationEntryOpens(0, 9);
  Button(IDC_ENTRY_SUBTRACT_BREAK)->click();
  EXPECT_EQ(TextOf(record.duration), u"01:30");
  WhenDurationEntryOpens(5, 0, false);
  Button(IDC_ENTRY_DURATION)->click();
  EXPECT_EQ(TextOf(record.duration), u"01:30");
  EXPECT_TRUE(host.messages.empty());

  record = TimeRecord{};
  CopyText(record.date, u"03/14/2024");
  Open(PWH_TIME_ENTRY_EDIT);
  Button(IDC_ENTRY_SUBTRACT_BREAK)->click();
  EXPECT_EQ(host.messages.size(), 1u);
}

// Typing a rate sets the amount; unchecking "billable" empties and disables
// the rate, amount and currency boxes and "billed".
TEST_F(TimeEntryTest, BillableBoxesFollowTypingAndTheirSwitch) {
  Open(PWH_TIME_ENTRY_EDIT);
  Type(IDC_ENTRY_RATE, "40");
  EXPECT_EQ(Text(IDC_ENTRY_AMOUNT), "60.00");
  Check(IDC_ENTRY_BILLABLE)->click();
  for (int id : {IDC_ENTRY_RATE, IDC_ENTRY_AMOUNT, IDC_ENTRY_CURRENCY})
    EXPECT_TRUE(Text(id).isEmpty() && !Box(id)->isEnabled()) << id;
  EXPECT_FALSE(Check(IDC_ENTRY_BILLED)->isChecked() || Check(IDC_ENTRY_BILLED)->isEnabled());
  Check(IDC_ENTRY_BILLABLE)->click();
  EXPECT_TRUE(Box(IDC_ENTRY_RATE)->isEnabled() && Check(IDC_ENTRY_BILLED)->isEnabled());
  // A screen reader's toggle is no click, and acts the same; it names the boxes by their labels.
  QAccessibleActionInterface* billable = QAccessible::queryAccessibleInterface(Check(IDC_ENTRY_BILLABLE))->actionInterface();
  billable->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_FALSE(Box(IDC_ENTRY_RATE)->isEnabled());
  billable->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(Box(IDC_ENTRY_AMOUNT)->isEnabled() && Box(IDC_ENTRY_CURRENCY)->isEnabled());
  Type(IDC_ENTRY_RATE, "22.50");
  for (QWidget* w : {static_cast<QWidget*>(Box(IDC_ENTRY_RATE)), static_cast<QWidget*>(Box(IDC_ENTRY_RATE)->lineEdit())})
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name), "Rate");
}

// Under a comma-decimal locale a comma typed into the rate is a decimal point.
TEST_F(TimeEntryTest, ACommaTypedIntoANumberIsADecimalPoint) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  Open(PWH_TIME_ENTRY_EDIT);
  Type(IDC_ENTRY_RATE, "40,5");
  Type(IDC_ENTRY_TASK, "a,b");
  QLocale::setDefault(before);
  EXPECT_EQ(std::tuple(Text(IDC_ENTRY_RATE), Text(IDC_ENTRY_AMOUNT), Text(IDC_ENTRY_TASK)),
            std::tuple("40.5", "60.75", "a,b"));
}

// Enter is OK: it offers the new values and takes the typed texts and the
// chosen date (shown day first, stored American).
TEST_F(TimeEntryTest, EnterOffersNewValuesAndTakesTheFields) {
  settings.UseEuropeanDateFormat = 1;
  Open(PWH_TIME_ENTRY_EDIT);
  EXPECT_EQ(Date(), "29.02.2024");
  Get<QDateEdit>(IDC_ENTRY_DATE)->setDate(QDate(2024, 12, 31));
  Type(IDC_ENTRY_TASK, "Design");
  QTest::keyClick(Box(IDC_ENTRY_CLIENT)->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(dialog->result(), IDOK);
  EXPECT_EQ(host.messages.size(), 3u) << "client, rate and task are not listed yet";
  EXPECT_EQ(std::tuple(TextOf(record.task), TextOf(record.date)), std::tuple(u"Design", u"12/31/2024"));
}

class TimePickerTest : public EntryDialogTest {
 protected:
  void Open(int which, bool editForm, bool twentyFourHour) {
    Show(CreateTimePicker(nullptr, record, which, editForm, twentyFourHour));
  }
  QToolButton* Button(int id) { return Get<QToolButton>(id); }
  QTimeEdit* TimeBox() { return Get<QTimeEdit>(IDC_PICK_TIME_BOX); }

  TimeRecord record;
};

// One button per group stays pressed; the box follows the buttons, and a
// time typed into the box releases them.
TEST_F(TimePickerTest, ButtonsAndTheBoxFollowEachOther) {
  Open(PWH_START_TIME, true, false);
  for (int id : {1028, 1030, 1043, int(IDC_PICK_PM), 1030}) Button(id)->click();  // 1030 again keeps it in
  EXPECT_FALSE(Button(1028)->isChecked());
  EXPECT_TRUE(Button(1030)->isChecked() && Button(1043)->isChecked() && Button(IDC_PICK_PM)->isChecked());
  EXPECT_EQ(TimeBox()->text(), " 05:30 PM");
  EXPECT_EQ(Button(IDC_PICK_PM)->font().weight(), QFont::Bold);

  TimeBox()->setFocus();
  TimeBox()->setSelectedSection(QDateTimeEdit::MinuteSection);
  QTest::keyClicks(TimeBox(), "20");
  EXPECT_FALSE(Button(1030)->isChecked());
  EXPECT_EQ(std::tuple(record.startHour, record.startMinute, bool(record.startPm)), std::tuple(5, 20, true));
}

// The 12-hour box takes times as people type them: a or p in either case, "m" or not.
TEST_F(TimePickerTest, TypedAOrPChoosesAmOrPm) {
  for (const auto& [typed, hour, pm] : {std::tuple("0530p", 5, true), std::tuple("5:30 pm", 5, true),
                                       std::tuple("0530A", 5, false), std::tuple("1145PM", 11, true)}) {
    SCOPED_TRACE(typed);
    record.startHour = 9, record.startMinute = 0, record.startPm = !pm;
    Open(PWH_START_TIME, true, false);
    TimeBox()->setFocus();
    TimeBox()->setSelectedSection(QDateTimeEdit::HourSection);
    QTest::keyClicks(TimeBox(), typed);
    EXPECT_EQ(std::tuple(record.startHour, record.startMinute, bool(record.startPm)), std::tuple(hour, 30 + 15 * (hour == 11), pm));
  }
}

// The new form takes the present time as it opens, and Escape does not undo
// it; the editing form shows the record's time, here on the 24-hour clock.
TEST_F(TimePickerTest, EachFormOpensOnTheRightTime) {
  for (bool editForm : {false, true}) {
    SCOPED_TRACE(editForm);
    record.startHour = 3, record.startMinute = 45, record.startPm = true;
    Open(PWH_START_TIME, editForm, editForm);
    EXPECT_EQ(TimeBox()->text(), editForm ? " 15:45" : " 10:30 AM");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL);
    EXPECT_EQ(std::tuple(record.startHour, record.startMinute), editForm ? std::tuple(3, 45) : std::tuple(10, 30));
  }
}

}  // namespace
}  // namespace pw::test
