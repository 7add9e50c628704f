// The local clock, as GetLocalTime gives it. Tests may fix it.
#pragma once

#include <optional>

#include "platform/types.h"

namespace pw {

struct SYSTEMTIME {
  WORD wYear = 0;
  WORD wMonth = 0;
  WORD wDayOfWeek = 0;
  WORD wDay = 0;
  WORD wHour = 0;
  WORD wMinute = 0;
  WORD wSecond = 0;
  WORD wMilliseconds = 0;
};

SYSTEMTIME GetLocalTime();

// While set, GetLocalTime returns this value instead of the machine's time.
void SetLocalTimeOverride(std::optional<SYSTEMTIME> fixed);

}  // namespace pw
