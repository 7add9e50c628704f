#include "storage/record_operations.h"

#include <string>

#include "platform/host_port.h"
#include "text/format.h"

namespace pw {
namespace {

constexpr std::u16string_view kIdle = u"idle";
constexpr std::u16string_view kErrorTitle = u"Error";

void ShowFailure(HWND owner, const std::u16string& text, std::u16string_view title) {
  MessageBoxW(owner, text, title, MB_OK | MB_ICONEXCLAMATION);
}

void SetActivity(std::u16string_view text) { SetStatusText(PWH_STATUS_ACTIVITY, text); }

CEOID SeekTo(DatabaseHandle& db, RecordPosition position, DWORD* index = nullptr) {
  return CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, index);
}

// Seeks the record at position and reads it into buffer; false (with the
// error of the failing call as last error) when there is none or it cannot
// be read.
bool ReadAt(DatabaseHandle& db, RecordPosition position, PropertyBuffer& buffer) {
  if (SeekTo(db, position) == 0) return false;
  return CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) != 0;
}

template <class Record>
struct LoadTexts;
template <>
struct LoadTexts<TimeRecord> {
  static constexpr const char16_t* kMessage =
      u"LoadPWHRecord: could not CeReadRecordProps(): error code: (%ld).";
  static constexpr const char16_t* kTitle = u"Pennywhistle Db Error";
};
template <>
struct LoadTexts<ExpenseRecord> {
  static constexpr const char16_t* kMessage =
      u"LoadPWHExpenseRecord: could not CeReadRecordProps(): error code: (%ld).";
  static constexpr const char16_t* kTitle = u"Pennywhistle Expense Db Error";
};

template <class Record>
bool Load(HWND owner, DatabaseHandle& db, RecordPosition position, Record* record) {
  if (record == nullptr) return false;
  PropertyBuffer buffer;
  if (!ReadAt(db, position, buffer)) {
    ShowFailure(owner, Format(LoadTexts<Record>::kMessage, GetLastError()),
                LoadTexts<Record>::kTitle);
    return false;
  }
  ClearRecord(*record);
  PropsToRecord(buffer.data(), buffer.size(), *record);
  SeekTo(db, 0);
  return true;
}

template <class Record>
struct UpdateTexts;
template <>
struct UpdateTexts<TimeRecord> {
  static constexpr const char16_t* kSeek =
      u"Edit Record error: CeSeekDatabase to record #%d failed: %ld.";
  static constexpr const char16_t* kWrite = u"ERROR: CeWriteRecordProps failed: %ld.";
  static constexpr WORD kCount = PWH_TIME_PROP_COUNT;
};
template <>
struct UpdateTexts<ExpenseRecord> {
  static constexpr const char16_t* kSeek =
      u"Edit Record error: CeSeekDatabase to expense record #%d failed: %ld.";
  static constexpr const char16_t* kWrite = u"ERROR: expense CeWriteRecordProps failed: %ld.";
  static constexpr WORD kCount = PWH_EXPENSE_PROP_COUNT;
};

template <class Record>
bool Update(HWND owner, DatabaseHandle& db, RecordPosition position, const Record& record) {
  using Texts = UpdateTexts<Record>;
  SetActivity(u"updating record...");
  bool written = false;
  const CEOID oid = SeekTo(db, position);
  if (oid == 0) {
    ShowFailure(owner, Format(Texts::kSeek, position, GetLastError()), kErrorTitle);
  } else {
    CEPROPVAL props[Texts::kCount];
    RecordToProps(record, props);
    written = CeWriteRecordProps(db, oid, Texts::kCount, props) != 0;
    if (!written) ShowFailure(owner, Format(Texts::kWrite, GetLastError()), kErrorTitle);
  }
  SetActivity(kIdle);
  return written;
}

// A multi-record operation: one group of store writes that is kept whole or
// thrown away whole, its activity text and its progress bar. Ending it
// without Commit (a failure) throws the writes away.
class Grouped {
 public:
  Grouped(std::u16string_view activity, long total) {
    SetActivity(activity);
    Host().BeginProgress(activity, total);
  }
  ~Grouped() {
    if (!done_) group_.Rollback();
    Host().EndProgress();
    SetActivity(kIdle);
  }
  Grouped(const Grouped&) = delete;
  Grouped& operator=(const Grouped&) = delete;

  void Step(long done) { Host().StepProgress(done); }
  // Throws the writes away and shows why; always 0 (records changed).
  int Fail(HWND owner, const std::u16string& text, std::u16string_view title) {
    done_ = true;
    group_.Rollback();
    ShowFailure(owner, text, title);
    return 0;
  }
  // Stores the writes; changed when they are stored, 0 (with a message)
  // when the store could not keep them.
  int Commit(HWND owner, int changed, const char16_t* operation) {
    done_ = true;
    if (group_.Commit()) return changed;
    ShowFailure(owner,
                Format(u"%s: could not store the changes: error code: (%ld).", operation,
                       GetLastError()),
                kErrorTitle);
    return 0;
  }

