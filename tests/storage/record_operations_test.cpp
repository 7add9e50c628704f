#include "storage/record_operations.h"

#include <sqlite3.h>

#include <functional>

#include "platform/code_page.h"
#include "platform/object_store_impl.h"
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

RecordPositionList Positions(std::initializer_list<RecordPosition> positions) {
  RecordPositionList list;
  for (RecordPosition p : positions) list.Append(p);
  return list;
}

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

// The shell's commands run every operation's usual path; here is what they
// do not show.
TEST_F(RecordOperationsTest, LoadClearsTheRecordAndEditsShowTheirActivity) {
  Put(TimeDatabase, Time(u"01/15/2000", u"earlier"));
  TimeRecord loaded = Time(u"12/01/1999", u"later");
  CopyText(loaded.notes, u"a note");
  ASSERT_TRUE(LoadPWHRecord(nullptr, TimeDatabase, 0, &loaded));
  EXPECT_EQ(TextOf(loaded.client), u"earlier");
  EXPECT_TRUE(IsEmptyText(loaded.notes));  // cleared before filling
  ASSERT_TRUE(UpdateRecord(nullptr, TimeDatabase, 0, Time(u"12/01/1999", u"updated")));
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase), Texts{u"updated"});
  ASSERT_TRUE(DeleteRecord(nullptr, TimeDatabase, 0));
  EXPECT_EQ(Activity(), (Texts{u"updating record...", u"idle", u"deleting record...", u"idle"}));
  EXPECT_TRUE(host.messages.empty());
}

// Every failure ends in its message, and the operations that set a status of
// their own set it back. Writes the store refuses (here a constraint, code
// 183) tell the whole story: which call, which record (object ids 1 and 2 are
// the two databases), which error.
TEST_F(RecordOperationsTest, FailuresShowTheirMessageAndChangeNothing) {
  PutTen();
  TimeRecord t;
  ExpenseRecord e;
  const RecordPositionList shown = Positions({3, 7});
  DatabaseHandle &times = TimeDatabase, &expenses = ExpenseDatabase;
  const std::u16string_view kError = u"Error", kPwhError = u"Pennywhistle Error";
  struct Case {
    const char* refused;  // the statement the store refuses, if any
    std::function<bool()> run;
    std::u16string_view message, title;
  } cases[] = {
      {nullptr, [&] { return LoadPWHRecord(nullptr, times, 10, &t); }, u"LoadPWHRecord: could not CeReadRecordProps",
       u"Pennywhistle Db Error"},
      {nullptr, [&] { return UpdateRecord(nullptr, times, 10, t); }, u"Edit Record error: CeSeekDatabase to record #10", kError},
      {nullptr, [&] { return DuplicateRecord(nullptr, times, 12); }, u"DuplicateRecord error: CeSeekDatabase failed", kError},
      {nullptr, [&] { return DeleteRecord(nullptr, times, 19); }, u"DeleteRecord error: CeSeekDatabase to 19 failed", kError},
      {"INSERT", [&] { return AddNewRecord(nullptr, times, t); }, u"AddNewRecord: CeWriteRecordProps failed: 183.", kPwhError},
      {"INSERT", [&] { return AddNewExpenseRecord(nullptr, expenses, e); },
       u"AddNewExpenseRecord: CeWriteRecordProps failed: 183.", kPwhError},
      {"INSERT", [&] { return DuplicateRecord(nullptr, times, 2); }, u"ERROR: CeWriteRecordProps failed (183)", kError},
      {"DELETE", [&] { return DeleteMultipleRecords(nullptr, times, PWH_ALL_REC_MODE, shown) != 0; },
       u"DeleteMultipleRecords: PWH_ALL_REC_MODE: error: CeDeleteRecord: CEOID: [12] failed: [183].", kError},
      {"DELETE", [&] { return DeleteMultipleRecords(nullptr, times, PWH_SELECT_REC_MODE, shown) != 0; },
       u"DeleteMultipleRecords: PWH_SELECT_REC_MODE: error: CeDeleteRecord: index [7], dw index: [7], CEOID: [10] "
       u"failed: [183].", kError},
      {"UPDATE", [&] { return Put(expenses, e), UpdateExpenseRecord(nullptr, expenses, 0, e); },
       u"ERROR: expense CeWriteRecordProps failed: 183.", kError},
  };
  sqlite3* const store = CurrentObjectStore()->Connection();
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.message));
    SetStatusText(PWH_STATUS_ACTIVITY, u"before");
    const std::string refuse = std::string("CREATE TEMP TRIGGER refuse BEFORE ") + (c.refused ? c.refused : "") +
                               " ON records BEGIN SELECT RAISE(ABORT, 'refused'); END;";
    ASSERT_EQ(c.refused ? sqlite3_exec(store, refuse.c_str(), nullptr, nullptr, nullptr) : SQLITE_OK, SQLITE_OK);
    EXPECT_FALSE(c.run());
    sqlite3_exec(store, "DROP TRIGGER IF EXISTS temp.refuse", nullptr, nullptr, nullptr);
    ExpectMessage(c.message, c.title);
    EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), c.title == u"Error" ? u"idle" : u"before");
  }
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase).size(), 10u);  // nothing went
}

