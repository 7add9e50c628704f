#include "views/mixed_card.h"

#include <algorithm>

#include "text/fixed_text.h"
#include "text/format.h"
#include "storage/record_times.h"
#include "text/time_text.h"

namespace pw {

namespace {

// Appends "label" in bold and its value in plain type.
void LabelValue(CardLine& line, std::u16string_view label, std::u16string_view value) {
  line.push_back({CardFont::Label, std::u16string(label)});
  line.push_back({CardFont::Value, std::u16string(value)});
}

void Word(CardLine& line, CardFont font, bool flag, std::u16string_view ifSet, std::u16string_view ifNotSet) {
  line.push_back({font, std::u16string(flag ? ifSet : ifNotSet)});
}

std::u16string DateText(std::u16string_view stored, const ListCellFormat& format) {
  if (!format.europeanDates) return std::u16string(stored);
  std::u16string european;
  AmericanToEuropeanDate(stored, &european);
  return european;
}

std::u16string_view OrNotAvailable(std::u16string_view text) { return text.empty() ? u"n/a" : text; }

}  // namespace

std::vector<CardLine> TimeCardLines(const TimeRecord& r, const ListCellFormat& format, const SYSTEMTIME* runningNow) {
  std::vector<CardLine> lines(8);
  std::u16string text;
  LabelValue(lines[0], u"Date:", DateText(TextOf(r.date), format));
  if (runningNow) {
    const int minutes = std::max(0, MinutesSinceStart(r, *runningNow));
    text = Format(u"%dh, %dm (%.2f)", minutes / 60, minutes % 60, DecimalHours(minutes / 60, minutes % 60));
  } else {
    FormatDurationSummary(&text, r, PWH_SUMMARY_SHORT);
  }
  LabelValue(lines[0], u"Dur'n:", text);
  LabelValue(lines[1], u"Start:", *FormatRecordTime(&text, r, PWH_START_TIME, PWH_BLANK_AS_DASHES, format.twentyFourHour));
  if (runningNow) text = PWH_NO_DURATION;
  else FormatRecordTime(&text, r, PWH_END_TIME, PWH_BLANK_AS_DASHES, format.twentyFourHour);
  LabelValue(lines[1], u"End:", text);
  LabelValue(lines[2], u"Client:", TextOf(r.client));
  LabelValue(lines[3], u"Project:", TextOf(r.project));
  LabelValue(lines[4], u"Sub:", TextOf(r.subproject));
  LabelValue(lines[5], u"Task:", TextOf(r.task));
  LabelValue(lines[6], u"Amn't:", TextOf(r.amount));
  LabelValue(lines[6], u"Rate:", TextOf(r.rate));
  LabelValue(lines[7], u"Ccy:", TextOf(r.currency));
  const bool billable = r.billable == 1;
  Word(lines[7], CardFont::Underlined, billable, u"billable", u"not billable");
  // Only a billable record can be billed.
  if (billable) Word(lines[7], CardFont::Underlined, r.billed == 1, u"billed", u"not billed");
  Word(lines[7], CardFont::Italic, r.notes[0] != 0, u"note", u"no note");
  return lines;
}

std::vector<CardLine> ExpenseCardLines(const ExpenseRecord& r, const ListCellFormat& format) {
  std::vector<CardLine> lines;
  CardLine line;
  auto next = [&] { lines.push_back(std::move(line)), line.clear(); };

  LabelValue(line, u"Date:", DateText(TextOf(r.date), format));
  Word(line, CardFont::Italic, r.notes[0] != 0, u"note", u"no note");
  Word(line, CardFont::Underlined, r.billable, u"billable", u"not billable");
  next();
  LabelValue(line, u"Client:", TextOf(r.client)), next();
  LabelValue(line, u"Project:", TextOf(r.project)), next();
  LabelValue(line, u"Desc:", TextOf(r.description)), next();
  if (r.mileage) {
    LabelValue(line, u"Miles:", OrNotAvailable(TextOf(r.miles)));
    LabelValue(line, u"Rate:", OrNotAvailable(TextOf(r.mileageRate)));
    next();
  }
  LabelValue(line, u"Payment:", TextOf(r.paymentType)), next();
  LabelValue(line, u"Ccy:", TextOf(r.currency));
  LabelValue(line, u"Amn't:", TextOf(r.amount));
  if (r.billable) Word(line, CardFont::Underlined, r.billed, u"billed", u"not billed");
  next();
  Word(line, CardFont::Underlined, r.reimbursable, u"reimbursable", u"n/reimbursable");
  if (r.reimbursable) Word(line, CardFont::Underlined, r.reimbursed, u"reimbursed", u"n/reimbursed");
  Word(line, CardFont::Underlined, r.receipt, u"receipt", u"no receipt");
  next();
  return lines;
}

int CardLinePitch(int top, int bottom, int lines) {
  if (lines <= 0) return 0;
  const double room = double(bottom - 1 - top);
  return int((room - 9.0 * lines) / lines + 9.0);
}

}  // namespace pw
