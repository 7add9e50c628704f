// The expense entry dialog on a fresh store: its three forms, the mileage
// computation, the flag pairs, what OK stores and offers for the pick-lists,
// and what cancel leaves.
#include "dialogs/gui/expense_entry_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <clocale>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "config/configuration.h"
#include "dialogs/gui/entry_fixture.h"
#include "platform/clock.h"
#include "platform/object_store.h"
#include "shell/globals.h"
#include "storage/pulldowns.h"
#include "storage/record_store.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"

namespace pw::test {
namespace {

class ExpenseEntryDialogTest : public EntryDialogTest {
 protected:
  void SetUp() override {
    EntryDialogTest::SetUp();
    SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 10, .wMinute = 30});
    ClearRecord(WorkingExpenseRecord);
  }
  void TearDown() override {
    dialog_.reset();
    ClearRecord(WorkingExpenseRecord);
    EntryDialogTest::TearDown();
  }

  QDialog* Open(int form) {
    dialog_.reset(CreateExpenseEntryDialog(nullptr, form));
    dialog_->show();
    return dialog_.get();
  }
  template <class W>
  W* Control(int id) {
    return EntryDialogTest::Control<W>(dialog_.get(), id);
  }
  QComboBox* Box(int id) { return Control<QComboBox>(id); }
  QCheckBox* Flag(int id) { return Control<QCheckBox>(id); }
  void Type(int id, const QString& text) {
    QComboBox* box = Box(id);
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), text);
  }
  // A click as the user makes it, near the box's left edge.
  void Click(int id) {
    QCheckBox* box = Flag(id);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->layoutDirection() == Qt::RightToLeft ? box->width() - 7 : 7,
                                                      box->height() / 2));
  }
  void PressOk() { QTest::keyClick(dialog_.get(), Qt::Key_Return); }

  std::unique_ptr<QDialog> dialog_;
};

enum : int {
  kNote = 1000, kDate = 1063, kClient = 1056, kProject = 1017, kDescription = 1058, kMileage = 1016,
  kMiles = 1071, kRateLabel = 1018, kMileageRate = 1070, kPayment = 1061, kCurrency = 1059, kAmount = 1060,
  kBillable = 1073, kBilled = 1024, kReimbursable = 1022, kReimbursed = 1025, kReceipt = 1026,
};

// --- The mileage computation, in the C locale and a comma-decimal one --------------------------------------

class MileageTest : public ExpenseEntryDialogTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ExpenseEntryDialogTest::SetUp();
    before_ = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, GetParam())) GTEST_SKIP() << GetParam() << " is not installed";
  }
  void TearDown() override {
    std::setlocale(LC_ALL, before_.c_str());
    ExpenseEntryDialogTest::TearDown();
  }
  std::string before_;
};

TEST_P(MileageTest, MilesTimesRateIsTheAmountUntilMilesIsUnchecked) {
  // An edited record that held a mileage once: unchecking keeps its stored miles and rate.
  ExpenseRecord& r = WorkingExpenseRecord;
  CopyText(r.date, u"03/01/2024");
  CopyText(r.miles, u"50");
  CopyText(r.mileageRate, u"0.5");
  CopyText(r.amount, u"12.00");
  Open(PWH_EXPENSE_ENTRY_EDIT);
  EXPECT_FALSE(Box(kMiles)->isEnabled() || Box(kMileageRate)->isEnabled() || Control<QLabel>(kRateLabel)->isEnabled());

  Click(kMileage);
  EXPECT_TRUE(Flag(kMileage)->isChecked());
  EXPECT_TRUE(Box(kMiles)->isEnabled() && Box(kMileageRate)->isEnabled() && Control<QLabel>(kRateLabel)->isEnabled());
  EXPECT_EQ(Box(kAmount)->currentText(), "0.00");
  EXPECT_FALSE(Box(kAmount)->isEnabled());
  const std::pair<std::pair<QString, QString>, QString> steps[] = {
      {{"120", "0.31"}, "37.20"}, {{"100", "0.31"}, "31.00"}, {{"100", "x"}, "0.00"}, {{"7.5", "2"}, "15.00"}};
  for (const auto& [input, amount] : steps) {
    Type(kMiles, input.first);
    Type(kMileageRate, input.second);
    EXPECT_EQ(Box(kAmount)->currentText(), amount) << input.first.toStdString() << " x " << input.second.toStdString();
  }
  PressOk();
  EXPECT_EQ(dialog_->result(), IDOK);
  EXPECT_TRUE(r.mileage);
  EXPECT_EQ(std::tuple(TextOf(r.miles), TextOf(r.mileageRate), TextOf(r.amount)),
            std::tuple(u"7.5", u"2", u"15.00"));

  // Again, unchecked this time.
  CopyText(r.miles, u"50");
  CopyText(r.mileageRate, u"0.5");
  Open(PWH_EXPENSE_ENTRY_EDIT);
  EXPECT_TRUE(Flag(kMileage)->isChecked() && !Box(kAmount)->isEnabled());
  EXPECT_EQ(Box(kMiles)->currentText(), "50");
  Click(kMileage);
  for (int id : {kMiles, kMileageRate, kAmount}) EXPECT_EQ(Box(id)->currentText(), "") << id;
  EXPECT_TRUE(Box(kAmount)->isEnabled());
  EXPECT_FALSE(Box(kMiles)->isEnabled() || Box(kMileageRate)->isEnabled());
  // Typing an amount now computes nothing.
  Type(kAmount, "9.99");
  PressOk();
  EXPECT_FALSE(r.mileage);
  EXPECT_EQ(std::tuple(TextOf(r.miles), TextOf(r.mileageRate), TextOf(r.amount)),
            std::tuple(u"50", u"0.5", u"9.99"));
}

