#include "platform/registry.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>
#include <vector>

#include "platform/code_page.h"
#include "platform/injected_failures.h"
#include "platform/private_files.h"

// Layout of the file: one row per key (its root and its backslash path below
// the root) and one row per value (its key, name, type and bytes). Key paths
// and value names compare without regard to ASCII case, as the device's
// registry does. Every write is its own transaction; with WAL and full sync a
// value that RegSetValueExW reported stored survives a crash.

namespace pw {

struct RegistryKey {
  std::uint64_t generation;  // the open file the key belongs to
  sqlite3_int64 id;          // row of the key (unused for a root)
  int root;                  // 0 for HKEY_LOCAL_MACHINE
  bool predefined;           // a root handle: never freed
};

namespace {

RegistryKey localMachine{0, 0, 0, true};

std::mutex registryMutex;
sqlite3* db = nullptr;
std::string chosenPath;          // set by OpenRegistry; empty: the default path
std::uint64_t generation = 1;    // advances whenever the file is closed
std::unordered_set<RegistryKey*> liveKeys;
bool inTransaction = false;      // a RegistryTransaction is open on db

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS reg_keys("
    "  id INTEGER PRIMARY KEY,"
    "  root INTEGER NOT NULL,"
    "  path TEXT NOT NULL COLLATE NOCASE,"
    "  UNIQUE(root, path));"
    "CREATE TABLE IF NOT EXISTS reg_values("
    "  key_id INTEGER NOT NULL,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  PRIMARY KEY(key_id, name)) WITHOUT ROWID;";

LONG FromSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
      return ERROR_SUCCESS;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
      return LONG(ERROR_FILE_CORRUPT);
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
      return LONG(ERROR_ACCESS_DENIED);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return LONG(ERROR_SHARING_VIOLATION);
    case SQLITE_FULL:
      return LONG(ERROR_DISK_FULL);
    case SQLITE_NOMEM:
      return LONG(ERROR_NOT_ENOUGH_MEMORY);
    case SQLITE_TOOBIG:
      return LONG(ERROR_INVALID_PARAMETER);
    default:
      return LONG(ERROR_WRITE_FAULT);
  }
}

class Statement {
 public:
  Statement(const char* sql) { rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return rc_ == SQLITE_OK; }
  int rc() const { return rc_; }
  sqlite3_stmt* get() const { return stmt_; }

  void Bind(int i, sqlite3_int64 v) { Keep(sqlite3_bind_int64(stmt_, i, v)); }
  void Bind(int i, const std::string& text) {
    Keep(sqlite3_bind_text(stmt_, i, text.data(), int(text.size()), SQLITE_TRANSIENT));
  }
  void BindBytes(int i, const std::uint8_t* data, DWORD size) {
    // A null pointer would bind SQL NULL; an empty value is a zero-length blob.
    if (size == 0) Keep(sqlite3_bind_zeroblob(stmt_, i, 0));
    else Keep(sqlite3_bind_blob(stmt_, i, data, int(size), SQLITE_TRANSIENT));
  }
  // SQLITE_ROW, SQLITE_DONE or an error.
  int Step() {
    if (rc_ != SQLITE_OK) return rc_;
    return sqlite3_step(stmt_);
  }

 private:
  void Keep(int rc) {
    if (rc_ == SQLITE_OK && rc != SQLITE_OK) rc_ = rc;
  }
  sqlite3_stmt* stmt_ = nullptr;
  int rc_;
};

void CloseFile() {
  if (db) sqlite3_close_v2(db);  // rolls back an open transaction
  db = nullptr;
  inTransaction = false;
  ++generation;
}

// ownFolder: the folder is the program's own (the default path).
LONG OpenFile(const std::string& path, bool ownFolder) {
  if (path.empty()) return LONG(ERROR_INVALID_PARAMETER);
  // Made here so that it starts as 0600; SQLite gives the -wal and -shm files
  // the mode of the database file.
  if (const DWORD error = PreparePrivateFile(path, ownFolder); error != ERROR_SUCCESS_CODE) return LONG(error);

  sqlite3* handle = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                           nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_extended_result_codes(handle, 0);
    // As long as the store waits for another process that holds its file.
    sqlite3_busy_timeout(handle, 5000);
    // Exclusive locking before WAL keeps the log's index on the heap instead
    // of in a memory-mapped -shm file, whose pages a full disk turns into a
    // SIGBUS; only the process holding the store lock uses the settings.
    rc = sqlite3_exec(handle, "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;",
                      nullptr, nullptr, nullptr);
  }
  if (rc == SQLITE_OK) ::unlink((path + "-shm").c_str());  // never used now; nobody else has the file
  if (rc == SQLITE_OK) rc = sqlite3_exec(handle, kSchema, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(handle);
    return FromSqlite(rc);
  }
  db = handle;
  return ERROR_SUCCESS;
}

