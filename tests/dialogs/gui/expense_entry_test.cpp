#include "dialogs/gui/expense_entry.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>

#include <tuple>

#include "dialogs/gui/entry_fixture.h"

namespace pw::test {
namespace {

enum : int {
  kDate = 1063, kClient = 1056, kProject = 1017, kDescription = 1058, kMileage = 1016,
  kMiles = 1071, kRateLabel = 1018, kMileageRate = 1070, kPayment = 1061, kAmount = 1060,
  kBillable = 1073, kBilled = 1024, kReimbursable = 1022, kReimbursed = 1025, kReceipt = 1026,
};

class ExpenseEntryDialogTest : public EntryDialogTest {
 protected:
  void Open(int form) { Show(CreateExpenseEntryDialog(nullptr, record, form, context)); }
  QCheckBox* Flag(int id) { return Get<QCheckBox>(id); }
  // A click on the box (the mileage box has its text on the left).
  void Click(int id) {
    QCheckBox* box = Flag(id);
    const int x = box->layoutDirection() == Qt::RightToLeft ? box->width() - 7 : 7;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(x, box->height() / 2));
  }
  void PressOk() { QTest::keyClick(dialog.get(), Qt::Key_Return); }

  ExpenseRecord record;
};

// Miles x rate is the amount while "Miles" is checked; unchecking empties
// the three boxes and lets the amount be typed again.
TEST_F(ExpenseEntryDialogTest, MilesTimesRateIsTheAmountUntilMilesIsUnchecked) {
  CopyText(record.date, u"03/01/2024"), CopyText(record.amount, u"12.00");
  Open(PWH_EXPENSE_ENTRY_EDIT);
  Click(kMileage);
  EXPECT_TRUE(Box(kMiles)->isEnabled() && Get<QLabel>(kRateLabel)->isEnabled() && !Box(kAmount)->isEnabled());
  Type(kMiles, "120");
  Type(kMileageRate, "0.31");
  EXPECT_EQ(Text(kAmount), "37.20");
  Click(kMileage);
  for (int id : {kMiles, kMileageRate, kAmount}) EXPECT_EQ(Text(id), "") << id;
  EXPECT_TRUE(Box(kAmount)->isEnabled() && !Box(kMiles)->isEnabled() && !Get<QLabel>(kRateLabel)->isEnabled());
  Type(kAmount, "9.99");
  PressOk();
  EXPECT_EQ(dialog->result(), IDOK);
  EXPECT_EQ(std::tuple(bool(record.mileage), TextOf(record.amount)), std::tuple(false, u"9.99"));
}

// The second flag of a pair is enabled and counts only with the first.
TEST_F(ExpenseEntryDialogTest, TheSecondFlagOfAPairCountsOnlyWithTheFirst) {
  for (const auto& [first, second] : {std::pair(kBillable, kBilled), std::pair(kReimbursable, kReimbursed)}) {
    SCOPED_TRACE(first);
    record = ExpenseRecord{};
    Open(PWH_EXPENSE_ENTRY_NEW);
    EXPECT_FALSE(Flag(second)->isEnabled());
    for (int id : {first, second, kReceipt}) Click(id);
    EXPECT_TRUE(Flag(second)->isChecked());
    Click(first);
    EXPECT_FALSE(Flag(second)->isChecked() || Flag(second)->isEnabled());
    PressOk();
    EXPECT_EQ(std::tuple(record.billable, record.billed, record.reimbursable, record.reimbursed, record.receipt),
              std::tuple(false, false, false, false, true));
  }
}

// A new record opens empty, and Escape clears it; the other forms show the
// record, in the date form of the settings, and Escape keeps it. Only the
// editing form shows the record's own date.
TEST_F(ExpenseEntryDialogTest, FormsShowAndCancelAsTheySay) {
  for (const auto& [form, dateShown] : {std::pair(PWH_EXPENSE_ENTRY_NEW, "03/14/2024"),
                                        std::pair(PWH_EXPENSE_ENTRY_EDIT, "31.12.2023"),
                                        std::pair(PWH_EXPENSE_ENTRY_NEW_FROM_DEFAULT, "14.03.2024")}) {
    SCOPED_TRACE(form);
    const bool filled = form != PWH_EXPENSE_ENTRY_NEW;
    settings.UseEuropeanDateFormat = filled;
    CopyText(record.date, u"12/31/2023"), CopyText(record.client, u"Acme");
    record.billable = record.billed = true;
    Open(form);
    EXPECT_EQ(Get<QDateEdit>(kDate)->text(), dateShown);
    EXPECT_EQ(Text(kClient), filled ? "Acme" : "");
    EXPECT_EQ(std::tuple(Flag(kBilled)->isChecked(), Flag(kBilled)->isEnabled()), std::tuple(filled, filled));
    EXPECT_EQ(dialog->focusWidget(), Box(kClient));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL);
    EXPECT_EQ(TextOf(record.client), filled ? u"Acme" : u"");
  }
}

// OK asks about every value not yet listed, in the order of the form, each question but the last
// with "Yes to All" and "No to All"; a typed value completes to the listed one whatever its case.
TEST_F(ExpenseEntryDialogTest, OkOffersEveryNewValueInItsOrder) {
  AddValue(PWH_PULLDOWN_CLIENT, u"Acme");
  AddValue(PWH_PULLDOWN_PAYMENT, u"Visa");
  Open(PWH_EXPENSE_ENTRY_NEW);
  for (const auto& [id, text] : {std::pair(kClient, "acme"), std::pair(kPayment, "Cash"), std::pair(kDescription, "Fuel")})
    Type(id, text);
  PressOk();
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].type & MB_BUTTONMASK, host.messages[1].type & MB_BUTTONMASK),
            std::tuple(u"Add expense description 'Fuel' to the pulldown list ?", MB_YESNOALL, MB_YESNO));
  EXPECT_EQ(TextOf(record.client), u"Acme");
}

}  // namespace
}  // namespace pw::test