 private:
  StoreTransaction group_;
  bool done_ = false;
};

bool ValidSetMode(int recordSetMode) {
  return recordSetMode == PWH_ALL_REC_MODE || recordSetMode == PWH_SELECT_REC_MODE;
}

// How many records recordSetMode designates.
long SetSize(DatabaseHandle& db, int recordSetMode, const RecordPositionList& list) {
  return recordSetMode == PWH_ALL_REC_MODE ? long(DatabaseRecordCount(db)) : long(list.count());
}

// Sets the flags that mark(record) sets on every record it accepts, writing
// it back where it was; all records or none.
template <class Record, class Mark>
int MarkMultiple(HWND owner, DatabaseHandle& db, int recordSetMode,
                 const RecordPositionList& list, const char16_t* operation, Mark mark) {
  if (!ValidSetMode(recordSetMode)) return 0;
  const bool all = recordSetMode == PWH_ALL_REC_MODE;
  const long total = SetSize(db, recordSetMode, list);
  Grouped run(u"marking records...", total);
  PropertyBuffer buffer;
  Record record;
  CEPROPVAL props[UpdateTexts<Record>::kCount];
  int changed = 0;
  for (long i = 0; i < total; ++i) {
    const RecordPosition position = all ? RecordPosition(i) : list.at(std::size_t(i));
    const CEOID oid = SeekTo(db, position);
    if (oid == 0) break;  // a shown position past the end: the rest is gone
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) {
      return run.Fail(owner,
                      Format(u"ExportOiDBToFile: could not CeReadRecordProps(): error code: (%ld).",
                             GetLastError()),
                      u"Pennywhistle Db Error");
    }
    ClearRecord(record);
    PropsToRecord(buffer.data(), buffer.size(), record);
    if (mark(record)) {
      RecordToProps(record, props);
      if (CeWriteRecordProps(db, oid, UpdateTexts<Record>::kCount, props) == 0)
        return run.Fail(owner, Format(UpdateTexts<Record>::kWrite, GetLastError()), kErrorTitle);
      ++changed;
    }
    run.Step(i + 1);
  }
  SeekTo(db, 0);
  return run.Commit(owner, changed, operation);
}

}  // namespace

bool AddNewRecord(HWND owner, DatabaseHandle& db, const TimeRecord& record, CEOID* newOid) {
  CEPROPVAL props[PWH_TIME_PROP_COUNT];
  RecordToProps(record, props);
  const CEOID oid = CeWriteRecordProps(db, 0, PWH_TIME_PROP_COUNT, props);
  if (newOid) *newOid = oid;
  if (oid == 0) {
    ShowFailure(owner, Format(u"AddNewRecord: CeWriteRecordProps failed: %ld.", GetLastError()),
                u"Pennywhistle Error");
    return false;
  }
  return true;
}

bool AddNewExpenseRecord(HWND owner, DatabaseHandle& db, const ExpenseRecord& record,
                         CEOID* newOid) {
  CEPROPVAL props[PWH_EXPENSE_PROP_COUNT];
  RecordToProps(record, props);
  const CEOID oid = CeWriteRecordProps(db, 0, PWH_EXPENSE_PROP_COUNT, props);
  if (newOid) *newOid = oid;
  if (oid == 0) {
    ShowFailure(owner,
                Format(u"AddNewExpenseRecord: CeWriteRecordProps failed: %ld.", GetLastError()),
                u"Pennywhistle Error");
    return false;
  }
  return true;
}

bool LoadPWHRecord(HWND owner, DatabaseHandle& db, RecordPosition position, TimeRecord* record) {
  return Load(owner, db, position, record);
}

bool LoadPWHExpenseRecord(HWND owner, DatabaseHandle& db, RecordPosition position,
                          ExpenseRecord* record) {
  return Load(owner, db, position, record);
}

bool UpdateRecord(HWND owner, DatabaseHandle& db, RecordPosition position,
                  const TimeRecord& record) {
  return Update(owner, db, position, record);
}

bool UpdateExpenseRecord(HWND owner, DatabaseHandle& db, RecordPosition position,
                         const ExpenseRecord& record) {
  return Update(owner, db, position, record);
}

