// The object store's writes: databases made and deleted, records added,
// replaced and deleted, each durable before it reaches the in-memory index
// (or, inside a group, when the group commits).
#include <algorithm>

#include "platform/object_store_codec.h"
#include "platform/object_store_impl.h"

namespace pw {

// --- Writes -----------------------------------------------------------------

bool ObjectStore::BeginWrite() {
  if (inTransaction_) return true;
  // IMMEDIATE takes the write lock now (waiting up to the busy timeout), so
  // the check below sees the file as it will be written.
  const int rc = Run(begin_);
  if (rc != SQLITE_OK) {
    SetLastError(ErrorFromSqlite(rc));
    return false;
  }
  inTransaction_ = true;
  if (!RefreshIfChanged()) {
    const DWORD error = GetLastError();
    SqliteExec(db_, "ROLLBACK");
    inTransaction_ = false;
    SetLastError(error);
    return false;
  }
  return true;
}

bool ObjectStore::EndWrite(bool ok) {
  if (groupDepth_ > 0) return ok;
  if (!ok) {
    if (inTransaction_ && !sqlite3_get_autocommit(db_)) SqliteExec(db_, "ROLLBACK");
    inTransaction_ = false;
    return false;
  }
  // A single write changes memory only after this commit succeeded, so a
  // failure leaves nothing to read again.
  return CommitNow(false);
}

bool ObjectStore::CommitNow(bool reloadOnFailure) {
  if (!inTransaction_) return true;
  int rc = SQLITE_OK;
  if (oidDirty_) {
    saveNextOid_.Bind(1, nextOid_);
    rc = Run(saveNextOid_);
  }
  if (rc == SQLITE_OK) rc = Run(commit_);
  if (rc == SQLITE_OK) {
    inTransaction_ = false;
    oidDirty_ = false;
    return true;
  }
  const DWORD error = ErrorFromSqlite(rc);
  if (!sqlite3_get_autocommit(db_)) SqliteExec(db_, "ROLLBACK");
  inTransaction_ = false;
  if (reloadOnFailure) {
    // The group's writes are gone from the file; make memory match it.
    ReadCatalog();
    Invalidate();
  }
  SetLastError(error);
  return false;
}

void ObjectStore::StatementFailed(int rc) {
  const DWORD error = ErrorFromSqlite(rc);
  if (inTransaction_ && sqlite3_get_autocommit(db_)) {
    // SQLite gave up the whole transaction (disk full, I/O error): inside a
    // group, every write since it began is lost.
    inTransaction_ = false;
    if (groupDepth_ > 0) {
      groupLost_ = true;
      groupError_ = error;
      ReadCatalog();
      Invalidate();
    }
  }
  SetLastError(error);
}

int ObjectStore::FailWrite(DWORD code) {
  EndWrite(false);
  SetLastError(code);
  return 0;
}

bool ObjectStore::EndGroup() {
  if (groupDepth_ == 0) return true;
  if (--groupDepth_ > 0) return true;
  bool ok = CommitNow(true);
  if (groupLost_) {
    groupLost_ = false;
    SetLastError(groupError_);
    ok = false;
  }
  return ok;
}

bool ObjectStore::AbandonGroup() {
  if (groupDepth_ == 0) return false;
  // Every write of the outermost group is in one SQLite transaction: it goes
  // as a whole, and memory is read back from the file.
  if (inTransaction_ && !sqlite3_get_autocommit(db_)) SqliteExec(db_, "ROLLBACK");
  inTransaction_ = false;
  ReadCatalog();
  Invalidate();
  if (--groupDepth_ > 0) {
    // An enclosing group lost its writes too: its commit says so.
    groupLost_ = true;
    groupError_ = ERROR_WRITE_FAULT;
  } else {
    groupLost_ = false;
  }
  return true;
}

bool ObjectStore::AllocateOid(CEOID* oid) {
  if (nextOid_ <= kLastOid) {
    *oid = CEOID(nextOid_);
    return true;
  }
  sqlite3_int64 free = 0;
  const int rc = Run(freeOid_, &free);
  if (rc != SQLITE_OK) {
    StatementFailed(rc);
    return false;
  }
  if (free < 1 || free > kLastOid) {
    SetLastError(ERROR_DISK_FULL);  // every object id is in use
    return false;
  }
  *oid = CEOID(free);
  return true;
}

void ObjectStore::OidTaken() {
  if (nextOid_ <= kLastOid) ++nextOid_;
  oidDirty_ = true;
}

namespace {

// The catalog's sort_prop: the property, its flags above it.
sqlite3_int64 CatalogSortOrder(const SORTORDERSPEC& sort) {
  return sqlite3_int64(sort.propid) | (sqlite3_int64(sort.dwFlags) << 32);
}

}  // namespace

CEOID ObjectStore::CreateDatabase(std::u16string_view name, DWORD type, const SORTORDERSPEC& sort) {
  const CEPROPID sortProp = sort.propid;
  if (!BeginWrite()) return 0;
  if (FindDatabase(name)) return FailWrite(ERROR_ALREADY_EXISTS);
  CEOID oid = 0;
  if (!AllocateOid(&oid)) return FailWrite(GetLastError());
  const std::string nameBytes = NameBytes(name);
  SqliteStatement s;
  int rc = s.Prepare(db_, "INSERT INTO databases(oid, name, type, sort_prop) VALUES(?1, ?2, ?3, ?4)");
  if (rc == SQLITE_OK) {
    s.Bind(1, oid);
    s.BindBlob(2, nameBytes);
    s.Bind(3, type);
    s.Bind(4, CatalogSortOrder(sort));
    rc = s.Step();
  }
  if (rc != SQLITE_DONE) {
    StatementFailed(rc);
    const DWORD error = GetLastError();
    return FailWrite(error);
  }
  OidTaken();
  if (!EndWrite(true)) return 0;
  auto d = std::make_unique<DatabaseState>();
  d->oid = oid;
  d->name.assign(name);
  d->type = type;
  d->sortProp = sortProp;
  d->sortFlags = sortProp != 0 ? sort.dwFlags : 0;
  d->loaded = true;
  if (sortProp != 0)
    d->sorted = std::make_unique<RecordOrder>(true);
  else
    d->byOid = std::make_unique<RecordOrder>(false);
  databases_[oid] = std::move(d);
  return oid;
}

bool ObjectStore::SetSortOrder(CEOID oid, const SORTORDERSPEC& sort) {
  if (!BeginWrite()) return false;
  if (!FindDatabase(oid)) return FailWrite(ERROR_FILE_NOT_FOUND);
  SqliteStatement s;
  int rc = s.Prepare(db_, "UPDATE databases SET sort_prop = ?2 WHERE oid = ?1");
  if (rc == SQLITE_OK) {
    s.Bind(1, oid);
    s.Bind(2, CatalogSortOrder(sort));
    rc = s.Step();
  }
  if (rc != SQLITE_DONE) {
    StatementFailed(rc);
    return FailWrite(GetLastError());
  }
  if (!EndWrite(true)) return false;
  // The records stay as they are; their order is made anew on next use.
  DatabaseState* d = FindDatabase(oid);
  if (!d) return true;
  ++generation_;
  d->sortProp = sort.propid;
  d->sortFlags = sort.propid != 0 ? sort.dwFlags : 0;
  d->loaded = false;
  d->records.clear();
  d->sorted.reset();
  d->byOid.reset();
  d->loadedBytes.reset();
  return true;
}

bool ObjectStore::DeleteDatabase(CEOID oid) {
  if (!BeginWrite()) return false;
  if (!FindDatabase(oid)) return FailWrite(ERROR_FILE_NOT_FOUND);
  // Records and database go together or not at all, also inside a group.
  int rc = SqliteExec(db_, "SAVEPOINT drop_database");
  if (rc == SQLITE_OK) {
    SqliteStatement records, database;
    rc = records.Prepare(db_, "DELETE FROM records WHERE db = ?1");
    if (rc == SQLITE_OK) {
      records.Bind(1, oid);
      rc = records.Step();
    }
    if (rc == SQLITE_DONE) rc = database.Prepare(db_, "DELETE FROM databases WHERE oid = ?1");
    if (rc == SQLITE_OK) {
      database.Bind(1, oid);
      rc = database.Step();
    }
    // The catalog said the database was there; the file must agree.
    const bool dropped = rc == SQLITE_DONE && sqlite3_changes(db_) == 1;
    if (dropped) {
      rc = SqliteExec(db_, "RELEASE drop_database");
    } else if (!sqlite3_get_autocommit(db_)) {
      SqliteExec(db_, "ROLLBACK TO drop_database");
      SqliteExec(db_, "RELEASE drop_database");
      if (rc == SQLITE_DONE) return FailWrite(ERROR_FILE_NOT_FOUND);
    }
  }
  if (rc != SQLITE_OK) {
    StatementFailed(rc);
    const DWORD error = GetLastError();
    return FailWrite(error);
  }
  if (!EndWrite(true)) return false;
  ++generation_;
  databases_.erase(oid);
  return true;
}

CEOID ObjectStore::AddRecord(CEOID dbOid, WORD count, const CEPROPVAL* props, CEOID wanted) {
  std::vector<CEPROPVAL> merged;
  std::span<const CEPROPVAL> list(props, count);
  if (!DistinctProperties(props, count)) {
    merged.reserve(count);
    MergeProperties(merged, props, count);
    list = merged;
  }
  std::string bytes = EncodeProperties(list.data(), WORD(list.size()));
  if (bytes.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!BeginWrite()) return 0;
  DatabaseState* d = FindDatabase(dbOid);
  if (!d) return FailWrite(ERROR_INVALID_HANDLE);
  if (!Load(*d)) return FailWrite(GetLastError());
  CEOID oid = wanted;
  if (wanted != 0) {
    // A record of another database is found by the insert below.
    if (FindDatabase(wanted) || d->records.contains(wanted)) return FailWrite(ERROR_ALREADY_EXISTS);
  } else if (!AllocateOid(&oid)) {
    return FailWrite(GetLastError());
  }
  // Every use resets the statement after its step: it is ready for binding.
  insertRecord_.Bind(1, oid);
  insertRecord_.Bind(2, dbOid);
  insertRecord_.BindBlob(3, bytes);
  const int rc = insertRecord_.Step();
  insertRecord_.Reset();
  if (rc == SQLITE_CONSTRAINT_PRIMARYKEY) return FailWrite(ERROR_ALREADY_EXISTS);
  if (rc != SQLITE_DONE) {
    StatementFailed(rc);
    return FailWrite(GetLastError());
  }
  if (wanted == 0) {
    OidTaken();
  } else if (wanted >= nextOid_) {
    // An id the counter has not reached yet: it is never handed out again.
    nextOid_ = sqlite3_int64(wanted) + 1;
    oidDirty_ = true;
  }
  if (!EndWrite(true)) return 0;

  d = FindDatabase(dbOid);
  if (!d || !d->loaded) return oid;  // memory was dropped; it is read again on next use
  StoredRecord& r = d->records[oid];
  r.oid = oid;
  // As SortKeyOf and OrderKey, without a copy of the text between them.
  r.hasKey = false;
  r.key.clear();
  for (const CEPROPVAL& p : list) {
    if (d->sortProp == 0 || p.propid != d->sortProp) continue;
    r.hasKey = true;
    const std::u16string_view text = p.val.lpwstr ? std::u16string_view(p.val.lpwstr) : std::u16string_view();
    r.key = OrderKey(d->sortFlags, text);
    break;
  }
  r.SetBytes(std::move(bytes));
  if (d->sorted) d->sorted->Insert(&r);
  if (d->byOid) d->byOid->Insert(&r);
  return oid;
}

CEOID ObjectStore::ReplaceRecord(CEOID dbOid, CEOID oid, WORD count, const CEPROPVAL* props) {
  if (!BeginWrite()) return 0;
  DatabaseState* d = FindDatabase(dbOid);
  if (!d) return FailWrite(ERROR_INVALID_HANDLE);
  if (!Load(*d)) return FailWrite(GetLastError());
  const auto it = d->records.find(oid);
  if (it == d->records.end()) return FailWrite(ERROR_FILE_NOT_FOUND);
  StoredRecord& r = it->second;
  PropertyBuffer old;
  if (r.damaged || !old.Decode(r.Bytes())) return FailWrite(ERROR_INVALID_DATA);
  std::vector<CEPROPVAL> list(old.data(), old.data() + old.size());
  MergeProperties(list, props, count);
  if (list.size() > 0xFFFF) return FailWrite(ERROR_INVALID_PARAMETER);
  std::string bytes = EncodeProperties(list.data(), WORD(list.size()));
  if (bytes.empty()) return FailWrite(ERROR_INVALID_PARAMETER);
  updateRecord_.Reset();
  updateRecord_.Bind(1, oid);
  updateRecord_.Bind(2, dbOid);
  updateRecord_.BindBlob(3, bytes);
  const int rc = updateRecord_.Step();
  updateRecord_.Reset();
  if (rc != SQLITE_DONE) {
    StatementFailed(rc);
    return FailWrite(GetLastError());
  }
  if (sqlite3_changes(db_) != 1) {  // as for a delete
    Invalidate();
    return FailWrite(ERROR_FILE_NOT_FOUND);
  }
  if (!EndWrite(true)) return 0;

  d = FindDatabase(dbOid);
  if (!d || !d->loaded) return oid;
  const auto again = d->records.find(oid);
  if (again == d->records.end()) return oid;
  StoredRecord& rec = again->second;
  bool hasKey;
  std::u16string key;
  SortKeyOf(list, d->sortProp, &hasKey, &key);
  if (hasKey && d->sortFlags != 0) key = OrderKey(d->sortFlags, std::move(key));
  if (hasKey != rec.hasKey || key != rec.key) {
    // The record moves: take it out under its old key, put it back under the new.
    if (d->sorted) d->sorted->Erase(&rec);
    rec.hasKey = hasKey;
    rec.key = std::move(key);
    if (d->sorted) d->sorted->Insert(&rec);
  }
  rec.SetBytes(std::move(bytes));
  return oid;
}

bool ObjectStore::DeleteRecord(CEOID dbOid, CEOID oid) {
  if (!BeginWrite()) return false;
  DatabaseState* d = FindDatabase(dbOid);
  if (!d) return FailWrite(ERROR_INVALID_HANDLE);
  if (!Load(*d)) return FailWrite(GetLastError());
  if (d->records.find(oid) == d->records.end()) return FailWrite(ERROR_FILE_NOT_FOUND);
  deleteRecord_.Reset();
  deleteRecord_.Bind(1, oid);
  deleteRecord_.Bind(2, dbOid);
  const int rc = deleteRecord_.Step();
  deleteRecord_.Reset();
  if (rc != SQLITE_DONE) {
    StatementFailed(rc);
    return FailWrite(GetLastError());
  }
  // Memory said the record was there; the file must agree, else memory is
  // read again from the file.
  if (sqlite3_changes(db_) != 1) {
    Invalidate();
    return FailWrite(ERROR_FILE_NOT_FOUND);
  }
  if (!EndWrite(true)) return false;

  d = FindDatabase(dbOid);
  if (!d || !d->loaded) return true;
  const auto it = d->records.find(oid);
  if (it == d->records.end()) return true;
  if (d->sorted) d->sorted->Erase(&it->second);
  if (d->byOid) d->byOid->Erase(&it->second);
  ++generation_;
  d->records.erase(it);
  return true;
}

}  // namespace pw
