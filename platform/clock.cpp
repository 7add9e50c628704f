#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace pw {

namespace {
std::optional<SYSTEMTIME> overrideTime;
}

SYSTEMTIME GetLocalTime() {
  if (overrideTime) return *overrideTime;
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  SYSTEMTIME st;
  st.wYear = WORD(local.tm_year + 1900);
  st.wMonth = WORD(local.tm_mon + 1);
  st.wDayOfWeek = WORD(local.tm_wday);
  st.wDay = WORD(local.tm_mday);
  st.wHour = WORD(local.tm_hour);
  st.wMinute = WORD(local.tm_min);
  st.wSecond = WORD(local.tm_sec);
  st.wMilliseconds = WORD(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return st;
}

void SetLocalTimeOverride(std::optional<SYSTEMTIME> fixed) { overrideTime = fixed; }

}  // namespace pw
