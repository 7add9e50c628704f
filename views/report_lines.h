// The lines of the Report view, top to bottom, made from a summary.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "views/report_summary.h"

namespace pw {

// A blank line of the report holds one space.
inline constexpr std::u16string_view PWH_REPORT_BLANK = u" ";

using ReportLines = std::vector<std::u16string>;

// The report of a time or an expense summary, in the order shown: the
// warnings first, then the counts and totals, the detailed totals (billable,
// then not billable, the latest first), and the notes (the latest first).
ReportLines TimeReportLines(const TimeSummary& summary);
ReportLines ExpenseReportLines(const ExpenseSummary& summary);

}  // namespace pw
