#include "platform/memory_status.h"

#include <cstdio>
#include <cstring>

namespace pw {

namespace {

// Reads "Name:   1234 kB" lines of a /proc file; values in bytes.
std::uint64_t ReadKb(const char* path, const char* name) {
  std::FILE* f = std::fopen(path, "r");
  if (!f) return 0;
  char line[256];
  std::uint64_t value = 0;
  const std::size_t len = std::strlen(name);
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, name, len) == 0 && line[len] == ':') {
      unsigned long long kb = 0;
      if (std::sscanf(line + len + 1, "%llu", &kb) == 1) value = kb * 1024ull;
      break;
    }
  }
  std::fclose(f);
  return value;
}

}  // namespace

void GlobalMemoryStatus(MEMORYSTATUS* status) {
  if (!status) return;
  MEMORYSTATUS s;
  s.dwTotalPhys = ReadKb("/proc/meminfo", "MemTotal");
  s.dwAvailPhys = ReadKb("/proc/meminfo", "MemAvailable");
  s.dwTotalPageFile = ReadKb("/proc/meminfo", "SwapTotal");
  s.dwAvailPageFile = ReadKb("/proc/meminfo", "SwapFree");
  if (s.dwTotalPhys > 0 && s.dwAvailPhys <= s.dwTotalPhys)
    s.dwMemoryLoad = DWORD((s.dwTotalPhys - s.dwAvailPhys) * 100 / s.dwTotalPhys);
  // Virtual memory as a user of this machine understands it: memory and
  // swap together (a process's address space, 128 TB, says nothing useful).
  s.dwTotalVirtual = s.dwTotalPhys + s.dwTotalPageFile;
  s.dwAvailVirtual = s.dwAvailPhys + s.dwAvailPageFile;
  *status = s;
}

}  // namespace pw
