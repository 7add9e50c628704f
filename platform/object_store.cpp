#include "platform/object_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/object_store_codec.h"
#include "platform/object_store_impl.h"
#include "platform/private_files.h"

namespace pw {

namespace {

// Marks the file as ours ("PWHS") and gives the layout of its tables.
constexpr sqlite3_int64 kApplicationId = 0x50574853;
constexpr sqlite3_int64 kSchemaVersion = 1;
// How long a call waits for another process that holds the file before it
// reports the file as in use.
int busyTimeoutMs = 5000;

bool SupportedType(CEPROPID propid) {
  const WORD type = PropTypeOf(propid);
  return type == CEVT_I2 || type == CEVT_LPWSTR;
}

}  // namespace

// --- Opening the file -------------------------------------------------------

DWORD ObjectStore::Initialise(const std::string& path) {
  // One thread uses the store (its in-memory side has no lock either), so
  // the connection goes without SQLite's mutex, taken on every call otherwise.
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) return db_ ? ErrorFromSqlite(sqlite3_extended_errcode(db_)) : ERROR_NOT_ENOUGH_MEMORY;
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, busyTimeoutMs);
  // The log's index is kept in this process's memory, never in a -shm file
  // mapped from the disk: on a full disk a store into a mapped page that the
  // file system cannot back ends the process (SIGBUS), while a failed write
  // is only an error. Exclusive locking chosen before WAL is what keeps the
  // index on the heap; it also keeps every other process out of the file
  // while it is open, which the store lock does for ours anyway.
  if ((rc = SqliteExec(db_, "PRAGMA locking_mode=EXCLUSIVE")) != SQLITE_OK) return ErrorFromSqlite(rc);
  // A write that returned is on the disk: WAL with a sync at every commit.
  if ((rc = SqliteExec(db_, "PRAGMA journal_mode=WAL")) != SQLITE_OK) return ErrorFromSqlite(rc);
  // An index file left by an earlier release or another program is never
  // used now; nobody else can be using it while the file is ours.
  ::unlink((path + "-shm").c_str());
  if ((rc = SqliteExec(db_, "PRAGMA synchronous=FULL")) != SQLITE_OK) return ErrorFromSqlite(rc);
  // Room for a large group of writes before pages spill to the log early.
  if ((rc = SqliteExec(db_, "PRAGMA cache_size=-8192")) != SQLITE_OK) return ErrorFromSqlite(rc);

  sqlite3_int64 tables = 0, appId = 0, version = 0;
  if ((rc = SqliteQueryInt(db_, "SELECT count(*) FROM sqlite_master", &tables)) != SQLITE_OK) return ErrorFromSqlite(rc);
  if (tables == 0) {
    if ((rc = SqliteExec(db_, "BEGIN IMMEDIATE")) != SQLITE_OK) return ErrorFromSqlite(rc);
    rc = SqliteExec(db_, kStoreSchema);
    if (rc == SQLITE_OK) rc = SqliteExec(db_, "COMMIT");
    if (rc != SQLITE_OK) {
      SqliteExec(db_, "ROLLBACK");
      return ErrorFromSqlite(rc);
    }
  }
  if ((rc = SqliteQueryInt(db_, "PRAGMA application_id", &appId)) != SQLITE_OK) return ErrorFromSqlite(rc);
  if ((rc = SqliteQueryInt(db_, "PRAGMA user_version", &version)) != SQLITE_OK) return ErrorFromSqlite(rc);
  // Some other program's database, or a layout this build does not know.
  if (appId != kApplicationId || version != kSchemaVersion) return ERROR_FILE_CORRUPT;
  // Ours, but a table is gone: the file is damaged.
  sqlite3_int64 tablesOfOurs = 0;
  if ((rc = SqliteQueryInt(db_,
                           "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                           " AND name IN ('databases', 'records', 'counters')",
                           &tablesOfOurs)) != SQLITE_OK)
    return ErrorFromSqlite(rc);
  if (tablesOfOurs != 3) return ERROR_FILE_CORRUPT;

  struct {
    SqliteStatement* stmt;
    const char* sql;
  } const statements[] = {
      {&insertRecord_, "INSERT INTO records(oid, db, props) VALUES(?1, ?2, ?3)"},
      {&updateRecord_, "UPDATE records SET props = ?3 WHERE oid = ?1 AND db = ?2"},
      {&deleteRecord_, "DELETE FROM records WHERE oid = ?1 AND db = ?2"},
      {&loadRecords_, "SELECT oid, props FROM records WHERE db = ?1"},
      {&countRecords_, "SELECT count(*) FROM records WHERE db = ?1"},
      {&begin_, "BEGIN IMMEDIATE"},
      {&commit_, "COMMIT"},
      {&dataVersion_, "PRAGMA data_version"},
      {&saveNextOid_, "INSERT OR REPLACE INTO counters(name, value) VALUES('next_oid', ?1)"},
      // The lowest object id that neither a database nor a record uses.
      {&freeOid_,
       "SELECT min(c) FROM (SELECT 1 AS c UNION ALL SELECT oid + 1 FROM records UNION ALL SELECT oid + 1 FROM databases)"
       " WHERE c <= 4294967295 AND c NOT IN (SELECT oid FROM records) AND c NOT IN (SELECT oid FROM databases)"},
  };
  for (const auto& s : statements) {
    // Our own statements fail to prepare only when a table lacks a column.
    if ((rc = s.stmt->Prepare(db_, s.sql)) != SQLITE_OK)
      return (rc & 0xFF) == SQLITE_ERROR ? ERROR_FILE_CORRUPT : ErrorFromSqlite(rc);
  }
  if ((rc = Run(dataVersion_, &lastDataVersion_)) != SQLITE_OK) return ErrorFromSqlite(rc);
  if (!ReadCatalog()) return GetLastError();
  return ERROR_SUCCESS_CODE;
}