LONG EnsureOpen() {
  if (db) return ERROR_SUCCESS;
  return chosenPath.empty() ? OpenFile(DefaultRegistryPath(), true) : OpenFile(chosenPath, false);
}

// Inside a RegistryTransaction a write must not run once SQLite gave the
// transaction up (disk full, I/O error): it would be stored on its own.
LONG TransactionIntact() {
  return inTransaction && sqlite3_get_autocommit(db) ? LONG(ERROR_WRITE_FAULT) : ERROR_SUCCESS;
}

// A handle that may be used: a root, or a key opened on the file now open.
bool Usable(HKEY key) {
  if (key == &localMachine) return true;
  return key && liveKeys.count(key) && key->generation == generation;
}

// The row of a key; a root gets its row on first use.
LONG KeyRow(HKEY key, sqlite3_int64* id) {
  if (!key->predefined) {
    *id = key->id;
    return ERROR_SUCCESS;
  }
  Statement insert("INSERT OR IGNORE INTO reg_keys(root, path) VALUES(?, '')");
  insert.Bind(1, key->root);
  int rc = insert.Step();
  if (rc != SQLITE_DONE) return FromSqlite(rc);
  Statement select("SELECT id FROM reg_keys WHERE root = ? AND path = ''");
  select.Bind(1, key->root);
  rc = select.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? LONG(ERROR_FILE_CORRUPT) : FromSqlite(rc);
  *id = sqlite3_column_int64(select.get(), 0);
  return ERROR_SUCCESS;
}

// The path of a key below its root ("" for the root itself).
LONG KeyPath(sqlite3_int64 id, std::string* path) {
  Statement select("SELECT path FROM reg_keys WHERE id = ?");
  select.Bind(1, id);
  const int rc = select.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? LONG(ERROR_FILE_CORRUPT) : FromSqlite(rc);
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(select.get(), 0));
  path->assign(text ? text : "");
  return ERROR_SUCCESS;
}

LONG CreateKey(HKEY parent, std::u16string_view subKey, HKEY* result, DWORD* disposition) {
  // Segments must be non-empty: no leading, trailing or doubled backslash.
  if (!subKey.empty()) {
    if (subKey.front() == u'\\' || subKey.back() == u'\\' || subKey.find(u"\\\\") != std::u16string_view::npos)
      return LONG(ERROR_INVALID_PARAMETER);
  }
  if (LONG rc = EnsureOpen(); rc != ERROR_SUCCESS) return rc;

  std::string path;
  if (!parent->predefined) {
    if (LONG rc = KeyPath(parent->id, &path); rc != ERROR_SUCCESS) return rc;
  }
  const std::string below = WideToUtf8(subKey);
  if (!below.empty()) path = path.empty() ? below : path + "\\" + below;

  int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return FromSqlite(rc);
  auto fail = [](int code) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return FromSqlite(code);
  };

  bool existed = false;
  {
    Statement select("SELECT id FROM reg_keys WHERE root = ? AND path = ?");
    select.Bind(1, parent->root);
    select.Bind(2, path);
    rc = select.Step();
    if (rc == SQLITE_ROW) existed = true;
    else if (rc != SQLITE_DONE) return fail(rc);
  }
  if (!existed) {
    // The key and every key above it, as nested keys are made one by one.
    for (std::size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
      Statement insert("INSERT OR IGNORE INTO reg_keys(root, path) VALUES(?, ?)");
      insert.Bind(1, parent->root);
      insert.Bind(2, path.substr(0, end));
      rc = insert.Step();
      if (rc != SQLITE_DONE) return fail(rc);
      if (end == std::string::npos) break;
    }
  }
  sqlite3_int64 id = 0;
  {
    Statement select("SELECT id FROM reg_keys WHERE root = ? AND path = ?");
    select.Bind(1, parent->root);
    select.Bind(2, path);
    rc = select.Step();
    if (rc != SQLITE_ROW) return fail(rc == SQLITE_DONE ? SQLITE_CORRUPT : rc);
    id = sqlite3_column_int64(select.get(), 0);
  }
  rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return fail(rc);

  auto* key = new (std::nothrow) RegistryKey{generation, id, parent->root, false};
  if (!key) return LONG(ERROR_NOT_ENOUGH_MEMORY);
  liveKeys.insert(key);
  *result = key;
  if (disposition) *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  return ERROR_SUCCESS;
}

