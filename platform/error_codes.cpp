#include "platform/error_codes.h"

namespace pw {

namespace {
thread_local DWORD lastError = ERROR_SUCCESS_CODE;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

}  // namespace pw
