#include "storage/record_operations.h"

#include <gtest/gtest.h>

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

  // Ten time records with ascending dates, clients "c0" to "c9".
  void PutTen() {
    for (int i = 0; i < 10; ++i) {
      Put(TimeDatabase, Time(Format(u"01/%02d/2001", i + 1), Format(u"c%d", i)));
    }
  }

  Texts Activity() { return host.statusHistory(PWH_STATUS_ACTIVITY); }

  void ExpectOneMessage(std::u16string_view prefix, std::u16string_view title) {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.substr(0, prefix.size()), prefix);
    EXPECT_EQ(host.messages[0].title, title);
    EXPECT_EQ(host.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
  }
};

TEST_F(RecordOperationsTest, AddedRecordsLoadBackInDateTextOrder) {
  TimeRecord later = Time(u"12/01/1999", u"later");
  CopyText(later.notes, u"a note");
  later.endPm = true;
  ASSERT_TRUE(AddNewRecord(nullptr, TimeDatabase, later));
  ASSERT_TRUE(AddNewRecord(nullptr, TimeDatabase, Time(u"01/15/2000", u"earlier")));

  // Ordered by text, so 01/15/2000 comes before 12/01/1999.
  TimeRecord loaded = Time(u"junk", u"junk");
  ASSERT_TRUE(LoadPWHRecord(nullptr, TimeDatabase, 1, &loaded));
  EXPECT_EQ(TextOf(loaded.client), u"later");
  EXPECT_EQ(TextOf(loaded.notes), u"a note");
  EXPECT_TRUE(loaded.endPm);
  ASSERT_TRUE(LoadPWHRecord(nullptr, TimeDatabase, 0, &loaded));
  EXPECT_EQ(TextOf(loaded.client), u"earlier");
  EXPECT_EQ(TextOf(loaded.notes), u"");  // cleared before filling

  ExpenseRecord expense = Expense(u"03/03/2003", u"shop");
  expense.receipt = true;
  ASSERT_TRUE(AddNewExpenseRecord(nullptr, ExpenseDatabase, expense));
  ExpenseRecord back;
  ASSERT_TRUE(LoadPWHExpenseRecord(nullptr, ExpenseDatabase, 0, &back));
  EXPECT_EQ(TextOf(back.client), u"shop");
  EXPECT_TRUE(back.receipt);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(RecordOperationsTest, LoadingAMissingPositionFails) {
  TimeRecord t;
  EXPECT_FALSE(LoadPWHRecord(nullptr, TimeDatabase, 0, &t));
  ExpectOneMessage(u"LoadPWHRecord: could not CeReadRecordProps(): error code: (",
                   u"Pennywhistle Db Error");
  host.messages.clear();
  ExpenseRecord e;
  EXPECT_FALSE(LoadPWHExpenseRecord(nullptr, ExpenseDatabase, 3, &e));
  ExpectOneMessage(u"LoadPWHExpenseRecord: could not CeReadRecordProps(): error code: (",
                   u"Pennywhistle Expense Db Error");
}

TEST_F(RecordOperationsTest, AddingToAClosedDatabaseFails) {
  TimeDatabase.Close();
  EXPECT_FALSE(AddNewRecord(nullptr, TimeDatabase, Time(u"01/01/2001")));
  ExpectOneMessage(u"AddNewRecord: CeWriteRecordProps failed: 6.", u"Pennywhistle Error");
  host.messages.clear();
  ExpenseDatabase.Close();
  EXPECT_FALSE(AddNewExpenseRecord(nullptr, ExpenseDatabase, Expense(u"01/01/2001")));
  ExpectOneMessage(u"AddNewExpenseRecord: CeWriteRecordProps failed: 6.", u"Pennywhistle Error");
}

TEST_F(RecordOperationsTest, UpdateReplacesTheRecordAtItsPosition) {
  PutTen();
  ASSERT_TRUE(UpdateRecord(nullptr, TimeDatabase, 4, Time(u"01/05/2001", u"new")));
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase)[4], u"new");
  EXPECT_EQ(Activity(), (Texts{u"updating record...", u"idle"}));

  EXPECT_FALSE(UpdateRecord(nullptr, TimeDatabase, 10, Time(u"01/05/2001")));
  ExpectOneMessage(u"Edit Record error: CeSeekDatabase to record #10 failed: ", u"Error");
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");

  host.messages.clear();
  EXPECT_FALSE(UpdateExpenseRecord(nullptr, ExpenseDatabase, 0, Expense(u"01/05/2001")));
  ExpectOneMessage(u"Edit Record error: CeSeekDatabase to expense record #0 failed: ", u"Error");
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