int ObjectStore::Run(SqliteStatement& s, sqlite3_int64* value) {
  int rc = s.Step();
  if (rc == SQLITE_ROW) {
    if (value) *value = s.Int(0);
    rc = SQLITE_OK;
  } else if (rc == SQLITE_DONE) {
    rc = SQLITE_OK;
  }
  s.Reset();
  return rc;
}

ObjectStore::~ObjectStore() {
  if (inTransaction_) CommitNow(false);
  for (SqliteStatement* s : {&insertRecord_, &updateRecord_, &deleteRecord_, &loadRecords_, &countRecords_, &begin_,
                             &commit_, &dataVersion_, &saveNextOid_, &freeOid_})
    s->Finalize();
  sqlite3_close_v2(db_);
}

// Reads the list of databases and the object id counter. Records are read
// per database when it is first used.
bool ObjectStore::ReadCatalog() {
  ++generation_;
  databases_.clear();
  SqliteStatement s;
  int rc = s.Prepare(db_, "SELECT oid, name, type, sort_prop FROM databases");
  sqlite3_int64 maxOid = 0;
  while (rc == SQLITE_OK || rc == SQLITE_ROW) {
    if ((rc = s.Step()) != SQLITE_ROW) break;
    // An id that does not fit an object id is damage, as is a garbled file.
    if (s.Int(0) < 1 || s.Int(0) > kLastOid) {
      rc = SQLITE_CORRUPT;
      break;
    }
    auto d = std::make_unique<DatabaseState>();
    d->oid = CEOID(s.Int(0));
    d->name = NameFromBytes(s.Blob(1));
    d->type = DWORD(s.Int(2));
    d->sortProp = CEPROPID(s.Int(3) & 0xFFFFFFFF);
    d->sortFlags = DWORD(std::uint64_t(s.Int(3)) >> 32);
    maxOid = std::max(maxOid, s.Int(0));
    databases_[d->oid] = std::move(d);
  }
  if (rc != SQLITE_DONE) {
    databases_.clear();
    SetLastError(ErrorFromSqlite(rc));
    return false;
  }
  sqlite3_int64 counter = 0, maxRecord = 0;
  if ((rc = SqliteQueryInt(db_, "SELECT value FROM counters WHERE name = 'next_oid'", &counter)) != SQLITE_OK ||
      (rc = SqliteQueryInt(db_, "SELECT max(oid) FROM records", &maxRecord)) != SQLITE_OK) {
    databases_.clear();
    SetLastError(ErrorFromSqlite(rc));
    return false;
  }
  // Object ids are never handed out twice, even when the newest record was
  // deleted before the store was closed. Past the last id, AllocateOid looks
  // for free ones.
  const auto after = [](sqlite3_int64 oid) { return std::min(oid, kLastOid) + 1; };
  nextOid_ = std::max({std::min(counter, kLastOid + 1), after(maxOid), after(maxRecord), sqlite3_int64(1)});
  oidDirty_ = false;
  return true;
}

