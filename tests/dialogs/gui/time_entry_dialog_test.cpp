#include "dialogs/gui/time_entry_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "dialogs/gui/entry_fixture.h"
#include "dialogs/time_picker.h"
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
  // A record of the day with only a duration, and billable at a rate when one is given.
  void OnlyADuration(const char16_t* duration, const char16_t* rate = u"") {
    record = TimeRecord{};
    CopyText(record.date, u"03/14/2024"), CopyText(record.duration, duration), CopyText(record.rate, rate);
    record.billable = *rate != u'\0';
  }
  void Open(int mode) { Show(CreateTimeEntryDialog(nullptr, record, mode)); }
  QPushButton* Button(int id) { return Get<QPushButton>(id); }
  QCheckBox* Check(int id) { return Get<QCheckBox>(id); }
  QString Date() { return Get<QDateEdit>(IDC_ENTRY_DATE)->text(); }
  // Acts on the duration entry dialog that the next click opens.
  static void WhenDurationEntryOpens(int hours, int minutes, bool ok) {
    WhenModalAppears<QDialog>([=](QDialog* d) {
      d->findChild<QComboBox*>(QString::number(IDC_DURATION_HOURS))->setCurrentIndex(hours);
      d->findChild<QComboBox*>(QString::number(IDC_DURATION_MINUTES))->setCurrentIndex(minutes);
      ok ? d->accept() : d->reject();
    });
  }

  TimeRecord record = Stored();
};

// What each mode shows on opening and what its cancel leaves.
TEST_F(TimeEntryTest, EachModeFillsTheControlsAndCancels) {
  const struct {
    int mode;
    QString date, client, start, duration;
    bool rateEnabled, keptOnCancel;
  } modes[] = {
      {1, "03/14/2024", "", "00:00", "--:--", false, false},
      {2, "02/29/2024", "Acme", "09:00 AM", "1 hrs, 30 mins (1.50)", true, true},
      {3, "03/14/2024", "Acme", "09:00 AM", "1 hrs, 30 mins (1.50)", true, true},
      {4, "03/14/2024", "", "10:30 AM", "--:--", false, false},
      {5, "03/14/2024", "Acme", "10:30 AM", "--:--", true, true},
  };
  for (const auto& c : modes) {
    SCOPED_TRACE(c.mode);
    record = Stored();
    Open(c.mode);
    EXPECT_EQ(dialog->windowTitle(), "Pennywhistle Entry");
    EXPECT_EQ(std::tuple(Date(), Text(IDC_ENTRY_CLIENT)), std::tuple(c.date, c.client));
    EXPECT_EQ(std::tuple(Button(IDC_ENTRY_START)->text(), Button(IDC_ENTRY_DURATION)->text()),
              std::tuple(c.start, c.duration));
    EXPECT_EQ(Box(IDC_ENTRY_RATE)->isEnabled(), c.rateEnabled);
    EXPECT_EQ(Check(IDC_ENTRY_BILLED)->isChecked(), c.rateEnabled);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL);
    EXPECT_EQ(TextOf(record.client), c.keptOnCancel ? u"Acme" : u"");
  }
}

