// The handlers of Edit > Configuration: "Application", "Columns" and
// "Pulldowns".
#pragma once

#include "platform/types.h"
#include "shell/window_messages.h"

namespace pw {

// "Columns": keeps the dragged widths, runs the column dialog on the current
// mode's columns, stores the settings when the dialog leaves changes, and
// re-creates the List or Mixed view shown.
LRESULT OnColumnsCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// "Pulldowns": the pick-list editor.
LRESULT OnPulldownsCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// "Application": the configuration dialog, its default-record buttons
// opening the entry dialogs; the settings are stored when it leaves changes,
// and a changed date or time form re-creates the List or Mixed view shown.
LRESULT OnApplicationCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pw