bool DuplicateRecord(HWND owner, DatabaseHandle& db, RecordPosition position, CEOID* newOid) {
  SetActivity(u"duplicating record...");
  bool stored = false;
  if (newOid) *newOid = 0;
  PropertyBuffer buffer;
  if (SeekTo(db, position) == 0) {
    ShowFailure(owner,
                Format(u"DuplicateRecord error: CeSeekDatabase failed: %ld.", GetLastError()),
                kErrorTitle);
  } else if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) {
    ShowFailure(owner, Format(u"DuplicateRecord error: CeReadRecord failed: %ld.", GetLastError()),
                kErrorTitle);
  } else {
    // The copy gets exactly the properties read, so a record stored by
    // another writer with fewer properties is copied as it is.
    const CEOID oid = CeWriteRecordProps(db, 0, buffer.size(), buffer.data());
    if (newOid) *newOid = oid;
    stored = oid != 0;
    if (!stored) {
      ShowFailure(owner, Format(u"ERROR: CeWriteRecordProps failed (%ld)", GetLastError()),
                  kErrorTitle);
    }
  }
  SetActivity(kIdle);
  return stored;
}

bool DeleteRecord(HWND owner, DatabaseHandle& db, RecordPosition position) {
  SetActivity(u"deleting record...");
  bool deleted = false;
  const CEOID oid = SeekTo(db, position);
  if (oid == 0) {
    ShowFailure(owner,
                Format(u"DeleteRecord error: CeSeekDatabase to %d failed: %ld.", position,
                       GetLastError()),
                kErrorTitle);
  } else {
    deleted = CeDeleteRecord(db, oid);
    if (!deleted) {
      ShowFailure(owner, Format(u"DeleteRecord error: CeDeleteRecord failed: %ld.", GetLastError()),
                  kErrorTitle);
    }
  }
  SetActivity(kIdle);
  return deleted;
}

int DeleteMultipleRecords(HWND owner, DatabaseHandle& db, int recordSetMode,
                          const RecordPositionList& list) {
  if (!ValidSetMode(recordSetMode)) return 0;
  const bool all = recordSetMode == PWH_ALL_REC_MODE;
  const long total = SetSize(db, recordSetMode, list);
  Grouped run(u"deleting records...", total);
  int deleted = 0;
  // Last to first: the positions still to come stay valid, and the store's
  // order loses its last entries, which moves nothing.
  for (long i = total; i-- > 0;) {
    const RecordPosition position = all ? RecordPosition(i) : list.at(std::size_t(i));
    DWORD index = 0;
    const CEOID oid = SeekTo(db, position, &index);
    if (oid == 0) break;  // a shown position past the end: the list is stale, nothing goes
    if (!CeDeleteRecord(db, oid)) {
      return run.Fail(
          owner,
          all ? Format(u"DeleteMultipleRecords: PWH_ALL_REC_MODE: error: CeDeleteRecord: "
                       u"CEOID: [%d] failed: [%ld].",
                       oid, GetLastError())
              : Format(u"DeleteMultipleRecords: PWH_SELECT_REC_MODE: error: CeDeleteRecord: "
                       u"index [%d], dw index: [%d], CEOID: [%d] failed: [%ld].",
                       position, index, oid, GetLastError()),
          kErrorTitle);
    }
    ++deleted;
    run.Step(total - i);
  }
  SeekTo(db, 0);
  return run.Commit(owner, deleted, u"DeleteMultipleRecords");
}

int MarkMultipleRecordsBilled(HWND owner, DatabaseHandle& db, int appMode, int recordSetMode,
                              const RecordPositionList& list) {
  // A record already billed is left alone, even when it is not billable.
  if (appMode == PWH_EXPENSE_MODE) {
    return MarkMultiple<ExpenseRecord>(owner, db, recordSetMode, list,
                                       u"MarkMultipleRecordsBilled", [](ExpenseRecord& r) {
                                         if (r.billed) return false;
                                         r.billable = r.billed = true;
                                         return true;
                                       });
  }
  return MarkMultiple<TimeRecord>(owner, db, recordSetMode, list, u"MarkMultipleRecordsBilled",
                                  [](TimeRecord& r) {
                                    if (r.billed != 0) return false;
                                    r.billable = r.billed = 1;
                                    return true;
                                  });
}

int MarkMultipleRecordsReimbursed(HWND owner, DatabaseHandle& db, int appMode, int recordSetMode,
                                  const RecordPositionList& list) {
  if (appMode != PWH_EXPENSE_MODE) {
    // Time records cannot be reimbursed: the walk reads them and changes nothing.
    return MarkMultiple<TimeRecord>(owner, db, recordSetMode, list,
                                    u"MarkMultipleRecordsReimbursed",
                                    [](TimeRecord&) { return false; });
  }
  return MarkMultiple<ExpenseRecord>(owner, db, recordSetMode, list,
                                     u"MarkMultipleRecordsReimbursed", [](ExpenseRecord& r) {
                                       if (r.reimbursed) return false;
                                       r.reimbursable = r.reimbursed = true;
                                       return true;
                                     });
}

}  // namespace pw
