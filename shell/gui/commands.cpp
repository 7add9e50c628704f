#include "shell/gui/commands.h"

#include "config/gui/config_commands.h"
#include "dialogs/gui/memory_dialogs.h"
#include "platform/host_port.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "shell/gui/main_window.h"
#include "shell/gui/record_commands.h"
#include "shell/gui/startup.h"
#include "selection/gui/find_dialogs.h"
#include "transfer/gui/transfer_commands.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_view.h"
#include "views/gui/view_selection.h"
#include "views/gui/report_view.h"

namespace pw {

namespace {

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

LRESULT OnViewSwitch(HWND, UINT, WPARAM wParam, LPARAM) {
  SwitchView(LoWord(wParam));
  return 0;
}

LRESULT OnExpandCollapseTree(HWND window, UINT, WPARAM, LPARAM) {
  ExpandCollapseTree(window);
  return 0;
}

LRESULT OnFind(HWND, UINT, WPARAM, LPARAM) {
  FindRecords();
  return 0;
}

LRESULT OnViewReport(HWND, UINT, WPARAM, LPARAM) {
  ViewReport();
  return 0;
}

LRESULT OnSaveReport(HWND, UINT, WPARAM, LPARAM) {
  SaveReport();
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
    {IDM_FIND, OnFind},
    {IDM_COPY, OnCopy},
    {IDM_PROPERTIES, OnProperties},
    {IDM_VIEW_TREE, OnViewSwitch},
    {IDM_VIEW_LIST, OnViewSwitch},
    {IDM_VIEW_MIXED, OnViewSwitch},
    {IDM_VIEW_REPORT, OnViewReport},
    {IDM_IMPORT_DATABASE, OnImportDatabase},
    {IDM_EXPORT_DATABASE, OnExportDatabase},
    {IDM_IMPORT_PULLDOWNS, OnImportPulldowns},
    {IDM_EXPORT_PULLDOWNS, OnExportPulldowns},
    {IDM_SAVE_REPORT, OnSaveReport},
    {IDM_EXPAND_COLLAPSE_TREE, OnExpandCollapseTree},
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

void SwitchToListView() { SwitchView(IDM_VIEW_LIST); }

void SwitchView(UINT viewCommand) {
  const bool shown = (viewCommand == IDM_VIEW_LIST && ListViewWindow) ||
                     (viewCommand == IDM_VIEW_TREE && TreeViewWindow) ||
                     (viewCommand == IDM_VIEW_MIXED && MixedListWindow);
  if (shown) return;
  HostPort& host = Host();
  host.EnableMenuItem(IDM_EXPAND_COLLAPSE_TREE, viewCommand == IDM_VIEW_TREE);
  for (UINT view : {IDM_VIEW_LIST, IDM_VIEW_TREE, IDM_VIEW_MIXED, IDM_VIEW_REPORT})
    host.CheckMenuItem(view, view == viewCommand);
  host.EnableMenuItem(IDM_NEW_RECORD, true);
  if (AppMode == PWH_TIME_MODE) host.EnableMenuItem(IDM_NEW_SUBSEQUENT_RECORD, true);
  host.EnableMenuItem(IDM_MODE_TIME, true);
  host.EnableMenuItem(IDM_MODE_EXPENSE, true);
  // The record selected in the view left stays selected in the new one.
  const std::int64_t selected = ShownRecordPosition();
  StoreColumnWidths();
  ApplyDateTab();
  if (viewCommand == IDM_VIEW_TREE)
    RecreateTreeView(MainWindow, &TreeViewWindow, CurrentDatabase(), &TreeItemTable, &TreeItemCount);
  else if (viewCommand == IDM_VIEW_MIXED)
    RecreateListView(MainWindow, &MixedListWindow, CurrentDatabase(), PWH_MIXED_VIEW);
  else
    RecreateListView(MainWindow, &ListViewWindow, CurrentDatabase(), PWH_LIST_VIEW);
  SelectShownRecord(selected);
}

}  // namespace pw
