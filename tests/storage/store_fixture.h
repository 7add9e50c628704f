// A fresh object store file for every test, a scripted host, and helpers to
// fill and read back the record databases directly.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "config/configuration.h"
#include "platform/injected_failures.h"
#include "platform/object_store.h"
#include "shell/app_state.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"

namespace pw::test {

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = NewTestFolder("store") + "/pennywhistle.db";
    ASSERT_TRUE(OpenObjectStore(path_));
  }
  void TearDown() override {
    Configuration = nullptr, settings_.reset();
    for (DatabaseHandle* db : {&TimeDatabase, &ConfigDatabase, &ExpenseDatabase}) db->Close();
    ClearPlatformFailures(), CloseObjectStore();
  }
  void OpenRecordDatabases() {
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &TimeDatabase));
    ASSERT_TRUE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &ExpenseDatabase));
  }
  // The pulldown list database and the program's settings, let go at the end.
  void OpenPulldownsAndSettings() {
    ASSERT_TRUE(OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &ConfigDatabase));
    settings_ = std::make_unique<PWHConfiguration>();
    Configuration = settings_.get();
  }
  // Cuts a record's stored bytes short, as a damaged file has them, and
  // opens the store and the record databases again.
  void DamageRecord(CEOID oid) {
    TimeDatabase.Close(), ExpenseDatabase.Close(), CloseObjectStore();
    sqlite3* file = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &file), SQLITE_OK);
    const std::string sql = "UPDATE records SET props = substr(props, 1, 6) WHERE oid = " + std::to_string(oid);
    EXPECT_EQ(sqlite3_exec(file, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(file);
    ASSERT_TRUE(OpenObjectStore(path_));
    OpenRecordDatabases();
  }

  ScriptedHost host;
  std::string path_;
  // The program's state, and its parts under their own names.
  AppState state;
  int& AppMode = state.AppMode;
  DatabaseHandle& TimeDatabase = state.TimeDatabase;
  DatabaseHandle& ConfigDatabase = state.ConfigDatabase;
  DatabaseHandle& ExpenseDatabase = state.ExpenseDatabase;
  PWHConfiguration*& Configuration = state.Configuration;
  int& RecordSetMode = state.RecordSetMode;
  RecordPositionList& DisplayedRecordList = state.DisplayedRecordList;

  std::unique_ptr<PWHConfiguration> settings_;
};

// Records in these tests are told apart by their client.
inline TimeRecord Time(std::u16string_view date, std::u16string_view client = u"Acme", int billable = 0, int billed = 0) {
  TimeRecord r{.billable = billable, .billed = billed};
  CopyText(r.date, date), CopyText(r.client, client);
  return r;
}

inline ExpenseRecord Expense(std::u16string_view date, std::u16string_view client = u"Acme") {
  ExpenseRecord r;
  CopyText(r.date, date), CopyText(r.client, client);
  return r;
}

template <class Record>
CEOID Put(DatabaseHandle& db, const Record& r) {
  CEPROPVAL props[PWH_TIME_PROP_COUNT];
  const WORD n = std::is_same_v<Record, TimeRecord> ? PWH_TIME_PROP_COUNT : PWH_EXPENSE_PROP_COUNT;
  const CEOID oid = CeWriteRecordProps(db, 0, n, RecordToProps(r, props));
  EXPECT_NE(oid, 0u);
  return oid;
}

// The records in sort order, up to the first that cannot be read.
template <class Record>
std::vector<Record> ReadAll(DatabaseHandle& db) {
  std::vector<Record> out;
  PropertyBuffer buffer;
  for (DWORD i = 0; CeSeekDatabase(db, CEDB_SEEK_BEGINNING, i, nullptr) != 0; ++i) {
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) break;
    PropsToRecord(buffer.data(), buffer.size(), out.emplace_back());
  }
  return out;
}

template <class Record>
std::vector<std::u16string> Clients(DatabaseHandle& db) {
  std::vector<std::u16string> out;
  for (const Record& r : ReadAll<Record>(db)) out.emplace_back(TextOf(r.client));
  return out;
}

}  // namespace pw::test
