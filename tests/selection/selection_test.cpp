#include "selection/selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "platform/calendar_date.h"
#include "platform/clock.h"
#include "storage/store_fixture.h"
#include "text/format.h"

namespace pw {
namespace {

using test::Expense;
using test::Put;
using test::Time;
using Positions = std::vector<RecordPosition>;
using Texts = std::vector<std::u16string>;

void SetToday(int year, int month, int day) {
  SYSTEMTIME t;
  t.wYear = WORD(year), t.wMonth = WORD(month), t.wDay = WORD(day);
  SetLocalTimeOverride(t);
}

TEST(TabRangeTest, RangesOnFixedDates) {
  const struct {
    int year, month, day, tab;
    std::u16string_view from, to;
  } cases[] = {
      {2001, 6, 15, PWH_TAB_TODAY, u"06/15/2001", u"06/15/2001"}, {2001, 3, 3, PWH_TAB_7_DAYS, u"02/24/2001", u"03/03/2001"},
      {2001, 3, 14, PWH_TAB_14_DAYS, u"02/28/2001", u"03/14/2001"}, {2000, 2, 10, PWH_TAB_MONTH, u"02/01/2000", u"02/29/2000"},
  };
  for (const auto& c : cases) {
    SetToday(c.year, c.month, c.day);
    std::u16string from, to;
    ASSERT_TRUE(ComputeTabDateRange(c.tab, &from, &to));
    EXPECT_EQ(from + u"-" + to, std::u16string(c.from) + u"-" + std::u16string(c.to));
  }
  SetLocalTimeOverride(std::nullopt);
  std::u16string from, to;
  for (int tab : {-1, int(PWH_TAB_ALL), 5}) EXPECT_FALSE(ComputeTabDateRange(tab, &from, &to));
}

class SelectionTest : public test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    RecordSetMode = PWH_SELECT_REC_MODE;
    DisplayedRecordList.Clear();
  }
  void TearDown() override {
    SetLocalTimeOverride(std::nullopt);
    StoreTest::TearDown();
  }
  template <class Record>
  Texts Shown(DatabaseHandle& db) {
    const Texts clients = test::Clients<Record>(db);
    Texts out;
    for (RecordPosition p : DisplayedRecordList) out.push_back(clients.at(p));
    return out;
  }
};

// The ranges are pinned above and the bounds by the criteria tests: here a tab picks its records.
TEST_F(SelectionTest, DateTabsSelectTheirRange) {
  SetToday(2001, 3, 3);
  for (auto [date, client] : {std::pair{u"02/24/2001", u"from"}, {u"2/28/2001", u"short form"},
                              {u"03/03/2001", u"to"}, {u"n/a", u"no date"}}) {
    Put(TimeDatabase, Time(date, client));
    Put(ExpenseDatabase, Expense(date, client));
  }
  host.selectedTab = PWH_TAB_7_DAYS;
  ApplyDateTab(state, state);
  EXPECT_EQ(std::tuple(RecordSetMode, state.ActiveDateTab), std::tuple(PWH_SELECT_REC_MODE, PWH_TAB_7_DAYS));
  // In calendar order, however the date is written.
  EXPECT_EQ(Shown<TimeRecord>(TimeDatabase), (Texts{u"from", u"short form", u"to"}));

  host.selectedTab = PWH_TAB_TODAY, AppMode = PWH_EXPENSE_MODE;
  ApplyDateTab(state, state);
  EXPECT_EQ(Shown<ExpenseRecord>(ExpenseDatabase), Texts{u"to"});

  host.selectedTab = PWH_TAB_ALL;  // every record, "n/a" included, and no list
  ApplyDateTab(state, state);
  EXPECT_EQ(std::tuple(RecordSetMode, state.ActiveDateTab, DisplayedRecordList.count()),
            std::tuple(PWH_ALL_REC_MODE, PWH_TAB_ALL, 0u));
  DisplayedRecordList.Append(3);
  host.selectedTab = -1;  // no tab: the list is emptied, nothing else changes
  ApplyDateTab(state, state);
  EXPECT_EQ(std::tuple(RecordSetMode, DisplayedRecordList.count()), std::tuple(PWH_ALL_REC_MODE, 0u));
  host.selectedTab = PWH_TAB_MONTH;
  SelectAllTab(state);
  EXPECT_EQ(std::tuple(host.selectedTab, state.ActiveDateTab), std::tuple(PWH_TAB_ALL, PWH_TAB_ALL));
}