TEST_F(RecordOperationsTest, DuplicateCopiesExactlyWhatWasStored) {
  TimeRecord original = Time(u"01/02/2001", u"original", 1, 1);
  CopyText(original.notes, u"note");
  original.startHour = 7;
  Put(TimeDatabase, original);
  Put(TimeDatabase, Time(u"01/02/2001", u"same day"));
  Put(TimeDatabase, Time(u"01/03/2001", u"next day"));

  ASSERT_TRUE(DuplicateRecord(nullptr, TimeDatabase, 0));
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase),
            (Texts{u"original", u"same day", u"original", u"next day"}));
  PropertyBuffer a, b;
  ASSERT_NE(CeSeekDatabase(TimeDatabase, CEDB_SEEK_BEGINNING, 0, nullptr), 0u);
  ASSERT_NE(CeReadRecordProps(TimeDatabase, 0, a), 0u);
  ASSERT_NE(CeSeekDatabase(TimeDatabase, CEDB_SEEK_BEGINNING, 2, nullptr), 0u);
  ASSERT_NE(CeReadRecordProps(TimeDatabase, 0, b), 0u);
  ASSERT_EQ(a.size(), b.size());
  for (WORD i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].propid, b[i].propid);
    EXPECT_EQ(a[i].val.iVal, b[i].val.iVal);
    EXPECT_EQ(TextOf(a[i].val.lpwstr), TextOf(b[i].val.lpwstr));
  }
  EXPECT_EQ(Activity(), (Texts{u"duplicating record...", u"idle"}));

  // A record of another writer with only two properties is copied as it is.
  CEPROPVAL two[2];
  two[0].propid = PWH_EXPENSE_DATE_PROPID;
  two[0].val.lpwstr = u"05/05/2005";
  two[1].propid = MakePropId(PWH_EXP_RECEIPT, CEVT_I2);
  two[1].val.iVal = 1;
  ASSERT_NE(CeWriteRecordProps(ExpenseDatabase, 0, 2, two), 0u);
  AppMode = PWH_EXPENSE_MODE;
  ASSERT_TRUE(DuplicateRecord(nullptr, ExpenseDatabase, 0));
  ASSERT_NE(CeSeekDatabase(ExpenseDatabase, CEDB_SEEK_BEGINNING, 1, nullptr), 0u);
  ASSERT_NE(CeReadRecordProps(ExpenseDatabase, 0, b), 0u);
  EXPECT_EQ(b.size(), 2);

  EXPECT_FALSE(DuplicateRecord(nullptr, ExpenseDatabase, 2));
  ExpectOneMessage(u"DuplicateRecord error: CeSeekDatabase failed: ", u"Error");
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

TEST_F(RecordOperationsTest, DeleteRemovesTheRecordAtItsPosition) {
  PutTen();
  ASSERT_TRUE(DeleteRecord(nullptr, TimeDatabase, 3));
  const Texts clients = Clients<TimeRecord>(TimeDatabase);
  EXPECT_EQ(clients.size(), 9u);
  EXPECT_EQ(clients[3], u"c4");
  EXPECT_EQ(Activity(), (Texts{u"deleting record...", u"idle"}));

  EXPECT_FALSE(DeleteRecord(nullptr, TimeDatabase, 9));
  ExpectOneMessage(u"DeleteRecord error: CeSeekDatabase to 9 failed: ", u"Error");
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

TEST_F(RecordOperationsTest, DeleteMultipleInSelectModeDeletesExactlyTheShownRecords) {
  PutTen();
  RecordPositionList shown;
  for (RecordPosition p : {2u, 5u, 7u}) shown.Append(p);

  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_SELECT_REC_MODE, shown), 3);
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase),
            (Texts{u"c0", u"c1", u"c3", u"c4", u"c6", u"c8", u"c9"}));
  EXPECT_EQ(Activity(), (Texts{u"deleting record #1...", u"deleting record #2...",
                               u"deleting record #3...", u"idle"}));
  EXPECT_TRUE(host.messages.empty());

  // Positions past the end stop the walk quietly; what was before stays deleted.
  shown.Clear();
  for (RecordPosition p : {0u, 1u, 40u}) shown.Append(p);
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_SELECT_REC_MODE, shown), 0);
  EXPECT_EQ(Clients<TimeRecord>(TimeDatabase).size(), 7u);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(RecordOperationsTest, DeleteMultipleInAllModeEmptiesTheDatabase) {
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 0);
  EXPECT_TRUE(host.messages.empty());

  PutTen();
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, 3), 0);  // no such mode
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 10);
  EXPECT_TRUE(Clients<TimeRecord>(TimeDatabase).empty());
  EXPECT_EQ(Activity().size(), 12u);  // "idle", ten deletions, "idle"
  EXPECT_EQ(Activity()[10], u"deleting record #10...");
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
  EXPECT_TRUE(host.messages.empty());
}

// billable, billed before and after a mark, in Time and in Expense mode.
struct MarkCase {
  int billable, billed;
  bool changed;
};
constexpr MarkCase kMarkCases[] = {
    {0, 0, true}, {1, 0, true}, {1, 1, false}, {0, 1, false},  // billed but not billable: alone
};