LONG QueryValue(HKEY key, std::u16string_view valueName, DWORD* type, std::uint8_t* data, DWORD* size) {
  sqlite3_int64 id = 0;
  if (LONG rc = KeyRow(key, &id); rc != ERROR_SUCCESS) return rc;
  Statement select("SELECT type, data FROM reg_values WHERE key_id = ? AND name = ?");
  select.Bind(1, id);
  select.Bind(2, WideToUtf8(valueName));
  const int rc = select.Step();
  if (rc == SQLITE_DONE) return LONG(ERROR_FILE_NOT_FOUND);
  if (rc != SQLITE_ROW) return FromSqlite(rc);

  const DWORD storedType = DWORD(sqlite3_column_int64(select.get(), 0));
  const void* bytes = sqlite3_column_blob(select.get(), 1);
  const DWORD length = DWORD(sqlite3_column_bytes(select.get(), 1));
  if (type) *type = storedType;
  if (!size) return ERROR_SUCCESS;  // only asked whether the value exists
  if (!data) {
    *size = length;
    return ERROR_SUCCESS;
  }
  if (*size < length) {
    *size = length;
    return ERROR_MORE_DATA;
  }
  if (length > 0) std::memcpy(data, bytes, length);
  *size = length;
  return ERROR_SUCCESS;
}

LONG SetValue(HKEY key, std::u16string_view valueName, DWORD type, const std::uint8_t* data, DWORD size) {
  if (LONG rc = TransactionIntact(); rc != ERROR_SUCCESS) return rc;
  sqlite3_int64 id = 0;
  if (LONG rc = KeyRow(key, &id); rc != ERROR_SUCCESS) return rc;
  Statement upsert("INSERT OR REPLACE INTO reg_values(key_id, name, type, data) VALUES(?, ?, ?, ?)");
  upsert.Bind(1, id);
  upsert.Bind(2, WideToUtf8(valueName));
  upsert.Bind(3, sqlite3_int64(type));
  upsert.BindBytes(4, data, size);
  const int rc = upsert.Step();
  return rc == SQLITE_DONE ? ERROR_SUCCESS : FromSqlite(rc);
}

LONG DeleteValue(HKEY key, std::u16string_view valueName) {
  if (LONG rc = TransactionIntact(); rc != ERROR_SUCCESS) return rc;
  sqlite3_int64 id = 0;
  if (LONG rc = KeyRow(key, &id); rc != ERROR_SUCCESS) return rc;
  Statement remove("DELETE FROM reg_values WHERE key_id = ? AND name = ?");
  remove.Bind(1, id);
  remove.Bind(2, WideToUtf8(valueName));
  const int rc = remove.Step();
  if (rc != SQLITE_DONE) return FromSqlite(rc);
  return sqlite3_changes(db) > 0 ? ERROR_SUCCESS : LONG(ERROR_FILE_NOT_FOUND);
}

// Runs body under the lock with the file open; nothing escapes.
template <class F>
LONG Guarded(HKEY key, F&& body) {
  try {
    std::lock_guard<std::mutex> lock(registryMutex);
    if (!Usable(key)) return LONG(ERROR_INVALID_HANDLE);
    if (LONG rc = EnsureOpen(); rc != ERROR_SUCCESS) return rc;
    return body();
  } catch (const std::bad_alloc&) {
    return LONG(ERROR_NOT_ENOUGH_MEMORY);
  } catch (...) {
    return LONG(ERROR_WRITE_FAULT);
  }
}

}  // namespace

