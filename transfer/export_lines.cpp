#include "transfer/export_lines.h"

#include <array>

#include "config/configuration.h"
#include "text/fixed_text.h"
#include "storage/record_times.h"
#include "text/time_text.h"

namespace pw {
namespace {

constexpr std::array<std::u16string_view, 14> kTimeColumns{
    u"Date",   u"Start Time", u"End Time", u"Duration", u"Client",   u"Project",  u"Rate",
    u"Subproject", u"Task",   u"Currency", u"Amount",   u"Billable", u"Billed",   u"Notes"};

constexpr std::array<std::u16string_view, 15> kExpenseColumns{
    u"Date",     u"Client",   u"Project", u"Description",  u"Miles",      u"Rate",    u"Payment",
    u"Currency", u"Amount",   u"Billable", u"Billed",      u"Reimbursable", u"Reimbursed",
    u"Receipt",  u"Notes"};

// Candidates offered instead of a qualifier that some texts hold.
constexpr std::u16string_view kQualifierCandidates = u"\"'|~^`";

void AppendField(std::u16string& line, std::u16string_view text, const DelimitedFormat& f) {
  line += f.qualifier;
  line += text;
  line += f.qualifier;
  line += f.fieldDelimiter;
}

template <std::size_t N>
std::u16string HeaderLine(const std::array<std::u16string_view, N>& columns,
                          const DelimitedFormat& f) {
  std::u16string line;
  for (std::size_t i = 0; i < N; ++i) {
    line += f.qualifier;
    line += columns[i];
    line += f.qualifier;
    line += i + 1 < N ? f.fieldDelimiter : f.recordDelimiter;
  }
  return line;
}

std::u16string_view YesNo(bool flag) { return flag ? u"yes" : u"no"; }

void AppendDate(std::u16string& line, std::u16string_view date, const DelimitedFormat& f,
                ExportTextForms forms) {
  if (!forms.europeanDates) return AppendField(line, date, f);
  std::u16string european;
  AmericanToEuropeanDate(date, &european);
  AppendField(line, european, f);
}

}  // namespace

std::u16string TimeHeaderLine(const DelimitedFormat& format) {
  return HeaderLine(kTimeColumns, format);
}

std::u16string ExpenseHeaderLine(const DelimitedFormat& format) {
  return HeaderLine(kExpenseColumns, format);
}

void AppendTimeLine(std::u16string& line, const TimeRecord& r, const DelimitedFormat& f,
                    ExportTextForms forms) {
  AppendDate(line, TextOf(r.date), f, forms);
  std::u16string time;
  FormatRecordTime(&time, r, PWH_START_TIME, PWH_BLANK_AS_DASHES, forms.twentyFourHour);
  AppendField(line, time, f);
  FormatRecordTime(&time, r, PWH_END_TIME, PWH_BLANK_AS_DASHES, forms.twentyFourHour);
  AppendField(line, time, f);
  AppendField(line, TimeTextToDecimalText(TextOf(r.duration)), f);
  for (std::u16string_view text : {TextOf(r.client), TextOf(r.project), TextOf(r.rate),
                                   TextOf(r.subproject), TextOf(r.task), TextOf(r.currency),
                                   TextOf(r.amount)}) {
    AppendField(line, text, f);
  }
  AppendField(line, YesNo(r.billable == 1), f);
  AppendField(line, YesNo(r.billed == 1), f);
  AppendField(line, TextOf(r.notes), f);
  line += f.recordDelimiter;
}

void AppendExpenseLine(std::u16string& line, const ExpenseRecord& r, const DelimitedFormat& f,
                       ExportTextForms forms) {
  AppendDate(line, TextOf(r.date), f, forms);
  AppendField(line, TextOf(r.client), f);
  AppendField(line, TextOf(r.project), f);
  AppendField(line, TextOf(r.description), f);
  constexpr std::u16string_view kNotApplicable = u"not applicable";
  AppendField(line, r.mileage ? TextOf(r.miles) : kNotApplicable, f);
  AppendField(line, r.mileage ? TextOf(r.mileageRate) : kNotApplicable, f);
  AppendField(line, TextOf(r.paymentType), f);
  AppendField(line, TextOf(r.currency), f);
  AppendField(line, TextOf(r.amount), f);
  for (bool flag : {r.billable, r.billed, r.reimbursable, r.reimbursed, r.receipt})
    AppendField(line, YesNo(flag), f);
  AppendField(line, TextOf(r.notes), f);
  line += f.recordDelimiter;
}

void AppendPulldownLine(std::u16string& line, const PulldownEntry& entry,
                        const DelimitedFormat& f) {
  AppendField(line, entry.category, f);
  AppendField(line, entry.text, f);
  line += f.recordDelimiter;
}

bool FramingBreaksOn(std::u16string_view text, const DelimitedFormat& f) {
  if (!f.qualifier.empty()) return text.find(f.qualifier) != std::u16string_view::npos;
  if (!f.fieldDelimiter.empty() && text.find(f.fieldDelimiter) != std::u16string_view::npos)
    return true;
  if (f.recordDelimiter == u"\n") return text.find_first_of(u"\r\n") != std::u16string_view::npos;
  return !f.recordDelimiter.empty() && text.find(f.recordDelimiter) != std::u16string_view::npos;
}

void QualifierAdvisor::See(std::u16string_view text) {
  for (char16_t c : text) {
    const std::size_t i = kQualifierCandidates.find(c);
    if (i != std::u16string_view::npos) seen_ |= 1u << i;
  }
}

std::u16string QualifierAdvisor::Suggest(std::u16string_view current) const {
  for (std::size_t i = 0; i < kQualifierCandidates.size(); ++i) {
    const std::u16string_view candidate = kQualifierCandidates.substr(i, 1);
    if (candidate != current && !(seen_ & (1u << i))) return std::u16string(candidate);
  }
  return {};
}

}  // namespace pw
