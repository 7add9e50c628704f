// The object store behind the calls of object_store.h: one SQLite file, the
// databases it holds, and the in-memory index of each database in use.
//
// Single-threaded, like the program: no call may run on two threads at once.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/object_store.h"
#include "platform/object_store_index.h"
#include "platform/sqlite_util.h"

namespace pw {

// The tables of a new store (made inside one transaction).
extern const char* const kStoreSchema;

// Object ids are 32 bits; 0 means none.
inline constexpr sqlite3_int64 kLastOid = 0xFFFFFFFF;

struct DatabaseState {
  CEOID oid = 0;
  std::u16string name;
  DWORD type = 0;
  CEPROPID sortProp = 0;  // 0: no sort order
  DWORD sortFlags = 0;    // SORTORDERSPEC::dwFlags of the sort order

  // The records, read from the file on first use.
  bool loaded = false;
  std::unordered_map<CEOID, StoredRecord> records;
  // The bytes of the records as loaded, one after the other in sort order.
  std::unique_ptr<char[]> loadedBytes;
  std::unique_ptr<RecordOrder> sorted;  // by the sort key, when there is a sort order
  std::unique_ptr<RecordOrder> byOid;   // object id order, made when first needed
};

class ObjectStore : public std::enable_shared_from_this<ObjectStore> {
 public:
  // Opens (creating as needed) the store file; null with *error set on failure.
  static std::shared_ptr<ObjectStore> Open(const std::string& path, bool ownFolder, DWORD* error);
  ~ObjectStore();
  ObjectStore(const ObjectStore&) = delete;
  ObjectStore& operator=(const ObjectStore&) = delete;

  // How long a call waits for another process that holds the file.
  void SetBusyTimeout(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }
  // The wait of every store opened from now on (5 seconds unless set).
  static void SetDefaultBusyTimeout(int milliseconds);
  // The SQLite connection, for tests that need to make the file misbehave.
  sqlite3* Connection() const { return db_; }

  // --- Databases (false / 0 with the last error set on failure) ---
  CEOID CreateDatabase(std::u16string_view name, DWORD type, const SORTORDERSPEC& sort);
  bool SetSortOrder(CEOID oid, const SORTORDERSPEC& sort);
  bool DeleteDatabase(CEOID oid);
  bool DatabaseOids(DWORD type, std::vector<CEOID>* oids);
  bool GetInfo(CEOID oid, CEOIDINFO* info);
  DatabaseHandle OpenDatabase(CEOID* oid, std::u16string_view name, CEPROPID sortProp);

  // --- Calls on an open handle ---
  static CEOID Seek(DatabaseHandle& h, DWORD seekType, DWORD value, DWORD* index);
  static CEOID Read(DatabaseHandle& h, PropertyBuffer& out, const PropertyIdSet* wanted = nullptr);
  static CEOID Write(DatabaseHandle& h, CEOID oid, WORD count, const CEPROPVAL* props);
  static bool Delete(DatabaseHandle& h, CEOID oid);
  static CEOID Restore(DatabaseHandle& h, CEOID oid, WORD count, const CEPROPVAL* props);
  static DWORD Count(const DatabaseHandle& h);

  // --- Groups of writes (StoreTransaction) ---
  void BeginGroup() { ++groupDepth_; }
  bool EndGroup();
  // Ends the group throwing its writes away (see StoreTransaction::Rollback).
  bool AbandonGroup();

  // Drops every in-memory index; they are read again from the file on next
  // use. Used when memory may no longer match the file.
  void Invalidate();

 private:
  ObjectStore() = default;

  DWORD Initialise(const std::string& path);
  bool ReadCatalog();
  bool RefreshIfChanged();
  DatabaseState* FindDatabase(CEOID oid);
  DatabaseState* FindDatabase(std::u16string_view name);
  bool Load(DatabaseState& d);
  RecordOrder* OrderOf(DatabaseState& d, bool sorted);
  DWORD RecordCountOf(DatabaseState& d);
  static DatabaseState* HandleDatabase(const DatabaseHandle& h);

  // The object id for the next database or record: the counter while it
  // lasts, then the lowest id nothing uses (never 0, never one in use).
  // OidTaken after the row was written.
  bool AllocateOid(CEOID* oid);
  void OidTaken();

  // wanted 0 allocates a new object id; otherwise the record takes wanted,
  // which must be free.
  CEOID AddRecord(CEOID db, WORD count, const CEPROPVAL* props, CEOID wanted = 0);
  CEOID ReplaceRecord(CEOID db, CEOID oid, WORD count, const CEPROPVAL* props);
  bool DeleteRecord(CEOID db, CEOID oid);

  // A write runs inside BeginWrite/EndWrite: alone it is its own durable
  // transaction, inside a group it joins the group's transaction.
  bool BeginWrite();
  bool EndWrite(bool ok);
  bool CommitNow(bool reloadOnFailure);
  void StatementFailed(int rc);
  // Ends a write that failed with code; always 0 / false.
  int FailWrite(DWORD code);

  sqlite3* db_ = nullptr;
  SqliteStatement insertRecord_, updateRecord_, deleteRecord_, loadRecords_, countRecords_;
  SqliteStatement begin_, commit_, dataVersion_, saveNextOid_, freeOid_;
  // Runs a prepared statement that returns at most one integer.
  static int Run(SqliteStatement& s, sqlite3_int64* value = nullptr);

  std::map<CEOID, std::unique_ptr<DatabaseState>> databases_;
  sqlite3_int64 nextOid_ = 1;  // past the last object id: AllocateOid searches
  bool oidDirty_ = false;       // nextOid_ not yet written to the file
  sqlite3_int64 lastDataVersion_ = 0;

  // The record of the last seek, so that the read after it needs no lookup.
  // Valid while generation_ is unchanged: it changes whenever a record may
  // have left memory.
  std::uint64_t generation_ = 0;
  std::uint64_t cachedGeneration_ = ~std::uint64_t(0);
  CEOID cachedDb_ = 0;
  CEOID cachedOid_ = 0;
  const StoredRecord* cachedRecord_ = nullptr;

  int groupDepth_ = 0;
  bool inTransaction_ = false;
  bool groupLost_ = false;      // the group's transaction was rolled back by SQLite
  DWORD groupError_ = 0;
};

// The store every call without a handle uses (opened on first use); null
// with the last error set when it cannot be opened.
std::shared_ptr<ObjectStore> CurrentObjectStore();

}  // namespace pw
