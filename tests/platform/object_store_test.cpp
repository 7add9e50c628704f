#include "platform/object_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/object_store_codec.h"
#include "platform/object_store_impl.h"
#include "platform/object_store_index.h"
#include "support/file_size_limit.h"
#include "support/temp_home.h"

namespace pw {
namespace {

constexpr CEPROPID kDate = MakePropId(38, CEVT_LPWSTR), kNote = MakePropId(39, CEVT_LPWSTR);
constexpr CEPROPID kHour = MakePropId(18, CEVT_I2);

CEPROPVAL Text(CEPROPID id, const char16_t* text, WORD flags = 0) { return {id, 0, flags, {0, text}}; }
CEPROPVAL Removal(CEPROPID id) { return Text(id, nullptr, CEDB_PROPDELETE); }
CEPROPVAL Int(CEPROPID id, std::int16_t v) { return {id, 0, 0, {v, nullptr}}; }

// The properties of a read as comparable values.
using Props = std::vector<std::pair<CEPROPID, std::u16string>>;
Props AsProps(const PropertyBuffer& b) {
  Props out;
  for (WORD i = 0; i < b.size(); ++i)
    out.emplace_back(b[i].propid, PropTypeOf(b[i].propid) == CEVT_LPWSTR ? std::u16string(b[i].val.lpwstr)
                                                                          : std::u16string(1, char16_t(b[i].val.iVal)));
  return out;
}

// Every test has its own store file; the store is closed after it.
class ObjectStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::NewTestFolder("object-store");
    path_ = folder_ + "/pw.db";
    ASSERT_TRUE(OpenObjectStore(path_)) << GetLastError();
  }
  void TearDown() override { CloseObjectStore(); }

  // Reads the store again from its file, after running `sql` on it as another program would;
  // `db`, when given, is opened again on "Times".
  void Reopen(DatabaseHandle* db = nullptr, const std::string& sql = "") {
    if (db) db->Close();
    CloseObjectStore();
    if (!sql.empty()) Sql(sql);
    EXPECT_TRUE(OpenObjectStore(path_) || !sql.empty()) << GetLastError();
    if (db) *db = CeOpenDatabase(nullptr, u"Times", kDate, 0, nullptr);
  }

  DatabaseHandle CreateSorted(std::u16string_view name = u"Times") {
    const SORTORDERSPEC order{kDate, 0};
    EXPECT_NE(CeCreateDatabase(name, 0, 1, &order), 0u) << GetLastError();
    return CeOpenDatabase(nullptr, name, kDate, 0, nullptr);
  }

  static CEOID AddDated(DatabaseHandle& db, const char16_t* date) {
    const CEPROPVAL p[] = {Int(kHour, 9), Text(kDate, date)};
    return CeWriteRecordProps(db, 0, date ? 2 : 1, p);
  }

  // The object ids in position order, by seeking to each position.
  static std::vector<CEOID> Walk(DatabaseHandle& db) {
    std::vector<CEOID> oids;
    DWORD index = ~0u;
    for (DWORD i = 0; const CEOID oid = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, i, &index); ++i) {
      EXPECT_EQ(index, i);
      oids.push_back(oid);
    }
    return oids;
  }

  // A raw connection to a file (the store's by default), for what the store itself would never do.
  // Gives the first column of the first row, or -1.
  long long Sql(const std::string& sql, const std::string& file = "") {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open((file.empty() ? path_ : file).c_str(), &db), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    const int rc = sqlite3_step(s);
    EXPECT_TRUE(rc == SQLITE_ROW || rc == SQLITE_DONE) << sqlite3_errmsg(db);
    const long long n = rc == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
    sqlite3_finalize(s);
    sqlite3_close(db);
    return n;
  }
  // Through the store's own connection: while it is open no other gets in.
  static long long StoredRecords() {
    sqlite3_int64 n = -1;
    EXPECT_EQ(SqliteQueryInt(CurrentObjectStore()->Connection(), "SELECT count(*) FROM records", &n), SQLITE_OK);
    return n;
  }

  std::string folder_, path_;
};

