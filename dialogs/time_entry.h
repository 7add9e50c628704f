// The logic of the time entry dialog (120): what each of its five modes
// does, the recomputation of amount and rate from the duration, subtracting
// a break, and the order in which new pulldown list values are offered on OK.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "storage/pulldowns.h"
#include "storage/records.h"

namespace pw {

enum : int {
  PWH_TIME_ENTRY_NEW = 1,
  PWH_TIME_ENTRY_EDIT = 2,
  PWH_TIME_ENTRY_NEW_FROM_DEFAULT = 3,
  PWH_TIME_ENTRY_SUBSEQUENT = 4,
  PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT = 5,
  // Start Timer: as the two before, for a record with no end yet.
  PWH_TIME_ENTRY_TIMER = 6,
  PWH_TIME_ENTRY_TIMER_FROM_DEFAULT = 7,
};

// Control ids of the time entry dialog.
enum : int {
  IDC_ENTRY_NOTE = 1000,
  IDC_ENTRY_BILLED = 1024,
  IDC_ENTRY_START = 1053,
  IDC_ENTRY_END = 1054,
  IDC_ENTRY_CLIENT = 1056,
  IDC_ENTRY_PROJECT = 1057,
  IDC_ENTRY_CURRENCY = 1059,
  IDC_ENTRY_AMOUNT = 1060,
  IDC_ENTRY_DATE = 1063,
  IDC_ENTRY_DURATION = 1065,
  IDC_ENTRY_SUBTRACT_BREAK = 1066,
  IDC_ENTRY_RATE = 1070,
  IDC_ENTRY_SUBPROJECT = 1071,
  IDC_ENTRY_TASK = 1072,
  IDC_ENTRY_BILLABLE = 1073,
};

// How a mode fills the dialog and what its cancel does.
struct TimeEntryMode {
  bool fromRecord;     // texts, flags, times and duration shown from the working record
  bool recordDate;     // the date picker shows the record's date (else today)
  bool startNow;       // the start is set to the present time on opening
  bool editPickers;    // the time pickers open in their editing form
  bool clearOnCancel;  // cancel clears the working record
  bool noEnd = false;  // a timer's record: no end, no duration, nothing worked out from them
};

// The behaviour of mode 1..7; null for any other number.
const TimeEntryMode* FindTimeEntryMode(int mode);

// The amount and rate boxes after the dialog recomputes them from the
// duration: no hours empty both; else a rate gives amount = hours x rate, or
// else an amount gives rate = amount / hours ("%.2f"); else both stay.
struct AmountAndRate {
  std::u16string amount;
  std::u16string rate;
};
AmountAndRate RecomputeAmountAndRate(std::u16string_view amount, std::u16string_view rate,
                                     std::u16string_view duration);

// After the user changed the amount box: the rate box's new text
// (amount / hours), or nothing when the duration has no hours.
std::optional<std::u16string> RateForAmount(std::u16string_view amount, std::u16string_view duration);
// After the user changed the rate box: the amount box's new text (hours x rate).
std::optional<std::u16string> AmountForRate(std::u16string_view rate, std::u16string_view duration);

// True when the duration scans as "%d:%d" (a break can be subtracted from it).
bool HasDuration(std::u16string_view duration);
// duration - brk as "%02d:%02d"; "00:00" when the break is longer. Nothing
// when either does not scan as "%d:%d".
std::optional<std::u16string> SubtractBreak(std::u16string_view duration, std::u16string_view brk);

// The pulldown list boxes in the order OK reads them and offers new values.
struct TimeEntryPulldown {
  int controlId;
  int categoryId;
  char16_t (TimeRecord::*field)[PWH_TEXT_LIMIT];
};
inline constexpr std::array<TimeEntryPulldown, 7> TimeEntryPulldowns{{
    {IDC_ENTRY_CLIENT, PWH_PULLDOWN_CLIENT, &TimeRecord::client},
    {IDC_ENTRY_PROJECT, PWH_PULLDOWN_PROJECT, &TimeRecord::project},
    {IDC_ENTRY_RATE, PWH_PULLDOWN_TIME_RATE, &TimeRecord::rate},
    {IDC_ENTRY_SUBPROJECT, PWH_PULLDOWN_SUBPROJECT, &TimeRecord::subproject},
    {IDC_ENTRY_TASK, PWH_PULLDOWN_TASK, &TimeRecord::task},
    {IDC_ENTRY_CURRENCY, PWH_PULLDOWN_CURRENCY, &TimeRecord::currency},
    {IDC_ENTRY_AMOUNT, PWH_PULLDOWN_AMOUNT, &TimeRecord::amount},
}};

// Copies the boxes' texts (in TimeEntryPulldowns order) into the record's
// fields and offers the new ones for their pulldown lists of the
// configuration database db (OfferNewPulldownValues).
void TakePulldownValues(HWND owner, DatabaseHandle& db, TimeRecord& record,
                        const std::array<std::u16string, TimeEntryPulldowns.size()>& texts, bool ask);

}  // namespace pw
