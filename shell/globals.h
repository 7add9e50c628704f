// Program-wide values: the open databases, the configuration object, the
// main window, the record kind being worked on, and the status line.
#pragma once

#include <string_view>

#include "platform/object_store.h"
#include "platform/types.h"
#include "storage/records.h"

namespace pw {

class PWHConfiguration;

enum : int { PWH_TIME_MODE = 1, PWH_EXPENSE_MODE = 2 };

// Parts of the status line.
enum : int { PWH_STATUS_MODE = 0, PWH_STATUS_ACTIVITY = 1, PWH_STATUS_COUNT = 2 };

// 1 Time, 2 Expense; starts at 1.
extern int AppMode;

extern HWND MainWindow;
extern DatabaseHandle TimeDatabase;
extern DatabaseHandle ConfigDatabase;
extern DatabaseHandle ExpenseDatabase;
// Null only when the configuration could not be created.
extern PWHConfiguration* Configuration;

// The records the entry dialogs edit in place: commands prepare them, run
// the dialog, and store them when it ends with OK.
extern TimeRecord WorkingTimeRecord;
extern ExpenseRecord WorkingExpenseRecord;

// The time database in Time mode, the expense database in Expense mode.
DatabaseHandle& CurrentDatabase();

// Writes one part of the status line through the host, visible at once.
void SetStatusText(int part, std::u16string_view text);

// Writes n with "%2d" into the record-count part of the status line.
void ShowRecordCount(int n);

}  // namespace pw