TEST_F(ObjectStoreTest, SortsByCodeUnitsMissingKeyLastEqualKeysByOid) {
  DatabaseHandle db = CreateSorted();
  // Each date with its expected position: text order (not calendar order), upper before lower case, a
  // surrogate pair (0xD83D...) before U+FF21, the empty text first, records without a date last, and equal
  // dates in object id order.
  const std::pair<const char16_t*, int> adds[] = {{u"12/01/1999", 2}, {nullptr, 9}, {u"01/15/2000", 1}, {u"b", 5},
                                                  {u"B", 3}, {u"\U0001F600", 7}, {u"\uFF21", 8}, {u"", 0},
                                                  {u"a", 4}, {u"b", 6}, {nullptr, 10}};
  std::vector<CEOID> expected(std::size(adds));
  for (const auto& [date, position] : adds) expected[std::size_t(position)] = AddDated(db, date);
  EXPECT_EQ(Walk(db), expected);

  // Opened without a sort order the same records come in object id order.
  DatabaseHandle plain = CeOpenDatabase(nullptr, u"Times", 0, 0, nullptr);
  std::vector<CEOID> byOid = expected;
  std::sort(byOid.begin(), byOid.end());
  EXPECT_EQ(Walk(plain), byOid);
  plain.Close();
  Reopen(&db);  // the order is rebuilt the same from the file
  EXPECT_EQ(Walk(db), expected);
}

TEST_F(ObjectStoreTest, CalendarOrderByYearMonthDayOtherTextsAfterByTextSetOnceOnAnOlderDatabase) {
  DatabaseHandle db = CreateSorted();  // in text order, as an earlier release made it
  // Each date with its place in calendar order: years that text order interleaves, one day written two ways
  // (object id order), an impossible day and other texts after every date by their text, no date last.
  const std::pair<const char16_t*, int> adds[] = {{u"03/13/2008", 4}, {u"07/14/2000", 1}, {u"n/a", 7}, {nullptr, 8},
                                                  {u"09/27/2007", 3}, {u"02/30/2026", 6}, {u"10/19/1999", 0},
                                                  {u"7/14/2000", 2}, {u"12/31/2008", 5}};
  std::vector<CEOID> expected(std::size(adds));
  for (const auto& [date, position] : adds) expected[std::size_t(position)] = AddDated(db, date);
  ASSERT_NE(Walk(db), expected);
  ASSERT_TRUE(CeSetDatabaseSortOrder(db.DatabaseOid(), {kDate, CEDB_SORT_CALENDARDATE})) << GetLastError();
  EXPECT_EQ(Walk(db), expected);
  Reopen(&db);  // kept in the file, no record changed
  EXPECT_EQ(Walk(db), expected);
  CEOIDINFO info;
  ASSERT_TRUE(CeOidGetInfo(db.DatabaseOid(), &info));
  EXPECT_EQ(std::tuple(info.sortFlags, info.numRecords), std::tuple(CEDB_SORT_CALENDARDATE, DWORD(std::size(adds))));
  // Adds and changed dates take their calendar place.
  expected.insert(expected.begin() + 1, AddDated(db, u"1/1/2000"));
  const CEPROPVAL earliest = Text(kDate, u"12/31/1998");
  ASSERT_NE(CeWriteRecordProps(db, expected[8], 1, &earliest), 0u);
  std::rotate(expected.begin(), expected.begin() + 8, expected.begin() + 9);
  EXPECT_EQ(Walk(db), expected);
}

