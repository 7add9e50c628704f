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

// Commits the writes of a multi-record operation. When the commit fails the
// writes are gone, so nothing was changed.
int FinishGroup(HWND owner, StoreTransaction& group, int changed, const char16_t* operation) {
  if (group.Commit()) return changed;
  ShowFailure(owner,
              Format(u"%s: could not store the changes: error code: (%ld).", operation,
                     GetLastError()),
              kErrorTitle);
  return 0;
}

// What a mark does with one record.
enum class Step { Unchanged, Changed, Failed };

// Walks the records that recordSetMode designates and hands each one to
// process(buffer, position). A failed read ends the walk at once with its
// message; a failed step (which showed its own) ends it as a normal end does.
// Returns the number of records changed.
template <class Process>
int WalkRecords(HWND owner, DatabaseHandle& db, int recordSetMode,
                const RecordPositionList& list, Process process) {
  int changed = 0;
  PropertyBuffer buffer;
  enum class Next { Go, End, Abort };
  auto visit = [&](RecordPosition position) {
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) {
      ShowFailure(owner,
                  Format(u"ExportOiDBToFile: could not CeReadRecordProps(): error code: (%ld).",
                         GetLastError()),
                  u"Pennywhistle Db Error");
      return Next::Abort;
    }
    switch (process(buffer, position)) {
      case Step::Changed: ++changed; return Next::Go;
      case Step::Unchanged: return Next::Go;
      case Step::Failed: break;
    }
    return Next::End;
  };

  Next next = Next::Go;
  if (recordSetMode == PWH_ALL_REC_MODE) {
    RecordPosition position = 0;
    for (CEOID oid = SeekTo(db, position); oid != 0; oid = SeekTo(db, ++position)) {
      next = visit(position);
      if (next != Next::Go) break;
    }
  } else {
    for (const RecordPosition position : list) {
      if (SeekTo(db, position) == 0) break;
      next = visit(position);
      if (next != Next::Go) break;
    }
  }
  if (next == Next::Abort) return changed;  // the read failure leaves the status as it is
  SeekTo(db, 0);
  SetActivity(kIdle);
  return changed;
}

// Sets the flags that mark(record) sets on every record it accepts and
// stores the record back where it was.
template <class Record, class Mark>
int MarkMultiple(HWND owner, DatabaseHandle& db, int recordSetMode,
                 const RecordPositionList& list, const char16_t* operation, Mark mark) {
  if (recordSetMode != PWH_ALL_REC_MODE && recordSetMode != PWH_SELECT_REC_MODE) return 0;
  StoreTransaction group;
  Record record;
  const int changed = WalkRecords(
      owner, db, recordSetMode, list, [&](const PropertyBuffer& buffer, RecordPosition position) {
        ClearRecord(record);
        PropsToRecord(buffer.data(), buffer.size(), record);
        if (!mark(record)) return Step::Unchanged;
        return Update(owner, db, position, record) ? Step::Changed : Step::Failed;
      });
  return FinishGroup(owner, group, changed, operation);
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
  if (recordSetMode != PWH_ALL_REC_MODE && recordSetMode != PWH_SELECT_REC_MODE) return 0;
  StoreTransaction group;
  int deleted = 0;
  auto showProgress = [&] { SetActivity(Format(u"deleting record #%d...", deleted + 1)); };

  if (recordSetMode == PWH_ALL_REC_MODE) {
    // Always the first record: every delete moves the rest up by one.
    for (CEOID oid = SeekTo(db, 0); oid != 0; oid = SeekTo(db, 0)) {
      showProgress();
      if (!CeDeleteRecord(db, oid)) {
        ShowFailure(owner,
                    Format(u"DeleteMultipleRecords: PWH_ALL_REC_MODE: error: CeDeleteRecord: "
                           u"CEOID: [%d] failed: [%ld].",
                           oid, GetLastError()),
                    kErrorTitle);
        SetActivity(kIdle);
        return FinishGroup(owner, group, deleted, u"DeleteMultipleRecords");
      }
      ++deleted;
    }
  } else {
    // Last to first, so that the positions still to come stay valid.
    for (std::size_t i = list.count(); i-- > 0;) {
      const RecordPosition position = list.at(i);
      DWORD index = 0;
      const CEOID oid = SeekTo(db, position, &index);
      if (oid == 0) break;
      showProgress();
      if (!CeDeleteRecord(db, oid)) {
        ShowFailure(owner,
                    Format(u"DeleteMultipleRecords: PWH_SELECT_REC_MODE: error: CeDeleteRecord: "
                           u"index [%d], dw index: [%d], CEOID: [%d] failed: [%ld].",
                           position, index, oid, GetLastError()),
                    kErrorTitle);
        SetActivity(kIdle);
        return FinishGroup(owner, group, deleted, u"DeleteMultipleRecords");
      }
      ++deleted;
    }
  }
  SeekTo(db, 0);
  SetActivity(kIdle);
  return FinishGroup(owner, group, deleted, u"DeleteMultipleRecords");
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