// Typing into the rate or amount box sets the other one from the duration.
TEST_F(TimeEntryTest, TypingARateOrAnAmountSetsTheOther) {
  const struct {
    const char16_t* duration;
    int box;
    QString typed, amount, rate;
  } cases[] = {{u"01:30", IDC_ENTRY_RATE, "30", "45.00", "30"},
               {u"01:30", IDC_ENTRY_AMOUNT, "60", "60", "40.00"},
               {u"--:--", IDC_ENTRY_AMOUNT, "60", "60", "30"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    OnlyADuration(c.duration, u"30");
    Open(PWH_TIME_ENTRY_EDIT);
    Type(c.box, c.typed);
    EXPECT_EQ(std::tuple(Text(IDC_ENTRY_AMOUNT), Text(IDC_ENTRY_RATE)), std::tuple(c.amount, c.rate));
  }
}

// "subtract break" through the duration entry dialog leaves the rest of the duration.
TEST_F(TimeEntryTest, SubtractBreakLeavesTheRest) {
  const struct {
    const char16_t* duration;
    int hours, minutes;
    bool ok;
    std::u16string after;
  } cases[] = {{u"08:30", 0, 9, true, u"07:45"},   // lunch
               {u"00:30", 1, 0, true, u"00:00"},   // longer than the day
               {u"08:30", 0, 9, false, u"08:30"},  // cancelled
               {u"", 0, 0, true, u""}};            // no duration yet: a message, no dialog
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.after.begin(), c.after.end()));
    host.messages.clear();
    OnlyADuration(c.duration);
    Open(PWH_TIME_ENTRY_EDIT);
    const bool asks = *c.duration != u'\0';
    if (asks) WhenDurationEntryOpens(c.hours, c.minutes, c.ok);
    Button(IDC_ENTRY_SUBTRACT_BREAK)->click();
    EXPECT_EQ(TextOf(record.duration), c.after);
    ASSERT_EQ(host.messages.size(), asks ? 0u : 1u);
    if (!asks) {
      EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].title),
                std::tuple(u"You do not have valid duration defined yet.\n\nPlease enter record's duration "
                           u"before attempting to substract lunch time from it.",
                           u"Pennywhistle"));
    }
  }
}

TEST_F(TimeEntryTest, ChoosingADurationClearsBothTimes) {
  config_->UseEuropeanTimeFormat = 0;
  Open(PWH_TIME_ENTRY_EDIT);
  WhenDurationEntryOpens(2, 3, true);
  Button(IDC_ENTRY_DURATION)->click();
  EXPECT_EQ(TextOf(record.duration), u"02:15");
  EXPECT_EQ(record.startHour + record.endHour + record.endMinute, 0);
  EXPECT_EQ(Button(IDC_ENTRY_DURATION)->text(), "2 hrs, 15 mins (2.25)");
  EXPECT_EQ(Button(IDC_ENTRY_START)->text(), Button(IDC_ENTRY_END)->text());
  EXPECT_EQ(Text(IDC_ENTRY_AMOUNT), "67.50");
}

TEST_F(TimeEntryTest, SubsequentInTheAfternoonRunsToMidnight) {
  SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 14, .wMinute = 5});
  record = TimeRecord{};
  Open(PWH_TIME_ENTRY_SUBSEQUENT);
  EXPECT_EQ(Button(IDC_ENTRY_START)->text(), "02:05 PM");
  EXPECT_EQ(Button(IDC_ENTRY_DURATION)->text(), "9 hrs, 55 mins (9.92)");
}

TEST_F(TimeEntryTest, UncheckingBillableEmptiesAndDisablesItsBoxes) {
  CopyText(record.amount, u"45.00"), CopyText(record.currency, u"EUR");
  Open(PWH_TIME_ENTRY_EDIT);
  Check(IDC_ENTRY_BILLABLE)->click();
  for (int id : {IDC_ENTRY_RATE, IDC_ENTRY_AMOUNT, IDC_ENTRY_CURRENCY}) {
    EXPECT_EQ(Text(id), "") << id;
    EXPECT_FALSE(Box(id)->isEnabled()) << id;
  }
  EXPECT_FALSE(Check(IDC_ENTRY_BILLED)->isChecked() || Check(IDC_ENTRY_BILLED)->isEnabled());
  Check(IDC_ENTRY_BILLABLE)->click();
  EXPECT_TRUE(Box(IDC_ENTRY_RATE)->isEnabled() && Check(IDC_ENTRY_BILLED)->isEnabled());
}

