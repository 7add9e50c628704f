#include "views/report_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/code_page.h"
#include "support/file_size_limit.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"

namespace pw {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::u16string>;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct BytesCase {
  const char* name;
  Lines lines;
  std::string bytes;
};

class ReportBytesTest : public ::testing::TestWithParam<BytesCase> {};

TEST_P(ReportBytesTest, Bytes) { EXPECT_EQ(ReportFileBytes(GetParam().lines), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportBytesTest,
    ::testing::Values(
        BytesCase{"Empty", {}, ""},
        BytesCase{"BlankRowsAreEmptyLines", {u"Total hours: 2.00.", u" ", u" ", u"x"}, "Total hours: 2.00.\r\n\r\n\r\nx\r\n"},
        // Only a row of exactly one space is blank; other spaces are kept.
        BytesCase{"SpacesKept", {u"  ", u" a "}, "  \r\n a \r\n"},
        // UTF-8 without a byte-order mark; a lone surrogate becomes U+FFFD.
        BytesCase{"Utf8", {u"M\u00fcller \u20ac", u"\xD800"}, "M\xC3\xBCller \xE2\x82\xAC\r\n\xEF\xBF\xBD\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class ReportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(test::TemporaryHome()) / ("reports-" + std::to_string(serial_++));
    fs::create_directories(folder_);
  }
  std::size_t FilesIn() const { return std::size_t(std::distance(fs::directory_iterator(folder_), {})); }

  static inline int serial_ = 0;
  test::ScriptedHost host_;
  fs::path folder_;
};

TEST_F(ReportFileTest, WritesEveryRowWholeAndReplacesAnOldFile) {
  const fs::path target = folder_ / "PWH Time Report.doc";
  std::ofstream(target) << "an older and much longer report that must not leave a tail behind\n";
  // A row far longer than the 2047 characters a row could once hold.
  const std::u16string longRow(5000, u'x');
  ASSERT_TRUE(WriteReportFile(nullptr, Utf8ToWide(target.string()), {u"Report", u" ", longRow}));
  EXPECT_EQ(Read(target), "Report\r\n\r\n" + std::string(5000, 'x') + "\r\n");
  EXPECT_EQ(FilesIn(), 1u);  // no temporary file left beside it
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(ReportFileTest, AFailedSaveLeavesTheOldFileAndNothingElse) {
  const fs::path missing = folder_ / "no such folder" / "r.doc";
  EXPECT_FALSE(WriteReportFile(nullptr, Utf8ToWide(missing.string()), {u"x"}));
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].title, u"Pennywhistle Error");
  EXPECT_EQ(host_.messages[0].text.rfind(u"Failed to open file '" + Utf8ToWide(missing.string()) +
                                             u"' for writing: error code: [3].\n\n",
                                         0),
            0u);

  // The target is a folder: the new file is written, but cannot take its place.
  const fs::path folderTarget = folder_ / "a folder";
  fs::create_directories(folderTarget / "inside");
  EXPECT_FALSE(WriteReportFile(nullptr, Utf8ToWide(folderTarget.string()), {u"x"}));
  EXPECT_TRUE(fs::is_directory(folderTarget / "inside"));
  EXPECT_EQ(FilesIn(), 1u);
  EXPECT_EQ(host_.messages.size(), 2u);
}

TEST_F(ReportFileTest, AWriteFailureNamesTheFileAndKeepsTheOldOne) {
  const fs::path target = folder_ / "PWH Time Report.doc";
  std::ofstream(target) << "last week\n";
  {
    test::FileSizeLimit limit(1000);
    EXPECT_FALSE(WriteReportFile(nullptr, Utf8ToWide(target.string()), Lines(100, std::u16string(50, u'x'))));
  }
  EXPECT_EQ(Read(target), "last week\n");
  EXPECT_EQ(FilesIn(), 1u);
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text, u"Export file write failed: error code: (29). 1000 bytes written so far.\n\n" +
                                        Utf8ToWide(target.string()) + u"\n\n" + Utf8ToWide(std::strerror(EFBIG)));
  EXPECT_EQ(host_.messages[0].title, u"Pennywhistle Error");
}

}  // namespace
}  // namespace pw
