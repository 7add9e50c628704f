#include "config/gui/config_commands.h"

#include <QString>

#include <cstdint>
#include <vector>

#include "config/app_config.h"
#include "config/column_dialog.h"
#include "config/gui/app_config.h"
#include "config/gui/column_dialog.h"
#include "dialogs/gui/expense_entry.h"
#include "dialogs/gui/pulldown_properties.h"
#include "dialogs/gui/time_entry.h"
#include "platform/host_port.h"

namespace pw {

namespace {

// Re-creates the List view, or the Mixed view's list, when one is shown; a
// Tree or Report view is left as it is.
void RecreateShownList(ViewPort& views) {
  const ShownView shown = views.Shown();
  if (shown == ShownView::List || shown == ShownView::Mixed) views.CreateView(shown);
}

std::vector<std::uint8_t> ColumnTable(const ColumnModel& model) {
  std::vector<std::uint8_t> bytes;
  model.Serialize(&bytes);
  return bytes;
}

}  // namespace

void RunColumnsCommand(HWND owner, PWHConfiguration& config, int appMode, ViewPort& views) {
  views.StoreColumnWidths();
  ColumnModel& columns = config.columns();
  const auto before = ColumnTable(columns);
  const int result = RunColumnConfigDialog(owner, columns, ColumnRangeOfMode(appMode));
  // Changes are made at once and stay after cancel too: keep them safe now.
  if (result == IDOK || ColumnTable(columns) != before) StoreSettingsNow(&config);
  RecreateShownList(views);
}

void RunPulldownsCommand(HWND owner, DatabaseHandle& pulldowns, const Settings& settings) {
  ShowPulldownProperties(owner, pulldowns, settings);
}

void RunApplicationCommand(HWND owner, PWHConfiguration& config, DatabaseHandle& pulldowns,
                           TimeRecord& workingTime, ExpenseRecord& workingExpense, ViewPort& views,
                           std::u16string_view awayUnavailable) {
  const std::uint8_t dates = config.UseEuropeanDateFormat, times = config.UseEuropeanTimeFormat;
  const EntryContext context{pulldowns, config};
  const DefaultRecordEditor timeEditor = [&](HWND editorOwner, bool editing) {
    return TimeEntryDialog(editorOwner, editing ? PWH_TIME_ENTRY_EDIT : PWH_TIME_ENTRY_NEW, workingTime, context);
  };
  const DefaultRecordEditor expenseEditor = [&](HWND editorOwner, bool editing) {
    return ExpenseEntryDialog(editorOwner, editing ? PWH_EXPENSE_ENTRY_EDIT : PWH_EXPENSE_ENTRY_NEW,
                              workingExpense, context);
  };
  bool replaced = false;
  const int result =
      RunAppConfigDialog(owner, config, workingTime, workingExpense, timeEditor, expenseEditor, &replaced,
                         QString::fromUtf16(awayUnavailable.data(), qsizetype(awayUnavailable.size())));
  if (result == IDOK || replaced) StoreSettingsNow(&config);
  if (config.UseEuropeanDateFormat != dates || config.UseEuropeanTimeFormat != times) {
    views.StoreColumnWidths();
    RecreateShownList(views);
  }
}

}  // namespace pw
