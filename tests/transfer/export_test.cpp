#include "transfer/export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "storage/pulldowns.h"
#include "text/fixed_text.h"
#include "support/file_size_limit.h"
#include "transfer_fixture.h"

namespace pw::test {
namespace {

// The sample records of the golden files.
TimeRecord WorkedDay() {
  TimeRecord r = Time(u"04/12/1999", u"Acme, Inc.", 1);
  r.startHour = 9, r.startMinute = 5, r.endHour = 5, r.endMinute = 30, r.endPm = true;
  CopyText(r.duration, u"08:25"), CopyText(r.project, u"Web"), CopyText(r.rate, u"120.00");
  CopyText(r.subproject, u"Design"), CopyText(r.task, u"Layout"), CopyText(r.currency, u"USD");
  CopyText(r.amount, u"1010.00"), CopyText(r.notes, u"Line one\nl\u00e9gal");
  return r;
}

ExpenseRecord Drive() {
  ExpenseRecord r = Expense(u"04/13/1999");
  CopyText(r.project, u"Web"), CopyText(r.description, u"Fuel"), CopyText(r.miles, u"12.5");
  CopyText(r.mileageRate, u"0.31"), CopyText(r.paymentType, u"Card"), CopyText(r.currency, u"EUR");
  CopyText(r.amount, u"3.88");
  r.mileage = r.billable = r.reimbursable = r.receipt = true;
  return r;
}

ExpenseRecord Taxi() {
  ExpenseRecord r = Expense(u"04/14/1999", u"\u5ba2\u6237");
  CopyText(r.description, u"Taxi \U0001F695"), CopyText(r.miles, u"5"), CopyText(r.amount, u"20");
  CopyText(r.notes, u"x");
  return r;
}

using ExportTest = TransferTest;

enum class Kind { Time, Expense, Pulldowns };

struct GoldenCase {
  const char* name;
  Kind kind;
  DelimitedFormat format;
  bool european;  // European dates and 24-hour times
  std::string bytes;
};

class ExportGoldenTest : public TransferTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(ExportGoldenTest, WritesTheFileByteForByte) {
  const GoldenCase& c = GetParam();
  TransferFormat = c.format;
  Configuration->UseEuropeanDateFormat = Configuration->UseEuropeanTimeFormat = c.european;
  const std::string path = Path("out.csv");
  int count = 0;
  if (c.kind == Kind::Time) {
    Put(TimeDatabase, Time(u"04/13/1999", u""));
    Put(TimeDatabase, WorkedDay());
    count = ExportRecordsToFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, {}, PWH_ALL_REC_MODE);
  } else if (c.kind == Kind::Expense) {
    Put(ExpenseDatabase, Taxi());
    Put(ExpenseDatabase, Drive());
    count = ExportRecordsToFile(nullptr, path, ExpenseDatabase, PWH_EXPENSE_MODE, {}, PWH_ALL_REC_MODE);
  } else {
    AddNewPulldownItem(nullptr, u"Acme", ConfigDatabase, PWH_PULLDOWN_CLIENT);
    AddNewPulldownItem(nullptr, u"120.00", ConfigDatabase, PWH_PULLDOWN_TIME_RATE);
    AddNewPulldownItem(nullptr, u"\u20ac", ConfigDatabase, PWH_PULLDOWN_CURRENCY);
    host.status.clear();
    count = ExportPulldownsToFile(nullptr, path, ConfigDatabase);
  }
  const bool lists = c.kind == Kind::Pulldowns;
  EXPECT_EQ(count, lists ? 3 : 2);
  EXPECT_EQ(ReadFile(path), c.bytes);
  EXPECT_EQ(Listing(), std::vector<std::string>{"out.csv"});  // no temporary file left behind
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages[0].text, u"Export to \n\n\"" + FileNameText(path) + u"\"\n\n completed !\n\nExported " +
                                       (lists ? u"3 pulldown element(s)" : u"2 record(s)") + u" successfully.");
  EXPECT_EQ(host.messages[0].title, u"Pennywhistle Info");
  EXPECT_EQ(host.statusHistory(PWH_STATUS_ACTIVITY),
            (std::vector<std::u16string>{lists ? u"exporting pulldowns..." : u"exporting...", u"idle"}));
}

const std::string kTimeHeader =
    "\"Date\",\"Start Time\",\"End Time\",\"Duration\",\"Client\",\"Project\",\"Rate\","
    "\"Subproject\",\"Task\",\"Currency\",\"Amount\",\"Billable\",\"Billed\",\"Notes\"\n";
const std::string kExpenseHeaderTab =
    "\"Date\"\t\"Client\"\t\"Project\"\t\"Description\"\t\"Miles\"\t\"Rate\"\t\"Payment\"\t"
    "\"Currency\"\t\"Amount\"\t\"Billable\"\t\"Billed\"\t\"Reimbursable\"\t\"Reimbursed\"\t"
    "\"Receipt\"\t\"Notes\"\n";