TEST_F(RecordOperationsTest, DuplicateCopiesExactlyWhatWasStored) {
  // Another writer's record with two properties is copied with those two.
  const CEPROPVAL two[] = {{PWH_EXPENSE_DATE_PROPID, 0, 0, {0, u"05/05/2005"}},
                          {MakePropId(PWH_EXP_RECEIPT, CEVT_I2), 0, 0, {1, nullptr}}};
  ASSERT_NE(CeWriteRecordProps(ExpenseDatabase, 0, 2, two), 0u);
  ASSERT_TRUE(DuplicateRecord(nullptr, ExpenseDatabase, 0));
  PropertyBuffer copy;
  ASSERT_NE(CeSeekDatabase(ExpenseDatabase, CEDB_SEEK_BEGINNING, 1, nullptr), 0u);
  ASSERT_NE(CeReadRecordProps(ExpenseDatabase, 0, copy), 0u);
  ASSERT_EQ(copy.size(), 2);
  EXPECT_EQ(copy[1].val.iVal, 1);
}

TEST_F(RecordOperationsTest, DeleteMultiple) {
  PutTen();
  const RecordPositionList shown = Positions({2, 5, 7});
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, 3, shown), 0);  // no such mode
  host.status.clear();
  // Last to first: deleting 2 first would move 5 and 7 to other records.
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_SELECT_REC_MODE, shown), 3);
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase), (Texts{u"c0", u"c1", u"c3", u"c4", u"c6", u"c8", u"c9"}));
  EXPECT_EQ(Activity(), (Texts{u"deleting records...", u"idle"}));
  EXPECT_EQ(host.progress, (Texts{u"begin deleting records... 3", u"1", u"2", u"3", u"end"}));
  // A position past the end stops the walk quietly.
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_SELECT_REC_MODE, shown), 0);
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
  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, TimeDatabase, AppMode, PWH_ALL_REC_MODE, {}), 2);
  EXPECT_EQ(MarkMultipleRecordsReimbursed(nullptr, ExpenseDatabase, AppMode, PWH_ALL_REC_MODE, {}), 0);
  AppMode = PWH_EXPENSE_MODE;
  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, ExpenseDatabase, AppMode, PWH_SELECT_REC_MODE, Positions({1, 2, 3})), 1);
  EXPECT_EQ(MarkMultipleRecordsReimbursed(nullptr, ExpenseDatabase, AppMode, PWH_ALL_REC_MODE, {}), 2);
  const auto times = ReadAll<TimeRecord>(TimeDatabase);
  const auto expenses = ReadAll<ExpenseRecord>(ExpenseDatabase);
  for (int i = 0; i < 4; ++i) {
    const bool first = kPairs[i].changed || kPairs[i].first;
    EXPECT_EQ(std::tuple(times[i].billable, times[i].billed), std::tuple(first, 1)) << i;
    // Expense 0 is not shown for billing.
    EXPECT_EQ(std::tuple(expenses[i].billed, expenses[i].reimbursable, expenses[i].reimbursed),
              std::tuple(i != 0, first, true)) << i;
  }
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
  EXPECT_TRUE(host.messages.empty());
}

// The store keeps a record it can no longer read reachable, after every
// sound one; reading it fails half-way through a walk, and a failed delete
// half-way through a delete: either way nothing changes.
TEST_F(RecordOperationsTest, AFailureHalfWayChangesNothing) {
  PutTen();
  DamageRecord(Put(TimeDatabase, Time(u"01/05/2001", u"damaged")));  // position 10
  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, TimeDatabase, AppMode, PWH_ALL_REC_MODE, {}), 0);
  ExpectMessage(u"ExportOiDBToFile: could not CeReadRecordProps(): error code: (13).", u"Pennywhistle Db Error");
  EXPECT_EQ(host.progress.back(), u"end");
  for (RecordPosition p = 0; p < 10; ++p) {
    TimeRecord r;
    ASSERT_TRUE(LoadPWHRecord(nullptr, TimeDatabase, p, &r));
    EXPECT_EQ(r.billed, 0) << p;
  }
  EXPECT_FALSE(DuplicateRecord(nullptr, TimeDatabase, 10));
  ExpectMessage(u"DuplicateRecord error: CeReadRecord failed: 13.", u"Error");
  EXPECT_FALSE(UpdateRecord(nullptr, TimeDatabase, 10, TimeRecord{}));
  ExpectMessage(u"ERROR: CeWriteRecordProps failed: 13.", u"Error");

  sqlite3* const store = CurrentObjectStore()->Connection();
  ASSERT_EQ(sqlite3_exec(store, "CREATE TEMP TRIGGER refuse BEFORE DELETE ON records WHEN old.oid = 3 "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END;", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE, {}), 0);
  ExpectMessage(u"DeleteMultipleRecords: PWH_ALL_REC_MODE: error: CeDeleteRecord: CEOID: [3]", u"Error");
  EXPECT_EQ(DatabaseRecordCount(TimeDatabase), 11u);
  sqlite3_exec(store, "DROP TRIGGER temp.refuse", nullptr, nullptr, nullptr);
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE, {}), 11);
}

}  // namespace
}  // namespace pw
