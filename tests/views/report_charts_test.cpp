#include "views/report_charts.h"

#include <gtest/gtest.h>

#include "text/format.h"
#include "views/report_summary.h"

namespace pw {
namespace {

// One record: its date, client, billable flag (time: only 1 is billable)
// and its duration (time) or amount (expense).
struct R {
  std::u16string_view date, client;
  int billable;
  std::u16string_view value;
};

struct ChartCase {
  bool expense;
  std::vector<R> records;
  std::vector<std::u16string> clients, months;  // the bars' labels, in order
};

std::u16string Two(float value) { return Format(u"%.2f", value); }

std::vector<std::u16string> Labels(const std::vector<ChartBar>& bars) {
  std::vector<std::u16string> out;
  for (const ChartBar& bar : bars) out.push_back(bar.label);
  return out;
}

class ReportChartsTest : public ::testing::TestWithParam<ChartCase> {};

// Every bar is the report's arithmetic: both charts add up to the billable
// and non-billable totals the report prints.
TEST_P(ReportChartsTest, SeriesAddUpToTheReportsTotals) {
  const ChartCase& c = GetParam();
  TimeSummary ts;
  ExpenseSummary es;
  for (const R& r : c.records) {
    if (c.expense)
      SummarizeExpenseRecord(&es, {r.date, r.client, u"P", u"D", r.value, u"", r.billable != 0, false}, false);
    else
      SummarizeTimeRecord(&ts, {r.date, r.client, u"P", u"S", u"T", u"10", r.value, u"", r.billable, 1}, false);
  }
  const ReportCharts charts = c.expense ? ExpenseReportCharts(es) : TimeReportCharts(ts);
  const float billable = c.expense ? es.billableAmount : ts.billableHours;
  const float total = c.expense ? es.totalAmount : ts.totalHours;
  for (const ReportChart* chart : {&charts.byClient, &charts.byMonth}) {
    float b = 0.0f, n = 0.0f;
    for (const ChartBar& bar : chart->bars) b += bar.billable, n += bar.nonBillable;
    EXPECT_EQ(Two(b), Two(billable)) << chart->perClient;
    EXPECT_EQ(Two(n), Two(total - billable)) << chart->perClient;
  }
  EXPECT_EQ(Labels(charts.byClient.bars), c.clients);
  EXPECT_EQ(Labels(charts.byMonth.bars), c.months);
  EXPECT_EQ(charts.byClient.title, c.expense ? u"Amount by client" : u"Hours by client");
  EXPECT_EQ(charts.byMonth.title, c.expense ? u"Amount by month" : u"Hours by month");
}

std::vector<R> TwelveClients() {
  static const std::u16string names = u"ABCDEFGHIJKL";
  static const std::u16string_view hours[] = {u"1:00", u"2:00", u"3:00", u"4:00", u"5:00", u"6:00",
                                              u"7:00", u"8:00", u"9:00", u"10:00", u"11:00", u"12:00"};
  std::vector<R> out;
  for (std::size_t i = 0; i < names.size(); ++i)
    out.push_back({u"05/31/2023", std::u16string_view(names).substr(i, 1), int(i % 2), hours[i]});
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    BothModes, ReportChartsTest,
    ::testing::Values(
        // A month without records between two with records is an empty bar;
        // a date that does not read goes last; a billable flag of 5 is not billable.
        ChartCase{false,
                  {{u"01/05/2024", u"Acme", 1, u"1:20"}, {u"01/05/2024", u"Bolt", 0, u"0:10"},
                   {u"03/02/2024", u"Acme", 5, u"2:00"}, {u"13/45/2024", u"", 1, u"0:30"},
                   {u"03/09/2024", u"Bolt", 1, u"--:--"}},
                  {u"Acme", u"(no client)", u"Bolt"},
                  {u"01/2024", u"02/2024", u"03/2024", u"No valid date"}},
        ChartCase{true,
                  {{u"12/30/2023", u"Acme", 1, u"10.10"}, {u"01/02/2024", u"Bolt", 0, u"99.995"},
                   {u"01/03/2024", u"Acme", 0, u"n/a"}, {u"01/04/2024", u"Acme", 1, u"0.015"}},
                  {u"Bolt", u"Acme"},
                  {u"12/2023", u"01/2024"}},
        // The nine largest clients, then one bar for the rest.
        ChartCase{false, TwelveClients(),
                  {u"L", u"K", u"J", u"I", u"H", u"G", u"F", u"E", u"D", u"Other clients"},
                  {u"05/2023"}}));

}  // namespace
}  // namespace pw
