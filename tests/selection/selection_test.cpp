#include "selection/selection.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/clock.h"
#include "storage/store_fixture.h"
#include "text/format.h"

namespace pw {
namespace {

using test::Expense;
using test::Put;
using test::Time;
using Positions = std::vector<RecordPosition>;

void SetToday(int year, int month, int day) {
  SYSTEMTIME t;
  t.wYear = WORD(year);
  t.wMonth = WORD(month);
  t.wDay = WORD(day);
  t.wHour = 10;
  SetLocalTimeOverride(t);
}

struct TabCase {
  int year, month, day, tab;
  const char16_t* from;
  const char16_t* to;
};

class TabRangeTest : public ::testing::TestWithParam<TabCase> {
 protected:
  void TearDown() override { SetLocalTimeOverride(std::nullopt); }
};

TEST_P(TabRangeTest, RangeOfTheTab) {
  const TabCase& c = GetParam();
  SetToday(c.year, c.month, c.day);
  std::u16string from = u"x", to = u"x";
  ASSERT_TRUE(ComputeTabDateRange(c.tab, &from, &to));
  EXPECT_EQ(from, c.from);
  EXPECT_EQ(to, c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, TabRangeTest,
    ::testing::Values(TabCase{2001, 6, 15, PWH_TAB_TODAY, u"06/15/2001", u"06/15/2001"},
                      TabCase{2001, 3, 3, PWH_TAB_7_DAYS, u"02/24/2001", u"03/03/2001"},
                      TabCase{2000, 3, 3, PWH_TAB_7_DAYS, u"02/25/2000", u"03/03/2000"},
                      TabCase{2001, 3, 14, PWH_TAB_14_DAYS, u"02/28/2001", u"03/14/2001"},
                      TabCase{2001, 1, 5, PWH_TAB_14_DAYS, u"12/22/2000", u"01/05/2001"},
                      TabCase{2000, 2, 10, PWH_TAB_MONTH, u"02/01/2000", u"02/29/2000"},
                      TabCase{1900, 2, 10, PWH_TAB_MONTH, u"02/01/1900", u"02/28/1900"},
                      TabCase{2001, 12, 31, PWH_TAB_MONTH, u"12/01/2001", u"12/31/2001"}));

TEST(TabRangeTest, OnlyTheFourRangedTabsHaveARange) {
  std::u16string from, to;
  for (int tab : {-1, int(PWH_TAB_ALL), 5}) EXPECT_FALSE(ComputeTabDateRange(tab, &from, &to)) << tab;
  EXPECT_FALSE(ComputeTabDateRange(PWH_TAB_TODAY, nullptr, &to));
  EXPECT_FALSE(ComputeTabDateRange(PWH_TAB_TODAY, &from, nullptr));
}

class SelectionTest : public test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    RecordSetMode = PWH_SELECT_REC_MODE;
    ActiveDateTab = PWH_TAB_TODAY;
    DisplayedRecordList.Clear();
  }
  void TearDown() override {
    SetLocalTimeOverride(std::nullopt);
    DisplayedRecordList.Clear();
    StoreTest::TearDown();
  }

