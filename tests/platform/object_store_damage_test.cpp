// Store files that another writer or a damaged disk left in a state the
// store never writes itself: they are reported, never crash, never make the
// store hand out an object id twice.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/object_store.h"
#include "platform/object_store_impl.h"
#include "support/temp_home.h"

namespace pw {
namespace {

constexpr CEPROPID kDate = MakePropId(38, CEVT_LPWSTR);

class StoreDamageTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name)
      if (c == '/') c = '_';
    path_ = test::TemporaryHome() + "/damage-" + name + ".db";
    ASSERT_TRUE(OpenObjectStore(path_)) << GetLastError();
    const SORTORDERSPEC order{kDate, 0};
    ASSERT_NE(CeCreateDatabase(u"Times", 0, 1, &order), 0u);
    db_ = Open();
    for (const char16_t* date : {u"01/01/2001", u"02/02/2002", u"03/03/2003"}) oids_.push_back(Add(date));
  }
  void TearDown() override {
    db_.Close();
    CloseObjectStore();
  }

  static DatabaseHandle Open() { return CeOpenDatabase(nullptr, u"Times", kDate, 0, nullptr); }
  CEOID Add(const char16_t* date) {
    const CEPROPVAL p[] = {{kDate, 0, 0, {0, date}}};
    return CeWriteRecordProps(db_, 0, 1, p);
  }
  // Runs SQL on the closed store file, as another program would, then opens it again.
  void ChangeFile(const std::string& sql) {
    db_.Close();
    CloseObjectStore();
    sqlite3* file = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &file), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(file, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(file);
    sqlite3_close(file);
    OpenObjectStore(path_);
  }

  std::string path_;
  DatabaseHandle db_;
  std::vector<CEOID> oids_;
};

// Row ids that do not fit a 32-bit object id, and missing tables, are file
// damage: the open of the database says so. Whatever opened anyway is
// walked and emptied, under AddressSanitizer.
class DamagedFileTest : public StoreDamageTest, public testing::WithParamInterface<const char*> {};

TEST_P(DamagedFileTest, IsReportedAsFileDamage) {
  ChangeFile(GetParam());
  db_ = Open();
  EXPECT_FALSE(db_);
  EXPECT_EQ(GetLastError(), ERROR_FILE_CORRUPT);
  for (DWORD n = DatabaseRecordCount(db_); db_ && n > 0; --n) {
    const CEOID oid = CeSeekDatabase(db_, CEDB_SEEK_BEGINNING, 0, nullptr);
    if (oid == 0 || !CeDeleteRecord(db_, oid)) break;
  }
  for (DWORD i = 0; db_ && CeSeekDatabase(db_, CEDB_SEEK_BEGINNING, i, nullptr) != 0; ++i) {
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedFileTest,
    testing::Values("INSERT INTO records SELECT oid + 4294967296, db, props FROM records",  // equal modulo 2^32
                    "UPDATE records SET oid = 0 WHERE oid = (SELECT min(oid) FROM records)",
                    "UPDATE records SET oid = -5 WHERE oid = (SELECT min(oid) FROM records)",
                    "UPDATE records SET oid = 1099511627776 WHERE oid = (SELECT max(oid) FROM records)",
                    "UPDATE databases SET oid = 4294967297", "DROP TABLE records", "DROP TABLE counters",
                    "ALTER TABLE records DROP COLUMN props"));

// The object id counter as another writer may leave it: the ids handed out
// are never 0, never one in use, and never handed out twice.
class OidCounterTest : public StoreDamageTest, public testing::WithParamInterface<long long> {};

TEST_P(OidCounterTest, NeverHandsOutAnIdInUse) {
  ChangeFile("UPDATE counters SET value = " + std::to_string(GetParam()));
  db_ = Open();
  ASSERT_TRUE(db_);
  std::set<CEOID> inUse(oids_.begin(), oids_.end());
  inUse.insert(db_.DatabaseOid());
  for (int i = 0; i < 4; ++i) {
    const CEOID oid = Add(u"04/04/2004");
    ASSERT_NE(oid, 0u) << GetLastError();
    EXPECT_TRUE(inUse.insert(oid).second) << oid;
    if (i == 1) {
      ChangeFile("");  // and the same once read back from the file
      db_ = Open();
    }
  }
  EXPECT_EQ(DatabaseRecordCount(db_), 7u);
}

INSTANTIATE_TEST_SUITE_P(Counters, OidCounterTest,
                         testing::Values(0LL, -1LL, 2LL, 4294967294LL, 4294967295LL, 4294967296LL, 1LL << 40));

// A row that memory holds but the file lost (changed behind the store's
// back on its own connection, which the store cannot notice): the change
// fails with "not found" instead of reporting success, and memory then
// matches the file.
class LostRowTest : public StoreDamageTest, public testing::WithParamInterface<int> {};

TEST_P(LostRowTest, ChangeFailsWithNotFound) {
  sqlite3* own = CurrentObjectStore()->Connection();
  const CEOID lost = oids_[1];
  const std::string sql = GetParam() == 2 ? "DELETE FROM databases" : "DELETE FROM records WHERE oid = " + std::to_string(lost);
  ASSERT_EQ(sqlite3_exec(own, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  const CEPROPVAL p[] = {{kDate, 0, 0, {0, u"05/05/2005"}}};
  SetLastError(0);
  switch (GetParam()) {
    case 0:
      EXPECT_FALSE(CeDeleteRecord(db_, lost));
      break;
    case 1:
      EXPECT_EQ(CeWriteRecordProps(db_, lost, 1, p), 0u);
      break;
    case 2:
      EXPECT_FALSE(CeDeleteDatabase(db_.DatabaseOid()));
      break;
  }
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  if (GetParam() != 2) {
    EXPECT_EQ(DatabaseRecordCount(db_), 2u);
    EXPECT_EQ(CeSeekDatabase(db_, CEDB_SEEK_CEOID, lost, nullptr), 0u);
  }
}

std::string ChangeName(const testing::TestParamInfo<int>& info) {
  static const char* const names[] = {"DeleteRecord", "ReplaceRecord", "DeleteDatabase"};
  return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Changes, LostRowTest, testing::Values(0, 1, 2), ChangeName);

}  // namespace
}  // namespace pw