// The positional index against a plain sorted model, with block splits and
// merges that a few hundred store records would not reach.
TEST(RecordOrderTest, MatchesSortedModelThroughInsertsErasesAndRekeys) {
  std::mt19937 rng(7);
  std::map<CEOID, StoredRecord> records;
  RecordOrder order(true);
  const auto less = [&](const StoredRecord* a, const StoredRecord* b) { return order.Less(a, b); };
  std::set<StoredRecord*, decltype(less)> model(less);
  CEOID next = 1;
  for (int step = 0; step <= 20000; ++step) {
    if (step % 997 == 0 || step == 20000) {  // every position, both ways
      ASSERT_EQ(order.size(), model.size());
      std::size_t pos = 0, found = 0;
      for (StoredRecord* r : model) {
        ASSERT_EQ(order.At(pos), r) << "step " << step << " position " << pos;
        ASSERT_TRUE(order.PositionOf(r, &found) && found == pos++) << "step " << step;
      }
      EXPECT_EQ(order.At(pos), nullptr);
    }
    const int op = int(rng() % 10);
    StoredRecord* r;
    if (op < 6 || records.empty()) {
      r = &records[next];
      r->oid = next++;
      r->hasKey = rng() % 8 != 0;
    } else {
      const auto it = std::next(records.begin(), long(rng() % records.size()));
      r = &it->second;
      ASSERT_TRUE(order.Erase(r));
      model.erase(r);
      if (op < 8) {
        records.erase(it);
        continue;
      }
      r->hasKey = true;  // re-keyed
    }
    if (r->hasKey) r->key = std::u16string(1, char16_t(u'a' + rng() % 20));
    order.Insert(r);
    model.insert(r);
  }
}

// Re-keys, date removals and deletes inside a group move records in the
// order; seeks by object id and relative to the current record follow, and a
// read gives the latest properties.
TEST_F(ObjectStoreTest, ChangesMoveRecordsAndSeeksFollow) {
  DatabaseHandle db = CreateSorted();
  std::vector<CEOID> o;
  for (const char16_t* date : {u"1", u"2", u"3", u"4", u"5"}) o.push_back(AddDated(db, date));
  const CEPROPVAL later[] = {Text(kDate, u"9")}, removal[] = {Removal(kDate)};
  {
    StoreTransaction group;
    ASSERT_EQ(CeWriteRecordProps(db, o[0], 1, later), o[0]);    // first to last of the dated
    ASSERT_EQ(CeWriteRecordProps(db, o[3], 1, removal), o[3]);  // no date: after all dated ones
    ASSERT_TRUE(CeDeleteRecord(db, o[2]));
  }
  const std::vector<CEOID> want = {o[1], o[4], o[0], o[3]};
  EXPECT_EQ(Walk(db), want);
  EXPECT_EQ(DatabaseRecordCount(db), 4u);
  DWORD index = 0;
  ASSERT_EQ(CeSeekDatabase(db, CEDB_SEEK_CEOID, o[0], &index), o[0]);
  EXPECT_EQ(index, 2u);
  PropertyBuffer read;
  ASSERT_EQ(CeReadRecordProps(db, 0, read), o[0]);
  EXPECT_EQ(AsProps(read), (Props{{kHour, u"\x0009"}, {kDate, u"9"}}));
  EXPECT_EQ(CeSeekDatabase(db, CEDB_SEEK_CURRENT, 1, &index), o[3]);
  EXPECT_EQ(CeSeekDatabase(db, CEDB_SEEK_CURRENT, DWORD(-2), &index), o[4]);
  EXPECT_EQ(index, 1u);
  Reopen(&db);
  EXPECT_EQ(Walk(db), want);
}

