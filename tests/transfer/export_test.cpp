#include "transfer/export.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "storage/pulldowns.h"
#include "storage/record_operations.h"
#include "support/file_size_limit.h"
#include "transfer_fixture.h"

namespace pw::test {
namespace {

class ExportTest : public TransferTest {
 protected:
  // A finished export: the count, the file byte for byte, and its message.
  void ExpectWritten(int count, const std::string& name, const std::string& bytes, int n, std::u16string_view things) {
    EXPECT_EQ(count, n);
    EXPECT_EQ(ReadFile(Path(name)), bytes);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, u"Export to \n\n\"" + FileNameText(Path(name)) +
                                             Format(u"\"\n\n completed !\n\nExported %d %s successfully.", n, things));
  }
};

TEST_F(ExportTest, WritesTheFilesByteForByte) {
  AddNewPulldownItem(nullptr, u"Acme", ConfigDatabase, PWH_PULLDOWN_CLIENT);
  AddNewPulldownItem(nullptr, u"120.00", ConfigDatabase, PWH_PULLDOWN_TIME_RATE);
  AddNewPulldownItem(nullptr, u"\u20ac", ConfigDatabase, PWH_PULLDOWN_CURRENCY);
  Put(TimeDatabase, Time(u"04/13/1999", u""));
  Put(TimeDatabase, WorkedDay());
  Put(ExpenseDatabase, Taxi());
  Put(ExpenseDatabase, Drive());
  ExpectWritten(ExportRecordsToFile(nullptr, Path("time.csv"), TimeDatabase, PWH_TIME_MODE, PWH_ALL_REC_MODE, {},
                                    Options()),
                "time.csv",
                "\"Date\",\"Start Time\",\"End Time\",\"Duration\",\"Client\",\"Project\",\"Rate\","
                "\"Subproject\",\"Task\",\"Currency\",\"Amount\",\"Billable\",\"Billed\",\"Notes\"\n"
                "\"04/12/1999\",\"09:05 AM\",\"05:30 PM\",\"8.42\",\"Acme, Inc.\",\"Web\","
                "\"120.00\",\"Design\",\"Layout\",\"USD\",\"1010.00\",\"yes\",\"no\","
                "\"Line one\nl\xC3\xA9gal\",\n"
                "\"04/13/1999\",\"--:--\",\"--:--\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
                "\"no\",\"no\",\"\",\n",
                2, u"record(s)");
  state.TransferFormat = {u"\"", u"\t", u"\n"};
  ExpectWritten(ExportRecordsToFile(nullptr, Path("expense.csv"), ExpenseDatabase, PWH_EXPENSE_MODE,
                                    PWH_ALL_REC_MODE, {}, Options()),
                "expense.csv",
                "\"Date\"\t\"Client\"\t\"Project\"\t\"Description\"\t\"Miles\"\t\"Rate\"\t\"Payment\"\t"
                "\"Currency\"\t\"Amount\"\t\"Billable\"\t\"Billed\"\t\"Reimbursable\"\t\"Reimbursed\"\t"
                "\"Receipt\"\t\"Notes\"\n"
                "\"04/13/1999\"\t\"Acme\"\t\"Web\"\t\"Fuel\"\t\"12.5\"\t\"0.31\"\t\"Card\"\t"
                "\"EUR\"\t\"3.88\"\t\"yes\"\t\"no\"\t\"yes\"\t\"no\"\t\"yes\"\t\"\"\t\n"
                "\"04/14/1999\"\t\"\xE5\xAE\xA2\xE6\x88\xB7\"\t\"\"\t\"Taxi \xF0\x9F\x9A\x95\"\t"
                "\"not applicable\"\t\"not applicable\"\t\"\"\t\"\"\t\"20\"\t\"no\"\t\"no\"\t"
                "\"no\"\t\"no\"\t\"no\"\t\"x\"\t\n",
                2, u"record(s)");
  state.TransferFormat = {u"'", u";", u"\n"};
  ExpectWritten(ExportPulldownsToFile(nullptr, Path("lists.csv"), ConfigDatabase, Options()), "lists.csv",
                "'Client';'Acme';\n'Time Billing Rate';'120.00';\n'Currency';'\xE2\x82\xAC';\n", 3,
                u"pulldown element(s)");
  EXPECT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(FileCount(), 3);  // no temporary files
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

TEST_F(ExportTest, WritesTheChosenRecordsInListOrderUpToAMissingOne) {
  for (auto* client : {u"A", u"B", u"C"}) Put(TimeDatabase, Time(u"04/12/1999", client));
  RecordPositionList list;
  for (RecordPosition p : {2, 0, 7, 1}) list.Append(p);
  state.TransferFormat = {u"", u",", u"\n"};
  EXPECT_EQ(ExportRecordsToFile(nullptr, Path("set.csv"), TimeDatabase, PWH_TIME_MODE, PWH_SELECT_REC_MODE, list,
                                Options()),
            2);
  const std::string file = ReadFile(Path("set.csv"));
  std::string clients;  // past the header the clients are the only capitals
  for (char ch : file.substr(file.find('\n'))) if (ch >= 'A' && ch <= 'Z') clients += ch;
  EXPECT_EQ(clients, "CA");
}

TEST_F(ExportTest, CountsRecordsThatWillNotReadBackAndSuggestsAQualifier) {
  for (const auto* note : {u"say \"hi\"", u"it's", u"a;b\nc", u"a \"b\""}) {
    TimeRecord r = Time(u"04/12/1999");
    CopyText(r.notes, note);
    Put(TimeDatabase, r);
  }
  ExportRecordsToFile(nullptr, Path("warn.csv"), TimeDatabase, PWH_TIME_MODE, PWH_ALL_REC_MODE, {}, Options());
  EXPECT_NE(ReadFile(Path("warn.csv")).find("\"say \"hi\"\""), std::string::npos);  // written unchanged
  state.TransferFormat = {u"", u";", u"\n"};
  ExportRecordsToFile(nullptr, Path("warn.csv"), TimeDatabase, PWH_TIME_MODE, PWH_ALL_REC_MODE, {}, Options());
  ASSERT_EQ(host.messages.size(), 4u);
  EXPECT_EQ(host.messages[1].text,
            u"2 exported record(s) hold the field qualifier '\"' in their texts. They were written unchanged and will "
            u"not import back as written.\n\nTo read them back, export again with the field qualifier '|', which none "
            u"of the exported texts holds.");
  EXPECT_TRUE(host.messages[3].text.starts_with(u"1 exported record(s) hold the field delimiter or a line break"));
}

// A cancel, then a disk that fills up halfway: the old export untouched
// each time, and nothing left beside it.
TEST_F(ExportTest, ACancelOrAWriteFailureKeepsTheOldFile) {
  {
    StoreTransaction group;
    for (int i = 0; i < 20000; ++i) Put(TimeDatabase, Time(u"04/12/1999", u"A client with a long enough name"));
  }
  const std::string path = Path("keep.csv");
  WriteFile(path, "earlier export\n");
  const auto expectKept = [&] {
    EXPECT_EQ(ReadFile(path), "earlier export\n");
    EXPECT_EQ(FileCount(), 1);
  };
  int reports = 0;
  EXPECT_EQ(ExportRecordsToFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, PWH_ALL_REC_MODE, {}, Options(),
                                [&](int lines) { return ++reports < 2 && lines > 0; }),
            0);
  EXPECT_EQ(reports, 2);
  expectKept();
  {
    FileSizeLimit limit(64 * 1024);
    EXPECT_EQ(ExportRecordsToFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, PWH_ALL_REC_MODE, {}, Options()), 0);
  }
  expectKept();
  ASSERT_EQ(host.messages.size(), 3u);
  const std::u16string name = u"Export to \n\n\"" + FileNameText(path) + u"\"\n\n ";
  EXPECT_EQ(host.messages[0].text, name + u"was cancelled: the file was not written.");
  EXPECT_EQ(host.messages[1].text, u"Export file write failed: error code: (27). 65536 bytes written so far.\n\n" +
                                       ErrorCauseText(EFBIG));
  EXPECT_EQ(host.messages[2].text, name + u"failed: " + ErrorCauseText(EFBIG) + u"\n\nThe file was not written.");
  EXPECT_EQ(host.messages[2].type, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace
}  // namespace pw::test
