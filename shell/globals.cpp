#include "shell/globals.h"

#include "platform/host_port.h"
#include "text/format.h"

namespace pw {

int AppMode = PWH_TIME_MODE;
HWND MainWindow = nullptr;
DatabaseHandle TimeDatabase;
DatabaseHandle ConfigDatabase;
DatabaseHandle ExpenseDatabase;
TimeRecord WorkingTimeRecord;
ExpenseRecord WorkingExpenseRecord;
PWHConfiguration* Configuration = nullptr;

DatabaseHandle& CurrentDatabase() {
  return AppMode == PWH_EXPENSE_MODE ? ExpenseDatabase : TimeDatabase;
}

void SetStatusText(int part, std::u16string_view text) { Host().SetStatusText(part, text); }

void ShowRecordCount(int n) { SetStatusText(PWH_STATUS_COUNT, Format(u"%2d", n)); }

}  // namespace pw
