// The object store: named databases of records, each record a list of typed
// properties, kept in one SQLite file under the user's data folder.
//
// A database may carry one sort order on a text property (ascending,
// case-sensitive by UTF-16 code unit, records without the property last,
// equal keys in the order of their object ids), or, with
// CEDB_SORT_CALENDARDATE, by the calendar date the text names. Records are reached by their
// 0-based position in that order (CeSeekDatabase) and then read, replaced or
// deleted through the object id the seek returned.
//
// Every open database keeps an in-memory ordered index of its records, so
// seeks and reads never touch the disk; writes go to SQLite first (WAL, full
// sync) and reach the index only when they are durable. Inside a
// StoreTransaction they reach it when SQLite accepted them; if the group's
// commit then fails, the indexes are read back from the file.
//
// No call throws. Failures return 0 / false / an invalid handle and set the
// last-error code (platform/error_codes.h). Tests can make some of them fail
// on demand (platform/injected_failures.h).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace pw {

using CEOID = std::uint32_t;
using CEPROPID = std::uint32_t;

inline constexpr WORD CEVT_I2 = 2;       // 16-bit signed integer
inline constexpr WORD CEVT_LPWSTR = 31;  // zero-terminated UTF-16 text

// Property identifier word: (id << 16) | type.
constexpr CEPROPID MakePropId(WORD id, WORD type) { return (CEPROPID(id) << 16) | type; }
constexpr WORD PropIdOf(CEPROPID propid) { return WORD(propid >> 16); }
constexpr WORD PropTypeOf(CEPROPID propid) { return WORD(propid & 0xFFFF); }

// wFlags of a property passed to CeWriteRecordProps: remove that property.
inline constexpr WORD CEDB_PROPDELETE = 0x0002;

struct CEPROPVAL {
  CEPROPID propid = 0;
  WORD wLenData = 0;
  WORD wFlags = 0;
  struct {
    std::int16_t iVal = 0;              // CEVT_I2
    const char16_t* lpwstr = nullptr;   // CEVT_LPWSTR; null reads as empty text
  } val;
};

// dwFlags of a sort order: the property holds a date as "M/D/Y" text
// (platform/calendar_date.h), and records go by its calendar date (year,
// month, day; equal dates in object id order). A text that is no valid date
// comes after every valid one, by its text.
inline constexpr DWORD CEDB_SORT_CALENDARDATE = 0x00010000;

struct SORTORDERSPEC {
  CEPROPID propid = 0;
  // 0 (ascending, case-sensitive, unknown last) or CEDB_SORT_CALENDARDATE
  DWORD dwFlags = 0;
};

inline constexpr DWORD CEDB_SEEK_CEOID = 0x00000001;      // value is an object id
inline constexpr DWORD CEDB_SEEK_BEGINNING = 0x00000002;  // value is a 0-based position
inline constexpr DWORD CEDB_SEEK_CURRENT = 0x00000004;    // value is an offset from the current position

inline constexpr DWORD CEDB_ALLOWREALLOC = 0x00000001;

inline constexpr WORD OBJTYPE_DATABASE = 3;

// The properties of one record as a read hands them out. Owns the texts the
// properties point at; the caller keeps it as long as it uses them.
// A set of property ids (those below 128) to read from a record; the
// others are passed over.
using PropertyIdSet = std::array<bool, 128>;

class PropertyBuffer {
 public:
  PropertyBuffer() = default;
  PropertyBuffer(const PropertyBuffer& other);
  PropertyBuffer(PropertyBuffer&& other) noexcept;
  PropertyBuffer& operator=(const PropertyBuffer& other);
  PropertyBuffer& operator=(PropertyBuffer&& other) noexcept;

  const CEPROPVAL* data() const { return props_.empty() ? nullptr : props_.data(); }
  WORD size() const { return WORD(props_.size()); }
  const CEPROPVAL& operator[](std::size_t i) const { return props_[i]; }
  // Empties the list; the text memory is kept for the next Decode.
  void clear() { props_.clear(); }

  // Decodes one stored record, only the properties in `wanted` when it is
  // given; false (and the buffer empty) when the bytes are damaged. Reusing
  // one buffer for many reads keeps its memory.
  bool Decode(std::string_view stored, const PropertyIdSet* wanted = nullptr);

 private:
  // Points the text properties at texts_ again after it moved.
  void Rebase(const char16_t* oldBase);

  std::vector<CEPROPVAL> props_;
  std::u16string texts_;  // every text of the record, each zero-terminated
};

// Encodes a property list to the bytes kept in the store.
std::string EncodeProperties(const CEPROPVAL* props, WORD count);

class ObjectStore;

// An open database. Closes itself when destroyed. Holds the current position.
class DatabaseHandle {
 public:
  DatabaseHandle() = default;
  DatabaseHandle(DatabaseHandle&&) noexcept;
  DatabaseHandle& operator=(DatabaseHandle&&) noexcept;
  DatabaseHandle(const DatabaseHandle&) = delete;
  DatabaseHandle& operator=(const DatabaseHandle&) = delete;
  ~DatabaseHandle();

  bool IsOpen() const { return store_ != nullptr; }
  explicit operator bool() const { return IsOpen(); }
  CEOID DatabaseOid() const { return db_; }
  // Opened with the database's sort order (positions follow it).
  bool IsSorted() const { return sorted_; }
  void Close();

