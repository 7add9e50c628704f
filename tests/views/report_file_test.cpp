#include "views/report_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

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
  return {std::istreambuf_iterator<char>(in), {}};
}

// Rows end in CR LF; only a row of exactly one space is blank. UTF-8 without a byte-order mark;
// a lone surrogate becomes U+FFFD.
TEST(ReportFileBytes, BlankRowsAndUtf8) {
  EXPECT_EQ(ReportFileBytes({u"Total: 2.00.", u" ", u" ", u"  ", u" a "}), "Total: 2.00.\r\n\r\n\r\n  \r\n a \r\n");
  EXPECT_EQ(ReportFileBytes({u"M\u00fcller \u20ac", u"\xD800"}), "M\xC3\xBCller \xE2\x82\xAC\r\n\xEF\xBF\xBD\r\n");
}

class ReportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::NewTestFolder("reports");
  }
  std::size_t FilesIn() const { return std::size_t(std::distance(fs::directory_iterator(folder_), {})); }

  test::ScriptedHost host_;
  fs::path folder_;
};

TEST_F(ReportFileTest, WritesEveryRowWholeAndReplacesAnOldFile) {
  const fs::path target = folder_ / "PWH Time Report.doc";
  std::ofstream(target) << "an older and much longer report that must not leave a tail behind\n";
  // A row far longer than the 2047 characters a row could once hold.
  ASSERT_TRUE(WriteReportFile(nullptr, Utf8ToWide(target.string()), {u"Report", std::u16string(5000, u'x')}));
  EXPECT_EQ(Read(target), "Report\r\n" + std::string(5000, 'x') + "\r\n");
  EXPECT_EQ(FilesIn(), 1u);  // no temporary file left beside it
  EXPECT_TRUE(host_.messages.empty());
}

// A replaced report keeps its permissions and a new one is private; the
// temporary files a killed save or export left in the folder are removed,
// nothing else is.
TEST_F(ReportFileTest, KeepsThePermissionsItReplacesAndClearsStaleTemporaries) {
  const fs::path target = folder_ / "r.doc";
  const char* stale[] = {".r.doc.pwh-tmp-a1B2c3", ".times.csv.pwh-tmp-ZZZZZZ"};
  const char* kept[] = {".r.doc.pwh-tmp-a1B2", "r.doc.pwh-tmp-a1B2c3", ".r.doc.XXXXXX"};
  for (const char* name : stale) std::ofstream(folder_ / name) << "half";
  for (const char* name : kept) std::ofstream(folder_ / name) << "other";
  for (const auto& [before, after] : {std::pair{0, 0600}, {0640, 0640}, {0604, 0604}}) {
    if (before) fs::permissions(target, fs::perms(before));
    else fs::remove(target);
    ASSERT_TRUE(WriteReportFile(nullptr, Utf8ToWide(target.string()), {u"x"}));
    EXPECT_EQ(int(fs::status(target).permissions()), after) << before;
  }
  for (const char* name : stale) EXPECT_FALSE(fs::exists(folder_ / name)) << name;
  EXPECT_EQ(FilesIn(), 1 + std::size(kept));
}

TEST_F(ReportFileTest, AFailedSaveLeavesTheOldFileAndNothingElse) {
  const fs::path missing = folder_ / "no such folder" / "r.doc";
  EXPECT_FALSE(WriteReportFile(nullptr, Utf8ToWide(missing.string()), {u"x"}));
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text.rfind(u"Failed to open file '" + Utf8ToWide(missing.string()) + u"'", 0), 0u);
  EXPECT_NE(host_.messages[0].text.find(u"error code: [3]"), std::u16string::npos);
  EXPECT_EQ(host_.messages[0].title, u"Pennywhistle Error");

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
}

}  // namespace
}  // namespace pw