  // The clients of the displayed records, in list order.
  template <class Record>
  std::vector<std::u16string> Shown(DatabaseHandle& db) {
    const auto clients = test::Clients<Record>(db);
    std::vector<std::u16string> out;
    for (RecordPosition p : DisplayedRecordList) out.push_back(clients.at(p));
    return out;
  }
};

TEST_F(SelectionTest, DateTabsSelectTheirRangeBothEndsIncluded) {
  SetToday(2001, 3, 3);
  for (auto [date, client] : {std::pair{u"02/23/2001", u"before"}, {u"02/24/2001", u"from"},
                              {u"2/28/2001", u"short form"}, {u"03/03/2001", u"to"},
                              {u"03/03/2001", u"to again"},
                              {u"03/04/2001", u"after"}, {u"n/a", u"no date"}, {u"", u"empty"}}) {
    Put(TimeDatabase, Time(date, client));
    Put(ExpenseDatabase, Expense(date, client));
  }
  using Texts = std::vector<std::u16string>;

  host.selectedTab = PWH_TAB_7_DAYS;
  ApplyDateTab();
  EXPECT_EQ(RecordSetMode, PWH_SELECT_REC_MODE);
  EXPECT_EQ(ActiveDateTab, PWH_TAB_7_DAYS);
  // Sorted by text: "02/24/2001" < "03/03/2001" < "2/28/2001".
  EXPECT_EQ(Shown<TimeRecord>(TimeDatabase), (Texts{u"from", u"to", u"to again", u"short form"}));

  host.selectedTab = PWH_TAB_TODAY;
  AppMode = PWH_EXPENSE_MODE;
  ApplyDateTab();
  EXPECT_EQ(ActiveDateTab, PWH_TAB_TODAY);
  EXPECT_EQ(Shown<ExpenseRecord>(ExpenseDatabase), (Texts{u"to", u"to again"}));

  // "All": every record, "n/a" dates included, and no list.
  host.selectedTab = PWH_TAB_ALL;
  ApplyDateTab();
  EXPECT_EQ(RecordSetMode, PWH_ALL_REC_MODE);
  EXPECT_EQ(ActiveDateTab, PWH_TAB_ALL);
  EXPECT_TRUE(DisplayedRecordList.empty());

  // No tab selected: the list is emptied and nothing else changes.
  DisplayedRecordList.Append(3);
  host.selectedTab = -1;
  ApplyDateTab();
  EXPECT_EQ(RecordSetMode, PWH_ALL_REC_MODE);
  EXPECT_EQ(ActiveDateTab, PWH_TAB_ALL);
  EXPECT_TRUE(DisplayedRecordList.empty());

  // A date tab on an empty selection shows nothing.
  SetToday(2010, 1, 1);
  host.selectedTab = PWH_TAB_MONTH;
  ApplyDateTab();
  EXPECT_EQ(RecordSetMode, PWH_SELECT_REC_MODE);
  EXPECT_TRUE(DisplayedRecordList.empty());

  host.selectedTab = PWH_TAB_TODAY;
  SelectAllTab();
  EXPECT_EQ(host.selectedTab, PWH_TAB_ALL);
  EXPECT_EQ(RecordSetMode, PWH_ALL_REC_MODE);
  EXPECT_EQ(ActiveDateTab, PWH_TAB_ALL);
  EXPECT_TRUE(host.messages.empty());
}

// Time records, dated 01/01/2001 + position so that position i is record i.
struct TimeRow {
  const char16_t *client, *project, *subproject, *task, *currency;
  int billable, billed;
};
constexpr TimeRow kTimeRows[] = {
    {u"Acme", u"Roof", u"North", u"Survey", u"USD", 1, 0},
    {u"Acme", u"Roof", u"South", u"Paint", u"EUR", 1, 1},
    {u"acme", u"Roof", u"North", u"Survey", u"USD", 0, 0},
    {u"Bolt", u"Door", u"North", u"Survey", u"USD", 0, 1},
    {u"Acme Ltd", u"Door", u"West", u"Survey ", u"", 1, 0},
};

struct TimeCase {
  const char* name;
  TimeSelectionCriteria criteria;
  Positions expected;
};

TimeSelectionCriteria TimeCriteria(std::initializer_list<std::pair<const char*, const char16_t*>> set) {
  TimeSelectionCriteria c;
  c.from = u"01/01/2001";
  c.to = u"12/31/2001";
  for (auto [field, value] : set) {
    const std::string f = field;
    std::u16string& target = f == "client" ? c.client : f == "project" ? c.project
                           : f == "subproject" ? c.subproject : f == "task" ? c.task
                           : f == "currency" ? c.currency : f == "billable" ? c.billable
                           : f == "billed" ? c.billed : f == "from" ? c.from : c.to;
    target = value;
  }
  return c;
}

class TimeMatchTest : public SelectionTest, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeMatchTest, Matches) {
  for (std::size_t i = 0; i < std::size(kTimeRows); ++i) {
    const TimeRow& row = kTimeRows[i];
    TimeRecord r = Time(Format(u"01/%02d/2001", int(i) + 1), row.client, row.billable, row.billed);
    CopyText(r.project, row.project);
    CopyText(r.subproject, row.subproject);
    CopyText(r.task, row.task);
    CopyText(r.currency, row.currency);
    Put(TimeDatabase, r);
  }
  Put(TimeDatabase, Time(u"n/a", u"Acme"));  // position 5