INSTANTIATE_TEST_SUITE_P(Locales, MileageTest, ::testing::Values("C.UTF-8", "de_DE.UTF-8"),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "German"); });

// --- The flag pairs ----------------------------------------------------------------------------------------

class FlagPairTest : public ExpenseEntryDialogTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(FlagPairTest, TheSecondFlagCountsOnlyWithTheFirst) {
  const auto [first, second] = GetParam();
  Open(PWH_EXPENSE_ENTRY_NEW);
  EXPECT_FALSE(Flag(second)->isEnabled());
  Click(first);
  EXPECT_TRUE(Flag(second)->isEnabled());
  Click(second);
  Click(kReceipt);
  EXPECT_TRUE(Flag(second)->isChecked());
  Click(first);
  EXPECT_FALSE(Flag(second)->isChecked() || Flag(second)->isEnabled());
  // "receipt" is nobody's pair.
  EXPECT_TRUE(Flag(kReceipt)->isChecked() && Flag(kReceipt)->isEnabled());
  Click(first);
  Click(second);
  PressOk();
  const ExpenseRecord& r = WorkingExpenseRecord;
  EXPECT_EQ(std::tuple(r.billable, r.billed, r.reimbursable, r.reimbursed, r.receipt),
            first == kBillable ? std::tuple(true, true, false, false, true) : std::tuple(false, false, true, true, true));
}

INSTANTIATE_TEST_SUITE_P(Pairs, FlagPairTest,
                         ::testing::Values(std::pair(int(kBillable), int(kBilled)),
                                           std::pair(int(kReimbursable), int(kReimbursed))));

// --- The three forms ---------------------------------------------------------------------------------------

struct FormCase {
  const char* name;
  int form;
  bool european;
  QString dateShown;
  bool filled;
  bool clearedOnCancel;
};

class FormTest : public ExpenseEntryDialogTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(FormTest, ShowsTheRecordAsTheFormSaysAndCancelsAsItSays) {
  const FormCase& c = GetParam();
  Configuration->UseEuropeanDateFormat = c.european;
  ExpenseRecord& r = WorkingExpenseRecord;
  CopyText(r.date, u"12/31/2023");
  CopyText(r.client, u"Acme");
  CopyText(r.description, u"Train");
  CopyText(r.paymentType, u"Visa");
  r.billable = r.billed = r.reimbursable = r.receipt = true;
  Open(c.form);
  EXPECT_EQ(dialog_->windowTitle(), "Pennywhistle Expense");
  EXPECT_EQ(Control<QDateEdit>(kDate)->text(), c.dateShown);
  EXPECT_EQ(Box(kClient)->currentText(), c.filled ? "Acme" : "");
  EXPECT_EQ(Box(kPayment)->currentText(), c.filled ? "Visa" : "");
  EXPECT_EQ(std::tuple(Flag(kBillable)->isChecked(), Flag(kBilled)->isChecked(), Flag(kBilled)->isEnabled()),
            std::tuple(c.filled, c.filled, c.filled));
  EXPECT_EQ(std::tuple(Flag(kReimbursable)->isChecked(), Flag(kReimbursed)->isChecked(),
                       Flag(kReimbursed)->isEnabled(), Flag(kReceipt)->isChecked()),
            std::tuple(c.filled, false, c.filled, c.filled));
  // Bold "cancel" and "Note".
  auto* cancel = dialog_->findChild<QPushButton*>("2");
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), "cancel");
  EXPECT_TRUE(cancel->font().bold() && Control<QPushButton>(kNote)->font().bold());

  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_EQ(dialog_->result(), IDCANCEL);
  EXPECT_EQ(TextOf(r.client), c.clearedOnCancel ? u"" : u"Acme");
}

