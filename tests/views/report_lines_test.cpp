#include "views/report_lines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "support/locale_guard.h"

namespace pw {
namespace {

using Lines = std::vector<std::u16string>;
using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::Not;

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
  for (const T& r : records)
    SummarizeTimeRecord(&s, {r.date, r.client, r.project, r.subproject, r.task, r.rate, r.duration, r.notes,
                             r.billable, r.billed}, european);
  return s;
}

ExpenseSummary SummarizeExpense(const std::vector<E>& records) {
  ExpenseSummary s;
  for (const E& r : records)
    SummarizeExpenseRecord(&s, {r.date, r.client, r.project, r.description, r.amount, r.notes, r.billable, r.billed},
                           false);
  return s;
}

struct TimeCase {
  const char* name;
  std::vector<T> records;
  Lines present{}, absent{};
};

const TimeCase kTimeCases[] = {
    // Rates apart are two entries; rates equal as numbers share one.
    {"RatesKeyTheEntries",
     {{.rate = u"50", .duration = u"1:30"}, {.rate = u"60", .duration = u"0:30"}, {.rate = u"50.000"},
      {.rate = u"5e1"}},
     {u"Acme, Roof, North, Survey: 3.50 hours: 50.00/hour, 175.00 total",
      u"Acme, Roof, North, Survey: 0.50 hours: 60.00/hour, 30.00 total", u"Billable amount: 205.00"}},
    {"SingleFloatArithmetic",  // 1.5 h x 33.33 is 49.995f: "50.00", where double gives "49.99"
     {{.rate = u"33.33", .duration = u"1:30"}}, {u"Billable amount: 50.00"}},
    {"TextsCompareCaseSensitively",
     {{.client = u"Acme"}, {.client = u"acme"}, {.task = u"Survey "}},
     {u"Acme, Roof, North, Survey: 1.00 hours: 50.00/hour, 50.00 total",
      u"acme, Roof, North, Survey: 1.00 hours: 50.00/hour, 50.00 total",
      u"Acme, Roof, North, Survey : 1.00 hours: 50.00/hour, 50.00 total"}},
    {"BillableAndNotAreApart",
     {{.billable = 1}, {.billable = 0}},
     {u"Acme, Roof, North, Survey: 1.00 hours", u"Billable hours: 1.00 [ 50.00 % ].",
      u"Non-billable hours: 1.00 [ 50.00 % ]."}},
    {"InvalidDurations",  // sscanf rules: "7" yields one number, " 2:15x" two
     {{.duration = u"7"}, {.duration = u"abc"}, {.duration = u""}, {.duration = u" 2:15x"}},
     {u"NOTE: 3 record(s) had invalid duration.", u"Total hours: 2.25."}},
    {"UndefinedRateAddsNothing", {{.rate = u"n/a", .duration = u"2:00"}}, {u"Billable amount: 0.00"}},
    {"RatesOfRecordsNotBillableAreNotRead",
     {{.rate = u"fifty", .billable = 0, .billed = 0}, {.rate = u"n/a", .billable = 0, .billed = 0}},
     {u"Acme, Roof, North, Survey: 2.00 hours"}, {u"Summary entries might be incorrect."}},
};

TEST(ReportLinesTest, TimeCases) {
  for (const char* locale : test::kTestLocales) {
    test::LocaleGuard scoped(locale);
    for (const TimeCase& c : kTimeCases) {
      SCOPED_TRACE(std::string(c.name) + " under " + locale);
      const Lines lines = TimeReportLines(SummarizeTime(c.records));
      for (const auto& line : c.present) EXPECT_THAT(lines, Contains(line));
      for (const auto& line : c.absent) EXPECT_THAT(lines, Not(Contains(line)));
    }
  }
}

// Every report here is made under the C locale and under a decimal-comma locale.
TEST(ReportLinesTest, ReportsReadTopToBottom) {
  const Lines time = {
      u"NOTE: 2 billable record(s) had not yet been billed.", u" ", u"Summary entries might be incorrect.", u" ",
      u"Summarized records: 2.", u"Billable records: 2.", u"Non-billable records: 0.", u" ", u"Total hours: 2.00.",
      u"Billable hours: 2.00 [ 100.00 % ].", u"Non-billable hours: 0.00 [ 0.00 % ].", u" ", u"Billable amount: 100.00",
      u" ", u"Billable Detailed Totals:", u" ", u"Acme, Roof, North, Survey: 2.00 hours: 50.00/hour, 100.00 total",
      u" ", u"Non-billable Detailed Totals:", u" ", u" ", u"No notes.", u" "};
  const Lines expense = {
      u"NOTE: 1 record(s) had undefined amount.", u" ", u"Summary entries might be incorrect.", u" ",
      u"Summarized records: 4.", u"Billable records: 1.", u"Non-billable records: 3.", u" ",
      u"Total summarized amount: 45.50.", u"Billable amount: 30.00 [ 65.93 % ].",
      u"Non-billable amount: 15.50 [ 34.07 % ].", u" ", u"Billable Detailed Totals:", u" ", u"Bolt, Roof, Nails: 30.00",
      u" ", u"Non-billable Detailed Totals:", u" ", u"Acme, Roof, Nails: 15.50", u" ", u"Notes:", u" ",
      u"03/04/2001: \"lost receipt\""};
  for (const char* name : test::kTestLocales) {
    test::LocaleGuard locale(name);
    SCOPED_TRACE(name);
    const std::vector<T> time2h = {{.duration = u"1:30", .billed = 0}, {.duration = u"0:30", .billed = 0}};
    EXPECT_THAT(TimeReportLines(SummarizeTime(time2h)), ElementsAreArray(time));
    EXPECT_THAT(ExpenseReportLines(SummarizeExpense(
                    {{.amount = u"10"}, {.amount = u"5.50"}, {.client = u"Bolt", .amount = u"30", .billable = true,
                     .billed = true}, {.amount = u"n/a", .notes = u"lost receipt", .date = u"03/04/2001"}})),
                ElementsAreArray(expense));
  }
}

// Both texts of an undefined duration count as such; with no hours at all, no share either.
TEST(ReportLinesTest, WarningsComeInTheirOrderAboveTheCounts) {
  const Lines lines = TimeReportLines(SummarizeTime(
      {{.rate = u"x", .duration = u"--:--", .billed = 0}, {.rate = u"n/a", .duration = u"x"}, {.duration = u"??:??"}}));
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 8),
            (Lines{u"NOTE: 1 billable record(s) had invalid rate.",
                   u"NOTE: 1 billable record(s) had not yet been billed.",
                   u"NOTE: 1 billable record(s) had undefined rate.", u"NOTE: 1 record(s) had invalid duration.",
                   u"NOTE: 2 record(s) had undefined duration.", u" ", u"Summary entries might be incorrect.", u" "}));
  EXPECT_THAT(lines, Contains(u"Billable hours: 0.00 [ 0.00 % ]."));
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
                         u"01.01.2001: \"say \"hi\"\"", u"31.12.2000: \"first\""}));
}

