// The expense entry dialog on a fresh store: its three forms, the mileage
// computation, the flag pairs, what OK stores and offers for the pick-lists,
// and what cancel leaves.
#include "dialogs/gui/expense_entry_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "dialogs/gui/entry_fixture.h"
#include "support/locale_guard.h"

namespace pw::test {
namespace {

enum : int {
  kNote = 1000, kDate = 1063, kClient = 1056, kProject = 1017, kDescription = 1058, kMileage = 1016,
  kMiles = 1071, kRateLabel = 1018, kMileageRate = 1070, kPayment = 1061, kCurrency = 1059, kAmount = 1060,
  kBillable = 1073, kBilled = 1024, kReimbursable = 1022, kReimbursed = 1025, kReceipt = 1026,
};

class ExpenseEntryDialogTest : public EntryDialogTest {
 protected:
  void Open(int form) { Show(CreateExpenseEntryDialog(nullptr, form)); }
  QCheckBox* Flag(int id) { return Get<QCheckBox>(id); }
  // A click as the user makes it, near the box's left edge.
  void Click(int id) {
    QCheckBox* box = Flag(id);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->layoutDirection() == Qt::RightToLeft ? box->width() - 7 : 7,
                                                      box->height() / 2));
  }
  void PressOk() { QTest::keyClick(dialog.get(), Qt::Key_Return); }
};

// --- The mileage computation, in the C locale and a comma-decimal one --------------------------------------

class MileageTest : public ExpenseEntryDialogTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ExpenseEntryDialogTest::SetUp();
    if (!locale_.emplace(GetParam()).ok()) GTEST_SKIP() << GetParam() << " is not installed";
  }
  std::optional<LocaleGuard> locale_;
};

TEST_P(MileageTest, MilesTimesRateIsTheAmountUntilMilesIsUnchecked) {
  // An edited record that held a mileage once: unchecking keeps its stored miles and rate.
  ExpenseRecord& r = WorkingExpenseRecord;
  CopyText(r.date, u"03/01/2024"), CopyText(r.miles, u"50"), CopyText(r.mileageRate, u"0.5");
  CopyText(r.amount, u"12.00");
  Open(PWH_EXPENSE_ENTRY_EDIT);
  EXPECT_FALSE(Box(kMiles)->isEnabled() || Box(kMileageRate)->isEnabled() || Get<QLabel>(kRateLabel)->isEnabled());

  Click(kMileage);
  EXPECT_TRUE(Flag(kMileage)->isChecked());
  EXPECT_TRUE(Box(kMiles)->isEnabled() && Box(kMileageRate)->isEnabled() && Get<QLabel>(kRateLabel)->isEnabled());
  EXPECT_EQ(Text(kAmount), "0.00");
  EXPECT_FALSE(Box(kAmount)->isEnabled());
  const std::tuple<QString, QString, QString> steps[] = {
      {"120", "0.31", "37.20"}, {"100", "0.31", "31.00"}, {"100", "x", "0.00"}, {"7.5", "2", "15.00"}};
  for (const auto& [miles, rate, amount] : steps) {
    Type(kMiles, miles);
    Type(kMileageRate, rate);
    EXPECT_EQ(Text(kAmount), amount) << miles.toStdString() << " x " << rate.toStdString();
  }
  PressOk();
  EXPECT_EQ(dialog->result(), IDOK);
  EXPECT_TRUE(r.mileage);
  EXPECT_EQ(std::tuple(TextOf(r.miles), TextOf(r.mileageRate), TextOf(r.amount)),
            std::tuple(u"7.5", u"2", u"15.00"));

  // Again, unchecked this time.
  CopyText(r.miles, u"50"), CopyText(r.mileageRate, u"0.5");
  Open(PWH_EXPENSE_ENTRY_EDIT);
  EXPECT_TRUE(Flag(kMileage)->isChecked() && !Box(kAmount)->isEnabled());
  EXPECT_EQ(Text(kMiles), "50");
  Click(kMileage);
  for (int id : {kMiles, kMileageRate, kAmount}) EXPECT_EQ(Text(id), "") << id;
  EXPECT_TRUE(Box(kAmount)->isEnabled());
  EXPECT_FALSE(Box(kMiles)->isEnabled() || Box(kMileageRate)->isEnabled());
  // Typing an amount now computes nothing.
  Type(kAmount, "9.99");
  PressOk();
  EXPECT_FALSE(r.mileage);
  EXPECT_EQ(std::tuple(TextOf(r.miles), TextOf(r.mileageRate), TextOf(r.amount)),
            std::tuple(u"50", u"0.5", u"9.99"));
}