TEST_P(FormTest, OkStoresTheDateInAmericanOrder) {
  const FormCase& c = GetParam();
  Configuration->UseEuropeanDateFormat = c.european;
  CopyText(WorkingExpenseRecord.date, u"12/31/2023");
  Open(c.form);
  PressOk();
  EXPECT_EQ(dialog_->result(), IDOK);
  EXPECT_EQ(TextOf(WorkingExpenseRecord.date), c.form == PWH_EXPENSE_ENTRY_EDIT ? u"12/31/2023" : u"03/14/2024");
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FormTest,
    ::testing::Values(FormCase{"New", PWH_EXPENSE_ENTRY_NEW, false, "03/14/2024", false, true},
                      FormCase{"Edit", PWH_EXPENSE_ENTRY_EDIT, false, "12/31/2023", true, false},
                      FormCase{"EditEuropean", PWH_EXPENSE_ENTRY_EDIT, true, "31.12.2023", true, false},
                      FormCase{"FromDefault", PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT, false, "03/14/2024", true, false},
                      FormCase{"FromDefaultEuropean", PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT, true, "14.03.2024", true,
                               false}),
    [](const auto& info) { return std::string(info.param.name); });

// A stored date the picker cannot show: a warning, and today in the picker.
TEST_F(ExpenseEntryDialogTest, AStoredDateThePickerRefusesShowsToday) {
  const std::pair<const char16_t*, std::size_t> cases[] = {{u"02/30/2024", 1}, {u"n/a", 2}};
  for (const auto& [date, messages] : cases) {
    host.messages.clear();
    CopyText(WorkingExpenseRecord.date, date);
    Open(PWH_EXPENSE_ENTRY_EDIT);
    EXPECT_EQ(Control<QDateEdit>(kDate)->text(), "03/14/2024");
    ASSERT_EQ(host.messages.size(), messages);
    EXPECT_EQ(std::tuple(host.messages.back().text, host.messages.back().title, host.messages.back().type),
              std::tuple(u"Warning: Windows CE date box initialization failed: code: [87].\n\nDefaulting to todays date.",
                         u"Error", MB_OK | MB_ICONEXCLAMATION));
  }
}

// --- New pick-list values on OK ----------------------------------------------------------------------------

TEST_F(ExpenseEntryDialogTest, OkOffersEveryNewValueInItsOrder) {
  AddValue(PWH_PULLDOWN_CLIENT, u"Acme");
  AddValue(PWH_PULLDOWN_PAYMENT, u"Visa");
  Open(PWH_EXPENSE_ENTRY_NEW);
  // Listed values are offered in the boxes.
  EXPECT_EQ(Box(kClient)->findText("Acme", Qt::MatchExactly | Qt::MatchCaseSensitive), 0);
  Type(kClient, "acme");  // not "Acme": pick-lists are case-sensitive
  Type(kProject, "Bridge");
  Type(kDescription, "Fuel");
  Click(kMileage);
  Type(kMiles, "120");
  Type(kMileageRate, "0.31");
  Type(kPayment, "Visa");
  Type(kCurrency, "EUR");
  for (int answer : {IDYES, IDNO, IDYES, IDYES, IDNO, IDYES, IDYES}) host.Answer(answer);
  PressOk();
  EXPECT_EQ(dialog_->result(), IDOK);
  std::vector<std::u16string> asked;
  for (const RecordedMessage& m : host.messages) {
    EXPECT_EQ(std::tuple(m.title, m.type), std::tuple(u"Data Entry Automation", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    asked.push_back(m.text);
  }
  EXPECT_EQ(asked, (std::vector<std::u16string>{
                       u"Add client 'acme' to the pulldown list ?", u"Add project 'Bridge' to the pulldown list ?",
                       u"Add expense description 'Fuel' to the pulldown list ?",
                       u"Add expense mileage '120' to the pulldown list ?",
                       u"Add expense mileage rate '0.31' to the pulldown list ?",
                       u"Add currency code 'EUR' to the pulldown list ?", u"Add amount '37.20' to the pulldown list ?"}));
  EXPECT_EQ(Values(PWH_PULLDOWN_CLIENT), (std::vector<std::u16string>{u"Acme", u"acme"}));
  EXPECT_TRUE(Values(PWH_PULLDOWN_PROJECT).empty());
  EXPECT_EQ(Values(PWH_PULLDOWN_MILEAGE_RATE), std::vector<std::u16string>{});
  EXPECT_EQ(Values(PWH_PULLDOWN_AMOUNT), std::vector<std::u16string>{u"37.20"});
  EXPECT_EQ(TextOf(WorkingExpenseRecord.client), u"acme");
}

TEST_F(ExpenseEntryDialogTest, TextsAreCutToTheirFieldAsTyped) {
  Open(PWH_EXPENSE_ENTRY_NEW);
  Configuration->confirmAddPulldownItem() = 0;
  Type(kDescription, QString(300, 'x'));
  EXPECT_EQ(Box(kDescription)->currentText().size(), 254);
  PressOk();
  EXPECT_EQ(TextOf(WorkingExpenseRecord.description).size(), 254u);
}

}  // namespace
}  // namespace pw::test
