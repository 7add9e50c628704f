#include "views/record_totals.h"

#include <gtest/gtest.h>

#include "selection/quick_filter.h"
#include "storage/store_fixture.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/tree_nodes.h"

namespace pw {
namespace {

// Hand-computed totals of the records shown, in both modes; the numbers are
// the report's (1.5 h at 33.33 is 49.995f, "50.00"), and a narrowed set
// says how many of how many it shows.
TEST(ShownTotalsTest, AddUpAsTheReportDoes) {
  struct Case {
    int mode;
    std::vector<std::tuple<const char16_t*, const char16_t*, int>> records;  // duration/amount, rate, flag
    std::int64_t unnarrowed;
    std::u16string_view text;
  };
  const Case cases[] = {
      {PWH_TIME_MODE,
       {{u"1:30", u"33.33", 1}, {u"0:45", u"n/a", 1}, {u"--:--", u"10", 1}, {u"2:00", u"20", 0}, {u"2:00", u"20", 5}},
       -1,
       u"6.25 h, 50.00 billable"},
      {PWH_TIME_MODE, {}, 12, u"0 of 12 shown; 0.00 h, 0.00 billable"},
      {PWH_EXPENSE_MODE,
       {{u"12.50", u"", 1}, {u"n/a", u"", 1}, {u"7.25", u"", 0}, {u"abc", u"", 1}},
       9,
       u"4 of 9 shown; 19.75 amount, 12.50 reimbursable"},
  };
  for (const Case& c : cases) {
    TotalsCounter counter(c.mode);
    TimeSummary report;
    for (auto [number, rate, flag] : c.records) {
      if (c.mode == PWH_TIME_MODE) {
        counter.AddTime(number, rate, flag);
        TimeFieldsForSummary fields;
        fields.rate = rate, fields.duration = number, fields.billable = flag;
        SummarizeTimeRecord(&report, fields, false);
      } else {
        counter.AddExpense(number, flag != 0);
      }
    }
    EXPECT_EQ(TotalsStatusText(counter.totals(), c.unnarrowed), c.text);
    if (c.mode == PWH_TIME_MODE) {
      EXPECT_EQ(std::pair(counter.totals().hours, counter.totals().billableAmount),
                std::pair(report.totalHours, report.billableAmount));
    }
  }
}

// A record replaced (a timer stopped) gives exactly the totals of counting every record anew: float
// sums depend on their order.
TEST(ShownTotalsTest, ReplacingOneRecordCountsAsCountingAnew) {
  const auto props = [](std::u16string_view duration, int billable) {
    TimeRecord r;
    CopyText(r.duration, duration), CopyText(r.rate, u"33.33"), r.billable = billable;
    CEPROPVAL p[18];
    PropertyBuffer buffer;
    buffer.Decode(EncodeProperties(RecordToProps(r, p), 18));
    return buffer;
  };
  std::vector<PropertyBuffer> records;
  for (int i = 0; i < 3000; ++i) records.push_back(props(i == 1234 ? u"--:--" : Format(u"%d:%02d", i % 9, i % 60), i % 3));
  TotalsCounter kept(PWH_TIME_MODE), unkept(PWH_TIME_MODE), anew(PWH_TIME_MODE);
  kept.KeepTerms();
  for (const PropertyBuffer& r : records) kept.Add(r), unkept.Add(r);
  records[1234] = props(u"7:45", 1);
  for (const PropertyBuffer& r : records) anew.Add(r);
  EXPECT_TRUE(kept.Replace(1234, records[1234]));
  EXPECT_FALSE(kept.Replace(3000, records[0]) || unkept.Replace(0, records[0]));
  const auto numbers = [](const ShownTotals& t) { return std::tuple(t.records, t.hours, t.billableAmount); };
  EXPECT_EQ(numbers(kept.totals()), numbers(anew.totals()));
  EXPECT_NE(numbers(unkept.totals()), numbers(anew.totals()));
}

// Amounts and rates are read as sscanf's "%f" reads them, plain decimals
// (read without it) included.
TEST(ShownTotalsTest, NumbersReadAsTheCLibraryReadsThem) {
  std::vector<std::u16string> texts = {u"1.", u".5", u"-2.5", u"+3", u"16777215", u"16777217", u"0.1",
                                       u"123456.789", u" 12", u"12abc", u"1e3", u"0x10", u"-", u".", u"1.2.3",
                                       u"0.0000000001", u"3.14159265358979", u"", u"n/a"};
  for (int i = 0; i < 20000; i += 7) texts.push_back(Format(u"%d.%02d", i % 2000, i % 100));
  NumberScans scans;
  for (const std::u16string& text : texts) {
    float expected = 0.0f;
    const bool scanned = text != u"n/a" && ScanFloat(text, &expected) == 1;
    const ExpenseRecordNumbers n = ReadExpenseRecordNumbers(scans, text);
    EXPECT_EQ(std::pair(n.amount, n.invalidAmount), std::pair(scanned ? expected : 0.0f, !scanned && text != u"n/a"))
        << std::string(text.begin(), text.end());
  }
}

// Each group of the tree adds up the values of the records below it.
TEST(ShownTotalsTest, TreeGroupsAddUpTheirRecords) {
  TreeNodeList nodes;
  const std::u16string_view a[] = {u"03/14/2024", u"Acme"}, b[] = {u"03/14/2024", u"Bolt"};
  nodes.AddRecordPath(a, u"1.50", 0, 1.5f);
  nodes.AddRecordPath(b, u"0.25", 1, 0.25f);
  nodes.AddRecordPath(a, u"2.00", 2, 2.0f);
  EXPECT_EQ(nodes.total(0), 3.75f);
  EXPECT_EQ(nodes.total(1), 3.5f);
  EXPECT_EQ(GroupLabelWithTotal(nodes.text(1), nodes.total(1)), u"Acme  (3.50)");
}

// The quick filter's totals, added from the shares read with its texts, are
// those of a walk of the records it shows: over every record or a tab's
// part, both modes; none before the texts are read or in the other mode.
class QuickFilterTotalsTest : public test::StoreTest {};
TEST_F(QuickFilterTotalsTest, AreThoseOfTheRecordsShown) {
  OpenRecordDatabases();
  for (auto [client, duration, rate, billable] : {std::tuple{u"Acme", u"1:30", u"33.33", 1}, {u"Bolt", u"0:45", u"20", 0},
                                                  {u"Acorn", u"2:10", u"n/a", 1}, {u"Cobalt", u"--:--", u"9", 1}}) {
    TimeRecord r = test::Time(u"03/14/2024", client, billable);
    CopyText(r.duration, duration), CopyText(r.rate, rate);
    test::Put(TimeDatabase, r);
  }
  for (auto [client, amount, reimbursable] : {std::tuple{u"Acme", u"12.50", true}, {u"Bolt", u"7.25", false}}) {
    ExpenseRecord r = test::Expense(u"03/14/2024", client);
    CopyText(r.amount, amount), r.reimbursable = reimbursable;
    test::Put(ExpenseDatabase, r);
  }
  const std::tuple<int, bool, std::u16string_view> cases[] = {
      {PWH_TIME_MODE, true, u""}, {PWH_TIME_MODE, true, u"a"},    {PWH_TIME_MODE, true, u"ac"},
      {PWH_TIME_MODE, false, u"o"}, {PWH_TIME_MODE, true, u"zzz"}, {PWH_EXPENSE_MODE, true, u"b"},
  };
  for (auto [mode, all, typed] : cases) {
    AppMode = mode;
    state.Filter = QuickFilterState{};
    RecordSetMode = all ? PWH_ALL_REC_MODE : PWH_SELECT_REC_MODE;
    DisplayedRecordList.Clear();
    for (RecordPosition p : {1u, 2u, 3u}) DisplayedRecordList.Append(p);
    RebaseQuickFilter(state, state);
    ShownTotals cached;
    EXPECT_FALSE(QuickFilterTotals(state, mode, &cached));
    PrepareQuickFilter(state, state);
    SetQuickFilter(state, state, typed);
    ASSERT_TRUE(QuickFilterTotals(state, mode, &cached));
    EXPECT_FALSE(QuickFilterTotals(state, PWH_TIME_MODE + PWH_EXPENSE_MODE - mode, &cached));
    TotalsCounter walked(mode);
    auto shown = [&, position = RecordPosition(0)]() mutable {
      const auto& list = DisplayedRecordList.positions();
      const RecordPosition p = position++;
      return RecordSetMode == PWH_ALL_REC_MODE || std::find(list.begin(), list.end(), p) != list.end();
    };
    if (mode == PWH_TIME_MODE) {
      for (const TimeRecord& r : test::ReadAll<TimeRecord>(TimeDatabase))
        if (shown()) walked.AddTime(TextOf(r.duration), TextOf(r.rate), r.billable);
    } else {
      for (const ExpenseRecord& r : test::ReadAll<ExpenseRecord>(ExpenseDatabase))
        if (shown()) walked.AddExpense(TextOf(r.amount), r.reimbursable);
    }
    const ShownTotals& w = walked.totals();
    EXPECT_EQ(std::tuple(cached.records, cached.hours, cached.billableAmount, cached.amount, cached.reimbursable),
              std::tuple(w.records, w.hours, w.billableAmount, w.amount, w.reimbursable))
        << std::string(typed.begin(), typed.end());
  }
}

}  // namespace
}  // namespace pw