INSTANTIATE_TEST_SUITE_P(Locales, MileageTest, ::testing::ValuesIn(kTestLocales),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "German"); });

// --- The flag pairs ----------------------------------------------------------------------------------------

TEST_F(ExpenseEntryDialogTest, TheSecondFlagOfAPairCountsOnlyWithTheFirst) {
  for (const auto& [first, second] : {std::pair(kBillable, kBilled), std::pair(kReimbursable, kReimbursed)}) {
    SCOPED_TRACE(first);
    ClearRecord(WorkingExpenseRecord);
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
}

// --- The three forms ---------------------------------------------------------------------------------------

// Each form shows the record as it says and cancels as it says; OK stores the
// date in American order.
TEST_F(ExpenseEntryDialogTest, FormsShowCancelAndStoreAsTheySay) {
  const struct {
    int form;
    bool european;
    QString dateShown;
    bool filled, clearedOnCancel;
  } forms[] = {
      {PWH_EXPENSE_ENTRY_NEW, false, "03/14/2024", false, true},
      {PWH_EXPENSE_ENTRY_EDIT, false, "12/31/2023", true, false},
      {PWH_EXPENSE_ENTRY_EDIT, true, "31.12.2023", true, false},
      {PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT, false, "03/14/2024", true, false},
      {PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT, true, "14.03.2024", true, false},
  };
  for (const auto& c : forms) {
    SCOPED_TRACE(c.dateShown.toStdString());
    Configuration->UseEuropeanDateFormat = c.european;
    ExpenseRecord& r = WorkingExpenseRecord;
    CopyText(r.date, u"12/31/2023"), CopyText(r.client, u"Acme"), CopyText(r.paymentType, u"Visa");
    r.billable = r.billed = r.reimbursable = r.receipt = true;
    Open(c.form);
    EXPECT_EQ(dialog->windowTitle(), "Pennywhistle Expense");
    EXPECT_EQ(Get<QDateEdit>(kDate)->text(), c.dateShown);
    EXPECT_EQ(std::tuple(Text(kClient), Text(kPayment)), c.filled ? std::tuple("Acme", "Visa") : std::tuple("", ""));
    EXPECT_EQ(std::tuple(Flag(kBillable)->isChecked(), Flag(kBilled)->isChecked(), Flag(kBilled)->isEnabled()),
              std::tuple(c.filled, c.filled, c.filled));
    EXPECT_EQ(std::tuple(Flag(kReimbursable)->isChecked(), Flag(kReimbursed)->isChecked(),
                         Flag(kReimbursed)->isEnabled(), Flag(kReceipt)->isChecked()),
              std::tuple(c.filled, false, c.filled, c.filled));
    // Bold "cancel" and "Note".
    EXPECT_EQ(Get<QPushButton>(IDCANCEL)->text(), "cancel");
    EXPECT_TRUE(Get<QPushButton>(IDCANCEL)->font().bold() && Get<QPushButton>(kNote)->font().bold());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL);
    EXPECT_EQ(TextOf(r.client), c.clearedOnCancel ? u"" : u"Acme");

    CopyText(r.date, u"12/31/2023");
    Open(c.form);
    PressOk();
    EXPECT_EQ(dialog->result(), IDOK);
    EXPECT_EQ(TextOf(r.date), c.form == PWH_EXPENSE_ENTRY_EDIT ? u"12/31/2023" : u"03/14/2024");
  }
}

// A stored date the picker cannot show: a warning, and today in the picker.
TEST_F(ExpenseEntryDialogTest, AStoredDateThePickerRefusesShowsToday) {
  const std::pair<const char16_t*, std::size_t> cases[] = {{u"02/30/2024", 1}, {u"n/a", 2}};
  for (const auto& [date, messages] : cases) {
    host.messages.clear();
    CopyText(WorkingExpenseRecord.date, date);
    Open(PWH_EXPENSE_ENTRY_EDIT);
    EXPECT_EQ(Get<QDateEdit>(kDate)->text(), "03/14/2024");
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
  EXPECT_EQ(dialog->result(), IDOK);
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

}  // namespace
}  // namespace pw::test
