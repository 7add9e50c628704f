#include "dialogs/memory_dialogs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "platform/code_page.h"

namespace pw {
namespace {

constexpr std::uint64_t MB = 1024 * 1024;

TEST(MemoryLinesTest, RendersEveryLineInScreenOrder) {
  const struct {
    const char* name;
    MEMORYSTATUS status;  // load, physical, free physical, paging, free paging, virtual, free virtual
    std::vector<std::string> expected;
  } cases[] = {
      // A small machine without a paging file: no percentage (and no division) for it.
      {"small, no paging", {.dwMemoryLoad = 75, .dwTotalPhys = 16 * MB, .dwAvailPhys = 4 * MB,
                            .dwTotalVirtual = 32 * MB, .dwAvailVirtual = 30 * MB},
       {"Memory Load: 75%", "Physical Memory: 16384KB", "Free Physical Memory: 4096KB (25%)", "Paging File: 0KB",
        "Free Paging File: 0KB", "Virtual Memory: 32768KB", "Free Virtual Memory: 30720KB (93%)"}},
      // Sizes and percentages are truncated.
      {"truncation", {.dwTotalPhys = 3 * 1024 + 1023, .dwAvailPhys = 1023, .dwTotalPageFile = 2048,
                      .dwAvailPageFile = 2047, .dwTotalVirtual = 1024},
       {"Memory Load: 0%", "Physical Memory: 3KB", "Free Physical Memory: 0KB (24%)", "Paging File: 2KB",
        "Free Paging File: 1KB (99%)", "Virtual Memory: 1KB", "Free Virtual Memory: 0KB (0%)"}},
      // 64 GB of memory and a 128 TB address space fit 32 bits neither in KB nor as available x 100.
      {"past 32 bits", {.dwMemoryLoad = 50, .dwTotalPhys = 64 * 1024 * MB, .dwAvailPhys = 48 * 1024 * MB,
                        .dwTotalPageFile = 8 * 1024 * MB, .dwAvailPageFile = 8 * 1024 * MB,
                        .dwTotalVirtual = std::uint64_t(1) << 47, .dwAvailVirtual = std::uint64_t(1) << 46},
       {"Memory Load: 50%", "Physical Memory: 67108864KB", "Free Physical Memory: 50331648KB (75%)",
        "Paging File: 8388608KB", "Free Paging File: 8388608KB (100%)", "Virtual Memory: 137438953472KB",
        "Free Virtual Memory: 68719476736KB (50%)"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> texts;
    for (const MemoryLine& line : FormatMemoryLines(c.status)) texts.push_back(WideToUtf8(line.text));
    EXPECT_EQ(texts, c.expected) << c.name;
  }
}

// The start-up box shows this machine's memory and swap, not an address space of 128 TB.
TEST(MemoryLinesTest, VirtualMemoryIsMemoryAndSwap) {
  MEMORYSTATUS s;
  GlobalMemoryStatus(&s);
  EXPECT_GT(s.dwTotalPhys, 0u);
  EXPECT_EQ(std::tuple(s.dwTotalVirtual, s.dwAvailVirtual),
            std::tuple(s.dwTotalPhys + s.dwTotalPageFile, s.dwAvailPhys + s.dwAvailPageFile));
}

}  // namespace
}  // namespace pw