 private:
  friend class ObjectStore;
  std::shared_ptr<ObjectStore> store_;
  CEOID db_ = 0;
  bool sorted_ = false;  // opened with the database's sort order (else object id order)
  DWORD position_ = 0;   // position of the current record
  CEOID current_ = 0;    // object id of the current record, 0 when none
};

struct CEOIDINFO {
  WORD wObjType = 0;
  std::u16string dbaseName;
  DWORD dbaseType = 0;
  DWORD numRecords = 0;
  CEPROPID sortProperty = 0;  // 0 when the database has no sort order
  DWORD sortFlags = 0;        // the sort order's dwFlags
};

// An enumeration of the databases of the store (CeFindFirstDatabase).
class DatabaseEnumerator {
 public:
  bool IsOpen() const { return open_; }
  explicit operator bool() const { return open_; }
  void Close() { open_ = false; oids_.clear(); }

 private:
  friend DatabaseEnumerator CeFindFirstDatabase(DWORD);
  friend CEOID CeFindNextDatabase(DatabaseEnumerator&);
  bool open_ = false;
  std::vector<CEOID> oids_;
  std::size_t next_ = 0;
};

// --- The store file -------------------------------------------------------

// Path of the store file: $XDG_DATA_HOME/pennywhistle/pennywhistle.db
// (~/.local/share/pennywhistle/ when XDG_DATA_HOME is not set).
std::string DefaultObjectStorePath();

// Opens the store at a path for every call below (creating folder 0700 and
// file 0600 as needed). Without it the first call opens the default path.
// Handles of an earlier store keep that store alive until they close.
bool OpenObjectStore(const std::string& path);
void CloseObjectStore();
// Path of the store file in use, or of the one the next call opens.
std::string ObjectStorePath();
// Opens the store file now unless it is open; false with the last error set
// when it cannot be opened.
bool EnsureObjectStore();
// How long a call waits for another process that holds the store file before
// it fails with ERROR_SHARING_VIOLATION. 5 seconds unless set.
void SetObjectStoreBusyTimeout(int milliseconds);
// Closes the store and renames its file, with its -wal and -shm files, to
// "<name>-damaged-<date>-<time>.db" in the same folder, so that the next call
// makes a new, empty store. *movedTo receives the new name. Nothing is deleted.
bool MoveObjectStoreAside(std::string* movedTo);
// Copies the store as it is now to "<name>-before-erase-<date>-<time>.db" in
// the same folder (its log included), before something is erased from it.
// *copiedTo receives the copy's name.
bool CopyObjectStoreAside(std::string* copiedTo);

// Groups the writes made while it lives into one durable commit. Nested
// groups join the outermost one. Whatever was written is kept: the group
// commits when it ends, also after a failed write.
class StoreTransaction {
 public:
  StoreTransaction();
  ~StoreTransaction();
  StoreTransaction(const StoreTransaction&) = delete;
  StoreTransaction& operator=(const StoreTransaction&) = delete;
  // Commits now; false (and last error set) when the commit failed, in which
  // case the group's writes are lost and the indexes are read back from disk.
  bool Commit();
  // Throws away every write made since the group began, so that a run of
  // writes happens all or not at all. Nested in another group it throws
  // away that group's writes too (they share one transaction), and the
  // outer group's commit then fails. The last error is left as it was.
  bool Rollback();

 private:
  std::shared_ptr<ObjectStore> store_;
  bool active_ = false;
};

// --- The calls ------------------------------------------------------------

CEOID CeCreateDatabase(std::u16string_view name, DWORD type, WORD numSortOrders,
                       const SORTORDERSPEC* sortOrders);
// sortProperty 0 opens without a sort order (the database must have none, or
// the records come in object id order); a non-zero property must be the
// database's sort order, else ERROR_INVALID_PARAMETER. A missing database
// fails with ERROR_FILE_NOT_FOUND. oid may be null.
DatabaseHandle CeOpenDatabase(CEOID* oid, std::u16string_view name, CEPROPID sortProperty,
                              DWORD flags, HWND notify);
// Returns the object id of the record reached, 0 when there is none.
CEOID CeSeekDatabase(DatabaseHandle& db, DWORD seekType, DWORD value, DWORD* index);
// Reads every property of the current record into out; returns its object id,
// 0 on failure.
CEOID CeReadRecordProps(DatabaseHandle& db, DWORD flags, PropertyBuffer& out, const PropertyIdSet* wanted = nullptr);
// oid 0 adds a record; otherwise replaces the listed properties of that record.
// Returns the record's object id, 0 on failure.
CEOID CeWriteRecordProps(DatabaseHandle& db, CEOID oid, WORD count, const CEPROPVAL* props);
bool CeDeleteRecord(DatabaseHandle& db, CEOID oid);
bool CloseDatabase(DatabaseHandle& db);

// Records in a database (0 for an invalid handle).
DWORD DatabaseRecordCount(const DatabaseHandle& db);

DatabaseEnumerator CeFindFirstDatabase(DWORD type);  // type 0: every database
CEOID CeFindNextDatabase(DatabaseEnumerator& e);     // 0 at the end
bool CeOidGetInfo(CEOID oid, CEOIDINFO* info);
bool CeDeleteDatabase(CEOID oid);
// Gives a database another sort order (one property, or none when propid is
// 0): durable first, then every open handle sees the records in the new
// order. Records are not rewritten; the in-memory order is made anew.
bool CeSetDatabaseSortOrder(CEOID oid, const SORTORDERSPEC& sort);

}  // namespace pw
