#include "platform/injected_failures.h"

#include <atomic>
#include <mutex>

namespace pw {

namespace {

constexpr int kCalls = int(PlatformCall::RegCloseKey) + 1;

struct Armed {
  int skip = 0;
  DWORD error = ERROR_SUCCESS_CODE;  // none armed
};

std::atomic<bool> anyArmed{false};
std::mutex armedMutex;
Armed armed[kCalls];

}  // namespace

void FailPlatformCall(PlatformCall call, int skip, DWORD error) {
  std::lock_guard<std::mutex> lock(armedMutex);
  armed[int(call)] = Armed{skip, error};
  anyArmed.store(true, std::memory_order_relaxed);
}

void ClearPlatformFailures() {
  std::lock_guard<std::mutex> lock(armedMutex);
  for (Armed& a : armed) a = Armed{};
  anyArmed.store(false, std::memory_order_relaxed);
}

DWORD InjectedFailure(PlatformCall call) {
  if (!anyArmed.load(std::memory_order_relaxed)) return ERROR_SUCCESS_CODE;
  std::lock_guard<std::mutex> lock(armedMutex);
  Armed& a = armed[int(call)];
  if (a.error == ERROR_SUCCESS_CODE) return ERROR_SUCCESS_CODE;
  if (a.skip > 0) {
    --a.skip;
    return ERROR_SUCCESS_CODE;
  }
  const DWORD error = a.error;
  a.error = ERROR_SUCCESS_CODE;
  return error;
}

}  // namespace pw