// Position i is dated 01/(i+1)/2001; position 6 has no date.
constexpr struct {
  const char16_t *client, *project, *subproject, *task, *currency;
  int billable, billed;
} kTimes[] = {
    {u"Acme", u"Roof", u"North", u"Survey", u"USD", 1, 0},
    {u"Acme", u"Roof", u"South", u"Paint", u"EUR", 1, 1},
    {u"acme", u"Roof", u"North", u"Survey", u"USD", 0, 0},
    {u"Bolt", u"Door", u"North", u"Survey", u"USD", 0, 1},
    {u"Acme Ltd", u"Door", u"West", u"Survey ", u"", 1, 0},
    {u"Bolt", u"Gate", u"East", u"Paint", u"USD", 5, 2},  // another writer's values: neither set nor clear
};

TEST_F(SelectionTest, TimeCriteria) {
  for (std::size_t i = 0; i < std::size(kTimes); ++i) {
    const auto& row = kTimes[i];
    TimeRecord r = Time(Format(u"01/%02d/2001", int(i) + 1), row.client, row.billable, row.billed);
    CopyText(r.project, row.project), CopyText(r.subproject, row.subproject);
    CopyText(r.task, row.task), CopyText(r.currency, row.currency);
    Put(TimeDatabase, r);
  }
  Put(TimeDatabase, Time(u"n/a"));
  const std::pair<TimeSelectionCriteria, Positions> cases[] = {
      {{}, {0, 1, 2, 3, 4, 5}}, {{.client = u"Acme"}, {0, 1}},  // whole text, case-sensitive
      {{.subproject = u"North", .task = u"Survey"}, {0, 2, 3}}, {{.project = u"Door", .currency = u""}, {4}},
      {{.billable = u"billable"}, {0, 1, 4}}, {{.billable = u"not billable"}, {2, 3}},
      {{.billable = u"not billable", .billed = u"billed"}, {3}}, {{.billed = u"not billed"}, {0, 2, 4}},
      {{.billable = u"Billable"}, {}}, {{.from = u"01/02/2001", .to = u"1/3/01"}, {1, 2}},
      // Unreadable dates are the cleared date, before every real one.
      {{.from = u"--", .to = u"01/02/2001"}, {0, 1, 6}},
      {{.from = u"", .to = u"n/a"}, {6}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TimeSelectionCriteria c = cases[i].first;
    if (c.to.empty()) c.from = u"01/01/2001", c.to = u"12/31/2001";
    RecordPositionList list;
    list.Append(99);  // matches are appended
    ASSERT_TRUE(MatchTimeRecords(&list, TimeDatabase, c));
    Positions expected{99};
    expected.insert(expected.end(), cases[i].second.begin(), cases[i].second.end());
    EXPECT_EQ(list.positions(), expected) << "case " << i;
  }
}

// Ten years of days stored out of order, two records on some, and dates that are no dates (after every
// real one): a range finds exactly its days, at its ends too.
TEST_F(SelectionTest, DateRangesOverYearsFindExactlyTheirDays) {
  std::vector<int> days;  // day k is 01/01/2000 + k
  for (int k = 0; k < 3650; k += 7) days.push_back(k);
  for (int k = 0; k < 3650; k += 91) days.push_back(k);
  for (std::size_t i = 0; i < days.size(); ++i) std::swap(days[i], days[(i * 7919) % days.size()]);
  const auto date = [](int k) {
    for (int m = 1, left = k, y = 2000;;) {
      const int inMonth = DaysInMonth(m, y);
      if (left < inMonth) return Format(u"%02d/%02d/%04d", m, left + 1, y);
      left -= inMonth;
      if (++m > 12) m = 1, ++y;
    }
  };
  {
    StoreTransaction group;
    for (int k : days) Put(TimeDatabase, Time(date(k), Format(u"%d", k)));
    for (const char16_t* odd : {u"n/a", u"02/30/2004", u""}) Put(TimeDatabase, Time(odd, u"odd"));
  }
  const struct { int from, to; } cases[] = {{0, 0}, {0, 3649}, {7, 7}, {8, 13}, {91, 182}, {3640, 3700}, {500, 400}};
  for (const auto& c : cases) {
    TimeSelectionCriteria criteria{.from = date(c.from), .to = date(c.to)};
    RecordPositionList list;
    ASSERT_TRUE(MatchTimeRecords(&list, TimeDatabase, criteria));
    const Texts clients = test::Clients<TimeRecord>(TimeDatabase);
    Texts found, expected;
    for (RecordPosition p : list) found.push_back(clients.at(p));
    std::vector<int> inRange;
    for (int k : days) if (k >= c.from && k <= c.to) inRange.push_back(k);
    std::sort(inRange.begin(), inRange.end());
    for (int k : inRange) expected.push_back(Format(u"%d", k));
    EXPECT_EQ(found, expected) << c.from << ".." << c.to;
  }
}

constexpr struct {
  const char16_t *client, *description, *amount;
  bool mileage, billable, billed, reimbursable, reimbursed, receipt;
} kExpenses[] = {
    {u"Acme", u"Fuel", u"10.5", 1, 1, 1, 0, 0, 1},
    {u"Acme", u"Hotel", u"abc", 0, 1, 0, 1, 1, 0},
    {u"Bolt", u"Fuel", u"10", 0, 0, 1, 1, 0, 1},
    {u"Bolt", u"Meal", u"9.99", 0, 0, 0, 0, 1, 0},
    {u"Acme", u"Meal", u" 10.00 EUR", 1, 0, 0, 0, 0, 0},
};

TEST_F(SelectionTest, ExpenseCriteria) {
  for (std::size_t i = 0; i < std::size(kExpenses); ++i) {
    const auto& row = kExpenses[i];
    ExpenseRecord r = Expense(Format(u"01/%02d/2001", int(i) + 1), row.client);
    CopyText(r.description, row.description), CopyText(r.amount, row.amount), CopyText(r.project, u"P");
    CopyText(r.paymentType, i % 2 ? u"Cash" : u"Visa"), CopyText(r.currency, i == 2 ? u"EUR" : u"USD");
    r.mileage = row.mileage, r.billable = row.billable, r.billed = row.billed;
    r.reimbursable = row.reimbursable, r.reimbursed = row.reimbursed, r.receipt = row.receipt;
    Put(ExpenseDatabase, r);
  }
  const std::pair<ExpenseSelectionCriteria, Positions> cases[] = {
      {{}, {0, 1, 2, 3, 4}}, {{.client = u"Bolt", .description = u"Meal"}, {3}},
      {{.project = u"P", .paymentType = u"Cash"}, {1, 3}}, {{.currency = u"EUR"}, {2}},
      {{.amount = 10, .comparison = PWH_AMOUNT_GREATER}, {0}},
      {{.amount = 10, .comparison = PWH_AMOUNT_LESS}, {1, 3}},  // "abc" reads as 0
      {{.amount = 10, .comparison = PWH_AMOUNT_EQUAL}, {2, 4}},
      {{.amount = 9.99f, .comparison = PWH_AMOUNT_EQUAL}, {3}}, {{.amount = 10, .comparison = 0}, {}},
      {{.mileage = 1, .receipt = 0}, {4}},
      {{.billable = 0, .billed = 1}, {2, 3, 4}},  // billed is not consulted
      {{.billable = 1, .billed = 0}, {1}}, {{.billable = 1}, {0, 1}}, {{.billed = 1}, {0, 1, 2, 3, 4}},
      {{.reimbursable = 1, .reimbursed = 0}, {2}},
      {{.reimbursable = 0, .reimbursed = 1}, {0, 3, 4}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    ExpenseSelectionCriteria c = cases[i].first;
    c.from = u"01/01/2001", c.to = u"12/31/2001";
    RecordPositionList list;
    ASSERT_TRUE(MatchExpenseRecords(&list, ExpenseDatabase, c));
    EXPECT_EQ(list.positions(), cases[i].second) << "case " << i;
  }
}

TEST_F(SelectionTest, AnUnreadableRecordEndsTheWalkKeepingEarlierMatches) {
  Put(TimeDatabase, Time(u"01/01/2001"));
  Put(TimeDatabase, Time(u"01/02/2001"));
  DamageRecord(Put(TimeDatabase, Time(u"01/01/2001")));  // sorts last
  RecordPositionList list;
  // A range that reaches it (a cleared date reads before every day) ...
  EXPECT_FALSE(MatchTimeRecords(&list, TimeDatabase, {.from = u"--", .to = u"01/01/2001"}));
  EXPECT_EQ(list.positions(), Positions{0});
  // ... and a range of real days, which lie before it.
  list.Clear();
  EXPECT_TRUE(MatchTimeRecords(&list, TimeDatabase, {.from = u"01/01/2001", .to = u"01/01/2001"}));
  EXPECT_EQ(list.positions(), Positions{0});
  EXPECT_FALSE(AppendDisplayedRecord(nullptr, 1));
}

}  // namespace
}  // namespace pw