TEST(ReportSummaryTest, EntryKeysAndAmounts) {
  // Rates that are not numbers never equal one another; 0 and -0 are one rate; a flag other than 1
  // is not billable (no amount) and keys apart from 0.
  TimeSummary s;
  for (auto [billable, hours, rate] : {std::tuple{1, 1.0f, std::nanf("")}, {1, 1.0f, std::nanf("")}, {1, 1.0f, 0.0f},
                                       {1, 2.0f, -0.0f}, {5, 1.0f, 20.0f}, {0, 1.0f, 20.0f}})
    AddTimeSummaryEntry(&s, u"A", u"P", u"S", u"T", billable, hours, rate);
  ASSERT_EQ(s.entries.size(), 5u);
  EXPECT_EQ(std::tuple(s.entries[2].hours, s.entries[3].amount, s.entries[3].billable), std::tuple(3.0f, 0.0f, 5));
  // Text boundaries and the flag are part of the key: "AB"+"C" is not "A"+"BC".
  ExpenseSummary e;
  for (auto [client, project, billable] :
       {std::tuple{u"AB", u"C", false}, {u"A", u"BC", false}, {u"AB", u"C", true}, {u"AB", u"C", false}})
    AddExpenseSummaryEntry(&e, client, project, u"D", billable, 1.0f);
  ASSERT_EQ(e.entries.size(), 3u);
  EXPECT_EQ(e.entries[0].amount, 2.0f);
}

}  // namespace
}  // namespace pw
