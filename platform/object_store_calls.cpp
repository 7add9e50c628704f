// The calls of object_store.h over the current store, the store file
// (path, move aside, copy aside), handles and groups.
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "platform/injected_failures.h"
#include "platform/object_store_impl.h"
#include "platform/object_store_restore.h"
#include "platform/private_files.h"

namespace pw {

namespace {

std::shared_ptr<ObjectStore> currentStore;
std::string currentPath;  // empty: the default path

// Runs a call, turning anything thrown into a failure with the last error set.
template <class R, class F>
R Guarded(R failed, ObjectStore* store, F&& f) noexcept {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  } catch (...) {
    SetLastError(ERROR_WRITE_FAULT);
  }
  // Memory may be half-updated: read the indexes again from the file.
  if (store) store->Invalidate();
  return failed;
}

// One sort order: ascending on a text property, by its text or its date.
bool ValidSortOrder(const SORTORDERSPEC& sort) {
  return (sort.dwFlags == 0 || sort.dwFlags == CEDB_SORT_CALENDARDATE) && PropTypeOf(sort.propid) == CEVT_LPWSTR;
}

}  // namespace

// --- The current store --------------------------------------------------------

std::shared_ptr<ObjectStore> CurrentObjectStore() {
  if (currentStore) return currentStore;
  const bool byDefault = currentPath.empty();
  const std::string path = byDefault ? DefaultObjectStorePath() : currentPath;
  DWORD error = ERROR_SUCCESS_CODE;
  currentStore = ObjectStore::Open(path, byDefault, &error);
  if (!currentStore) SetLastError(error);
  return currentStore;
}

std::string DefaultObjectStorePath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const passwd* pw = ::getpwuid(::getuid());
      home = pw ? pw->pw_dir : "/tmp";
    }
    base = std::string(home) + "/.local/share";
  }
  return base + "/pennywhistle/pennywhistle.db";
}

bool OpenObjectStore(const std::string& path) {
  return Guarded(false, nullptr, [&] {
    currentStore.reset();
    currentPath = path;
    return CurrentObjectStore() != nullptr;
  });
}

void CloseObjectStore() {
  currentStore.reset();
  currentPath.clear();
}

std::string ObjectStorePath() { return currentPath.empty() ? DefaultObjectStorePath() : currentPath; }

bool EnsureObjectStore() {
  return Guarded(false, nullptr, [] { return CurrentObjectStore() != nullptr; });
}

void SetObjectStoreBusyTimeout(int milliseconds) {
  ObjectStore::SetDefaultBusyTimeout(milliseconds);
  if (currentStore) currentStore->SetBusyTimeout(milliseconds);
}

bool MoveObjectStoreAside(std::string* movedTo) {
  return Guarded(false, nullptr, [&] {
    const std::string path = ObjectStorePath();
    currentStore.reset();
    const std::string target = DatedSibling(path, "damaged");
    // The log first: a new store must never find the old one's log beside it.
    for (const char* suffix : {"-wal", "-shm", ""}) {
      const std::string from = path + suffix;
      if (::rename(from.c_str(), (target + suffix).c_str()) != 0 && (*suffix == '\0' || errno != ENOENT)) {
        SetLastError(ErrorFromErrno(errno));
        return false;
      }
    }
    SyncFolder(FolderOf(path));
    *movedTo = target;
    return true;
  });
}

bool CopyObjectStoreAside(std::string* copiedTo) {
  return Guarded(false, nullptr, [&] {
    const auto store = CurrentObjectStore();
    if (!store) return false;
    const std::string target = DatedSibling(ObjectStorePath(), "before-erase");
    // Made empty and private first; SQLite then fills it.
    if (const DWORD error = PreparePrivateFile(target, false); error != ERROR_SUCCESS_CODE) {
      SetLastError(error);
      return false;
    }
    sqlite3_stmt* copy = nullptr;
    int rc = sqlite3_prepare_v2(store->Connection(), "VACUUM INTO ?1", -1, &copy, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_bind_text(copy, 1, target.c_str(), int(target.size()), SQLITE_TRANSIENT);
      rc = sqlite3_step(copy);
    }
    sqlite3_finalize(copy);
    if (rc != SQLITE_DONE) {
      SetLastError(ErrorFromSqlite(rc));
      return false;  // the partial copy stays: nothing is deleted
    }
    *copiedTo = target;
    return true;
  });
}

// --- Handles and groups -----------------------------------------------------------

DatabaseHandle::DatabaseHandle(DatabaseHandle&& other) noexcept
    : store_(std::move(other.store_)),
      db_(other.db_),
      sorted_(other.sorted_),
      position_(other.position_),
      current_(other.current_) {
  other.Close();
}

DatabaseHandle& DatabaseHandle::operator=(DatabaseHandle&& other) noexcept {
  if (this != &other) {
    store_ = std::move(other.store_);
    db_ = other.db_;
    sorted_ = other.sorted_;
    position_ = other.position_;
    current_ = other.current_;
    other.Close();
  }
  return *this;
}

DatabaseHandle::~DatabaseHandle() { Close(); }

void DatabaseHandle::Close() {
  store_.reset();
  db_ = 0;
  sorted_ = false;
  position_ = 0;
  current_ = 0;
}

StoreTransaction::StoreTransaction() {
  Guarded(false, nullptr, [&] {
    store_ = CurrentObjectStore();
    if (store_) {
      store_->BeginGroup();
      active_ = true;
    }
    return true;
  });
}

