// Reading one record and every write of records apart from import: add,
// update, duplicate and delete one record, delete many, mark many billed or
// reimbursed.
//
// Records are addressed by their position in the database's sort order.
// Every operation reports its own failures to the user (owner owns the
// message boxes) and keeps the activity part of the status line up to date:
// whatever text it sets is back to "idle" when it ends.
#pragma once

#include "platform/object_store.h"
#include "platform/types.h"
#include "storage/record_databases.h"
#include "storage/record_store.h"
#include "storage/records.h"

namespace pw {

// Stores the record as a new record; *newOid (when given) receives its
// object id, 0 on failure.
bool AddNewRecord(HWND owner, DatabaseHandle& db, const TimeRecord& record,
                  CEOID* newOid = nullptr);
bool AddNewExpenseRecord(HWND owner, DatabaseHandle& db, const ExpenseRecord& record,
                         CEOID* newOid = nullptr);

// Clears *record and fills it from the record at position; leaves the
// database at position 0. A position without a record is a failed read.
bool LoadPWHRecord(HWND owner, DatabaseHandle& db, RecordPosition position, TimeRecord* record);
bool LoadPWHExpenseRecord(HWND owner, DatabaseHandle& db, RecordPosition position,
                          ExpenseRecord* record);

// Writes the record over the one at position.
bool UpdateRecord(HWND owner, DatabaseHandle& db, RecordPosition position,
                  const TimeRecord& record);
bool UpdateExpenseRecord(HWND owner, DatabaseHandle& db, RecordPosition position,
                         const ExpenseRecord& record);

// Stores a copy of the record at position, with exactly the properties read;
// the copy sorts right after the records of the same date. *newOid
// (when given) receives the copy's object id, 0 on failure.
bool DuplicateRecord(HWND owner, DatabaseHandle& db, RecordPosition position,
                     CEOID* newOid = nullptr);

bool DeleteRecord(HWND owner, DatabaseHandle& db, RecordPosition position);

// The multi-record operations act on every record (PWH_ALL_REC_MODE) or on
// the positions in list (PWH_SELECT_REC_MODE); any other mode does nothing.
// Each is one group of store writes, kept whole or not at all: after a
// failure (with its message) nothing was changed and they return 0. They
// show their progress through the host (BeginProgress ... EndProgress).
// Each returns the number of records changed.

int DeleteMultipleRecords(HWND owner, DatabaseHandle& db, int recordSetMode,
                          const RecordPositionList& list);

// Sets billable and billed on every record not yet billed. The record kind
// follows appMode.
int MarkMultipleRecordsBilled(HWND owner, DatabaseHandle& db, int appMode, int recordSetMode,
                              const RecordPositionList& list);

// Sets reimbursable and reimbursed on every expense record not yet
// reimbursed. Changes nothing (and returns 0) in Time mode.
int MarkMultipleRecordsReimbursed(HWND owner, DatabaseHandle& db, int appMode, int recordSetMode,
                                  const RecordPositionList& list);

}  // namespace pw
