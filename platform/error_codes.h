// Error numbers of the device layer, in the handheld's numbering, and the
// thread's last-error value that every failing call sets.
#pragma once

#include <cstdint>

namespace pw {

using DWORD = std::uint32_t;
using LONG = std::int32_t;

inline constexpr DWORD ERROR_SUCCESS_CODE = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;       // no such database, value or record
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;        // the store file cannot be opened or written
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;       // a closed or null handle
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_INVALID_DATA = 13;        // a stored record that cannot be decoded
inline constexpr DWORD ERROR_WRITE_PROTECT = 19;       // the store file or its disk is read-only
inline constexpr DWORD ERROR_WRITE_FAULT = 29;         // the store refused a write
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;   // the store is locked by another process
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;   // e.g. opening with a sort property the database lacks
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
inline constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
inline constexpr DWORD ERROR_FILE_CORRUPT = 1392;      // the store file is not a database or is damaged

// The calling thread's last error, as GetLastError reports it.
DWORD GetLastError();
void SetLastError(DWORD code);

}  // namespace pw
