#include "views/mixed_card.h"

#include <gtest/gtest.h>

#include <string>

#include "text/fixed_text.h"
#include "support/locale_guard.h"

namespace pw {
namespace {

// A card as text: one line per card line, each piece as its style's mark and
// its text: "*" bold label, "" plain value, "_" underlined, "/" italic.
std::string Draw(const std::vector<CardLine>& lines) {
  std::string out;
  for (const CardLine& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      const CardPiece& piece = line[i];
      if (i) out += ' ';
      out += piece.font == CardFont::Label ? "*" : piece.font == CardFont::Underlined ? "_" : piece.font == CardFont::Italic ? "/" : "";
      out += std::string(piece.text.begin(), piece.text.end());
    }
    out += '\n';
  }
  return out;
}

TimeRecord SampleTime(int billable, int billed, bool note) {
  TimeRecord r;
  CopyText(r.date, u"12/31/2000"), CopyText(r.duration, u"02:30");
  r.startHour = 9, r.endHour = 11, r.endMinute = 30;
  CopyText(r.client, u"Acme"), CopyText(r.project, u"Web"), CopyText(r.subproject, u"Shop");
  CopyText(r.task, u"Code"), CopyText(r.amount, u"212.50"), CopyText(r.rate, u"85"), CopyText(r.currency, u"USD");
  r.billable = billable, r.billed = billed;
  if (note) CopyText(r.notes, u"called");
  return r;
}

// The card of SampleTime() with the date as shown and the last line's marks.
std::string TimeCard(const std::string& date, const std::string& marks) {
  return "*Date: " + date + " *Dur'n: 2h, 30m (2.50)\n*Start: 09:00 AM *End: 11:30 AM\n*Client: Acme\n*Project: Web\n"
         "*Sub: Shop\n*Task: Code\n*Amn't: 212.50 *Rate: 85\n*Ccy: USD " + marks + "\n";
}

struct TimeCardCase {
  const char* name;
  TimeRecord record;
  bool european;
  std::string card;
};

class TimeCardTest : public ::testing::TestWithParam<std::tuple<TimeCardCase, const char*>> {};

TEST_P(TimeCardTest, HasEightLines) {
  const auto& [c, locale] = GetParam();
  test::LocaleGuard guard(locale);
  if (!guard.ok()) GTEST_SKIP() << "no locale " << locale;
  EXPECT_EQ(Draw(TimeCardLines(c.record, ListCellFormat{c.european, false})), c.card);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, TimeCardTest,
    ::testing::Combine(
        ::testing::Values(
            TimeCardCase{"BilledWithNote", SampleTime(1, 1, true), false,
                         TimeCard("12/31/2000", "_billable _billed /note")},
            TimeCardCase{"BillableNotBilled", SampleTime(1, 0, false), false,
                         TimeCard("12/31/2000", "_billable _not billed /no note")},
            TimeCardCase{"NotBillableHasNoBilledWord", SampleTime(0, 1, true), false,
                         TimeCard("12/31/2000", "_not billable /note")},
            TimeCardCase{"BillableOtherThanOneCountsAsNot", SampleTime(5, 1, false), false,
                         TimeCard("12/31/2000", "_not billable /no note")},
            TimeCardCase{"EuropeanDate", SampleTime(0, 0, false), true, TimeCard("31.12.2000", "_not billable /no note")}),
        ::testing::ValuesIn(test::kTestLocales)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param)[0] == 'C' ? "_C" : "_German");
    });

TEST(TimeCard, ARecordWithoutDateOrTimesShowsDashes) {
  const std::string card = Draw(TimeCardLines(TimeRecord{}, {}));
  EXPECT_EQ(card.substr(0, card.find("\n*Client")), "*Date:  *Dur'n: --:--\n*Start: --:-- *End: --:--");
}

struct ExpenseCardCase {
  const char* name;
  bool mileage, billable, billed, reimbursable, reimbursed, receipt, note;
  const char16_t* miles;
  const char* card;
};

class ExpenseCardTest : public ::testing::TestWithParam<ExpenseCardCase> {};

TEST_P(ExpenseCardTest, HasSevenLinesOrEightWithMileage) {
  const ExpenseCardCase& c = GetParam();
  ExpenseRecord r;
  CopyText(r.date, u"03/14/2024"), CopyText(r.client, u"Acme"), CopyText(r.project, u"Trip");
  CopyText(r.description, u"Train"), CopyText(r.paymentType, u"Card"), CopyText(r.currency, u"EUR");
  CopyText(r.amount, u"45.00"), CopyText(r.miles, c.miles), CopyText(r.mileageRate, u"0.30");
  r.mileage = c.mileage, r.billable = c.billable, r.billed = c.billed;
  r.reimbursable = c.reimbursable, r.reimbursed = c.reimbursed, r.receipt = c.receipt;
  if (c.note) CopyText(r.notes, u"ticket");
  EXPECT_EQ(Draw(ExpenseCardLines(r, {})), c.card);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, ExpenseCardTest,
    ::testing::Values(
        ExpenseCardCase{"PlainNothingSet", false, false, false, false, false, false, false, u"12",
                        "*Date: 03/14/2024 /no note _not billable\n*Client: Acme\n*Project: Trip\n*Desc: Train\n"
                        "*Payment: Card\n*Ccy: EUR *Amn't: 45.00\n_n/reimbursable _no receipt\n"},
        ExpenseCardCase{"MileageEverythingSet", true, true, true, true, true, true, true, u"12",
                        "*Date: 03/14/2024 /note _billable\n*Client: Acme\n*Project: Trip\n*Desc: Train\n"
                        "*Miles: 12 *Rate: 0.30\n*Payment: Card\n*Ccy: EUR *Amn't: 45.00 _billed\n"
                        "_reimbursable _reimbursed _receipt\n"},
        ExpenseCardCase{"MileageWithoutMilesBillableNotBilled", true, true, false, true, false, false, false, u"",
                        "*Date: 03/14/2024 /no note _billable\n*Client: Acme\n*Project: Trip\n*Desc: Train\n"
                        "*Miles: n/a *Rate: 0.30\n*Payment: Card\n*Ccy: EUR *Amn't: 45.00 _not billed\n"
                        "_reimbursable _n/reimbursed _no receipt\n"},
        ExpenseCardCase{"ReceiptWithoutReimbursement", false, false, true, false, true, true, false, u"",
                        "*Date: 03/14/2024 /no note _not billable\n*Client: Acme\n*Project: Trip\n*Desc: Train\n"
                        "*Payment: Card\n*Ccy: EUR *Amn't: 45.00\n_n/reimbursable _receipt\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CardPitch, SharesTheHeightOut) {
  const struct { int top, bottom, lines, pitch; } cases[] = {
      {100, 201, 8, 12}, {100, 201, 7, 14}, {0, 97, 8, 12}, {0, 96, 8, 11}, {10, 10, 8, 0}, {0, 50, 0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(CardLinePitch(c.top, c.bottom, c.lines), c.pitch) << c.top << "-" << c.bottom << " / " << c.lines;
}

}  // namespace
}  // namespace pw
