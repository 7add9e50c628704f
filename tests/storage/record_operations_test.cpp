#include "storage/record_operations.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/object_store_impl.h"

#include <functional>

#include "storage/store_fixture.h"
#include "text/format.h"

namespace pw {
namespace {

using test::Clients;
using test::Expense;
using test::Put;
using test::ReadAll;
using test::Time;
using Texts = std::vector<std::u16string>;

class RecordOperationsTest : public test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
  }
  // Time records "c0" to "c9" at positions 0 to 9.
  void PutTen() {
    for (int i = 0; i < 10; ++i) Put(TimeDatabase, Time(Format(u"01/%02d/2001", i + 1), Format(u"c%d", i)));
  }
  Texts Activity() { return host.statusHistory(PWH_STATUS_ACTIVITY); }
  void ExpectMessage(std::u16string_view start, std::u16string_view title) {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.substr(0, start.size()), start);
    EXPECT_EQ(host.messages[0].title, title);
    EXPECT_EQ(host.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
    host.messages.clear();
  }
};

TEST_F(RecordOperationsTest, SingleRecordOperations) {
  TimeRecord later = Time(u"12/01/1999", u"later");
  CopyText(later.notes, u"a note");
  ASSERT_TRUE(AddNewRecord(nullptr, TimeDatabase, later));
  ASSERT_TRUE(AddNewRecord(nullptr, TimeDatabase, Time(u"01/15/2000", u"earlier")));
  TimeRecord loaded = later;
  ASSERT_TRUE(LoadPWHRecord(nullptr, TimeDatabase, 0, &loaded));  // by text: 01/... first
  EXPECT_EQ(TextOf(loaded.client), u"earlier");
  EXPECT_TRUE(IsEmptyText(loaded.notes));  // cleared before filling

  ASSERT_TRUE(UpdateRecord(nullptr, TimeDatabase, 1, Time(u"12/01/1999", u"updated")));
  ASSERT_TRUE(DeleteRecord(nullptr, TimeDatabase, 0));
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase), Texts{u"updated"});
  EXPECT_EQ(Activity(), (Texts{u"updating record...", u"idle", u"deleting record...", u"idle"}));

  ExpenseRecord expense = Expense(u"03/03/2003", u"shop");
  expense.receipt = true;
  ASSERT_TRUE(AddNewExpenseRecord(nullptr, ExpenseDatabase, expense));
  ASSERT_TRUE(UpdateExpenseRecord(nullptr, ExpenseDatabase, 0, expense));
  ExpenseRecord back;
  ASSERT_TRUE(LoadPWHExpenseRecord(nullptr, ExpenseDatabase, 0, &back));
  EXPECT_EQ(TextOf(back.client), u"shop");
  EXPECT_TRUE(back.receipt);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(RecordOperationsTest, FailuresShowTheirMessageAndEndIdle) {
  TimeRecord t;
  ExpenseRecord e;
  struct Case {
    std::function<bool()> run;
    std::u16string_view message, title;
  } cases[] = {
      {[&] { return LoadPWHRecord(nullptr, TimeDatabase, 0, &t); },
       u"LoadPWHRecord: could not CeReadRecordProps(): error code: (", u"Pennywhistle Db Error"},
      {[&] { return LoadPWHExpenseRecord(nullptr, ExpenseDatabase, 3, &e); },
       u"LoadPWHExpenseRecord: could not CeReadRecordProps(): error code: (", u"Pennywhistle Expense Db Error"},
      {[&] { return UpdateRecord(nullptr, TimeDatabase, 10, t); },
       u"Edit Record error: CeSeekDatabase to record #10 failed: ", u"Error"},
      {[&] { return UpdateExpenseRecord(nullptr, ExpenseDatabase, 0, e); },
       u"Edit Record error: CeSeekDatabase to expense record #0 failed: ", u"Error"},
      {[&] { return DuplicateRecord(nullptr, TimeDatabase, 2); }, u"DuplicateRecord error: CeSeekDatabase failed: ", u"Error"},
      {[&] { return DeleteRecord(nullptr, TimeDatabase, 9); }, u"DeleteRecord error: CeSeekDatabase to 9 failed: ", u"Error"},
      {[&] { return TimeDatabase.Close(), AddNewRecord(nullptr, TimeDatabase, t); },
       u"AddNewRecord: CeWriteRecordProps failed: 6.", u"Pennywhistle Error"},
      {[&] { return ExpenseDatabase.Close(), AddNewExpenseRecord(nullptr, ExpenseDatabase, e); },
       u"AddNewExpenseRecord: CeWriteRecordProps failed: 6.", u"Pennywhistle Error"},
  };
  for (const Case& c : cases) {
    SetStatusText(PWH_STATUS_ACTIVITY, u"before");
    EXPECT_FALSE(c.run());
    ExpectMessage(c.message, c.title);
    // Only operations that set a status of their own set it back.
    EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), c.title == u"Error" ? u"idle" : u"before");
  }
}

