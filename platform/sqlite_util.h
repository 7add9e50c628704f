// Small helpers over the SQLite C interface: owned statements and the
// mapping of SQLite result codes to the device layer's error numbers.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "platform/error_codes.h"

namespace pw {

// The device-layer error number for a failed SQLite call (extended codes).
DWORD ErrorFromSqlite(int rc);

// A prepared statement, finalized with the object. Reset() before reuse.
class SqliteStatement {
 public:
  SqliteStatement() = default;
  ~SqliteStatement() { Finalize(); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  int Prepare(sqlite3* db, const char* sql) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
  }
  void Finalize() {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
  sqlite3_stmt* get() const { return stmt_; }
  explicit operator bool() const { return stmt_ != nullptr; }

  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  void Bind(int i, sqlite3_int64 v) { sqlite3_bind_int64(stmt_, i, v); }
  // The bytes must stay alive until the statement is reset.
  void BindBlob(int i, std::string_view bytes) {
    sqlite3_bind_blob(stmt_, i, bytes.empty() ? "" : bytes.data(), int(bytes.size()), SQLITE_STATIC);
  }
  int Step() { return sqlite3_step(stmt_); }

  sqlite3_int64 Int(int col) const { return sqlite3_column_int64(stmt_, col); }
  std::string_view Blob(int col) const {
    const void* p = sqlite3_column_blob(stmt_, col);
    const int n = sqlite3_column_bytes(stmt_, col);
    return p ? std::string_view(static_cast<const char*>(p), std::size_t(n)) : std::string_view();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Runs SQL that returns no rows; the SQLite result code.
int SqliteExec(sqlite3* db, const char* sql);
// Runs a query of one integer; the SQLite result code (SQLITE_OK with *value set).
int SqliteQueryInt(sqlite3* db, const char* sql, sqlite3_int64* value);

}  // namespace pw