TEST_F(ObjectStoreTest, WriteReplacesListedPropertiesKeepsOthersAndDeletesMarked) {
  DatabaseHandle db = CreateSorted();
  const char16_t* note = u"caf\u00e9 \u20ac \U0001F600";
  constexpr CEPROPID kHourText = MakePropId(18, CEVT_LPWSTR), kExtra = MakePropId(40, CEVT_I2);
  const CEPROPVAL first[] = {Text(kDate, u"01/02/2003"), Int(kHour, 8), Text(kNote, note)};
  const CEOID oid = CeWriteRecordProps(db, 0, 3, first);
  ASSERT_NE(oid, 0u);
  PropertyBuffer read;
  struct Step {
    std::vector<CEPROPVAL> write;
    Props after;
  } const steps[] = {
      // Same id replaces in place, a new id is appended (-3 reads as U+FFFD here).
      {{Int(kHour, 10), Int(kExtra, -3)}, {{kDate, u"01/02/2003"}, {kHour, u"\x000A"}, {kNote, note}, {kExtra, u"\xFFFD"}}},
      // Matching is by id alone: a text replaces an integer of the same id.
      {{Text(kHourText, u"nine")}, {{kDate, u"01/02/2003"}, {kHourText, u"nine"}, {kNote, note}, {kExtra, u"\xFFFD"}}},
      // PROPDELETE removes; deleting a property the record lacks is harmless.
      {{Removal(kNote), Removal(MakePropId(99, CEVT_I2))}, {{kDate, u"01/02/2003"}, {kHourText, u"nine"}, {kExtra, u"\xFFFD"}}},
  };
  for (const Step& s : steps) {
    ASSERT_EQ(CeWriteRecordProps(db, oid, WORD(s.write.size()), s.write.data()), oid);
    ASSERT_EQ(CeSeekDatabase(db, CEDB_SEEK_CEOID, oid, nullptr), oid);
    ASSERT_EQ(CeReadRecordProps(db, CEDB_ALLOWREALLOC, read), oid);
    EXPECT_EQ(AsProps(read), s.after);
  }
  Reopen(&db);
  ASSERT_EQ(CeReadRecordProps(db, 0, read), oid);
  EXPECT_EQ(AsProps(read), steps[2].after);
  EXPECT_EQ(read[2].val.iVal, -3);
}

