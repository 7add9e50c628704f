// What the "Pennywhistle Configuration" dialog reads from and writes to the
// settings object: the date and time forms, the six confirmation switches,
// the two default records and their "active" switches.
#pragma once

#include <array>
#include <functional>

#include "config/configuration.h"
#include "platform/types.h"

namespace pw {

// Dialog 129 and its controls.
enum : int {
  IDD_APP_CONFIG = 129,
  IDC_CONFIG_AMERICAN = 1058,
  IDC_CONFIG_EUROPEAN = 1059,
  IDC_CONFIG_AMPM = 1061,
  IDC_CONFIG_ARMY = 1060,
  IDC_CONFIG_CONFIRM_COPY = 1041,  // the six confirmation boxes are 1041..1046
  IDC_CONFIG_DEFAULT_TIME = 1051,
  IDC_CONFIG_DEFAULT_EXPENSE = 1052,
  IDC_CONFIG_TIME_ACTIVE = 1053,
  IDC_CONFIG_EXPENSE_ACTIVE = 1054,
  IDC_CONFIG_AWAY_MINUTES = 1080,
};

inline constexpr int PWH_CONFIRMATION_COUNT = 6;

// The state of the dialog's choices.
struct AppConfigChoices {
  bool europeanDates = false;  // "European" rather than "American"
  bool armyTimes = false;      // "Army" rather than "AM/PM"
  // "copy", "delete", "mark billed", "mark reimbursed", "add pulldown item",
  // "delete pulldown item": behaviour flags 0-5.
  std::array<bool, PWH_CONFIRMATION_COUNT> confirm{};
  bool defaultTimeActive = false;
  bool defaultExpenseActive = false;
  // "Ask when I am away for N minutes": N, 0 off.
  int awayMinutes = 10;
  bool operator==(const AppConfigChoices&) const = default;
};

// The choices the dialog opens with: a form or box is chosen when its
// setting is exactly 1.
AppConfigChoices ReadAppConfigChoices(const Settings& settings);
// OK: every setting becomes 1 when chosen and 0 otherwise.
void ApplyAppConfigChoices(Settings& settings, const AppConfigChoices& choices);

// Runs an entry dialog on the working record, editing (a default exists)
// or new (none yet); IDOK when the user confirmed.
using DefaultRecordEditor = std::function<int(HWND owner, bool editing)>;

// "Default Time Record": the working time record becomes the default (or is
// cleared when there is none) and the editor runs on it; on IDOK the edited
// record replaces the default at once. True when it was replaced.
bool EditDefaultTimeRecord(HWND owner, Settings& config, TimeRecord& working, const DefaultRecordEditor& editor);
// "Default Expense Record": the same with the working expense record.
bool EditDefaultExpenseRecord(HWND owner, Settings& config, ExpenseRecord& working,
                              const DefaultRecordEditor& editor);

// Writes every setting to the registry now, so that settings changed in a
// dialog do not wait for the program's end. Nothing without an open key.
bool StoreSettingsNow(PWHConfiguration* config);

}  // namespace pw
