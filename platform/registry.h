// The settings registry: keys holding named binary values, stored byte for
// byte in an SQLite file under the user's configuration folder.
// Calls return ERROR_SUCCESS (0) or an error code; none throws. Tests can make
// some of them fail on demand (platform/injected_failures.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace pw {

struct RegistryKey;
using HKEY = RegistryKey*;

// The one root the program uses.
extern HKEY const HKEY_LOCAL_MACHINE;

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_MORE_DATA = 234;

inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// $XDG_CONFIG_HOME/pennywhistle/registry.db (~/.config/pennywhistle/...).
std::string DefaultRegistryPath();
// Uses the registry file at path for the calls below; without it the first
// call opens the default path. Open keys must be closed before a switch.
bool OpenRegistry(const std::string& path);
// Closes the file; the next call opens the default path again.
void CloseRegistry();

LONG RegCreateKeyExW(HKEY root, std::u16string_view subKey, DWORD reserved, const char16_t* keyClass,
                     DWORD options, DWORD access, void* security, HKEY* result, DWORD* disposition);
// data null: only *size is set. *size too small: ERROR_MORE_DATA and *size set.
// A missing value: ERROR_FILE_NOT_FOUND.
LONG RegQueryValueExW(HKEY key, std::u16string_view valueName, DWORD* reserved, DWORD* type,
                      std::uint8_t* data, DWORD* size);
LONG RegSetValueExW(HKEY key, std::u16string_view valueName, DWORD reserved, DWORD type,
                    const std::uint8_t* data, DWORD size);
LONG RegDeleteValueW(HKEY key, std::u16string_view valueName);
LONG RegCloseKey(HKEY key);

// Groups the value writes (RegSetValueExW, RegDeleteValueW) made while it
// lives: Commit stores all of them at once; without a successful Commit none
// is stored, so a crash in between leaves every value as it was. One at a
// time; keys are not created inside one.
class RegistryTransaction {
 public:
  RegistryTransaction();
  ~RegistryTransaction();
  RegistryTransaction(const RegistryTransaction&) = delete;
  RegistryTransaction& operator=(const RegistryTransaction&) = delete;

  // ERROR_SUCCESS when the transaction could be started, else why not.
  LONG Begun() const { return begun_; }
  // ERROR_SUCCESS when every write of the group is stored.
  LONG Commit();

 private:
  LONG begun_ = ERROR_SUCCESS;
  bool done_ = false;
  std::uint64_t generation_ = 0;  // the open file it belongs to
};

}  // namespace pw
