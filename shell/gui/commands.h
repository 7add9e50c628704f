// The command table of the main window and the handlers of the shell's own
// commands (mode switch, view switch, About, Exit), with the steps that many
// commands share.
#pragma once

#include <cstddef>
#include <span>

#include "platform/types.h"
#include "shell/window_messages.h"

namespace pw {

using CommandHandler = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct CommandEntry {
  UINT commandId;
  CommandHandler handler;
};

// The 28 commands, in the order they are searched.
std::span<const CommandEntry> CommandTable();
// The entry of a command, null when the table has none.
const CommandEntry* FindCommand(UINT commandId);

// WM_COMMAND: runs the handler of the command in the low word of wParam and
// invalidates the main window; an unknown command does nothing and gives 0.
LRESULT DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam);

// Copies the column widths of the List view (else the Mixed view's list)
// into the configuration.
void StoreColumnWidths();
// Re-creates the view shown from the current database (Tree, List or the
// Mixed view's list); false when that failed.
bool RecreateShownView();
// ApplyDateTab, then RecreateShownView.
bool RefreshView();

// The reaction to a newly selected date tab.
void OnDateTabChanged();

// Mode switch to PWH_TIME_MODE or PWH_EXPENSE_MODE.
void SwitchMode(int mode);
// View switch to the List (IDM_VIEW_LIST), Tree (IDM_VIEW_TREE) or Mixed
// (IDM_VIEW_MIXED) view; nothing when that view is shown. The selected
// record stays selected.
void SwitchView(UINT viewCommand);
void SwitchToListView();

}  // namespace pw
