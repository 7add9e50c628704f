#include "transfer/line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transfer_fixture.h"

namespace pw::test {
namespace {

// Every line of bytes as the reader gives them, up to and including the
// first empty one (the end).
std::vector<std::string> ReadLines(const std::string& bytes, const DelimitedFormat& format) {
  const std::string path = TemporaryHome() + "/lines.txt";
  WriteFile(path, bytes);
  const int fd = ::open(path.c_str(), O_RDONLY);
  LineReader reader(fd, format);
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(&line)) {
    lines.push_back(line);
    if (line.empty()) break;
  }
  ::close(fd);
  return lines;
}

struct LinesCase {
  const char* name;
  std::string bytes;
  DelimitedFormat format;
  std::vector<std::string> lines;
};

class LineReaderTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(LineReaderTest, EndsLinesOutsideQualifiersOnly) {
  EXPECT_EQ(ReadLines(GetParam().bytes, GetParam().format), GetParam().lines);
}

const DelimitedFormat kDefaults{};
const std::string kLong = "\"" + std::string(100000, 'x') + "\n" + std::string(70000, 'y') + "\",";

INSTANTIATE_TEST_SUITE_P(
    Files, LineReaderTest,
    ::testing::Values(
        LinesCase{"lf", "a\nb\n", kDefaults, {"a", "b", ""}},
        LinesCase{"cr_lf", "a\r\nb\r\n", kDefaults, {"a", "b", ""}},
        LinesCase{"lone_cr_keeps_next_byte", "a\rb\n", kDefaults, {"a", "b", ""}},
        LinesCase{"last_line_without_delimiter", "a\nb", kDefaults, {"a", "b", ""}},
        LinesCase{"blank_line_ends", "a\n\nb\n", kDefaults, {"a", ""}},
        LinesCase{"break_inside_qualifier", "\"x\r\ny\",\"z\"\nb\n", kDefaults, {"\"x\r\ny\",\"z\"", "b", ""}},
        LinesCase{"no_qualifier_breaks_anyway", "x\ny\n", DelimitedFormat{u"", u",", u"\n"}, {"x", "y", ""}},
        LinesCase{"own_record_delimiter", "'a'#'b\n'#c", DelimitedFormat{u"'", u",", u"#"}, {"'a'", "'b\n'", "c", ""}},
        LinesCase{"multibyte_delimiter", "a\xC2\xA7" "b\xC2\xA7", DelimitedFormat{u"\"", u",", u"\u00A7"}, {"a", "b", ""}},
        LinesCase{"multibyte_qualifier", "\xC2\xB0x\ny\xC2\xB0\nz", DelimitedFormat{u"\u00B0", u",", u"\n"}, {"\xC2\xB0x\ny\xC2\xB0", "z", ""}},
        LinesCase{"byte_order_mark_skipped", "\xEF\xBB\xBF\"a\"\n\xEF\xBB\xBF\n", kDefaults, {"\"a\"", "\xEF\xBB\xBF", ""}},
        LinesCase{"empty_file", "", kDefaults, {""}},
        LinesCase{"lines_of_any_length", kLong + "\r\n" + kLong + "\n", kDefaults, {kLong, kLong, ""}}),
    [](const auto& info) { return info.param.name; });

TEST(LineReaderFailureTest, AFolderCannotBeRead) {
  const int fd = ::open(TemporaryHome().c_str(), O_RDONLY);
  LineReader reader(fd, kDefaults);
  std::string line;
  EXPECT_FALSE(reader.Next(&line));
  EXPECT_EQ(reader.error(), EISDIR);
  ::close(fd);
}

}  // namespace
}  // namespace pw::test
