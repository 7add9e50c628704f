// Import: reads a delimited text file in the framing of the options and
// adds its records to a record database, or its entries to the pulldown lists.
// A first line equal to the export's own header line is skipped silently.
// A line that cannot be read is shown with its number and the reason and
// skipped ("Skip All" shows no further ones; the closing message counts every
// skipped line); the first empty line or the end of the file ends the import.
// A question about a date or time in the other form offers "Yes to All" and
// "No to All" for the rest of the import. The host's progress bar follows
// the bytes read. Writes are grouped, so
// a long import costs a few disk syncs, and every group is stored before a
// skip message, a cancel or the end: a cancel or a failure keeps every record
// stored before it and says how many. Each returns the number imported.
#pragma once

#include <string>
#include <vector>

#include "platform/object_store.h"
#include "platform/types.h"
#include "transfer/transfer_file.h"

namespace pw {

// Imports time (appMode PWH_TIME_MODE) or expense records into db; with
// options.intoPulldowns set, each record's new texts join their pulldown lists in
// the configuration database configDb. *added (when given) receives the object
// id of every record added (for the undo history).
int ImportRecordsFromFile(HWND owner, const std::string& path, DatabaseHandle& db, int appMode,
                          DatabaseHandle& configDb, const TransferOptions& options,
                          const TransferProgress& progress = {}, std::vector<CEOID>* added = nullptr);

// Imports pulldown list entries into the configuration database; a value already
// listed in its category is counted but not stored again.
int ImportPulldownsFromFile(HWND owner, const std::string& path, DatabaseHandle& configDb,
                            const TransferOptions& options, const TransferProgress& progress = {});

}  // namespace pw
