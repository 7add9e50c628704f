#include "shell/gui/commands.h"

#include "config/gui/config_commands.h"
#include "dialogs/gui/memory_dialogs.h"
#include "platform/host_port.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "shell/gui/main_window.h"
#include "shell/gui/record_commands.h"
#include "shell/gui/startup.h"
#include "transfer/gui/transfer_commands.h"
#include "views/gui/list_view.h"

namespace pw {

namespace {

// Commands whose features are not in this release yet: in the table, doing nothing.
LRESULT NotAvailable(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT OnExit(HWND, UINT, WPARAM, LPARAM) {
  StoreColumnWidths();
  CleanUp();
  return 0;
}

LRESULT OnModeTime(HWND, UINT, WPARAM, LPARAM) {
  SwitchMode(PWH_TIME_MODE);
  return 0;
}

LRESULT OnModeExpense(HWND, UINT, WPARAM, LPARAM) {
  SwitchMode(PWH_EXPENSE_MODE);
  return 0;
}

LRESULT OnAbout(HWND window, UINT, WPARAM, LPARAM) {
  ShowAboutDialog(window);
  return 0;
}

LRESULT OnViewList(HWND, UINT, WPARAM, LPARAM) {
  SwitchToListView();
  return 0;
}

constexpr CommandEntry kCommandTable[] = {
    {IDM_COLUMNS, OnColumnsCommand},
    {IDM_PULLDOWNS, OnPulldownsCommand},
    {IDM_EXIT, OnExit},
    {IDM_MODE_TIME, OnModeTime},
    {IDM_MODE_EXPENSE, OnModeExpense},
    {IDM_ABOUT, OnAbout},
    {IDM_NEW_SUBSEQUENT_RECORD, OnNewSubsequentRecord},
    {IDM_NEW_RECORD, OnNewRecord},
    {IDM_DELETE_SELECTED, OnDeleteSelected},
    {IDM_DELETE_MULTIPLE, OnDeleteMultiple},
    {IDM_MARK_SELECTED_BILLED, OnMarkSelectedBilled},
    {IDM_MARK_MULTIPLE_BILLED, OnMarkMultipleBilled},
    {IDM_MARK_SELECTED_REIMBURSED, OnMarkSelectedReimbursed},
    {IDM_MARK_MULTIPLE_REIMBURSED, OnMarkMultipleReimbursed},
    {IDM_APPLICATION_CONFIG, OnApplicationCommand},
    {IDM_FIND, NotAvailable},
    {IDM_COPY, OnCopy},
    {IDM_PROPERTIES, OnProperties},
    {IDM_VIEW_TREE, NotAvailable},
    {IDM_VIEW_LIST, OnViewList},
    {IDM_VIEW_MIXED, NotAvailable},
    {IDM_VIEW_REPORT, NotAvailable},
    {IDM_IMPORT_DATABASE, OnImportDatabase},
    {IDM_EXPORT_DATABASE, OnExportDatabase},
    {IDM_IMPORT_PULLDOWNS, OnImportPulldowns},
    {IDM_EXPORT_PULLDOWNS, OnExportPulldowns},
    {IDM_SAVE_REPORT, NotAvailable},
    {IDM_EXPAND_COLLAPSE_TREE, NotAvailable},
};
static_assert(std::size(kCommandTable) == 28);

}  // namespace

std::span<const CommandEntry> CommandTable() { return kCommandTable; }

const CommandEntry* FindCommand(UINT commandId) {
  for (const CommandEntry& entry : kCommandTable)
    if (entry.commandId == commandId) return &entry;
  return nullptr;
}

LRESULT DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  const CommandEntry* entry = FindCommand(LoWord(wParam));
  if (!entry) return 0;
  const LRESULT result = entry->handler(window, WM_COMMAND, wParam, lParam);
  // After Exit there is no window left to repaint.
  if (PwMainWindow* main = MainWindowWidget()) main->Invalidate();
  return result;
}

void StoreColumnWidths() {
  if (ListViewWindow)
    SaveListColumnWidths(&ListViewWindow, Configuration);
  else if (MixedListWindow)
    SaveListColumnWidths(&MixedListWindow, Configuration);
}

bool RecreateShownView() {
  if (TreeViewWindow) return OtherViews.recreateTreeView && OtherViews.recreateTreeView();
  if (ListViewWindow) return RecreateListView(MainWindow, &ListViewWindow, CurrentDatabase(), PWH_LIST_VIEW);
  if (MixedListWindow) return RecreateListView(MainWindow, &MixedListWindow, CurrentDatabase(), PWH_MIXED_VIEW);
  return false;
}

bool RefreshView() {
  ApplyDateTab();
  return RecreateShownView();
}

void OnDateTabChanged() {
  StoreColumnWidths();
  if (!ListViewWindow && !MixedListWindow && !TreeViewWindow) {
    // The Report view keeps the selection it was made from.
    Host().SelectDateTab(ActiveDateTab);
    MessageBoxW(MainWindow, u"Please select other view type for record selection.", u"Record Selection",
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  RefreshView();
}

void SwitchMode(int mode) {
  if (ReportListWindow) return;
  if (MixedListWindow && OtherViews.clearMixedCard) OtherViews.clearMixedCard();
  StoreColumnWidths();
  if (AppMode == mode) return;
  AppMode = mode;
  ApplyDateTab();

  HostPort& host = Host();
  const bool time = mode == PWH_TIME_MODE;
  if (time) {
    host.EnableMenuItem(IDM_NEW_SUBSEQUENT_RECORD, true);
    host.EnableMenuItem(IDM_EXPAND_COLLAPSE_TREE, true);
  } else {
    host.EnableMenuItem(IDM_NEW_SUBSEQUENT_RECORD, false);
  }
  host.CheckMenuItem(IDM_MODE_TIME, time);
  host.CheckMenuItem(IDM_MODE_EXPENSE, !time);
  // Reimbursement is an expense matter.
  host.EnableMenuItem(IDM_MARK_SELECTED_REIMBURSED, !time);
  host.EnableMenuItem(IDM_MARK_MULTIPLE_REIMBURSED, !time);
  SetStatusText(PWH_STATUS_MODE, time ? u"Time" : u"Expense");

  RecreateShownView();
}

void SwitchToListView() {
  if (ListViewWindow) return;
  HostPort& host = Host();
  host.EnableMenuItem(IDM_EXPAND_COLLAPSE_TREE, false);
  host.CheckMenuItem(IDM_VIEW_LIST, true);
  for (UINT other : {IDM_VIEW_TREE, IDM_VIEW_MIXED, IDM_VIEW_REPORT}) host.CheckMenuItem(other, false);
  host.EnableMenuItem(IDM_NEW_RECORD, true);
  if (AppMode == PWH_TIME_MODE) host.EnableMenuItem(IDM_NEW_SUBSEQUENT_RECORD, true);
  host.EnableMenuItem(IDM_MODE_TIME, true);
  host.EnableMenuItem(IDM_MODE_EXPENSE, true);
  StoreColumnWidths();
  ApplyDateTab();
  RecreateListView(MainWindow, &ListViewWindow, CurrentDatabase(), PWH_LIST_VIEW);
}

}  // namespace pw
