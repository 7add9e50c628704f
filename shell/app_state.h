// The program's state: what the commands, views and dialogs share. One
// object, made by the program's start and handed to the code that needs it
// (or to the part of it that code needs: the databases, the selection, the
// view slots, the transfer settings).
#pragma once

#include "config/configuration.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "storage/record_databases.h"
#include "storage/records.h"
#include "storage/undo_history.h"
#include "transfer/delimited_format.h"
#include "views/view_slots.h"

namespace pw {

struct AppState : RecordDatabases, RecordSelection, ViewSlots, TransferSettings {
  // The top-level window, owner of most message boxes; null before start-up
  // made it and after exit destroyed it.
  HWND MainWindow = nullptr;
  // The settings object; null before start-up created it and after exit
  // stored and destroyed it.
  PWHConfiguration* Configuration = nullptr;
  // The records the entry dialogs edit in place: commands prepare them, run
  // the dialog, and store them when it ends with OK.
  TimeRecord WorkingTimeRecord;
  ExpenseRecord WorkingExpenseRecord;
  // The steps Undo and Redo take, per record database, while the program runs.
  UndoHistory Undo;
};

}  // namespace pw