TEST_F(ObjectStoreTest, FailuresSetTheirErrorCodes) {
  DatabaseHandle db = CreateSorted();
  const CEOID oid = AddDated(db, u"01/01/2001");
  const SORTORDERSPEC order{kDate, 0}, byHour{kHour, 0};
  PropertyBuffer read;
  DatabaseHandle closed;
  const CEPROPVAL p[] = {Text(kDate, u"x")};
  CEOIDINFO info;
  struct Case {
    const char* what;
    std::function<bool()> call;  // true when the call failed
    DWORD error;
  } const cases[] = {
      {"open missing", [&] { return !CeOpenDatabase(nullptr, u"Nope", 0, 0, nullptr); }, ERROR_FILE_NOT_FOUND},
      {"open with another sort property", [&] { return !CeOpenDatabase(nullptr, u"Times", kNote, 0, nullptr); },
       ERROR_INVALID_PARAMETER},
      {"create existing", [&] { return CeCreateDatabase(u"Times", 0, 1, &order) == 0; }, ERROR_ALREADY_EXISTS},
      {"sort on an integer", [&] { return CeCreateDatabase(u"X", 0, 1, &byHour) == 0; }, ERROR_INVALID_PARAMETER},
      {"seek past the end", [&] { return CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 1, nullptr) == 0; }, ERROR_FILE_NOT_FOUND},
      {"read without current", [&] { return CeReadRecordProps(db, 0, read) == 0; }, ERROR_FILE_NOT_FOUND},
      {"replace missing record", [&] { return CeWriteRecordProps(db, oid + 100, 1, p) == 0; }, ERROR_FILE_NOT_FOUND},
      {"delete missing record", [&] { return !CeDeleteRecord(db, oid + 100); }, ERROR_FILE_NOT_FOUND},
      {"info of a record", [&] { return !CeOidGetInfo(oid, &info); }, ERROR_FILE_NOT_FOUND},
      {"closed handle", [&] { return CeSeekDatabase(closed, CEDB_SEEK_BEGINNING, 0, nullptr) == 0; }, ERROR_INVALID_HANDLE},
      {"delete missing database", [&] { return !CeDeleteDatabase(oid + 100); }, ERROR_FILE_NOT_FOUND},
      // A record of one database is not reachable through another.
      {"record of another database", [&] { DatabaseHandle other = CreateSorted(u"Other");
         return CeWriteRecordProps(other, oid, 1, p) == 0; }, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_TRUE(c.call()) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  // After deleting the current record there is none, also for another handle that stood on it.
  DatabaseHandle second = CeOpenDatabase(nullptr, u"Times", kDate, 0, nullptr);
  ASSERT_EQ(CeSeekDatabase(second, CEDB_SEEK_BEGINNING, 0, nullptr), oid);
  ASSERT_EQ(CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr), oid);
  ASSERT_TRUE(CeDeleteRecord(db, oid));
  for (DatabaseHandle* h : {&db, &second}) {
    EXPECT_EQ(CeReadRecordProps(*h, 0, read), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  }
}

// A nested group joins the outer one, a failing write inside does not undo
// the others, and object ids are never given out twice, not even after a reopen.
TEST_F(ObjectStoreTest, GroupCommitsOnceAndKeepsWritesBeforeAFailure) {
  DatabaseHandle db = CreateSorted();
  std::vector<CEOID> added;
  {
    StoreTransaction outer;
    for (int i = 0; i < 5; ++i) added.push_back(AddDated(db, u"01/01/2001"));
    {
      StoreTransaction inner;
      added.push_back(AddDated(db, u"02/02/2002"));
      EXPECT_TRUE(inner.Commit());
    }
    const CEPROPVAL p[] = {Text(kDate, u"x")};
    EXPECT_EQ(CeWriteRecordProps(db, 999999, 1, p), 0u);
    added.push_back(AddDated(db, u"03/03/2003"));
    // Nothing is committed yet, but the handle sees every write.
    EXPECT_FALSE(sqlite3_get_autocommit(CurrentObjectStore()->Connection()));
    EXPECT_EQ(Walk(db), added);
  }
  EXPECT_EQ(StoredRecords(), 7);
  Reopen(&db);
  EXPECT_EQ(Walk(db), added);
  ASSERT_TRUE(CeDeleteRecord(db, added.back()));
  Reopen(&db);
  EXPECT_GT(AddDated(db, u"c"), added.back());
}

// A full disk in the middle of a group: the failing write says so, and
// whatever SQLite kept or gave up, memory matches the file afterwards.
TEST_F(ObjectStoreTest, DiskFullInAGroupLeavesMemoryMatchingTheFile) {
  DatabaseHandle db = CreateSorted();
  const std::u16string note(1000, u'n');
  const auto add = [&](const char16_t* date) {
    const CEPROPVAL p[] = {Text(kDate, date), Text(kNote, note.c_str())};
    return CeWriteRecordProps(db, 0, 2, p);
  };
  add(u"before");
  sqlite3_exec(CurrentObjectStore()->Connection(), "PRAGMA max_page_count = 12", nullptr, nullptr, nullptr);
  bool full = false, committed;
  DWORD commitError;
  {
    StoreTransaction group;
    for (int i = 0; i < 200 && !full; ++i) full = add(u"during") == 0;
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    committed = group.Commit();
    commitError = GetLastError();
  }
  ASSERT_TRUE(full);
  const std::vector<CEOID> inMemory = Walk(db);
  EXPECT_EQ(long(inMemory.size()), StoredRecords());
  if (inMemory.size() == 1) {  // SQLite gave up the whole group: the group reports it
    EXPECT_FALSE(committed);
    EXPECT_EQ(commitError, ERROR_DISK_FULL);
  }
  Reopen(&db);
  EXPECT_EQ(Walk(db), inMemory);
}

// The log's index is kept in memory, never in a -shm file mapped from the
// disk (where a full disk turns a store into a page into SIGBUS): none is
// beside the store, and no other process gets into the file while it is
// open. A new store appears under its name only whole: when the disk fills
// while it is made, nothing is left, and the next start makes it.
TEST_F(ObjectStoreTest, KeepsItsFileToItselfAndMakesANewOneWhole) {
  DatabaseHandle db = CreateSorted();
  AddDated(db, u"a");
  EXPECT_FALSE(std::filesystem::exists(path_ + "-shm"));
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(other, "SELECT count(*) FROM records", nullptr, nullptr, nullptr), SQLITE_BUSY);
  sqlite3_close(other);
  db.Close();

  const std::string fresh = folder_ + "/new/pw.db";
  {
    test::FileSizeLimit limit(4096);
    EXPECT_FALSE(OpenObjectStore(fresh));
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder_ + "/new"));
  ASSERT_TRUE(OpenObjectStore(fresh)) << GetLastError();
  EXPECT_TRUE(CreateSorted().IsOpen());
}

