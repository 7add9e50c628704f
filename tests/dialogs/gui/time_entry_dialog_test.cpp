#include "dialogs/gui/time_entry_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/gui/entry_fixture.h"
#include "dialogs/time_picker.h"
#include "shell/gui/modal_poller.h"
#include "text/fixed_text.h"

namespace pw::test {
namespace {

class TimeEntryTest : public EntryDialogTest {
 protected:
  void SetUp() override {
    EntryDialogTest::SetUp();
    SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 10, .wMinute = 30});
  }
  // A billable morning's work on the last day of February.
  static TimeRecord Stored() {
    TimeRecord r;
    CopyText(r.date, u"02/29/2024");
    CopyText(r.client, u"Acme");
    CopyText(r.rate, u"30");
    r.startHour = 9, r.endHour = 10, r.endMinute = 30;
    r.billable = 1, r.billed = 1;
    return r;
  }
  void Open(int mode) {
    dialog.reset(CreateTimeEntryDialog(nullptr, record, mode));
    dialog->show();
  }
  QComboBox* Box(int id) { return Control<QComboBox>(dialog.get(), id); }
  QPushButton* Button(int id) { return Control<QPushButton>(dialog.get(), id); }
  QCheckBox* Check(int id) { return Control<QCheckBox>(dialog.get(), id); }
  QString Text(int id) { return Box(id)->currentText(); }
  void Type(int id, const QString& text) {
    QLineEdit* edit = Box(id)->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  // Acts on the duration entry dialog that the next click opens.
  static void WhenDurationEntryOpens(int hours, int minutes, bool ok) {
    WhenModalAppears<QDialog>([=](QDialog* d) {
      d->findChild<QComboBox*>(QString::number(IDC_DURATION_HOURS))->setCurrentIndex(hours);
      d->findChild<QComboBox*>(QString::number(IDC_DURATION_MINUTES))->setCurrentIndex(minutes);
      ok ? d->accept() : d->reject();
    });
  }

  TimeRecord record = Stored();
  std::unique_ptr<QDialog> dialog;
};

// What each mode shows on opening and what its cancel leaves.
struct ModeCase {
  int mode;
  QString date, client, start, duration;
  bool rateEnabled;
  bool keptOnCancel;
};

class TimeEntryModeTest : public TimeEntryTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(TimeEntryModeTest, FillsTheControlsAndCancels) {
  const ModeCase& c = GetParam();
  Open(c.mode);
  EXPECT_EQ(dialog->windowTitle(), "Pennywhistle Entry");
  EXPECT_EQ(Control<QDateEdit>(dialog.get(), IDC_ENTRY_DATE)->text(), c.date);
  EXPECT_EQ(Text(IDC_ENTRY_CLIENT), c.client);
  EXPECT_EQ(Button(IDC_ENTRY_START)->text(), c.start);
  EXPECT_EQ(Button(IDC_ENTRY_DURATION)->text(), c.duration);
  EXPECT_EQ(Box(IDC_ENTRY_RATE)->isEnabled(), c.rateEnabled);
  EXPECT_EQ(Check(IDC_ENTRY_BILLED)->isChecked(), c.rateEnabled);
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(dialog->result(), IDCANCEL);
  EXPECT_EQ(TextOf(record.client), c.keptOnCancel ? u"Acme" : u"");
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TimeEntryModeTest,
    ::testing::Values(ModeCase{1, "03/14/2024", "", "00:00", "--:--", false, false},
                      ModeCase{2, "02/29/2024", "Acme", "09:00 AM", "1 hrs, 30 mins (1.50)", true, true},
                      ModeCase{3, "03/14/2024", "Acme", "09:00 AM", "1 hrs, 30 mins (1.50)", true, true},
                      ModeCase{4, "03/14/2024", "", "10:30 AM", "--:--", false, false},
                      ModeCase{5, "03/14/2024", "Acme", "10:30 AM", "--:--", true, true}),
    [](const auto& info) { return "Mode" + std::to_string(info.param.mode); });

// Typing into the rate or amount box sets the other one from the duration.
struct TypingCase {
  const char* name;
  const char16_t* duration;
  int box;
  QString typed;
  QString amount, rate;
};

class AmountRateTypingTest : public TimeEntryTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(AmountRateTypingTest, TheOtherBoxFollows) {
  const TypingCase& c = GetParam();
  record = TimeRecord{};
  CopyText(record.date, u"03/14/2024");
  CopyText(record.duration, c.duration);
  CopyText(record.rate, u"30");
  record.billable = 1;
  Open(PWH_TIME_ENTRY_EDIT);
  Type(c.box, c.typed);
  EXPECT_EQ(Text(IDC_ENTRY_AMOUNT), c.amount);
  EXPECT_EQ(Text(IDC_ENTRY_RATE), c.rate);
}

INSTANTIATE_TEST_SUITE_P(
    Typing, AmountRateTypingTest,
    ::testing::Values(TypingCase{"Rate", u"01:30", IDC_ENTRY_RATE, "30", "45.00", "30"},
                      TypingCase{"Amount", u"01:30", IDC_ENTRY_AMOUNT, "60", "60", "40.00"},
                      TypingCase{"NoDuration", u"--:--", IDC_ENTRY_AMOUNT, "60", "60", "30"},
                      TypingCase{"SinglePrecision", u"01:30", IDC_ENTRY_RATE, "33.33", "50.00", "33.33"}),
    [](const auto& info) { return std::string(info.param.name); });

// "subtract break" and the duration button, through the duration entry dialog.
struct BreakCase {
  const char* name;
  const char16_t* duration;
  int hours, minutes;
  bool ok;
  std::u16string after;
  int messages;
};

class SubtractBreakTest : public TimeEntryTest, public ::testing::WithParamInterface<BreakCase> {};

TEST_P(SubtractBreakTest, LeavesTheRest) {
  const BreakCase& c = GetParam();
  record = TimeRecord{};
  CopyText(record.date, u"03/14/2024");
  CopyText(record.duration, c.duration);
  Open(PWH_TIME_ENTRY_EDIT);
  if (c.messages == 0) WhenDurationEntryOpens(c.hours, c.minutes, c.ok);
  Button(IDC_ENTRY_SUBTRACT_BREAK)->click();
  EXPECT_EQ(TextOf(record.duration), c.after);
  ASSERT_EQ(host.messages.size(), std::size_t(c.messages));
  if (c.messages) {
    EXPECT_EQ(host.messages[0].title, u"Pennywhistle");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, SubtractBreakTest,
    ::testing::Values(BreakCase{"Lunch", u"08:30", 0, 9, true, u"07:45", 0},
                      BreakCase{"LongerThanTheDay", u"00:30", 1, 0, true, u"00:00", 0},
                      BreakCase{"Cancelled", u"08:30", 0, 9, false, u"08:30", 0},
                      BreakCase{"NoDurationYet", u"", 0, 0, true, u"", 1}),
    [](const auto& info) { return std::string(info.param.name); });

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
  CopyText(record.amount, u"45.00");
  CopyText(record.currency, u"EUR");
  Open(PWH_TIME_ENTRY_EDIT);
  Check(IDC_ENTRY_BILLABLE)->click();
  for (int id : {IDC_ENTRY_RATE, IDC_ENTRY_AMOUNT, IDC_ENTRY_CURRENCY}) {
    EXPECT_EQ(Text(id), "") << id;
    EXPECT_FALSE(Box(id)->isEnabled()) << id;
  }
  EXPECT_FALSE(Check(IDC_ENTRY_BILLED)->isChecked());
  EXPECT_FALSE(Check(IDC_ENTRY_BILLED)->isEnabled());
  Check(IDC_ENTRY_BILLABLE)->click();
  EXPECT_TRUE(Box(IDC_ENTRY_RATE)->isEnabled());
  EXPECT_TRUE(Check(IDC_ENTRY_BILLED)->isEnabled());
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
  const char16_t* asked[] = {u"client", u"project", u"rate", u"subproject", u"task", u"currency code", u"amount"};
  ASSERT_EQ(host.messages.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(host.messages[i].text.substr(0, 4 + std::u16string(asked[i]).size()), u"Add " + std::u16string(asked[i]));
  }
  EXPECT_EQ(host.messages[0].text, u"Add client 'acme' to the pulldown list ?");
  EXPECT_EQ(Values(PWH_PULLDOWN_CLIENT), (std::vector<std::u16string>{u"Acme", u"acme"}));
  EXPECT_TRUE(Values(PWH_PULLDOWN_PROJECT).empty());  // answered No
  EXPECT_EQ(TextOf(record.client), u"acme");
  EXPECT_EQ(TextOf(record.task), u"Design");
  EXPECT_EQ(TextOf(record.date), u"03/14/2024");
  EXPECT_EQ(record.billable, 1);
  EXPECT_EQ(record.billed, 0);
}

TEST_F(TimeEntryTest, WithoutTheQuestionNewValuesAreAddedSilently) {
  config_->confirmAddPulldownItem() = 0;
  Open(PWH_TIME_ENTRY_EDIT);
  Type(IDC_ENTRY_PROJECT, "Web");
  QTest::keyClick(Box(IDC_ENTRY_PROJECT)->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(dialog->result(), IDOK);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Values(PWH_PULLDOWN_PROJECT), std::vector<std::u16string>{u"Web"});
  EXPECT_EQ(Values(PWH_PULLDOWN_CLIENT), std::vector<std::u16string>{u"Acme"});
  EXPECT_EQ(TextOf(record.date), u"02/29/2024");
  EXPECT_EQ(TextOf(record.duration), u"01:30");
}

TEST_F(TimeEntryTest, EuropeanDatesAreShownDayFirstAndStoredAmerican) {
  config_->UseEuropeanDateFormat = 1;
  Open(PWH_TIME_ENTRY_EDIT);
  EXPECT_EQ(Control<QDateEdit>(dialog.get(), IDC_ENTRY_DATE)->text(), "29.02.2024");
  Control<QDateEdit>(dialog.get(), IDC_ENTRY_DATE)->setDate(QDate(2024, 12, 31));
  Button(IDOK)->click();
  EXPECT_EQ(TextOf(record.date), u"12/31/2024");
}

TEST_F(TimeEntryTest, AStoredDateThePickerRefusesFallsBackToToday) {
  CopyText(record.date, u"13/45/2024");
  Open(PWH_TIME_ENTRY_EDIT);
  EXPECT_EQ(Control<QDateEdit>(dialog.get(), IDC_ENTRY_DATE)->text(), "03/14/2024");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, u"Error");
  EXPECT_EQ(host.messages[0].text.substr(0, 45), u"Warning: Windows CE date control init failed:");
}

TEST_F(TimeEntryTest, FontsAndFieldLimits) {
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
