// Failures that tests arm for a few platform calls which cannot otherwise be
// made to fail on demand (a full disk, a refused close), so that the messages
// the program shows for them can be checked. Nothing in the program arms one;
// when none is armed a call pays one relaxed atomic load.
//
// An armed call fails at its very top, before it touches anything: it sets
// the last error (object store) or returns the error (registry) and has no
// other effect. Only a failed RegCloseKey still frees the key, since its
// caller lets go of the key either way.
#pragma once

#include "platform/error_codes.h"

namespace pw {

enum class PlatformCall {
  CreateDatabase,     // CeCreateDatabase
  OpenDatabase,       // CeOpenDatabase
  FindFirstDatabase,  // CeFindFirstDatabase
  DeleteDatabase,     // CeDeleteDatabase
  RegQueryValue,      // RegQueryValueExW
  RegCloseKey,        // RegCloseKey
};

// After `skip` calls of `call` that run as usual, the next one fails with
// `error`, once. Arming a call again replaces what was armed for it.
void FailPlatformCall(PlatformCall call, int skip, DWORD error);
// Disarms every call.
void ClearPlatformFailures();

// For the platform calls: the error this call must fail with, or 0 when it
// runs as usual.
DWORD InjectedFailure(PlatformCall call);

}  // namespace pw