TEST_F(ObjectStoreTest, DamagedStoreFileFailsEveryCallWithFileCorrupt) {
  DatabaseHandle db = CreateSorted();
  {
    StoreTransaction group;
    for (int i = 0; i < 3000; ++i) AddDated(db, u"01/01/2001");
  }
  db.Close();
  CloseObjectStore();
  const std::uintmax_t size = std::filesystem::file_size(path_);
  // Another program's SQLite file.
  const std::string foreign = folder_ + "/foreign.db";
  Sql("CREATE TABLE t(x)", foreign);
  EXPECT_FALSE(OpenObjectStore(foreign));
  EXPECT_EQ(GetLastError(), ERROR_FILE_CORRUPT);
  SetLastError(0);  // every later call tries the file again and says the same
  EXPECT_FALSE(CeOpenDatabase(nullptr, u"Times", kDate, 0, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_FILE_CORRUPT);
  EXPECT_FALSE(StoreTransaction().Commit());
  // A real store cut short: the first call that meets the damage reports it, and nothing crashes.
  std::filesystem::resize_file(path_, size / 2);
  const bool opened = OpenObjectStore(path_);
  if (opened) db = CeOpenDatabase(nullptr, u"Times", kDate, 0, nullptr);
  EXPECT_FALSE(opened && db);
  EXPECT_EQ(GetLastError(), ERROR_FILE_CORRUPT);
}

TEST_F(ObjectStoreTest, DamagedRecordFailsToReadAndCanBeDeleted) {
  DatabaseHandle db = CreateSorted();
  const CEOID good = AddDated(db, u"01/01/2001"), bad = AddDated(db, u"02/02/2002");
  // Keep the first bytes of a valid record: its date is then cut off.
  Reopen(&db, "UPDATE records SET props = substr(props, 1, 6) WHERE oid = " + std::to_string(bad));
  ASSERT_EQ(Walk(db), (std::vector<CEOID>{good, bad}));  // the damaged one sorts last
  PropertyBuffer read;
  ASSERT_EQ(CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 1, nullptr), bad);
  EXPECT_EQ(CeReadRecordProps(db, 0, read), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
  EXPECT_EQ(read.size(), 0);
  const CEPROPVAL p[] = {Text(kDate, u"x")};
  EXPECT_EQ(CeWriteRecordProps(db, bad, 1, p), 0u);
  EXPECT_TRUE(CeDeleteRecord(db, bad));
  EXPECT_EQ(Walk(db), std::vector<CEOID>{good});
}

TEST(PropertyCodecTest, RoundTripsAndRejectsEveryDamagedForm) {
  const std::u16string longText(300, u'\u00e9');
  constexpr CEPROPID kLast = MakePropId(0xFFFF, CEVT_LPWSTR), kLong = MakePropId(24, CEVT_LPWSTR);
  const CEPROPVAL props[] = {Text(kDate, u"12/31/1999"), Int(kHour, -32768), Text(kNote, nullptr),
                             Text(kLast, u"\u20ac\U0001F600\xD800"), Text(kLong, longText.c_str())};
  const std::string bytes = EncodeProperties(props, 5);
  PropertyBuffer b;
  ASSERT_TRUE(b.Decode(bytes));
  const Props want = {{kDate, u"12/31/1999"}, {kHour, u"\x8000"}, {kNote, u""},
                      {kLast, u"\u20ac\U0001F600\xD800"}, {kLong, longText}};
  EXPECT_EQ(AsProps(b), want);
  EXPECT_EQ(b[1].val.iVal, -32768);

  // Only the wanted properties (ids above the set's range are never wanted); the others' bytes are
  // still checked.
  PropertyIdSet wanted{};
  wanted[PropIdOf(kHour)] = wanted[PropIdOf(kLong)] = true;
  ASSERT_TRUE(b.Decode(bytes, &wanted));
  EXPECT_EQ(AsProps(b), (Props{{kHour, u"\x8000"}, {kLong, longText}}));
  EXPECT_FALSE(b.Decode(bytes.substr(0, bytes.size() - 1), &wanted));

  // Copies and moves keep their texts, also when the texts are short.
  PropertyBuffer small;
  const CEPROPVAL one[] = {Text(kDate, u"ab")};
  ASSERT_TRUE(small.Decode(EncodeProperties(one, 1)));
  for (PropertyBuffer* source : {&b, &small}) {
    const Props before = AsProps(*source);
    PropertyBuffer copy(*source);
    PropertyBuffer moved(std::move(*source));
    *source = copy;
    PropertyBuffer assigned;
    assigned = std::move(moved);
    for (const PropertyBuffer* kept : {&copy, &assigned, source}) EXPECT_EQ(AsProps(*kept), before);
  }

  // Every truncation, a trailing byte, a wrong version, an unknown type, an overlong count.
  for (std::size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(b.Decode(bytes.substr(0, n))) << n;
  std::string otherVersion = bytes;
  otherVersion[0] = 2;
  for (const std::string& bad : {bytes + '\0', otherVersion, std::string("\x01\x01\x05\x07\x00\x00", 6),
                                 std::string("\x01\xFF\xFF\xFF\xFF\x7F", 6)})
    EXPECT_FALSE(b.Decode(bad));
  EXPECT_EQ(b.size(), 0);
  const CEPROPVAL unknown[] = {Int(MakePropId(5, 3), 1)};
  EXPECT_EQ(EncodeProperties(unknown, 1), "");  // unsupported types are refused when encoding

  // Random damage must fail or decode within its bytes (the sanitizers watch), and the key scan agrees.
  std::mt19937 rng(3);
  bool found;
  std::u16string key;
  for (int i = 0; i < 2000; ++i) {
    std::string damaged = bytes;
    damaged[rng() % damaged.size()] ^= char(1 << (rng() % 8));
    EXPECT_EQ(b.Decode(damaged), ScanStoredRecord(damaged, kDate, &found, &key));
  }
}

TEST_F(ObjectStoreTest, EnumeratesAndDeletesDatabases) {
  DatabaseHandle times = CreateSorted(u"Times");
  for (int i = 0; i < 4; ++i) AddDated(times, u"d");
  ASSERT_NE(CeCreateDatabase(u"Config", 0, 0, nullptr), 0u);
  using Seen = std::map<std::u16string, DWORD>;  // name -> records
  const auto names = [] {
    Seen seen;
    DatabaseEnumerator e = CeFindFirstDatabase(0);
    while (const CEOID oid = CeFindNextDatabase(e)) {
      CEOIDINFO info;
      EXPECT_TRUE(CeOidGetInfo(oid, &info) && info.wObjType == OBJTYPE_DATABASE);
      seen[info.dbaseName] = info.numRecords;
    }
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
    return seen;
  };
  EXPECT_EQ(names(), (Seen{{u"Times", 4}, {u"Config", 0}}));
  ASSERT_TRUE(CeDeleteDatabase(times.DatabaseOid()));
  EXPECT_EQ(CeSeekDatabase(times, CEDB_SEEK_BEGINNING, 0, nullptr), 0u);  // its open handle is refused
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  Reopen(&times);
  EXPECT_EQ(names(), (Seen{{u"Config", 0}}));
  EXPECT_EQ(StoredRecords(), 0);
  EXPECT_TRUE(CreateSorted(u"Times"));  // the name is free again
}

// Store files that another writer or a damaged disk left in a state the
// store never writes itself: they are reported, never crash, never make the
// store hand out an object id twice.
class StoreDamageTest : public ObjectStoreTest {
 protected:
  void SetUp() override {
    ObjectStoreTest::SetUp();
    db_ = CreateSorted();
    for (const char16_t* date : {u"01/01/2001", u"02/02/2002", u"03/03/2003"}) oids_.push_back(AddDated(db_, date));
  }
  void TearDown() override {
    db_.Close();
    ObjectStoreTest::TearDown();
  }

  DatabaseHandle db_;
  std::vector<CEOID> oids_;
};

// Row ids that do not fit a 32-bit object id, and missing tables, are file
// damage: the open of the database says so.
class DamagedFileTest : public StoreDamageTest, public testing::WithParamInterface<const char*> {};

TEST_P(DamagedFileTest, IsReportedAsFileDamage) {
  Reopen(&db_, GetParam());
  EXPECT_FALSE(db_);
  EXPECT_EQ(GetLastError(), ERROR_FILE_CORRUPT);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedFileTest,
    testing::Values("INSERT INTO records SELECT oid + 4294967296, db, props FROM records",  // equal modulo 2^32
                    "UPDATE records SET oid = 0 WHERE oid = (SELECT min(oid) FROM records)",
                    "UPDATE databases SET oid = 4294967297", "DROP TABLE counters", "ALTER TABLE records DROP COLUMN props"));

// The object id counter as another writer may leave it: the ids handed out
// are never 0, never one in use, and never handed out twice.
class OidCounterTest : public StoreDamageTest, public testing::WithParamInterface<long long> {};

TEST_P(OidCounterTest, NeverHandsOutAnIdInUse) {
  Reopen(&db_, "UPDATE counters SET value = " + std::to_string(GetParam()));
  ASSERT_TRUE(db_);
  std::set<CEOID> inUse(oids_.begin(), oids_.end());
  inUse.insert(db_.DatabaseOid());
  for (int i = 0; i < 4; ++i) {
    const CEOID oid = AddDated(db_, u"04/04/2004");
    ASSERT_NE(oid, 0u) << GetLastError();
    EXPECT_TRUE(inUse.insert(oid).second) << oid;
    if (i == 1) Reopen(&db_);  // and the same once read back from the file
  }
  EXPECT_EQ(DatabaseRecordCount(db_), 7u);
}

INSTANTIATE_TEST_SUITE_P(Counters, OidCounterTest,
                         testing::Values(0LL, -1LL, 2LL, 4294967294LL, 4294967295LL, 4294967296LL, 1LL << 40));

// Rows that memory holds but the file lost (changed behind the store's back
// on its own connection, which the store cannot notice): the change fails
// with "not found" instead of reporting success, and memory then matches the file.
TEST_F(StoreDamageTest, ChangeOfARowTheFileLostFailsWithNotFound) {
  const auto lose = [](const std::string& sql) {
    ASSERT_EQ(sqlite3_exec(CurrentObjectStore()->Connection(), sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    SetLastError(0);
  };
  const CEPROPVAL p[] = {Text(kDate, u"05/05/2005")};
  for (std::size_t i = 0; i < 2; ++i) {
    lose("DELETE FROM records WHERE oid = " + std::to_string(oids_[i]));
    EXPECT_FALSE(i == 0 ? CeDeleteRecord(db_, oids_[i]) : CeWriteRecordProps(db_, oids_[i], 1, p) != 0);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DatabaseRecordCount(db_), 2 - i);
    EXPECT_EQ(CeSeekDatabase(db_, CEDB_SEEK_CEOID, oids_[i], nullptr), 0u);
  }
  lose("DELETE FROM databases");
  EXPECT_FALSE(CeDeleteDatabase(db_.DatabaseOid()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace pw
