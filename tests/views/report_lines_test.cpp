#include "views/report_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/locale_guard.h"

namespace pw {
namespace {

using Lines = std::vector<std::u16string>;

struct T {
  std::u16string_view client = u"Acme", project = u"Roof", subproject = u"North", task = u"Survey";
  std::u16string_view rate = u"50", duration = u"1:00", notes = u"", date = u"01/02/2000";
  int billable = 1, billed = 1;
};

struct E {
  std::u16string_view client = u"Acme", project = u"Roof", description = u"Nails", amount = u"10";
  bool billable = false, billed = false;
  std::u16string_view notes = u"", date = u"01/02/2000";
};

TimeSummary SummarizeTime(const std::vector<T>& records, bool european = false) {
  TimeSummary s;
  for (const T& r : records) {
    SummarizeTimeRecord(&s, {r.date, r.client, r.project, r.subproject, r.task, r.rate, r.duration, r.notes,
                             r.billable, r.billed},
                        european);
  }
  return s;
}

ExpenseSummary SummarizeExpense(const std::vector<E>& records) {
  ExpenseSummary s;
  for (const E& r : records) {
    SummarizeExpenseRecord(&s, {r.date, r.client, r.project, r.description, r.amount, r.notes, r.billable, r.billed},
                           false);
  }
  return s;
}

bool Has(const Lines& lines, std::u16string_view line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string Show(const Lines& lines) {
  std::string out;
  for (const auto& l : lines) out += std::string(l.begin(), l.end()) + "\n";
  return out;
}

// Every case runs under the C locale and under a decimal-comma locale.
class ReportLocaleTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ReportLocaleTest, ReportsReadTopToBottom) {
  test::LocaleGuard locale(GetParam());
  Lines lines = TimeReportLines(SummarizeTime({{.duration = u"1:30", .billed = 0}, {.duration = u"0:30", .billed = 0}}));
  const Lines expected = {
      u"NOTE: 2 billable record(s) had not yet been billed.",
      u" ", u"Summary entries might be incorrect.", u" ",
      u"Summarized records: 2.", u"Billable records: 2.", u"Non-billable records: 0.",
      u" ",
      u"Total hours: 2.00.", u"Billable hours: 2.00 [ 100.00 % ].", u"Non-billable hours: 0.00 [ 0.00 % ].",
      u" ",
      u"Billable amount: 100.00",
      u" ", u"Billable Detailed Totals:", u" ",
      u"Acme, Roof, North, Survey: 2.00 hours: 50.00/hour, 100.00 total",
      u" ", u"Non-billable Detailed Totals:", u" ",
      u" ", u"No notes.", u" ",
  };
  EXPECT_EQ(lines, expected) << Show(lines);