// Another process may have written to the file since we last looked; then
// memory is read again.
bool ObjectStore::RefreshIfChanged() {
  sqlite3_int64 version = 0;
  const int rc = Run(dataVersion_, &version);
  if (rc != SQLITE_OK) {
    SetLastError(ErrorFromSqlite(rc));
    return false;
  }
  if (version == lastDataVersion_) return true;
  lastDataVersion_ = version;
  return ReadCatalog();
}

void ObjectStore::Invalidate() {
  ++generation_;
  for (auto& [oid, d] : databases_) {
    d->loaded = false;
    d->sorted.reset();
    d->byOid.reset();
    d->records.clear();
    d->loadedBytes.reset();
  }
}

DatabaseState* ObjectStore::FindDatabase(CEOID oid) {
  const auto it = databases_.find(oid);
  return it == databases_.end() ? nullptr : it->second.get();
}

DatabaseState* ObjectStore::FindDatabase(std::u16string_view name) {
  for (auto& [oid, d] : databases_)
    if (d->name == name) return d.get();
  return nullptr;
}

bool ObjectStore::Load(DatabaseState& d) {
  if (d.loaded) return true;
  d.records.clear();
  d.sorted.reset();
  d.byOid.reset();
  d.loadedBytes.reset();

  // First every row into one block, in the order the file gives them.
  struct Row {
    CEOID oid;
    std::size_t offset;
    std::uint32_t size;
  };
  std::vector<Row> rows;
  std::vector<StoredRecord> keys;  // oid and key of each row, for sorting
  const DWORD expected = RecordCountOf(d);
  rows.reserve(expected);
  keys.reserve(expected);
  std::string block;
  loadRecords_.Reset();
  loadRecords_.Bind(1, d.oid);
  int rc;
  while ((rc = loadRecords_.Step()) == SQLITE_ROW) {
    // A row id that does not fit an object id is damage, as is a garbled
    // file: cut to 32 bits, two rows would be one record.
    const sqlite3_int64 rowOid = loadRecords_.Int(0);
    if (rowOid < 1 || rowOid > kLastOid) {
      rc = SQLITE_CORRUPT;
      break;
    }
    const std::string_view bytes = loadRecords_.Blob(1);
    if (block.empty()) block.reserve(bytes.size() * (expected + 1));
    rows.push_back(Row{CEOID(loadRecords_.Int(0)), block.size(), std::uint32_t(bytes.size())});
    block.append(bytes);
    StoredRecord& k = keys.emplace_back();
    k.oid = rows.back().oid;
    // A record that does not decode stays reachable (sorted last) so that
    // reading it reports the damage and deleting it is possible.
    k.damaged = !ScanStoredRecord(bytes, d.sortProp, &k.hasKey, &k.key);
    if (k.damaged) {
      k.hasKey = false;
      k.key.clear();
    } else if (k.hasKey && d.sortFlags != 0) {
      k.key = OrderKey(d.sortFlags, std::move(k.key));
    }
  }
  loadRecords_.Reset();
  if (rc != SQLITE_DONE) {
    SetLastError(ErrorFromSqlite(rc));
    return false;
  }

  auto order = std::make_unique<RecordOrder>(d.sortProp != 0);
  std::vector<SortItem> items;
  items.reserve(keys.size());
  for (StoredRecord& k : keys) items.push_back(SortItem::Of(&k));
  order->Sort(items);

  // Then the records in sort order, their bytes copied front to back into
  // the database's block, so that a walk through the order reads memory
  // sequentially.
  d.loadedBytes.reset(new char[block.size() + 1]);  // no need to zero what is overwritten next
  char* to = d.loadedBytes.get();
  d.records.reserve(keys.size());
  for (SortItem& item : items) {
    StoredRecord& from = *item.record;
    const Row& row = rows[std::size_t(&from - keys.data())];
    StoredRecord& r = d.records[from.oid];
    r.oid = from.oid;
    r.hasKey = from.hasKey;
    r.damaged = from.damaged;
    r.key = std::move(from.key);
    std::memcpy(to, block.data() + row.offset, row.size);
    r.shared = to;
    r.sharedSize = row.size;
    to += row.size;
    item.record = &r;  // same key, so the item keeps its place
  }
  order->Assign(items);
  if (d.sortProp != 0)
    d.sorted = std::move(order);
  else
    d.byOid = std::move(order);
  d.loaded = true;
  return true;
}