INSTANTIATE_TEST_SUITE_P(
    Files, ExportGoldenTest,
    ::testing::Values(
        GoldenCase{"time_defaults", Kind::Time, {}, false,
                   kTimeHeader +
                       "\"04/12/1999\",\"09:05 AM\",\"05:30 PM\",\"8.42\",\"Acme, Inc.\",\"Web\","
                       "\"120.00\",\"Design\",\"Layout\",\"USD\",\"1010.00\",\"yes\",\"no\","
                       "\"Line one\nl\xC3\xA9gal\",\n"
                       "\"04/13/1999\",\"--:--\",\"--:--\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
                       "\"no\",\"no\",\"\",\n"},
        GoldenCase{"time_semicolon_bare_european", Kind::Time, {u"", u";", u"\n"}, true,
                   "Date;Start Time;End Time;Duration;Client;Project;Rate;Subproject;Task;"
                   "Currency;Amount;Billable;Billed;Notes\n"
                   "12.04.1999;09:05;17:30;8.42;Acme, Inc.;Web;120.00;Design;Layout;USD;1010.00;"
                   "yes;no;Line one\nl\xC3\xA9gal;\n"
                   "13.04.1999;--:--;--:--;;;;;;;;;no;no;;\n"},
        GoldenCase{"time_own_record_delimiter", Kind::Time, {u"'", u",", u"|"}, false,
                   "'Date','Start Time','End Time','Duration','Client','Project','Rate',"
                   "'Subproject','Task','Currency','Amount','Billable','Billed','Notes'|"
                   "'04/12/1999','09:05 AM','05:30 PM','8.42','Acme, Inc.','Web','120.00',"
                   "'Design','Layout','USD','1010.00','yes','no','Line one\nl\xC3\xA9gal',|"
                   "'04/13/1999','--:--','--:--','','','','','','','','','no','no','',|"},
        GoldenCase{"expense_tab", Kind::Expense, {u"\"", u"\t", u"\n"}, false,
                   kExpenseHeaderTab +
                       "\"04/13/1999\"\t\"Acme\"\t\"Web\"\t\"Fuel\"\t\"12.5\"\t\"0.31\"\t\"Card\"\t"
                       "\"EUR\"\t\"3.88\"\t\"yes\"\t\"no\"\t\"yes\"\t\"no\"\t\"yes\"\t\"\"\t\n"
                       "\"04/14/1999\"\t\"\xE5\xAE\xA2\xE6\x88\xB7\"\t\"\"\t\"Taxi \xF0\x9F\x9A\x95\"\t"
                       "\"not applicable\"\t\"not applicable\"\t\"\"\t\"\"\t\"20\"\t\"no\"\t\"no\"\t"
                       "\"no\"\t\"no\"\t\"no\"\t\"x\"\t\n"},
        GoldenCase{"pulldowns_defaults", Kind::Pulldowns, {}, false,
                   "\"Client\",\"Acme\",\n\"Time Billing Rate\",\"120.00\",\n"
                   "\"Currency\",\"\xE2\x82\xAC\",\n"},
        GoldenCase{"pulldowns_apostrophe_semicolon", Kind::Pulldowns, {u"'", u";", u"\n"}, false,
                   "'Client';'Acme';\n'Time Billing Rate';'120.00';\n'Currency';'\xE2\x82\xAC';\n"}),
    [](const auto& info) { return info.param.name; });

struct SetCase {
  const char* name;
  int mode;
  std::vector<RecordPosition> positions;
  std::string clients;  // in file order
};

class ExportRecordSetTest : public TransferTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(ExportRecordSetTest, WritesTheChosenRecordsInListOrder) {
  for (auto* client : {u"A", u"B", u"C"}) Put(TimeDatabase, Time(u"04/12/1999", client));
  RecordPositionList list;
  for (RecordPosition p : GetParam().positions) list.Append(p);
  TransferFormat = {u"", u",", u"\n"};
  const std::string path = Path("set.csv");
  EXPECT_EQ(ExportRecordsToFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, {}, GetParam().mode, list),
            int(GetParam().clients.size()));
  const std::string file = ReadFile(path);
  std::string clients;  // past the header the clients are the only capitals
  for (char ch : file.substr(file.find('\n'))) if (ch >= 'A' && ch <= 'Z') clients += ch;
  EXPECT_EQ(clients, GetParam().clients);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ExportRecordSetTest,
    ::testing::Values(SetCase{"all", PWH_ALL_REC_MODE, {2}, "ABC"},
                      SetCase{"selected_in_list_order", PWH_SELECT_REC_MODE, {2, 0}, "CA"},
                      SetCase{"stops_at_a_missing_position", PWH_SELECT_REC_MODE, {1, 7, 0}, "B"},
                      SetCase{"other_mode_header_only", 0, {0, 1}, ""}),
    [](const auto& info) { return info.param.name; });

