#include "dialogs/memory_lines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/code_page.h"

namespace pw {
namespace {

constexpr std::uint64_t MB = 1024 * 1024;

std::vector<std::string> Texts(const MemoryLines& lines) {
  std::vector<std::string> out;
  for (const auto& line : lines) out.push_back(WideToUtf8(line.text));
  return out;
}

struct MemoryCase {
  const char* name;
  MEMORYSTATUS status;
  std::vector<std::string> expected;  // screen order
};

void PrintTo(const MemoryCase& c, std::ostream* os) { *os << c.name; }

class MemoryLinesTest : public testing::TestWithParam<MemoryCase> {};

TEST_P(MemoryLinesTest, RendersEveryLineInScreenOrder) {
  EXPECT_EQ(Texts(FormatMemoryLines(GetParam().status)), GetParam().expected);
}

MEMORYSTATUS Status(DWORD load, std::uint64_t totalPhys, std::uint64_t availPhys, std::uint64_t totalPage,
                    std::uint64_t availPage, std::uint64_t totalVirt, std::uint64_t availVirt) {
  MEMORYSTATUS s;
  s.dwMemoryLoad = load;
  s.dwTotalPhys = totalPhys;
  s.dwAvailPhys = availPhys;
  s.dwTotalPageFile = totalPage;
  s.dwAvailPageFile = availPage;
  s.dwTotalVirtual = totalVirt;
  s.dwAvailVirtual = availVirt;
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    MemoryLines, MemoryLinesTest,
    testing::Values(
        // A small machine without a paging file: no percentage for it.
        MemoryCase{"SmallNoPaging", Status(75, 16 * MB, 4 * MB, 0, 0, 32 * MB, 30 * MB),
                   {"Memory Load: 75%", "Physical Memory: 16384KB", "Free Physical Memory: 4096KB (25%)",
                    "Paging File: 0KB", "Free Paging File: 0KB", "Virtual Memory: 32768KB",
                    "Free Virtual Memory: 30720KB (93%)"}},
        // Sizes are truncated to whole KB, percentages truncated too.
        MemoryCase{"Truncation", Status(0, 3 * 1024 + 1023, 1023, 2048, 2047, 1024, 0),
                   {"Memory Load: 0%", "Physical Memory: 3KB", "Free Physical Memory: 0KB (24%)",
                    "Paging File: 2KB", "Free Paging File: 1KB (99%)", "Virtual Memory: 1KB",
                    "Free Virtual Memory: 0KB (0%)"}},
        // Every total 0: no division, no percentages.
        MemoryCase{"AllZero", Status(0, 0, 0, 0, 0, 0, 0),
                   {"Memory Load: 0%", "Physical Memory: 0KB", "Free Physical Memory: 0KB", "Paging File: 0KB",
                    "Free Paging File: 0KB", "Virtual Memory: 0KB", "Free Virtual Memory: 0KB"}},
        // Today's sizes: 64 GB of memory and a 128 TB address space do not
        // fit 32 bits, in KB or in available x 100.
        MemoryCase{"LargerThan32Bits",
                   Status(50, 64ull * 1024 * MB, 48ull * 1024 * MB, 8ull * 1024 * MB, 8ull * 1024 * MB,
                          std::uint64_t(1) << 47, std::uint64_t(1) << 46),
                   {"Memory Load: 50%", "Physical Memory: 67108864KB", "Free Physical Memory: 50331648KB (75%)",
                    "Paging File: 8388608KB", "Free Paging File: 8388608KB (100%)",
                    "Virtual Memory: 137438953472KB", "Free Virtual Memory: 68719476736KB (50%)"}}),
    [](const testing::TestParamInfo<MemoryCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pw
