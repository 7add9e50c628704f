// Opening the store file, and making a new one so that it appears under its
// name only once it is whole.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/object_store_impl.h"
#include "platform/private_files.h"

namespace pw {

// A database's sort_prop holds the sort property in its low 32 bits and the
// sort order's flags above them, so a file written with flags still opens
// (in text order) in a build that knows none.
const char* const kStoreSchema =
    "CREATE TABLE IF NOT EXISTS databases("
    "  oid INTEGER PRIMARY KEY, name BLOB NOT NULL UNIQUE, type INTEGER NOT NULL,"
    "  sort_prop INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS records("
    "  oid INTEGER PRIMARY KEY, db INTEGER NOT NULL, props BLOB NOT NULL);"
    "CREATE INDEX IF NOT EXISTS records_by_db ON records(db);"
    "CREATE TABLE IF NOT EXISTS counters(name TEXT PRIMARY KEY, value INTEGER NOT NULL);"
    "INSERT OR IGNORE INTO counters VALUES('next_oid', 1);"
    "PRAGMA application_id = 1347897427;"
    "PRAGMA user_version = 1;";

namespace {

// True for an empty file (a new store) or one that starts with SQLite's
// header; false with *error set otherwise.
bool LooksLikeSqlite(const std::string& path, DWORD* error) {
  static constexpr char kHeader[] = "SQLite format 3";  // and its NUL: 16 bytes
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = ErrorFromErrno(errno);
    return false;
  }
  char head[sizeof kHeader] = {};
  const ssize_t got = ::read(fd, head, sizeof head);
  const int readErrno = errno;
  ::close(fd);
  if (got < 0) {
    *error = ErrorFromErrno(readErrno);
    return false;
  }
  if (got == 0 || (got == ssize_t(sizeof head) && std::memcmp(head, kHeader, sizeof head) == 0)) return true;
  *error = ERROR_FILE_CORRUPT;
  return false;
}

// No store yet: no file, or an empty one without a log (what a start cut
// short by an earlier release could leave).
bool NoStoreYet(const std::string& path) {
  struct stat st, log;
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  return S_ISREG(st.st_mode) && st.st_size == 0 && ::lstat((path + "-wal").c_str(), &log) != 0;
}

void RemoveWithJournals(const std::string& file) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) ::unlink((file + suffix).c_str());
}

// Makes a new store at path: its tables are written to a file of a fixed
// name beside it (rollback journal, full sync, so that the committed schema
// is in that file itself), which is synced and then renamed into place, and
// the folder synced. A power cut at any moment leaves either no store (and a
// leftover that the next start replaces) or a whole one, never a torn first
// page under the store's name.
DWORD CreateStoreFile(const std::string& path, bool ownFolder) {
  const std::string folder = FolderOf(path);
  const std::size_t slash = path.find_last_of('/');
  const std::string temporary =
      (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "." +
      path.substr(slash == std::string::npos ? 0 : slash + 1) + ".pwh-new";
  RemoveWithJournals(temporary);
  if (const DWORD error = PreparePrivateFile(temporary, ownFolder); error != ERROR_SUCCESS_CODE) return error;

  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) sqlite3_extended_result_codes(db, 1);
  if (rc == SQLITE_OK) rc = SqliteExec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; BEGIN IMMEDIATE");
  if (rc == SQLITE_OK) rc = SqliteExec(db, kStoreSchema);
  if (rc == SQLITE_OK) rc = SqliteExec(db, "COMMIT");
  DWORD error = rc == SQLITE_OK ? ERROR_SUCCESS_CODE : db ? ErrorFromSqlite(rc) : ERROR_NOT_ENOUGH_MEMORY;
  if (sqlite3_close(db) != SQLITE_OK && error == ERROR_SUCCESS_CODE) error = ERROR_WRITE_FAULT;

  if (error == ERROR_SUCCESS_CODE) {
    const int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) error = ErrorFromErrno(errno);
    if (fd >= 0) ::close(fd);
  }
  if (error == ERROR_SUCCESS_CODE && std::rename(temporary.c_str(), path.c_str()) != 0) error = ErrorFromErrno(errno);
  if (error != ERROR_SUCCESS_CODE) {
    RemoveWithJournals(temporary);
    return error;
  }
  SyncFolder(folder);
  return ERROR_SUCCESS_CODE;
}

}  // namespace

std::shared_ptr<ObjectStore> ObjectStore::Open(const std::string& path, bool ownFolder, DWORD* error) {
  *error = NoStoreYet(path) ? CreateStoreFile(path, ownFolder) : ERROR_SUCCESS_CODE;
  if (*error == ERROR_SUCCESS_CODE) *error = PreparePrivateFile(path, ownFolder);
  if (*error != ERROR_SUCCESS_CODE) return nullptr;
  // A file that is no SQLite database is left to the user before SQLite
  // looks at it (and at a log beside it, which it might empty).
  if (!LooksLikeSqlite(path, error)) return nullptr;
  std::shared_ptr<ObjectStore> store(new ObjectStore());
  *error = store->Initialise(path);
  if (*error != ERROR_SUCCESS_CODE) return nullptr;
  return store;
}

}  // namespace pw
