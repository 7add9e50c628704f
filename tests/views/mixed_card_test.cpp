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

// The card of SampleTime() with the date as shown and the last line's marks, under the C and a
// comma-decimal locale (the duration's hours keep their point).
TEST(TimeCard, HasEightLinesEndingInTheFlags) {
  const struct { int billable, billed; bool note, european; std::string date, marks; } cases[] = {
      {1, 1, true, false, "12/31/2000", "_billable _billed /note"},
      {1, 0, false, false, "12/31/2000", "_billable _not billed /no note"},
      {0, 1, true, false, "12/31/2000", "_not billable /note"},  // no billed word
      {5, 1, false, true, "31.12.2000", "_not billable /no note"},  // only 1 is billable
  };
  for (const char* locale : test::kTestLocales) {
    test::LocaleGuard guard(locale);
    for (const auto& c : cases) {
      EXPECT_EQ(Draw(TimeCardLines(SampleTime(c.billable, c.billed, c.note), ListCellFormat{c.european, false})),
                "*Date: " + c.date + " *Dur'n: 2h, 30m (2.50)\n*Start: 09:00 AM *End: 11:30 AM\n*Client: Acme\n"
                "*Project: Web\n*Sub: Shop\n*Task: Code\n*Amn't: 212.50 *Rate: 85\n*Ccy: USD " + c.marks + "\n")
          << locale;
    }
  }
  const std::string blank = Draw(TimeCardLines(TimeRecord{}, {}));
  EXPECT_EQ(blank.substr(0, blank.find("\n*Client")), "*Date:  *Dur'n: --:--\n*Start: --:-- *End: --:--");
  // The running timer's record: the time from its start (09:00 the day before) until now, its end open.
  TimeRecord running = SampleTime(1, 0, false);
  CopyText(running.duration, u"--:--"), running.endHour = running.endMinute = 0;
  const SYSTEMTIME now{.wYear = 2001, .wMonth = 1, .wDay = 1, .wHour = 1, .wMinute = 42};
  const std::string card = Draw(TimeCardLines(running, {}, &now));
  EXPECT_EQ(card.substr(0, card.find("\n*Client")), "*Date: 12/31/2000 *Dur'n: 16h, 42m (16.70)\n*Start: 09:00 AM *End: --:--");
}

// Lines that stay the same are left out of the cases: the date line's marks, the mileage line,
// the amount line's billed word and the flags line vary.
TEST(ExpenseCard, HasSevenLinesOrEightWithMileage) {
  const struct { bool mileage, billable, billed, reimbursable, reimbursed, receipt, note; const char16_t* miles;
                 std::string top, mileageLine, billedWord, flags; } cases[] = {
      {true, true, true, true, true, true, true, u"12", "/note _billable", "*Miles: 12 *Rate: 0.30\n", " _billed",
       "_reimbursable _reimbursed _receipt"},
      {true, true, false, true, false, false, false, u"", "/no note _billable", "*Miles: n/a *Rate: 0.30\n",
       " _not billed", "_reimbursable _n/reimbursed _no receipt"},
      // Billed and reimbursed only show for a billable and a reimbursable expense.
      {false, false, true, false, true, true, false, u"", "/no note _not billable", "", "", "_n/reimbursable _receipt"},
  };
  for (const auto& c : cases) {
    ExpenseRecord r;
    CopyText(r.date, u"03/14/2024"), CopyText(r.client, u"Acme"), CopyText(r.project, u"Trip");
    CopyText(r.description, u"Train"), CopyText(r.paymentType, u"Card"), CopyText(r.currency, u"EUR");
    CopyText(r.amount, u"45.00"), CopyText(r.miles, c.miles), CopyText(r.mileageRate, u"0.30");
    r.mileage = c.mileage, r.billable = c.billable, r.billed = c.billed;
    r.reimbursable = c.reimbursable, r.reimbursed = c.reimbursed, r.receipt = c.receipt;
    if (c.note) CopyText(r.notes, u"ticket");
    EXPECT_EQ(Draw(ExpenseCardLines(r, {})),
              "*Date: 03/14/2024 " + c.top + "\n*Client: Acme\n*Project: Trip\n*Desc: Train\n" + c.mileageLine +
                  "*Payment: Card\n*Ccy: EUR *Amn't: 45.00" + c.billedWord + "\n" + c.flags + "\n");
  }
}

TEST(CardPitch, SharesTheHeightOut) {
  EXPECT_EQ(CardLinePitch(100, 201, 8), 12);
  EXPECT_EQ(CardLinePitch(0, 50, 0), 0);  // no lines: no division
}

}  // namespace
}  // namespace pw
