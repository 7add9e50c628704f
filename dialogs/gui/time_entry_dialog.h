// TEMPORARY stand-in until the time entry dialog's branch is merged.
#pragma once

#include "platform/types.h"

namespace pw {

enum : int {
  PWH_TIME_ENTRY_NEW = 1,
  PWH_TIME_ENTRY_EDIT = 2,
  PWH_TIME_ENTRY_NEW_FROM_DEFAULT = 3,
  PWH_TIME_ENTRY_SUBSEQUENT = 4,
  PWH_TIME_ENTRY_SUBSEQUENT_FROM_DEFAULT = 5,
};

int TimeEntryDialog(HWND owner, int mode);

}  // namespace pw
