#include "views/report_lines.h"

#include <algorithm>

#include "text/format.h"

namespace pw {

namespace {

// Lines are added as if each were put on top of the ones before, the way a
// report is built up from its last line: added last, shown first.
class ReportBuilder {
 public:
  void Line(std::u16string text) { lines_.push_back(std::move(text)); }
  void Blank() { lines_.emplace_back(PWH_REPORT_BLANK); }
  // A heading between blank lines.
  void Block(std::u16string_view heading) {
    Blank();
    Line(std::u16string(heading));
    Blank();
  }
  ReportLines Finish() {
    std::reverse(lines_.begin(), lines_.end());
    return std::move(lines_);
  }

 private:
  ReportLines lines_;
};

float Percent(float part, float total) { return total == 0.0f ? 0.0f : part / total * 100.0f; }

void AddNotes(ReportBuilder& out, const std::vector<std::u16string>& notes) {
  if (notes.empty()) {
    out.Block(u"No notes.");
    return;
  }
  for (const std::u16string& note : notes) out.Line(note);
  out.Block(u"Notes:");
}

void AddRecordCounts(ReportBuilder& out, std::int32_t recordCount, std::int32_t billableRecordCount) {
  out.Line(Format(u"Non-billable records: %d.", recordCount - billableRecordCount));
  out.Line(Format(u"Billable records: %d.", billableRecordCount));
  out.Line(Format(u"Summarized records: %d.", recordCount));
}

struct Warning {
  std::int32_t count;
  std::u16string_view text;
};

void AddWarnings(ReportBuilder& out, std::initializer_list<Warning> warnings) {
  if (std::none_of(warnings.begin(), warnings.end(), [](const Warning& w) { return w.count > 0; })) return;
  out.Block(u"Summary entries might be incorrect.");
  for (const Warning& w : warnings) {
    if (w.count > 0) out.Line(Format(w.text, w.count));
  }
}

}  // namespace

ReportLines TimeReportLines(const TimeSummary& s) {
  ReportBuilder out;
  AddNotes(out, s.notes);
  for (const TimeSummaryEntry& e : s.entries) {
    if (e.billable != 1) {
      out.Line(Format(u"%s, %s, %s, %s: %.2f hours", e.client, e.project, e.subproject, e.task, e.hours));
    }
  }
  out.Block(u"Non-billable Detailed Totals:");
  for (const TimeSummaryEntry& e : s.entries) {
    if (e.billable == 1) {
      out.Line(Format(u"%s, %s, %s, %s: %.2f hours: %.2f/hour, %.2f total", e.client, e.project, e.subproject,
                      e.task, e.hours, e.rate, e.amount));
    }
  }
  out.Block(u"Billable Detailed Totals:");
  out.Line(Format(u"Billable amount: %.2f", s.billableAmount));
  out.Blank();
  const float nonBillableHours = s.totalHours - s.billableHours;
  out.Line(Format(u"Non-billable hours: %.2f [ %.2f %% ].", nonBillableHours, Percent(nonBillableHours, s.totalHours)));
  out.Line(Format(u"Billable hours: %.2f [ %.2f %% ].", s.billableHours, Percent(s.billableHours, s.totalHours)));
  out.Line(Format(u"Total hours: %.2f.", s.totalHours));
  out.Blank();
  AddRecordCounts(out, s.recordCount, s.billableRecordCount);
  AddWarnings(out, {{s.undefinedDurationCount, u"NOTE: %d record(s) had undefined duration."},
                    {s.invalidDurationCount, u"NOTE: %d record(s) had invalid duration."},
                    {s.undefinedRateCount, u"NOTE: %d billable record(s) had undefined rate."},
                    {s.unbilledCount, u"NOTE: %d billable record(s) had not yet been billed."},
                    {s.invalidRateCount, u"NOTE: %d billable record(s) had invalid rate."}});
  return out.Finish();
}

ReportLines ExpenseReportLines(const ExpenseSummary& s) {
  ReportBuilder out;
  AddNotes(out, s.notes);
  for (bool billable : {false, true}) {
    for (const ExpenseSummaryEntry& e : s.entries) {
      if (e.billable == billable) out.Line(Format(u"%s, %s, %s: %.2f", e.client, e.project, e.description, e.amount));
    }
    out.Block(billable ? u"Billable Detailed Totals:" : u"Non-billable Detailed Totals:");
  }
  const float nonBillableAmount = s.totalAmount - s.billableAmount;
  out.Line(Format(u"Non-billable amount: %.2f [ %.2f %% ].", nonBillableAmount,
                  Percent(nonBillableAmount, s.totalAmount)));
  out.Line(Format(u"Billable amount: %.2f [ %.2f %% ].", s.billableAmount, Percent(s.billableAmount, s.totalAmount)));
  out.Line(Format(u"Total summarized amount: %.2f.", s.totalAmount));
  out.Blank();
  AddRecordCounts(out, s.recordCount, s.billableRecordCount);
  AddWarnings(out, {{s.undefinedAmountCount, u"NOTE: %d record(s) had undefined amount."},
                    {s.invalidAmountCount, u"NOTE: %d record(s) had invalid (non-numeric) amount."},
                    {s.unbilledCount, u"NOTE: %d billable record(s) had not yet been billed."}});
  return out.Finish();
}

}  // namespace pw