// OK offers every value not yet listed, in a fixed order, and stores the
// record's texts, flags, date and duration.
TEST_F(TimeEntryTest, OkOffersNewValuesInOrderAndTakesTheFields) {
  AddValue(PWH_PULLDOWN_CLIENT, u"Acme");
  config_->confirmAddPulldownItem() = 1;
  record = TimeRecord{};
  Open(PWH_TIME_ENTRY_NEW);
  const std::pair<int, QString> typed[] = {
      {IDC_ENTRY_AMOUNT, "12"}, {IDC_ENTRY_TASK, "Design"}, {IDC_ENTRY_CLIENT, "acme"},
      {IDC_ENTRY_PROJECT, "Web"}, {IDC_ENTRY_SUBPROJECT, "Shop"}, {IDC_ENTRY_CURRENCY, "EUR"},
      {IDC_ENTRY_RATE, "30"}};
  Check(IDC_ENTRY_BILLABLE)->click();
  for (const auto& [id, text] : typed) Type(id, text);
  for (int i = 0; i < 7; ++i) host.Answer(i % 2 == 0 ? IDYES : IDNO);
  Button(IDOK)->click();
  EXPECT_EQ(dialog->result(), IDOK);
  std::vector<std::u16string> asked;
  for (const RecordedMessage& m : host.messages) asked.push_back(m.text);
  EXPECT_EQ(asked, (std::vector<std::u16string>{
                       u"Add client 'acme' to the pulldown list ?", u"Add project 'Web' to the pulldown list ?",
                       u"Add rate '30' to the pulldown list ?", u"Add subproject 'Shop' to the pulldown list ?",
                       u"Add task 'Design' to the pulldown list ?", u"Add currency code 'EUR' to the pulldown list ?",
                       u"Add amount '12' to the pulldown list ?"}));
  EXPECT_EQ(Values(PWH_PULLDOWN_CLIENT), (std::vector<std::u16string>{u"Acme", u"acme"}));
  EXPECT_TRUE(Values(PWH_PULLDOWN_PROJECT).empty());  // answered No
  EXPECT_EQ(std::tuple(TextOf(record.client), TextOf(record.task), TextOf(record.date)),
            std::tuple(u"acme", u"Design", u"03/14/2024"));
  EXPECT_EQ(std::tuple(record.billable, record.billed), std::tuple(1, 0));
}

TEST_F(TimeEntryTest, EuropeanDatesAreShownDayFirstAndStoredAmerican) {
  config_->UseEuropeanDateFormat = 1;
  Open(PWH_TIME_ENTRY_EDIT);
  EXPECT_EQ(Date(), "29.02.2024");
  Get<QDateEdit>(IDC_ENTRY_DATE)->setDate(QDate(2024, 12, 31));
  Button(IDOK)->click();
  EXPECT_EQ(TextOf(record.date), u"12/31/2024");
}

TEST_F(TimeEntryTest, AStoredDateThePickerRefusesFallsBackToToday) {
  CopyText(record.date, u"13/45/2024");
  Open(PWH_TIME_ENTRY_EDIT);
  EXPECT_EQ(Date(), "03/14/2024");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].title, host.messages[0].type),
            std::tuple(u"Warning: Windows CE date control init failed: code: [87].\n\nDefaulting to todays date.",
                       u"Error", MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(TimeEntryTest, FontsFieldLimitsAndFocus) {
  Open(PWH_TIME_ENTRY_NEW);
  for (int id : std::initializer_list<int>{IDC_ENTRY_NOTE, IDC_ENTRY_SUBTRACT_BREAK, IDC_ENTRY_START, IDC_ENTRY_END, IDCANCEL}) {
    EXPECT_EQ(Button(id)->font().weight(), QFont::Bold) << id;
  }
  EXPECT_TRUE(Button(IDC_ENTRY_DURATION)->font().italic());
  for (const TimeEntryPickList& list : TimeEntryPickLists) {
    EXPECT_EQ(Box(list.controlId)->lineEdit()->maxLength(), PWH_TEXT_LIMIT - 1) << list.controlId;
  }
  EXPECT_EQ(dialog->focusWidget(), Box(IDC_ENTRY_CLIENT));
}

}  // namespace
}  // namespace pw::test