RecordOrder* ObjectStore::OrderOf(DatabaseState& d, bool sorted) {
  if (sorted && d.sorted) return d.sorted.get();
  if (!d.byOid) {
    std::vector<StoredRecord*> all;
    all.reserve(d.records.size());
    for (auto& [oid, r] : d.records) all.push_back(&r);
    auto order = std::make_unique<RecordOrder>(false);
    order->Build(all);
    d.byOid = std::move(order);  // only once complete
  }
  return d.byOid.get();
}

DWORD ObjectStore::RecordCountOf(DatabaseState& d) {
  if (d.loaded) return DWORD(d.records.size());
  countRecords_.Reset();
  countRecords_.Bind(1, d.oid);
  DWORD n = 0;
  if (countRecords_.Step() == SQLITE_ROW) n = DWORD(countRecords_.Int(0));
  countRecords_.Reset();
  return n;
}

// --- Handles ----------------------------------------------------------------

DatabaseHandle ObjectStore::OpenDatabase(CEOID* oid, std::u16string_view name, CEPROPID sortProp) {
  DatabaseHandle h;
  if (!inTransaction_ && !RefreshIfChanged()) return h;
  DatabaseState* d = (oid && *oid != 0) ? FindDatabase(*oid) : FindDatabase(name);
  if (!d) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return h;
  }
  if (sortProp != 0 && sortProp != d->sortProp) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return h;
  }
  if (!Load(*d)) return h;
  // The new handle stands on the first record, as after a seek to 0.
  RecordOrder* order = OrderOf(*d, sortProp != 0);
  const StoredRecord* first = order->At(0);
  h.store_ = shared_from_this();
  h.db_ = d->oid;
  h.sorted_ = sortProp != 0;
  h.position_ = 0;
  h.current_ = first ? first->oid : 0;
  if (oid) *oid = d->oid;
  return h;
}

