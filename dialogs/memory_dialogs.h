// The seven memory lines of the About and start-up dialogs.
#pragma once

#include <array>
#include <string>

#include "platform/memory_status.h"

namespace pw {

// Control identifiers of the memory lines, the same in both dialogs.
enum : int {
  IDC_MEMORY_LOAD = 1000,
  IDC_PHYSICAL_MEMORY = 1001,
  IDC_FREE_PHYSICAL_MEMORY = 1002,
  IDC_FREE_VIRTUAL_MEMORY = 1003,
  IDC_PAGING_FILE = 1004,
  IDC_FREE_PAGING_FILE = 1005,
  IDC_VIRTUAL_MEMORY = 1006,
};

struct MemoryLine {
  int controlId;
  std::u16string text;
};

inline constexpr std::size_t PWH_MEMORY_LINE_COUNT = 7;
using MemoryLines = std::array<MemoryLine, PWH_MEMORY_LINE_COUNT>;

// The lines for status, in screen order: load, physical, free physical,
// paging file, free paging file, virtual, free virtual. Sizes in KB
// (truncated), percentages of the matching total (truncated).
MemoryLines FormatMemoryLines(const MEMORYSTATUS& status);

// The lines for this machine right now.
MemoryLines CurrentMemoryLines();

}  // namespace pw
