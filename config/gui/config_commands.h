// The handlers of Edit > Configuration: "Application", "Columns" and
// "Pulldowns".
#pragma once

#include <string_view>

#include "config/configuration.h"
#include "platform/object_store.h"
#include "platform/types.h"
#include "storage/records.h"
#include "views/view_port.h"

namespace pw {

// "Columns": keeps the dragged widths, runs the column dialog on the columns
// of appMode (PWH_TIME_MODE or PWH_EXPENSE_MODE), stores the settings when
// the dialog leaves changes, and re-creates the List or Mixed view shown.
void RunColumnsCommand(HWND owner, PWHConfiguration& config, int appMode, ViewPort& views);
// "Pulldowns": the pulldown list editor on the configuration database pulldowns.
void RunPulldownsCommand(HWND owner, DatabaseHandle& pulldowns, const Settings& settings);
// "Application": the configuration dialog, its default-record buttons
// opening the entry dialogs on the working records; the settings are stored
// when it leaves changes, and a changed date or time form re-creates the
// List or Mixed view shown. A non-empty awayUnavailable greys the "away"
// setting and says why.
void RunApplicationCommand(HWND owner, PWHConfiguration& config, DatabaseHandle& pulldowns,
                           TimeRecord& workingTime, ExpenseRecord& workingExpense, ViewPort& views,
                           std::u16string_view awayUnavailable = {});

}  // namespace pw
