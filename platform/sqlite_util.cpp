#include "platform/sqlite_util.h"

namespace pw {

DWORD ErrorFromSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return ERROR_SUCCESS_CODE;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
      return ERROR_FILE_CORRUPT;
    case SQLITE_FULL:
      return ERROR_DISK_FULL;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return ERROR_SHARING_VIOLATION;
    case SQLITE_READONLY:
      return ERROR_WRITE_PROTECT;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_CONSTRAINT:
      return ERROR_ALREADY_EXISTS;
    case SQLITE_IOERR:
      if (rc == SQLITE_IOERR_NOMEM) return ERROR_NOT_ENOUGH_MEMORY;
      if (rc == SQLITE_IOERR_ACCESS) return ERROR_ACCESS_DENIED;
      return ERROR_WRITE_FAULT;
    default:
      return ERROR_WRITE_FAULT;
  }
}

int SqliteExec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

int SqliteQueryInt(sqlite3* db, const char* sql, sqlite3_int64* value) {
  SqliteStatement s;
  int rc = s.Prepare(db, sql);
  if (rc != SQLITE_OK) return rc;
  rc = s.Step();
  if (rc == SQLITE_ROW) {
    *value = s.Int(0);
    return SQLITE_OK;
  }
  if (rc == SQLITE_DONE) {
    *value = 0;
    return SQLITE_OK;
  }
  return rc;
}

}  // namespace pw