TEST_F(RecordOperationsTest, MarkBilledSetsBothFlagsOfRecordsNotYetBilled) {
  for (int i = 0; i < 4; ++i) {
    const MarkCase& c = kMarkCases[i];
    Put(TimeDatabase, Time(Format(u"01/0%d/2001", i + 1), u"t", c.billable, c.billed));
    ExpenseRecord e = Expense(Format(u"01/0%d/2001", i + 1));
    e.billable = c.billable;
    e.billed = c.billed;
    CopyText(e.notes, u"keep");
    Put(ExpenseDatabase, e);
  }

  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 2);
  const auto times = ReadAll<TimeRecord>(TimeDatabase);
  AppMode = PWH_EXPENSE_MODE;
  RecordPositionList all;
  for (RecordPosition p : {0u, 1u, 2u, 3u}) all.Append(p);
  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, ExpenseDatabase, PWH_SELECT_REC_MODE, all), 2);
  const auto expenses = ReadAll<ExpenseRecord>(ExpenseDatabase);

  for (int i = 0; i < 4; ++i) {
    const MarkCase& c = kMarkCases[i];
    const int billable = c.changed ? 1 : c.billable;
    EXPECT_EQ(times[i].billable, billable) << i;
    EXPECT_EQ(times[i].billed, 1) << i;
    EXPECT_EQ(expenses[i].billable, billable != 0) << i;
    EXPECT_TRUE(expenses[i].billed) << i;
    EXPECT_EQ(TextOf(expenses[i].notes), u"keep");
  }
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(RecordOperationsTest, MarkReimbursedActsOnExpenseRecordsOnly) {
  for (int i = 0; i < 4; ++i) {
    const MarkCase& c = kMarkCases[i];
    ExpenseRecord e = Expense(Format(u"01/0%d/2001", i + 1));
    e.reimbursable = c.billable;
    e.reimbursed = c.billed;
    Put(ExpenseDatabase, e);
    Put(TimeDatabase, Time(Format(u"01/0%d/2001", i + 1)));
  }
  // In Time mode the walk changes nothing, whichever database it is given.
  EXPECT_EQ(MarkMultipleRecordsReimbursed(nullptr, ExpenseDatabase, PWH_ALL_REC_MODE), 0);
  EXPECT_EQ(MarkMultipleRecordsReimbursed(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 0);
  EXPECT_EQ(ReadAll<ExpenseRecord>(ExpenseDatabase)[0].reimbursed, false);

  AppMode = PWH_EXPENSE_MODE;
  RecordPositionList shown;
  for (RecordPosition p : {0u, 2u, 3u}) shown.Append(p);
  EXPECT_EQ(MarkMultipleRecordsReimbursed(nullptr, ExpenseDatabase, PWH_SELECT_REC_MODE, shown), 1);
  const auto expenses = ReadAll<ExpenseRecord>(ExpenseDatabase);
  EXPECT_TRUE(expenses[0].reimbursable && expenses[0].reimbursed);
  EXPECT_FALSE(expenses[1].reimbursed);  // not shown
  EXPECT_FALSE(expenses[3].reimbursable);
  EXPECT_EQ(MarkMultipleRecordsReimbursed(nullptr, ExpenseDatabase, PWH_ALL_REC_MODE), 1);
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

// A record that can no longer be read, as a damaged file leaves it; the
// store keeps such a record reachable, after every sound one.
TEST_F(RecordOperationsTest, AFailureHalfWayKeepsWhatWasDoneAndEndsIdle) {
  PutTen();
  DamageRecord(Put(TimeDatabase, Time(u"01/05/2001", u"damaged")));  // sorts last: position 10

  EXPECT_EQ(MarkMultipleRecordsBilled(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 10);
  ExpectOneMessage(u"ExportOiDBToFile: could not CeReadRecordProps(): error code: (13).",
                   u"Pennywhistle Db Error");
  const auto marked = ReadAll<TimeRecord>(TimeDatabase);
  ASSERT_EQ(marked.size(), 10u);
  for (const TimeRecord& r : marked) EXPECT_EQ(r.billed, 1);
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");

  struct Failure {
    std::function<bool()> run;
    std::u16string message;
    std::u16string title;
  };
  TimeRecord t;
  const Failure failures[] = {
      {[&] { return DuplicateRecord(nullptr, TimeDatabase, 10); },
       u"DuplicateRecord error: CeReadRecord failed: 13.", u"Error"},
      {[&] { return UpdateRecord(nullptr, TimeDatabase, 10, t); },
       u"ERROR: CeWriteRecordProps failed: 13.", u"Error"},
      {[&] { return LoadPWHRecord(nullptr, TimeDatabase, 10, &t); },
       u"LoadPWHRecord: could not CeReadRecordProps(): error code: (13).", u"Pennywhistle Db Error"},
  };
  for (const Failure& f : failures) {
    host.messages.clear();
    SetStatusText(PWH_STATUS_ACTIVITY, u"busy");
    EXPECT_FALSE(f.run());
    ExpectOneMessage(f.message, f.title);
    EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), f.title == u"Error" ? u"idle" : u"busy");
  }

  // A damaged record can still be deleted.
  host.messages.clear();
  EXPECT_EQ(DeleteMultipleRecords(nullptr, TimeDatabase, PWH_ALL_REC_MODE), 11);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace pw
