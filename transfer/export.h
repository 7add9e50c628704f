// Export: the records of the current mode, or every pulldown list entry, written
// to a delimited text file in the framing of the options. Each function
// runs the whole step after the file has been chosen: it writes the file,
// keeps the status line up to date, shows every message (the completion
// notice, failures, and a warning about texts that will not read back) and
// returns how many records or entries it wrote.
#pragma once

#include <string>

#include "platform/object_store.h"
#include "platform/types.h"
#include "storage/record_databases.h"
#include "transfer/transfer_file.h"

namespace pw {

// The default file names, in the user's documents folder.
inline constexpr std::u16string_view PWH_TIME_EXPORT_NAME = u"PWH Time DB Export.csv";
inline constexpr std::u16string_view PWH_EXPENSE_EXPORT_NAME = u"PWH Expense DB Export.csv";
inline constexpr std::u16string_view PWH_PULLDOWN_EXPORT_NAME = u"PWH Pulldowns Export.csv";

// Exports the time (appMode PWH_TIME_MODE) or expense records of db: every
// record (PWH_ALL_REC_MODE), the positions of list (PWH_SELECT_REC_MODE), or
// none (any other mode: the header line alone). A cancel through progress
// leaves the target as it was and returns 0.
int ExportRecordsToFile(HWND owner, const std::string& path, DatabaseHandle& db, int appMode, int recordSetMode,
                        const RecordPositionList& list, const TransferOptions& options,
                        const TransferProgress& progress = {});

// Exports every pulldown list entry of the configuration database db.
int ExportPulldownsToFile(HWND owner, const std::string& path, DatabaseHandle& db, const TransferOptions& options,
                          const TransferProgress& progress = {});

}  // namespace pw