DatabaseState* ObjectStore::HandleDatabase(const DatabaseHandle& h) {
  if (!h.store_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  DatabaseState* d = h.store_->FindDatabase(h.db_);
  if (!d) {
    SetLastError(ERROR_INVALID_HANDLE);  // the database was deleted
    return nullptr;
  }
  if (!h.store_->Load(*d)) return nullptr;
  return d;
}

CEOID ObjectStore::Seek(DatabaseHandle& h, DWORD seekType, DWORD value, DWORD* index) {
  DatabaseState* d = HandleDatabase(h);
  if (!d) return 0;
  RecordOrder* order = h.store_->OrderOf(*d, h.sorted_);
  std::size_t position = 0;
  switch (seekType) {
    case CEDB_SEEK_BEGINNING:
      position = value;
      break;
    case CEDB_SEEK_CURRENT: {
      // From the current record where it now stands, else from where the
      // last seek left the handle.
      std::size_t base = h.position_;
      const auto it = h.current_ ? d->records.find(h.current_) : d->records.end();
      if (it != d->records.end()) order->PositionOf(&it->second, &base);
      const long long target = static_cast<long long>(base) + static_cast<std::int32_t>(value);
      if (target < 0) {
        h.current_ = 0;
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
      }
      position = std::size_t(target);
      break;
    }
    case CEDB_SEEK_CEOID: {
      const auto it = d->records.find(value);
      if (it == d->records.end() || !order->PositionOf(&it->second, &position)) {
        h.current_ = 0;
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
      }
      break;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
  const StoredRecord* r = order->At(position);
  if (!r) {
    h.current_ = 0;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  // Walks seek one position after another, and the records lie scattered in
  // memory: start fetching the next record's bytes and the one after's
  // entry now, so that their reads do not wait on memory.
  if (const StoredRecord* next = order->Ahead(position, 1)) __builtin_prefetch(next->Bytes().data());
  if (const StoredRecord* after = order->Ahead(position, 2)) __builtin_prefetch(after);
  h.position_ = DWORD(position);
  h.current_ = r->oid;
  if (index) *index = DWORD(position);
  ObjectStore& store = *h.store_;
  store.cachedGeneration_ = store.generation_;
  store.cachedDb_ = d->oid;
  store.cachedOid_ = r->oid;
  store.cachedRecord_ = r;
  return r->oid;
}

CEOID ObjectStore::Read(DatabaseHandle& h, PropertyBuffer& out, const PropertyIdSet* wanted) {
  DatabaseState* d = HandleDatabase(h);
  if (!d) return 0;
  const ObjectStore& store = *h.store_;
  const StoredRecord* r = nullptr;
  if (h.current_ != 0 && h.current_ == store.cachedOid_ && d->oid == store.cachedDb_ &&
      store.generation_ == store.cachedGeneration_) {
    r = store.cachedRecord_;
  } else if (h.current_ != 0) {
    const auto it = d->records.find(h.current_);
    if (it != d->records.end()) r = &it->second;
  }
  if (!r) {
    out.clear();
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  if (r->damaged || !out.Decode(r->Bytes(), wanted)) {
    out.clear();
    SetLastError(ERROR_INVALID_DATA);
    return 0;
  }
  return r->oid;
}

namespace {
// The properties a write may carry; false with the last error set otherwise.
bool WritableProperties(WORD count, const CEPROPVAL* props) {
  if (count > 0 && !props) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  for (WORD i = 0; i < count; ++i) {
    if (!SupportedType(props[i].propid) && !(props[i].wFlags & CEDB_PROPDELETE)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
  }
  return true;
}
}  // namespace

CEOID ObjectStore::Write(DatabaseHandle& h, CEOID oid, WORD count, const CEPROPVAL* props) {
  if (!HandleDatabase(h) || !WritableProperties(count, props)) return 0;
  try {
    return oid == 0 ? h.store_->AddRecord(h.db_, count, props) : h.store_->ReplaceRecord(h.db_, oid, count, props);
  } catch (...) {
    h.store_->Invalidate();
    throw;
  }
}

CEOID ObjectStore::Restore(DatabaseHandle& h, CEOID oid, WORD count, const CEPROPVAL* props) {
  if (!HandleDatabase(h) || !WritableProperties(count, props)) return 0;
  if (oid == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  try {
    return h.store_->AddRecord(h.db_, count, props, oid);
  } catch (...) {
    h.store_->Invalidate();
    throw;
  }
}

bool ObjectStore::Delete(DatabaseHandle& h, CEOID oid) {
  if (!HandleDatabase(h)) return false;
  bool deleted;
  try {
    deleted = h.store_->DeleteRecord(h.db_, oid);
  } catch (...) {
    h.store_->Invalidate();
    throw;
  }
  if (!deleted) return false;
  if (h.current_ == oid) h.current_ = 0;
  return true;
}

DWORD ObjectStore::Count(const DatabaseHandle& h) {
  DatabaseState* d = HandleDatabase(h);
  return d ? DWORD(d->records.size()) : 0;
}

bool ObjectStore::DatabaseOids(DWORD type, std::vector<CEOID>* oids) {
  oids->clear();
  if (!inTransaction_ && !RefreshIfChanged()) return false;
  for (const auto& [oid, d] : databases_)
    if (type == 0 || d->type == type) oids->push_back(oid);
  return true;
}

bool ObjectStore::GetInfo(CEOID oid, CEOIDINFO* info) {
  DatabaseState* d = FindDatabase(oid);
  if (!d) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  info->wObjType = OBJTYPE_DATABASE;
  info->dbaseName = d->name;
  info->dbaseType = d->type;
  info->numRecords = RecordCountOf(*d);
  info->sortProperty = d->sortProp;
  info->sortFlags = d->sortFlags;
  return true;
}

void ObjectStore::SetDefaultBusyTimeout(int milliseconds) { busyTimeoutMs = milliseconds; }

}  // namespace pw
