// File > Export and File > Import: the format dialog, the desktop's file
// chooser starting in the documents folder, a progress dialog that can
// cancel, and the view refreshed after a record import.
#pragma once

#include <QString>

#include <functional>
#include <vector>

#include "config/settings.h"
#include "platform/object_store.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "storage/record_databases.h"
#include "transfer/delimited_format.h"
#include "views/view_port.h"

class QWidget;

namespace pw {

// The commands, over owner. Each opens the format dialog on transfer (which
// keeps the framing and the pulldown list choice), then the file chooser, then
// runs the transfer with the date and time forms of settings.

// File > Export > Database: the records of the current mode that the views
// show (every record, or the displayed list).
void ExportRecordsCommand(HWND owner, RecordDatabases& databases, const RecordSelection& selection,
                          TransferSettings& transfer, const Settings& settings);
// File > Export > Pulldowns: every entry of the configuration database.
void ExportPulldownsCommand(HWND owner, DatabaseHandle& configDb, TransferSettings& transfer,
                            const Settings& settings);
// File > Import > Database: records into the database of the current mode;
// the view shown is refreshed afterwards (also when no file was chosen).
// *added (when given) receives the object ids of the records added.
void ImportRecordsCommand(HWND owner, RecordDatabases& databases, RecordSelection& selection,
                          TransferSettings& transfer, const Settings& settings, ViewPort& views,
                          std::vector<CEOID>* added = nullptr);
// File > Import > Pulldowns: entries into the configuration database.
void ImportPulldownsCommand(HWND owner, DatabaseHandle& configDb, TransferSettings& transfer,
                            const Settings& settings);

}  // namespace pw
