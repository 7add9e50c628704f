#include "views/report_summary.h"

#include <gtest/gtest.h>

#include "storage/store_fixture.h"
#include "text/format.h"

namespace pw {
namespace {

using test::Put;
using test::Time;

class SummarizeStoreTest : public test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
  }
  static RecordPositionList ListOf(std::initializer_list<RecordPosition> positions) {
    RecordPositionList list;
    for (RecordPosition p : positions) list.Append(p);
    return list;
  }
};

// The walk follows the list, not the database: order, repeats, and a
// position past the end, which ends it.
TEST_F(SummarizeStoreTest, WalksTheListedPositions) {
  for (auto [date, client, note] : {std::tuple{u"01/01/2000", u"A", u"a"}, {u"01/02/2000", u"B", u""},
                                    {u"01/03/2000", u"C", u"c"}}) {
    TimeRecord r = Time(date, client, 1, 1);
    CopyText(r.duration, u"1:15"), CopyText(r.rate, u"10"), CopyText(r.notes, note);
    Put(TimeDatabase, r);
  }
  Put(TimeDatabase, Time(u"01/04/2000", u"D", 5, 1));  // billable only when 1
  TimeSummary s;
  EXPECT_TRUE(SummarizeTimeRecords(nullptr, TimeDatabase, ListOf({2, 0, 3, 2, 7, 1}), false, &s));
  EXPECT_EQ(std::tuple(s.recordCount, s.billableRecordCount, s.totalHours, s.billableAmount),
            std::tuple(4, 3, 3.75f, 37.5f));
  ASSERT_EQ(s.entries.size(), 3u);
  EXPECT_EQ(s.entries[0].client + s.entries[1].client + s.entries[2].client, u"CAD");
  EXPECT_EQ(s.entries[2].billable, 5);
  EXPECT_EQ(s.notes, (std::vector<std::u16string>{u"01/03/2000: \"c\"", u"01/01/2000: \"a\"", u"01/03/2000: \"c\""}));
  EXPECT_TRUE(host.messages.empty());

  ExpenseRecord e = test::Expense(u"01/01/2000", u"X");
  CopyText(e.amount, u"2.25");
  e.billable = true;
  Put(ExpenseDatabase, e);
  ExpenseSummary es;
  EXPECT_TRUE(SummarizeExpenseRecords(nullptr, ExpenseDatabase, ListOf({0, 0}), false, &es));
  EXPECT_EQ(std::tuple(es.billableAmount, es.unbilledCount), std::tuple(4.5f, 2));
}

// Each distinct number text is scanned once; every record still counts,
// also past the texts kept, and a text read before gives the same number.
TEST(SummaryNumbers, RepeatedAndManyDistinctTextsCountForEveryRecord) {
  TimeSummary s;
  const auto add = [&s](std::u16string_view rate, std::u16string_view duration) {
    SummarizeTimeRecord(&s, {u"01/01/2000", u"A", u"P", u"S", u"T", rate, duration, u"", 1, 1}, false);
  };
  for (int i = 0; i < 2; ++i) add(u"ten", u"1:x");
  for (int i = 0; i < 5000; ++i) add(Format(u"%d", i), u"0:30");
  add(u"4999", u"0:30");
  add(u"12.5", u"2:30");
  EXPECT_EQ(std::tuple(s.recordCount, s.invalidRateCount, s.invalidDurationCount, s.totalHours),
            std::tuple(5004, 2, 2, 2503.0f));
  EXPECT_EQ(s.entries.back().amount, 31.25f);
  EXPECT_EQ(s.entries[s.entries.size() - 2].hours, 1.0f);  // rate 4999, twice
}

TEST_F(SummarizeStoreTest, AnUnreadableRecordEndsTheWalkWithAMessage) {
  Put(TimeDatabase, Time(u"01/01/2000", u"A"));
  const CEOID damaged = Put(TimeDatabase, Time(u"01/02/2000", u"B"));
  Put(TimeDatabase, Time(u"01/03/2000", u"C"));
  DamageRecord(damaged);  // it now sorts last
  TimeSummary s;
  EXPECT_FALSE(SummarizeTimeRecords(nullptr, TimeDatabase, ListOf({0, 2, 1}), false, &s));
  EXPECT_EQ(s.recordCount, 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, u"Pennywhistle Db Error");
  EXPECT_EQ(host.messages[0].text.rfind(u"LoadMainListBox: could not CeReadRecordProps(): error code: (", 0), 0u);
}

}  // namespace
}  // namespace pw
