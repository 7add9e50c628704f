// The machine's memory situation, in the shape of GlobalMemoryStatus.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pw {

// Sizes in bytes. 64-bit wide: this machine's memory does not fit 32 bits.
struct MEMORYSTATUS {
  DWORD dwLength = sizeof(MEMORYSTATUS);
  DWORD dwMemoryLoad = 0;  // percent of physical memory in use
  std::uint64_t dwTotalPhys = 0;
  std::uint64_t dwAvailPhys = 0;
  std::uint64_t dwTotalPageFile = 0;  // swap
  std::uint64_t dwAvailPageFile = 0;
  std::uint64_t dwTotalVirtual = 0;   // memory and swap together
  std::uint64_t dwAvailVirtual = 0;
};

// Fills status from /proc/meminfo: total and available memory, swap, and
// both together as the virtual memory.
void GlobalMemoryStatus(MEMORYSTATUS* status);

}  // namespace pw