struct WarningCase {
  const char* name;
  DelimitedFormat format;
  std::vector<std::u16string> notes;
  std::u16string warning;  // empty: none
};

// The warning in full, from its count and what the texts hold, and the qualifier it suggests.
std::u16string Warning(std::u16string_view held, std::u16string_view suggested) {
  return std::u16string(held) + u" in their texts. They were written unchanged and will not import back as " +
         u"written.\n\nTo read them back, export again with the field qualifier " + std::u16string(suggested) +
         u", which none of the exported texts holds.";
}

class ExportWarningTest : public TransferTest, public ::testing::WithParamInterface<WarningCase> {};

TEST_P(ExportWarningTest, CountsRecordsThatWillNotReadBackAndSuggestsAQualifier) {
  TransferFormat = GetParam().format;
  for (const auto& note : GetParam().notes) {
    TimeRecord r = Time(u"04/12/1999");
    CopyText(r.notes, note);
    Put(TimeDatabase, r);
  }
  const std::string path = Path("warn.csv");
  ExportRecordsToFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, {}, PWH_ALL_REC_MODE);
  ASSERT_EQ(host.messages.size(), GetParam().warning.empty() ? 1u : 2u);
  if (GetParam().warning.empty()) return;
  EXPECT_EQ(host.messages[1].text, GetParam().warning);
  EXPECT_EQ(host.messages[1].title, u"Pennywhistle Export");
  EXPECT_EQ(host.messages[1].type, MB_OK | MB_ICONEXCLAMATION);
  // The texts themselves are written unchanged.
  EXPECT_NE(ReadFile(path).find(WideToUtf8(GetParam().notes[0])), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExportWarningTest,
    ::testing::Values(
        WarningCase{"clean", {}, {u"it's fine", u"a, b"}, u""},
        WarningCase{"double_quote", {}, {u"say \"hi\"", u"plain", u"a \"b\""},
                    Warning(u"2 exported record(s) hold the field qualifier '\"'", u"'''")},
        WarningCase{"both_quotes", {}, {u"say \"hi\"", u"it's"},
                    Warning(u"1 exported record(s) hold the field qualifier '\"'", u"'|'")},
        WarningCase{"bare_delimiter_or_break", {u"", u";", u"\n"}, {u"a;b", u"line\nbreak", u"ok"},
                    Warning(u"2 exported record(s) hold the field delimiter or a line break", u"'\"'")}),
    [](const auto& info) { return info.param.name; });

TEST_F(ExportTest, ACancelLeavesTheTargetAsItWas) {
  for (int i = 0; i < 600; ++i) Put(TimeDatabase, Time(u"04/12/1999"));
  const std::string path = Path("keep.csv");
  WriteFile(path, "earlier export\n");
  int reports = 0;
  EXPECT_EQ(ExportRecordsToFile(nullptr, path, TimeDatabase, PWH_TIME_MODE,
                                [&](int lines) { return ++reports < 2 && lines > 0; }, PWH_ALL_REC_MODE),
            0);
  EXPECT_EQ(reports, 2);
  EXPECT_EQ(ReadFile(path), "earlier export\n");
  EXPECT_EQ(Listing(), std::vector<std::string>{"keep.csv"});
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            u"Export to \n\n\"" + FileNameText(path) + u"\"\n\n was cancelled: the file was not written.");
}

// A disk that fills up halfway: both messages, the old export untouched,
// and nothing left beside it.
TEST_F(ExportTest, AWriteFailureKeepsTheOldFile) {
  {
    StoreTransaction group;
    for (int i = 0; i < 20000; ++i) Put(TimeDatabase, Time(u"04/12/1999", u"A client with a long enough name"));
  }
  const std::string path = Path("full.csv");
  WriteFile(path, "earlier export\n");
  {
    FileSizeLimit limit(64 * 1024);
    EXPECT_EQ(ExportRecordsToFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, {}, PWH_ALL_REC_MODE), 0);
  }
  EXPECT_EQ(ReadFile(path), "earlier export\n");
  EXPECT_EQ(Listing(), std::vector<std::string>{"full.csv"});
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, u"Export file write failed: error code: (27). 65536 bytes written so far.\n\n" +
                                       ErrorCauseText(EFBIG));
  EXPECT_EQ(host.messages[1].text, u"Export to \n\n\"" + FileNameText(path) + u"\"\n\n failed: " +
                                       ErrorCauseText(EFBIG) + u"\n\nThe file was not written.");
  for (const RecordedMessage& m : host.messages) EXPECT_EQ(m.type, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace
}  // namespace pw::test