// Writes the store refuses (here a constraint, code 183) end in a message
// with the whole story: which call, which record (object ids 1 and 2 are the
// two databases), which error.
TEST_F(RecordOperationsTest, RefusedWritesShowTheirWholeMessage) {
  PutTen();
  ExpenseRecord e;
  RecordPositionList shown;
  shown.Append(3), shown.Append(7);
  struct Case {
    const char* refused;  // the statement the store refuses
    std::function<bool()> run;
    std::u16string message;
  } cases[] = {
      {"DELETE", [&] { return DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE, shown) != 0; },
       u"DeleteMultipleRecords: PWH_ALL_REC_MODE: error: CeDeleteRecord: CEOID: [3] failed: [183]."},
      {"DELETE", [&] { return DeleteMultipleRecords(nullptr, TimeDatabase, PWH_SELECT_REC_MODE, shown) != 0; },
       u"DeleteMultipleRecords: PWH_SELECT_REC_MODE: error: CeDeleteRecord: index [7], dw index: [7], CEOID: [10] "
       u"failed: [183]."},
      {"INSERT", [&] { return DuplicateRecord(nullptr, TimeDatabase, 2); }, u"ERROR: CeWriteRecordProps failed (183)"},
      {"UPDATE",
       [&] {
         Put(ExpenseDatabase, Expense(u"01/01/2001"));
         return UpdateExpenseRecord(nullptr, ExpenseDatabase, 0, e);
       },
       u"ERROR: expense CeWriteRecordProps failed: 183."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refused);
    const std::string refuse = std::string("CREATE TEMP TRIGGER refuse BEFORE ") + c.refused +
                               " ON records BEGIN SELECT RAISE(ABORT, 'refused'); END;";
    ASSERT_EQ(sqlite3_exec(CurrentObjectStore()->Connection(), refuse.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(c.run());
    sqlite3_exec(CurrentObjectStore()->Connection(), "DROP TRIGGER temp.refuse", nullptr, nullptr, nullptr);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages[0].text, c.message);
    EXPECT_EQ(host.messages[0].title, u"Error");
    host.messages.clear();
    EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
  }
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase).size(), 10u);  // nothing went
}

TEST_F(RecordOperationsTest, DuplicateCopiesExactlyWhatWasStored) {
  TimeRecord original = Time(u"01/02/2001", u"original", 1, 1);
  CopyText(original.notes, u"note");
  Put(TimeDatabase, original);
  Put(TimeDatabase, Time(u"01/02/2001", u"same day"));
  Put(TimeDatabase, Time(u"01/03/2001", u"next day"));
  ASSERT_TRUE(DuplicateRecord(nullptr, TimeDatabase, 0));
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase), (Texts{u"original", u"same day", u"original", u"next day"}));
  const auto all = ReadAll<TimeRecord>(TimeDatabase);
  EXPECT_TRUE(all[2].billable && all[2].billed && TextOf(all[2].notes) == u"note");
  EXPECT_EQ(Activity(), (Texts{u"duplicating record...", u"idle"}));

  // Another writer's record with two properties is copied with those two.
  const CEPROPVAL two[] = {{PWH_EXPENSE_DATE_PROPID, 0, 0, {0, u"05/05/2005"}},
                          {MakePropId(PWH_EXP_RECEIPT, CEVT_I2), 0, 0, {1, nullptr}}};
  ASSERT_NE(CeWriteRecordProps(ExpenseDatabase, 0, 2, two), 0u);
  AppMode = PWH_EXPENSE_MODE;
  ASSERT_TRUE(DuplicateRecord(nullptr, ExpenseDatabase, 0));
  PropertyBuffer copy;
  ASSERT_NE(CeSeekDatabase(ExpenseDatabase, CEDB_SEEK_BEGINNING, 1, nullptr), 0u);
  ASSERT_NE(CeReadRecordProps(ExpenseDatabase, 0, copy), 0u);
  ASSERT_EQ(copy.size(), 2);
  EXPECT_EQ(copy[1].val.iVal, 1);
}