StoreTransaction::~StoreTransaction() { Commit(); }

bool StoreTransaction::Commit() {
  if (!active_) return store_ != nullptr;
  active_ = false;
  return Guarded(false, store_.get(), [&] { return store_->EndGroup(); });
}

bool StoreTransaction::Rollback() {
  if (!active_) return false;
  active_ = false;
  const DWORD error = GetLastError();
  const bool done = Guarded(false, store_.get(), [&] { return store_->AbandonGroup(); });
  SetLastError(error);  // the failure that made the caller give up stays the one to report
  return done;
}

// --- The calls ------------------------------------------------------------------

CEOID CeCreateDatabase(std::u16string_view name, DWORD type, WORD numSortOrders, const SORTORDERSPEC* sortOrders) {
  if (const DWORD e = InjectedFailure(PlatformCall::CreateDatabase)) {
    SetLastError(e);
    return 0;
  }
  return Guarded(CEOID(0), nullptr, [&]() -> CEOID {
    // One sort order at most, ascending on a text property.
    if (name.empty() || numSortOrders > 1 || (numSortOrders == 1 && !sortOrders)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    SORTORDERSPEC sort;
    if (numSortOrders == 1) {
      if (!ValidSortOrder(sortOrders[0])) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      sort = sortOrders[0];
    }
    const auto store = CurrentObjectStore();
    if (!store) return 0;
    return Guarded(CEOID(0), store.get(), [&] { return store->CreateDatabase(name, type, sort); });
  });
}

DatabaseHandle CeOpenDatabase(CEOID* oid, std::u16string_view name, CEPROPID sortProperty, DWORD, HWND) {
  if (const DWORD e = InjectedFailure(PlatformCall::OpenDatabase)) {
    SetLastError(e);
    return {};
  }
  try {
    const auto store = CurrentObjectStore();
    if (!store) return {};
    DatabaseHandle h = store->OpenDatabase(oid, name, sortProperty);
    return h;
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  } catch (...) {
    SetLastError(ERROR_WRITE_FAULT);
  }
  return {};
}

CEOID CeSeekDatabase(DatabaseHandle& db, DWORD seekType, DWORD value, DWORD* index) {
  return Guarded(CEOID(0), nullptr, [&] { return ObjectStore::Seek(db, seekType, value, index); });
}

CEOID CeReadRecordProps(DatabaseHandle& db, DWORD, PropertyBuffer& out, const PropertyIdSet* wanted) {
  return Guarded(CEOID(0), nullptr, [&] { return ObjectStore::Read(db, out, wanted); });
}

CEOID CeWriteRecordProps(DatabaseHandle& db, CEOID oid, WORD count, const CEPROPVAL* props) {
  try {
    return ObjectStore::Write(db, oid, count, props);
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  } catch (...) {
    SetLastError(ERROR_WRITE_FAULT);
  }
  return 0;
}

bool CeDeleteRecord(DatabaseHandle& db, CEOID oid) {
  return Guarded(false, nullptr, [&] { return ObjectStore::Delete(db, oid); });
}

CEOID CeRestoreRecord(DatabaseHandle& db, CEOID oid, WORD count, const CEPROPVAL* props) {
  return Guarded(CEOID(0), nullptr, [&] { return ObjectStore::Restore(db, oid, count, props); });
}

bool CloseDatabase(DatabaseHandle& db) {
  if (!db.IsOpen()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  db.Close();
  return true;
}

DWORD DatabaseRecordCount(const DatabaseHandle& db) {
  return Guarded(DWORD(0), nullptr, [&] { return ObjectStore::Count(db); });
}

DatabaseEnumerator CeFindFirstDatabase(DWORD type) {
  DatabaseEnumerator e;
  if (const DWORD error = InjectedFailure(PlatformCall::FindFirstDatabase)) {
    SetLastError(error);
    return e;
  }
  Guarded(false, nullptr, [&] {
    const auto store = CurrentObjectStore();
    if (!store || !store->DatabaseOids(type, &e.oids_)) return false;
    e.open_ = true;
    e.next_ = 0;
    return true;
  });
  return e;
}

CEOID CeFindNextDatabase(DatabaseEnumerator& e) {
  if (!e.open_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (e.next_ >= e.oids_.size()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return 0;
  }
  return e.oids_[e.next_++];
}

bool CeOidGetInfo(CEOID oid, CEOIDINFO* info) {
  return Guarded(false, nullptr, [&] {
    if (!info) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    const auto store = CurrentObjectStore();
    return store && store->GetInfo(oid, info);
  });
}

bool CeSetDatabaseSortOrder(CEOID oid, const SORTORDERSPEC& sort) {
  return Guarded(false, nullptr, [&] {
    if (sort.propid != 0 && !ValidSortOrder(sort)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    const auto store = CurrentObjectStore();
    if (!store) return false;
    return Guarded(false, store.get(), [&] { return store->SetSortOrder(oid, sort); });
  });
}

bool CeDeleteDatabase(CEOID oid) {
  if (const DWORD e = InjectedFailure(PlatformCall::DeleteDatabase)) {
    SetLastError(e);
    return false;
  }
  return Guarded(false, nullptr, [&] {
    const auto store = CurrentObjectStore();
    return store && Guarded(false, store.get(), [&] { return store->DeleteDatabase(oid); });
  });
}

}  // namespace pw