HKEY const HKEY_LOCAL_MACHINE = &localMachine;

std::string DefaultRegistryPath() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && home[0] ? home : ".") + "/.config";
  }
  return base + "/pennywhistle/registry.db";
}

bool OpenRegistry(const std::string& path) {
  try {
    std::lock_guard<std::mutex> lock(registryMutex);
    CloseFile();
    chosenPath = path;
    return OpenFile(path, false) == ERROR_SUCCESS;
  } catch (...) {
    return false;
  }
}

void CloseRegistry() {
  try {
    std::lock_guard<std::mutex> lock(registryMutex);
    CloseFile();
    chosenPath.clear();
  } catch (...) {
  }
}

LONG RegCreateKeyExW(HKEY root, std::u16string_view subKey, DWORD, const char16_t*, DWORD, DWORD, void*,
                     HKEY* result, DWORD* disposition) {
  if (!result) return LONG(ERROR_INVALID_PARAMETER);
  *result = nullptr;
  return Guarded(root, [&] { return CreateKey(root, subKey, result, disposition); });
}

LONG RegQueryValueExW(HKEY key, std::u16string_view valueName, DWORD* reserved, DWORD* type, std::uint8_t* data,
                      DWORD* size) {
  if (const DWORD e = InjectedFailure(PlatformCall::RegQueryValue)) return LONG(e);
  if (reserved || (data && !size)) return LONG(ERROR_INVALID_PARAMETER);
  return Guarded(key, [&] { return QueryValue(key, valueName, type, data, size); });
}

LONG RegSetValueExW(HKEY key, std::u16string_view valueName, DWORD, DWORD type, const std::uint8_t* data,
                    DWORD size) {
  if (!data && size > 0) return LONG(ERROR_INVALID_PARAMETER);
  return Guarded(key, [&] { return SetValue(key, valueName, type, data, size); });
}

LONG RegDeleteValueW(HKEY key, std::u16string_view valueName) {
  return Guarded(key, [&] { return DeleteValue(key, valueName); });
}

RegistryTransaction::RegistryTransaction() {
  try {
    std::lock_guard<std::mutex> lock(registryMutex);
    if (inTransaction) {
      begun_ = LONG(ERROR_INVALID_PARAMETER);  // one at a time
      return;
    }
    begun_ = EnsureOpen();
    if (begun_ == ERROR_SUCCESS) begun_ = FromSqlite(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    if (begun_ == ERROR_SUCCESS) {
      inTransaction = true;
      generation_ = generation;
    }
  } catch (...) {
    begun_ = LONG(ERROR_NOT_ENOUGH_MEMORY);
  }
}

RegistryTransaction::~RegistryTransaction() {
  std::lock_guard<std::mutex> lock(registryMutex);
  if (begun_ != ERROR_SUCCESS || done_ || generation_ != generation) return;
  if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  inTransaction = false;
}

LONG RegistryTransaction::Commit() {
  std::lock_guard<std::mutex> lock(registryMutex);
  if (begun_ != ERROR_SUCCESS) return begun_;
  if (done_ || generation_ != generation) return LONG(ERROR_INVALID_HANDLE);
  done_ = true;
  inTransaction = false;
  // SQLite gave the transaction up after a failed write: nothing is stored.
  if (sqlite3_get_autocommit(db)) return LONG(ERROR_WRITE_FAULT);
  const int rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return ERROR_SUCCESS;
  if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  return FromSqlite(rc);
}

LONG RegCloseKey(HKEY key) {
  // A close made to fail still frees the key (the failure is spent by now,
  // so the inner call runs as usual): its caller lets go of it either way.
  if (const DWORD e = InjectedFailure(PlatformCall::RegCloseKey)) {
    RegCloseKey(key);
    return LONG(e);
  }
  try {
    std::lock_guard<std::mutex> lock(registryMutex);
    if (key == &localMachine) return ERROR_SUCCESS;
    // A key whose file has been closed since is still freed here.
    if (!key || !liveKeys.erase(key)) return LONG(ERROR_INVALID_HANDLE);
    delete key;
    return ERROR_SUCCESS;
  } catch (...) {
    return LONG(ERROR_INVALID_HANDLE);
  }
}

}  // namespace pw
