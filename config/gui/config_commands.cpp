#include "config/gui/config_commands.h"

#include "config/app_config.h"
#include "config/column_dialog.h"
#include "config/configuration.h"
#include "config/gui/app_config_dialog.h"
#include "config/gui/column_config_dialog.h"
#include "dialogs/gui/expense_entry_dialog.h"
#include "dialogs/gui/pulldown_properties.h"
#include "dialogs/gui/time_entry_dialog.h"
#include "platform/host_port.h"
#include "shell/globals.h"
#include "shell/gui/commands.h"
#include "views/gui/list_view.h"

namespace pw {

namespace {

// Re-creates the List view, or the Mixed view's list, when one is shown; a
// Tree or Report view is left as it is.
void RecreateShownList() {
  if (ListViewWindow)
    RecreateListView(MainWindow, &ListViewWindow, CurrentDatabase(), PWH_LIST_VIEW);
  else if (MixedListWindow)
    RecreateListView(MainWindow, &MixedListWindow, CurrentDatabase(), PWH_MIXED_VIEW);
}

std::vector<std::uint8_t> ColumnTable(const ColumnModel& model) {
  std::vector<std::uint8_t> bytes;
  model.Serialize(&bytes);
  return bytes;
}

}  // namespace

LRESULT OnColumnsCommand(HWND window, UINT, WPARAM, LPARAM) {
  if (!Configuration) return 0;
  StoreColumnWidths();
  ColumnModel& columns = Configuration->columns();
  const auto before = ColumnTable(columns);
  const int result = RunColumnConfigDialog(window, columns, ColumnRangeOfMode(AppMode));
  // Changes are made at once and stay after cancel too: keep them safe now.
  if (result == IDOK || ColumnTable(columns) != before) StoreSettingsNow(Configuration);
  RecreateShownList();
  return 0;
}

LRESULT OnPulldownsCommand(HWND window, UINT, WPARAM, LPARAM) {
  ShowPulldownProperties(window);
  return 0;
}

LRESULT OnApplicationCommand(HWND window, UINT, WPARAM, LPARAM) {
  if (!Configuration) return 0;
  PWHConfiguration& config = *Configuration;
  const std::uint8_t dates = config.UseEuropeanDateFormat, times = config.UseEuropeanTimeFormat;
  const DefaultRecordEditor timeEditor = [](HWND owner, bool editing) {
    return TimeEntryDialog(owner, editing ? PWH_TIME_ENTRY_EDIT : PWH_TIME_ENTRY_NEW);
  };
  const DefaultRecordEditor expenseEditor = [](HWND owner, bool editing) {
    return ExpenseEntryDialog(owner, editing ? PWH_EXPENSE_ENTRY_EDIT : PWH_EXPENSE_ENTRY_NEW);
  };
  bool replaced = false;
  const int result = RunAppConfigDialog(window, config, timeEditor, expenseEditor, &replaced);
  if (result == IDOK || replaced) StoreSettingsNow(&config);
  if (config.UseEuropeanDateFormat != dates || config.UseEuropeanTimeFormat != times) {
    StoreColumnWidths();
    RecreateShownList();
  }
  return 0;
}

}  // namespace pw
