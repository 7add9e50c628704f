// Import: reads a delimited text file in the framing of TransferFormat and
// adds its records to a record database, or its entries to the pick-lists.
// A line that cannot be read is shown with the reason and skipped; the first
// empty line or the end of the file ends the import. Writes are grouped, so
// a long import costs a few disk syncs, and every group is stored before a
// skip message, a cancel or the end: a cancel or a failure keeps every record
// stored before it and says how many. Each returns the number imported.
#pragma once

#include <string>

#include "platform/object_store.h"
#include "platform/types.h"
#include "transfer/transfer_file.h"

namespace pw {

// Imports time (appMode PWH_TIME_MODE) or expense records into db; with
// ImportIntoPulldowns set, each record's new texts join their pick-lists.
int ImportRecordsFromFile(HWND owner, const std::string& path, DatabaseHandle& db, int appMode,
                          const TransferProgress& progress = {});

// Imports pick-list entries into the configuration database; a value already
// listed in its category is counted but not stored again.
int ImportPulldownsFromFile(HWND owner, const std::string& path,
                            const TransferProgress& progress = {});

}  // namespace pw