  RecordPositionList list;
  list.Append(99);  // matches are appended, not replacing
  ASSERT_TRUE(MatchTimeRecords(&list, TimeDatabase, GetParam().criteria));
  Positions expected{99};
  expected.insert(expected.end(), GetParam().expected.begin(), GetParam().expected.end());
  EXPECT_EQ(list.positions(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, TimeMatchTest,
    ::testing::Values(
        TimeCase{"Any", TimeCriteria({}), {0, 1, 2, 3, 4}},
        TimeCase{"ClientWholeAndCaseSensitive", TimeCriteria({{"client", u"Acme"}}), {0, 1}},
        TimeCase{"SubprojectAndTask",
                 TimeCriteria({{"subproject", u"North"}, {"task", u"Survey"}}), {0, 2, 3}},
        TimeCase{"ProjectAndCurrency", TimeCriteria({{"project", u"Door"}, {"currency", u""}}), {4}},
        TimeCase{"Currency", TimeCriteria({{"currency", u"EUR"}}), {1}},
        TimeCase{"Billable", TimeCriteria({{"billable", u"billable"}}), {0, 1, 4}},
        TimeCase{"NotBillable", TimeCriteria({{"billable", u"not billable"}}), {2, 3}},
        TimeCase{"BilledNotBilled",
                 TimeCriteria({{"billed", u"billed"}, {"billable", u"not billable"}}), {3}},
        TimeCase{"NotBilled", TimeCriteria({{"billed", u"not billed"}}), {0, 2, 4}},
        TimeCase{"UnknownChoiceMatchesNothing", TimeCriteria({{"billable", u"Billable"}}), {}},
        TimeCase{"DateRangeInclusive",
                 TimeCriteria({{"from", u"01/02/2001"}, {"to", u"01/03/2001"}}), {1, 2}},
        // The unreadable record date equals the unreadable from date.
        TimeCase{"UnreadableFromHasNoLowerBound", TimeCriteria({{"from", u"--"}, {"to", u"1/2/01"}}),
                 {0, 1, 5}},
        TimeCase{"TwoUnreadableDatesKeepOnlyUnreadableRecordDates",
                 TimeCriteria({{"from", u""}, {"to", u"n/a"}}), {5}},
        TimeCase{"EmptyRange", TimeCriteria({{"from", u"01/04/2001"}, {"to", u"01/03/2001"}}), {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Expense records, dated 01/01/2001 + position.
struct ExpenseRow {
  const char16_t *client, *description, *paymentType, *amount;
  bool mileage, billable, billed, reimbursable, reimbursed, receipt;
};
constexpr ExpenseRow kExpenseRows[] = {
    {u"Acme", u"Fuel", u"Visa", u"10.5", 1, 1, 1, 0, 0, 1},
    {u"Acme", u"Hotel", u"Cash", u"abc", 0, 1, 0, 1, 1, 0},
    {u"Bolt", u"Fuel", u"Visa", u"10", 0, 0, 1, 1, 0, 1},
    {u"Bolt", u"Meal", u"Cash", u"9.99", 0, 0, 0, 0, 1, 0},
    {u"Acme", u"Meal", u"Visa", u" 10.00 EUR", 1, 0, 0, 0, 0, 0},
};

struct ExpenseCase {
  const char* name;
  ExpenseSelectionCriteria criteria;
  Positions expected;
};

ExpenseSelectionCriteria ExpenseCriteria(std::initializer_list<std::pair<const char*, int>> set,
                                         float amount = PWH_ANY_AMOUNT) {
  ExpenseSelectionCriteria c;
  c.from = u"01/01/2001";
  c.to = u"12/31/2001";
  c.amount = amount;
  for (auto [field, value] : set) {
    const std::string f = field;
    int& target = f == "comparison" ? c.comparison : f == "mileage" ? c.mileage
                : f == "billable" ? c.billable : f == "billed" ? c.billed
                : f == "reimbursable" ? c.reimbursable : f == "reimbursed" ? c.reimbursed
                : c.receipt;
    target = value;
  }
  return c;
}

ExpenseSelectionCriteria WithTexts(ExpenseSelectionCriteria c, const char16_t* client,
                                   const char16_t* description, const char16_t* paymentType) {
  c.client = client;
  c.description = description;
  c.paymentType = paymentType;
  return c;
}

class ExpenseMatchTest : public SelectionTest, public ::testing::WithParamInterface<ExpenseCase> {};

TEST_P(ExpenseMatchTest, Matches) {
  for (std::size_t i = 0; i < std::size(kExpenseRows); ++i) {
    const ExpenseRow& row = kExpenseRows[i];
    ExpenseRecord r = Expense(Format(u"01/%02d/2001", int(i) + 1), row.client);
    CopyText(r.description, row.description);
    CopyText(r.paymentType, row.paymentType);
    CopyText(r.amount, row.amount);
    CopyText(r.project, u"P");
    CopyText(r.currency, u"USD");
    r.mileage = row.mileage;
    r.billable = row.billable;
    r.billed = row.billed;
    r.reimbursable = row.reimbursable;
    r.reimbursed = row.reimbursed;
    r.receipt = row.receipt;
    Put(ExpenseDatabase, r);
  }
  RecordPositionList list;
  ASSERT_TRUE(MatchExpenseRecords(&list, ExpenseDatabase, GetParam().criteria));
  EXPECT_EQ(list.positions(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, ExpenseMatchTest,
    ::testing::Values(
        ExpenseCase{"Any", ExpenseCriteria({}), {0, 1, 2, 3, 4}},
        ExpenseCase{"Texts", WithTexts(ExpenseCriteria({}), u"Acme", u"--any--", u"Visa"), {0, 4}},
        ExpenseCase{"TextsAllSet", WithTexts(ExpenseCriteria({}), u"Bolt", u"Meal", u"Cash"), {3}},
        ExpenseCase{"GreaterThan", ExpenseCriteria({{"comparison", 2}}, 10.0f), {0}},
        ExpenseCase{"LessThanReadsNonNumbersAsZero", ExpenseCriteria({{"comparison", 1}}, 10.0f),
                    {1, 3}},
        ExpenseCase{"EqualInFloat", ExpenseCriteria({{"comparison", 3}}, 9.99f), {3}},
        ExpenseCase{"EqualSkipsBlanksAndTrailingText", ExpenseCriteria({{"comparison", 3}}, 10.0f),
                    {2, 4}},
        ExpenseCase{"UnknownComparison", ExpenseCriteria({{"comparison", 0}}, 10.0f), {}},
        ExpenseCase{"Mileage", ExpenseCriteria({{"mileage", 1}}), {0, 4}},
        ExpenseCase{"NoReceipt", ExpenseCriteria({{"receipt", 0}}), {1, 3, 4}},
        ExpenseCase{"NotBillableIgnoresBilled", ExpenseCriteria({{"billable", 0}, {"billed", 1}}),
                    {2, 3, 4}},
        ExpenseCase{"BillableNotBilled", ExpenseCriteria({{"billable", 1}, {"billed", 0}}), {1}},
        ExpenseCase{"BillableEitherBilled", ExpenseCriteria({{"billable", 1}}), {0, 1}},
        ExpenseCase{"BilledAloneIsIgnored", ExpenseCriteria({{"billed", 1}}), {0, 1, 2, 3, 4}},
        ExpenseCase{"ReimbursableNotReimbursed",
                    ExpenseCriteria({{"reimbursable", 1}, {"reimbursed", 0}}), {2}},
        ExpenseCase{"NotReimbursableIgnoresReimbursed",
                    ExpenseCriteria({{"reimbursable", 0}, {"reimbursed", 1}}), {0, 3, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectionTest, AnUnreadableRecordEndsTheWalkKeepingTheMatchesBeforeIt) {
  Put(TimeDatabase, Time(u"01/01/2001", u"a"));
  Put(TimeDatabase, Time(u"01/02/2001", u"b"));
  DamageRecord(Put(TimeDatabase, Time(u"01/01/2001", u"damaged")));  // sorts last
  RecordPositionList list;
  EXPECT_FALSE(MatchTimeRecords(&list, TimeDatabase, TimeSelectionCriteria{}));
  EXPECT_TRUE(list.empty());  // the cleared range keeps only unreadable dates
  TimeSelectionCriteria all;
  all.from = u"01/01/2001";
  all.to = u"01/01/2001";
  EXPECT_FALSE(MatchTimeRecords(&list, TimeDatabase, all));
  EXPECT_EQ(list.positions(), Positions{0});
  EXPECT_TRUE(host.messages.empty());
}

TEST(RecordPositionListTest, NullListsAreRefused) {
  EXPECT_FALSE(AppendDisplayedRecord(nullptr, 1));
  ClearDisplayedRecordList(nullptr);
  RecordPositionList list;
  EXPECT_TRUE(AppendDisplayedRecord(&list, 4));
  EXPECT_TRUE(AppendDisplayedRecord(&list, 9));
  EXPECT_EQ(list.count(), 2u);
  EXPECT_EQ(list.first(), 4u);
  EXPECT_EQ(list.last(), 9u);
  ClearDisplayedRecordList(&list);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace pw
