// The one object store call that is not an everyday write: a record added
// back under the object id it had, for Undo and Redo.
#pragma once

#include "platform/object_store.h"

namespace pw {

// Adds a record under object id oid, which no record or database may use
// (ERROR_ALREADY_EXISTS otherwise): a deleted record taken back keeps its
// id, and with it its place among the records of equal sort text. Returns
// oid, 0 on failure.
CEOID CeRestoreRecord(DatabaseHandle& db, CEOID oid, WORD count, const CEPROPVAL* props);

}  // namespace pw
