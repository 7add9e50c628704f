#include "dialogs/memory_dialogs.h"

#include <cstdint>

#include "text/format.h"

namespace pw {

namespace {

std::uint64_t Kb(std::uint64_t bytes) { return bytes / 1024; }

// "<label>: <free>KB (<percent>%)", without the percentage when the total is 0.
std::u16string FreeLine(std::u16string_view withPercent, std::u16string_view withoutPercent,
                        std::uint64_t avail, std::uint64_t total) {
  if (total == 0) return Format(withoutPercent, Kb(avail));
  // 128-bit product: avail * 100 cannot overflow whatever the sizes.
  const auto percent = static_cast<std::uint64_t>(static_cast<unsigned __int128>(avail) * 100 / total);
  return Format(withPercent, Kb(avail), percent);
}

}  // namespace

MemoryLines FormatMemoryLines(const MEMORYSTATUS& s) {
  return {{
      {IDC_MEMORY_LOAD, Format(u"Memory Load: %d%%", s.dwMemoryLoad)},
      {IDC_PHYSICAL_MEMORY, Format(u"Physical Memory: %dKB", Kb(s.dwTotalPhys))},
      {IDC_FREE_PHYSICAL_MEMORY, FreeLine(u"Free Physical Memory: %dKB (%d%%)",
                                          u"Free Physical Memory: %dKB", s.dwAvailPhys, s.dwTotalPhys)},
      {IDC_PAGING_FILE, Format(u"Paging File: %dKB", Kb(s.dwTotalPageFile))},
      {IDC_FREE_PAGING_FILE, FreeLine(u"Free Paging File: %dKB (%d%%)", u"Free Paging File: %dKB",
                                      s.dwAvailPageFile, s.dwTotalPageFile)},
      {IDC_VIRTUAL_MEMORY, Format(u"Virtual Memory: %dKB", Kb(s.dwTotalVirtual))},
      {IDC_FREE_VIRTUAL_MEMORY, FreeLine(u"Free Virtual Memory: %dKB (%d%%)",
                                         u"Free Virtual Memory: %dKB", s.dwAvailVirtual, s.dwTotalVirtual)},
  }};
}

MemoryLines CurrentMemoryLines() {
  MEMORYSTATUS status;
  GlobalMemoryStatus(&status);
  return FormatMemoryLines(status);
}

}  // namespace pw