TEST_F(RecordOperationsTest, DeleteMultiple) {
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 0);
  PutTen();
  RecordPositionList shown;
  for (RecordPosition p : {2u, 5u, 7u}) shown.Append(p);
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, 3, shown), 0);  // no such mode
  host.status.clear();
  // Last to first: deleting 2 first would move 5 and 7 to other records.
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_SELECT_REC_MODE, shown), 3);
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase), (Texts{u"c0", u"c1", u"c3", u"c4", u"c6", u"c8", u"c9"}));
  EXPECT_EQ(Activity(), (Texts{u"deleting record #1...", u"deleting record #2...", u"deleting record #3...", u"idle"}));
  // A position past the end stops the walk quietly.
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_SELECT_REC_MODE, shown), 0);

  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 7);
  EXPECT_TRUE(Clients<TimeRecord>(TimeDatabase).empty());
  EXPECT_EQ(Activity().rbegin()[1], u"deleting record #7...");
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
  EXPECT_TRUE(host.messages.empty());
}

// A flag pair (billable/billed, reimbursable/reimbursed) before a mark, and
// whether the mark changes it: a record already marked is left alone.
constexpr struct { bool first, second, changed; } kPairs[] = {
    {0, 0, true}, {1, 0, true}, {1, 1, false}, {0, 1, false}};

TEST_F(RecordOperationsTest, MarkBilledAndReimbursed) {
  for (int i = 0; i < 4; ++i) {
    const bool first = kPairs[i].first, second = kPairs[i].second;
    Put(TimeDatabase, Time(Format(u"01/0%d/2001", i + 1), u"t", first, second));
    ExpenseRecord e = Expense(Format(u"01/0%d/2001", i + 1));
    e.billable = e.reimbursable = first, e.billed = e.reimbursed = second;
    Put(ExpenseDatabase, e);
  }
  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 2);
  EXPECT_EQ(MarkMultipleRecordsReimbursed(nullptr, ExpenseDatabase, PWH_ALL_REC_MODE), 0);
  AppMode = PWH_EXPENSE_MODE;
  RecordPositionList shown;
  for (RecordPosition p : {1u, 2u, 3u}) shown.Append(p);
  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, ExpenseDatabase, PWH_SELECT_REC_MODE, shown), 1);
  EXPECT_EQ(MarkMultipleRecordsReimbursed(nullptr, ExpenseDatabase, PWH_ALL_REC_MODE), 2);
  const auto times = ReadAll<TimeRecord>(TimeDatabase);
  const auto expenses = ReadAll<ExpenseRecord>(ExpenseDatabase);
  for (int i = 0; i < 4; ++i) {
    const bool first = kPairs[i].changed || kPairs[i].first;
    EXPECT_EQ(times[i].billable, first) << i;
    EXPECT_EQ(times[i].billed, 1) << i;
    EXPECT_EQ(expenses[i].billed, i != 0) << i;  // 0 is not shown
    EXPECT_EQ(expenses[i].reimbursable, first) << i;
    EXPECT_TRUE(expenses[i].reimbursed) << i;
  }
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
  EXPECT_TRUE(host.messages.empty());
}

// The store keeps a record it can no longer read reachable, after every
// sound one; reading it fails half-way through a walk.
TEST_F(RecordOperationsTest, AFailureHalfWayKeepsWhatWasDone) {
  PutTen();
  DamageRecord(Put(TimeDatabase, Time(u"01/05/2001", u"damaged")));  // position 10
  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 10);
  ExpectMessage(u"ExportOiDBToFile: could not CeReadRecordProps(): error code: (13).", u"Pennywhistle Db Error");
  const auto marked = ReadAll<TimeRecord>(TimeDatabase);
  ASSERT_EQ(marked.size(), 10u);
  for (const TimeRecord& r : marked) EXPECT_EQ(r.billed, 1);
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");

  EXPECT_FALSE(DuplicateRecord(nullptr, TimeDatabase, 10));
  ExpectMessage(u"DuplicateRecord error: CeReadRecord failed: 13.", u"Error");
  EXPECT_FALSE(UpdateRecord(nullptr, TimeDatabase, 10, marked[0]));
  ExpectMessage(u"ERROR: CeWriteRecordProps failed: 13.", u"Error");
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 11);
}

}  // namespace
}  // namespace pw
