#include "transfer/line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "transfer_fixture.h"

namespace pw::test {
namespace {

TEST(LineReaderTest, EndsLinesOutsideQualifiersOnly) {
  const DelimitedFormat defaults{};
  const std::string kLong = "\"" + std::string(100000, 'x') + "\n" + std::string(70000, 'y') + "\",";
  const struct {
    const char* name;
    std::string bytes;
    DelimitedFormat format;
    std::vector<std::string> lines;  // up to and including the first empty one (the end)
  } cases[] = {
      {"cr lf", "a\r\nb\r\n", defaults, {"a", "b", ""}},
      {"lone cr keeps the next byte", "a\rb\n", defaults, {"a", "b", ""}},
      {"breaks inside qualifiers", "\"a\r\"b\"\n\",c\r\n", defaults, {"\"a\r\"b\"\n\",c", ""}},
      {"last line without delimiter", "a\nb", defaults, {"a", "b", ""}},
      {"blank line ends", "a\n\nb\n", defaults, {"a", ""}},
      {"multibyte delimiter", "a\xC2\xA7" "b\xC2\xA7", {u"\"", u",", u"\u00A7"}, {"a", "b", ""}},
      {"multibyte qualifier", "\xC2\xB0x\ny\xC2\xB0\nz", {u"\u00B0", u",", u"\n"}, {"\xC2\xB0x\ny\xC2\xB0", "z", ""}},
      {"byte order mark skipped", "\xEF\xBB\xBF\"a\"\n\xEF\xBB\xBF\n", defaults, {"\"a\"", "\xEF\xBB\xBF", ""}},
      {"empty file", "", defaults, {""}},
      {"lines of any length", kLong + "\r\n" + kLong + "\n", defaults, {kLong, kLong, ""}},
  };
  const std::string path = TemporaryHome() + "/lines.txt";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(path, c.bytes);
    const int fd = ::open(path.c_str(), O_RDONLY);
    LineReader reader(fd, c.format);
    std::vector<std::string> lines;
    for (std::string line; (lines.empty() || !lines.back().empty()) && reader.Next(&line);) lines.push_back(line);
    ::close(fd);
    EXPECT_EQ(lines, c.lines);
  }
  const int fd = ::open(TemporaryHome().c_str(), O_RDONLY);  // a folder cannot be read
  LineReader reader(fd, defaults);
  std::string line;
  EXPECT_FALSE(reader.Next(&line));
  EXPECT_EQ(reader.error(), EISDIR);
  ::close(fd);
}

}  // namespace
}  // namespace pw::test
