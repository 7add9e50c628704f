// The two charts beside a report: its hours (time) or amounts (expense) by
// client and by month, each bar split into its billable and non-billable
// parts. The numbers come from the same summary as the report's lines, in
// float at every step, so a chart never disagrees with the lines beside it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pw {

struct ChartBar {
  std::u16string label;
  float billable = 0.0f;
  float nonBillable = 0.0f;
};

struct ReportChart {
  std::u16string title;  // also the chart's accessible name
  bool perClient = false;  // a bar per client, else per month
  std::vector<ChartBar> bars;
};

struct ReportCharts {
  ReportChart byClient, byMonth;
  std::u16string valueName;  // "Hours" or "Amount": the value axis
  bool empty() const { return byClient.bars.empty() && byMonth.bars.empty(); }
};

inline constexpr std::u16string_view PWH_CHART_BILLABLE = u"Billable";
inline constexpr std::u16string_view PWH_CHART_NON_BILLABLE = u"Non-billable";
// The bar of the clients past the largest ones, and of records without a
// readable date.
inline constexpr std::u16string_view PWH_CHART_OTHER_CLIENTS = u"Other clients";
inline constexpr std::u16string_view PWH_CHART_NO_CLIENT = u"(no client)";
inline constexpr std::u16string_view PWH_CHART_NO_DATE = u"No valid date";
// Clients shown with a bar of their own; the rest share one.
inline constexpr std::size_t PWH_CHART_MOST_CLIENTS = 10;
// Months without records between the first and the last are shown as
// empty bars while the span is at most this long.
inline constexpr int PWH_CHART_MOST_FILLED_MONTHS = 240;

// What a summary adds up per calendar month while it walks its records.
// Records come in calendar order, so the month of the last date text is
// remembered and a date is read once per run of equal dates.
class MonthTally {
 public:
  void Add(std::u16string_view date, bool billable, float value);
  // The bars, oldest month first, months between them filled in (see
  // PWH_CHART_MOST_FILLED_MONTHS), labelled "MM/YYYY"; the records without a
  // valid date last.
  std::vector<ChartBar> Bars() const;

 private:
  static constexpr std::int32_t kNoDate = -1;
  std::u16string lastDate_;
  std::uint32_t lastSlot_ = UINT32_MAX;
  std::vector<std::int32_t> keys_;  // year x 12 + month - 1, or kNoDate
  std::vector<ChartBar> bars_;      // parallel to keys_
  std::unordered_map<std::int32_t, std::uint32_t> slots_;
};

struct TimeSummary;
struct ExpenseSummary;

// "Hours by client" and "Hours by month" of a time summary; "Amount by
// client" and "Amount by month" of an expense summary. A client's bar is
// the sum of its detailed totals; the largest clients come first.
ReportCharts TimeReportCharts(const TimeSummary& summary);
ReportCharts ExpenseReportCharts(const ExpenseSummary& summary);

}  // namespace pw