  lines = ExpenseReportLines(SummarizeExpense(
      {{.amount = u"10"}, {.amount = u"5.50"}, {.client = u"Bolt", .amount = u"30", .billable = true, .billed = true},
       {.amount = u"n/a", .notes = u"lost receipt", .date = u"03/04/2001"}}));
  const Lines expectedExpense = {
      u"NOTE: 1 record(s) had undefined amount.",
      u" ", u"Summary entries might be incorrect.", u" ",
      u"Summarized records: 4.", u"Billable records: 1.", u"Non-billable records: 3.",
      u" ",
      u"Total summarized amount: 45.50.", u"Billable amount: 30.00 [ 65.93 % ].",
      u"Non-billable amount: 15.50 [ 34.07 % ].",
      u" ", u"Billable Detailed Totals:", u" ",
      u"Bolt, Roof, Nails: 30.00",
      u" ", u"Non-billable Detailed Totals:", u" ",
      u"Acme, Roof, Nails: 15.50",
      u" ", u"Notes:", u" ",
      u"03/04/2001: \"lost receipt\"",
  };
  EXPECT_EQ(lines, expectedExpense) << Show(lines);
}

struct TimeCase {
  const char* name;
  std::vector<T> records;
  Lines present{};
  Lines absent{};
};

class TimeReportCaseTest : public ::testing::TestWithParam<std::tuple<TimeCase, std::string>> {};

TEST_P(TimeReportCaseTest, Lines) {
  const auto& [c, locale] = GetParam();
  test::LocaleGuard scoped(locale);
  const Lines lines = TimeReportLines(SummarizeTime(c.records));
  for (const auto& line : c.present) EXPECT_TRUE(Has(lines, line)) << std::string(line.begin(), line.end()) << "\n" << Show(lines);
  for (const auto& line : c.absent) EXPECT_FALSE(Has(lines, line)) << std::string(line.begin(), line.end()) << "\n" << Show(lines);
}

const TimeCase kTimeCases[] = {
    // Rates apart are two entries; rates equal as numbers share one.
    {"RatesKeyTheEntries",
     {{.rate = u"50", .duration = u"1:30"}, {.rate = u"60", .duration = u"0:30"}, {.rate = u"50.000"}, {.rate = u"5e1"}},
     {u"Acme, Roof, North, Survey: 3.50 hours: 50.00/hour, 175.00 total",
      u"Acme, Roof, North, Survey: 0.50 hours: 60.00/hour, 30.00 total", u"Billable amount: 205.00"}},
    {"SingleFloatArithmetic",  // 1.5 h x 33.33 is 49.995f: "50.00", where double gives "49.99"
     {{.rate = u"33.33", .duration = u"1:30"}},
     {u"Acme, Roof, North, Survey: 1.50 hours: 33.33/hour, 50.00 total", u"Billable amount: 50.00"}},
    {"TextsCompareCaseSensitively",
     {{.client = u"Acme"}, {.client = u"acme"}, {.task = u"Survey "}},
     {u"Acme, Roof, North, Survey: 1.00 hours: 50.00/hour, 50.00 total",
      u"acme, Roof, North, Survey: 1.00 hours: 50.00/hour, 50.00 total",
      u"Acme, Roof, North, Survey : 1.00 hours: 50.00/hour, 50.00 total"}},
    {"BillableAndNotAreApart",
     {{.billable = 1}, {.billable = 0}},
     {u"Acme, Roof, North, Survey: 1.00 hours: 50.00/hour, 50.00 total", u"Acme, Roof, North, Survey: 1.00 hours",
      u"Billable hours: 1.00 [ 50.00 % ].", u"Non-billable hours: 1.00 [ 50.00 % ].", u"Non-billable records: 1."}},
    {"UndefinedDurations",
     {{.duration = u"--:--"}, {.duration = u"??:??"}},
     {u"NOTE: 2 record(s) had undefined duration.", u"Summary entries might be incorrect.", u"Summarized records: 2.",
      u"Total hours: 0.00.", u"Billable hours: 0.00 [ 0.00 % ].", u"Non-billable hours: 0.00 [ 0.00 % ]."},
     {u"NOTE: 2 record(s) had invalid duration."}},
    {"InvalidDurations",  // sscanf rules: "7" yields one number, " 2:15x" two
     {{.duration = u"7"}, {.duration = u"abc"}, {.duration = u""}, {.duration = u" 2:15x"}},
     {u"NOTE: 3 record(s) had invalid duration.", u"Total hours: 2.25."}},
    {"UndefinedRateAddsNothing",
     {{.rate = u"n/a", .duration = u"2:00"}},
     {u"NOTE: 1 billable record(s) had undefined rate.", u"Billable amount: 0.00",
      u"Acme, Roof, North, Survey: 2.00 hours: 0.00/hour, 0.00 total"},
     {u"NOTE: 1 billable record(s) had invalid rate."}},
    {"RatesOfRecordsNotBillableAreNotRead",
     {{.rate = u"fifty", .billable = 0, .billed = 0}, {.rate = u"n/a", .billable = 0, .billed = 0}},
     {u"Acme, Roof, North, Survey: 2.00 hours"},
     {u"Summary entries might be incorrect."}},
    {"NothingSummarised",
     {},
     {u"Summarized records: 0.", u"Total hours: 0.00.", u"Billable amount: 0.00", u"No notes."},
     {u"Summary entries might be incorrect."}},
};

std::string LocaleName(const std::string& locale) { return locale == "C" ? "C" : "Comma"; }

INSTANTIATE_TEST_SUITE_P(Cases, TimeReportCaseTest,
                         ::testing::Combine(::testing::ValuesIn(kTimeCases), ::testing::ValuesIn(test::NumberLocales())),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" + LocaleName(std::get<1>(info.param));
                         });
INSTANTIATE_TEST_SUITE_P(Locales, ReportLocaleTest, ::testing::ValuesIn(test::NumberLocales()),
                         [](const auto& info) { return LocaleName(info.param); });

TEST(ReportLinesTest, WarningsComeInTheirOrderAboveTheCounts) {
  const Lines lines = TimeReportLines(SummarizeTime(
      {{.rate = u"x", .duration = u"--:--", .billed = 0}, {.rate = u"n/a", .duration = u"x"}}));
  const Lines top(lines.begin(), lines.begin() + 8);
  EXPECT_EQ(top, (Lines{u"NOTE: 1 billable record(s) had invalid rate.",
                        u"NOTE: 1 billable record(s) had not yet been billed.",
                        u"NOTE: 1 billable record(s) had undefined rate.", u"NOTE: 1 record(s) had invalid duration.",
                        u"NOTE: 1 record(s) had undefined duration.", u" ", u"Summary entries might be incorrect.",
                        u" "}));
}

TEST(ReportLinesTest, EntriesAndNotesShowTheLatestFirst) {
  const Lines lines = TimeReportLines(SummarizeTime(
      {{.client = u"A", .notes = u"first", .date = u"12/31/2000"},
       {.client = u"B", .billable = 0},
       {.client = u"A", .notes = u"say \"hi\"", .date = u"01/01/2001"},
       {.client = u"C", .billable = 0},
       {.client = u"D"}},
      /*european=*/true));
  const Lines tail(lines.end() - 12, lines.end());
  EXPECT_EQ(tail, (Lines{u"D, Roof, North, Survey: 1.00 hours: 50.00/hour, 50.00 total",
                         u"A, Roof, North, Survey: 2.00 hours: 50.00/hour, 100.00 total", u" ",
                         u"Non-billable Detailed Totals:", u" ", u"C, Roof, North, Survey: 1.00 hours",
                         u"B, Roof, North, Survey: 1.00 hours", u" ", u"Notes:", u" ",
                         u"01.01.2001: \"say \"hi\"\"", u"31.12.2000: \"first\""}))
      << Show(lines);
}

TEST(ReportSummaryTest, EntryKeysAndAmounts) {
  TimeSummary s;
  const float nan = std::nanf("");
  // Rates that are not numbers never equal one another: each record its own entry.
  AddTimeSummaryEntry(&s, u"A", u"P", u"S", u"T", 1, 1.0f, nan);
  AddTimeSummaryEntry(&s, u"A", u"P", u"S", u"T", 1, 1.0f, nan);
  // 0 and -0 are one rate.
  AddTimeSummaryEntry(&s, u"A", u"P", u"S", u"T", 1, 1.0f, 0.0f);
  AddTimeSummaryEntry(&s, u"A", u"P", u"S", u"T", 1, 2.0f, -0.0f);
  // A flag other than 1 is not billable, and keys apart from 0.
  AddTimeSummaryEntry(&s, u"A", u"P", u"S", u"T", 5, 1.0f, 20.0f);
  AddTimeSummaryEntry(&s, u"A", u"P", u"S", u"T", 0, 1.0f, 20.0f);
  ASSERT_EQ(s.entries.size(), 5u);
  EXPECT_EQ(s.entries[2].hours, 3.0f);
  EXPECT_EQ(s.entries[3].amount, 0.0f);
  EXPECT_EQ(s.entries[3].billable, 5);

  // Text boundaries are part of the key: "AB"+"C" is not "A"+"BC".
  ExpenseSummary e;
  AddExpenseSummaryEntry(&e, u"AB", u"C", u"D", false, 1.0f);
  AddExpenseSummaryEntry(&e, u"A", u"BC", u"D", false, 1.0f);
  AddExpenseSummaryEntry(&e, u"AB", u"C", u"D", true, 1.0f);
  AddExpenseSummaryEntry(&e, u"AB", u"C", u"D", false, 2.5f);
  ASSERT_EQ(e.entries.size(), 3u);
  EXPECT_EQ(e.entries[0].amount, 3.5f);
}

}  // namespace
}  // namespace pw
