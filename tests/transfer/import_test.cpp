#include "transfer/import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "storage/pulldowns.h"
#include "storage/record_operations.h"
#include "text/fixed_text.h"
#include "transfer/export.h"
#include "support/locale_guard.h"
#include "transfer_fixture.h"

namespace pw::test {
namespace {

using ImportTest = TransferTest;

TimeRecord Worked(std::u16string_view date, std::u16string_view text) {
  TimeRecord r = Time(date, text, 1, 1);
  r.startHour = 8, r.startMinute = 30, r.endHour = 0, r.endMinute = 0, r.endPm = true;  // noon
  CopyText(r.duration, u"3:30"), CopyText(r.project, text), CopyText(r.rate, u"120.50");
  CopyText(r.subproject, text), CopyText(r.task, text), CopyText(r.currency, u"EUR"), CopyText(r.amount, text);
  CopyText(r.notes, std::u16string(text) + u" " + std::u16string(text));
  return r;
}

ExpenseRecord Spent(std::u16string_view date, std::u16string_view text, bool mileage) {
  ExpenseRecord r = Expense(date, text);
  CopyText(r.project, text), CopyText(r.description, text), CopyText(r.paymentType, text);
  CopyText(r.currency, text), CopyText(r.amount, u"3.88"), CopyText(r.notes, text);
  r.mileage = mileage, r.billed = r.reimbursed = true;
  if (mileage) CopyText(r.miles, u"12.5"), CopyText(r.mileageRate, u"0.31");
  return r;
}

struct RoundTripCase {
  const char* name;
  DelimitedFormat format;
  std::u16string text;  // in every text field of the records
  const char* locale;
  bool european;
};

class RoundTripTest : public ImportTest, public ::testing::WithParamInterface<RoundTripCase> {
 protected:
  template <class Record>
  void ExpectRoundTrip(DatabaseHandle& db, int mode, const std::vector<Record>& records) {
    AppMode = mode;
    for (const Record& r : records) Put(db, r);
    const std::vector<Record> before = ReadAll<Record>(db);
    const std::string path = Path("trip.csv");
    ASSERT_EQ(ExportRecordsToFile(nullptr, path, db, mode, {}, PWH_ALL_REC_MODE), int(records.size()));
    ASSERT_EQ(DeleteMultipleRecords(nullptr, db, PWH_ALL_REC_MODE), int(records.size()));
    host.messages.clear();
    EXPECT_EQ(ImportRecordsFromFile(nullptr, path, db, mode), int(records.size()));
    const std::vector<Record> after = ReadAll<Record>(db);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Dump(after[i]), Dump(before[i]));
    // The header line is the one line skipped, for its date.
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[0].text.find(u"Possible reason: invalid record date string."), std::u16string::npos);
    EXPECT_NE(host.messages[1].text.find(Format(u"Imported %d record(s) successfully.", int(records.size()))),
              std::u16string::npos);
  }
};

TEST_P(RoundTripTest, RecordsComeBackWhole) {
  const RoundTripCase& c = GetParam();
  LocaleGuard locale(c.locale);
  if (!locale.ok()) GTEST_SKIP() << c.locale << " is not installed";
  TransferFormat = c.format;
  Configuration->UseEuropeanDateFormat = Configuration->UseEuropeanTimeFormat = c.european;
  {
    SCOPED_TRACE("time records");
    ExpectRoundTrip<TimeRecord>(TimeDatabase, PWH_TIME_MODE,
                                {Worked(u"12/31/2009", c.text), Worked(u"01/02/2000", u"plain")});
  }
  SCOPED_TRACE("expense records");
  ExpectRoundTrip<ExpenseRecord>(ExpenseDatabase, PWH_EXPENSE_MODE,
                                 {Spent(u"12/31/2009", c.text, true), Spent(u"01/02/2000", u"plain", false)});
}

const std::u16string kEverything = u"Comma, it's \u00e9 \u5ba2\u6237 \U0001F695\r\nnext line";

INSTANTIATE_TEST_SUITE_P(
    Framings, RoundTripTest,
    ::testing::Values(
        RoundTripCase{"defaults", {}, kEverything, "C.UTF-8", false},
        RoundTripCase{"defaults_german_locale", {}, kEverything, "de_DE.UTF-8", false},
        RoundTripCase{"tab", {u"\"", u"\t", u"\n"}, kEverything + u"\tx", "C.UTF-8", true},
        RoundTripCase{"apostrophe", {u"'", u",", u"\n"}, u"say \"hi\", \u00e9\nok", "C.UTF-8", false},
        RoundTripCase{"bare_semicolon", {u"", u";", u"\n"}, u"a, \"b\" 'c' \u00e9 \U0001F695", "de_DE.UTF-8", true},
        RoundTripCase{"no_field_delimiter", {u"\"", u"", u"\n"}, kEverything, "C.UTF-8", false},
        RoundTripCase{"own_record_delimiter", {u"\"", u",", u"#"}, kEverything, "C.UTF-8", false}),
    [](const auto& info) { return info.param.name; });

// A time line as exported, with fields replaced by index; bytes as given.
std::string Line(std::initializer_list<std::pair<int, std::string>> changes = {}) {
  std::string f[14] = {"04/12/1999", "09:00 AM", "10:00 AM", "1", "A", "", "1", "", "", "", "", "yes", "no", ""};
  for (const auto& [i, text] : changes) f[i] = text;
  std::string line;
  for (const auto& field : f) line += "\"" + field + "\",";
  return line + "\n";
}

struct LinesCase {
  const char* name;
  std::string tail;                     // after a first good line
  std::vector<std::u16string> stored;  // client|notes of every record stored
  std::vector<std::u16string> skipReasons;
};

class ImportLinesTest : public ImportTest, public ::testing::WithParamInterface<LinesCase> {};

TEST_P(ImportLinesTest, ReadsEveryLineWholeSkipsBadOnesAndStopsAtTheFirstEmptyOne) {
  const std::string path = Path("lines.csv");
  WriteFile(path, Line() + GetParam().tail);
  EXPECT_EQ(ImportRecordsFromFile(MainWindow, path, TimeDatabase, PWH_TIME_MODE), int(GetParam().stored.size()));
  std::vector<std::u16string> reasons;
  for (const auto& m : host.messages) {
    if (m.title != u"PWH Time Import") continue;
    EXPECT_TRUE(m.text.starts_with(u"The following record has import format problems:\n\n"));
    EXPECT_TRUE(m.text.ends_with(u".\n\nSkipping record."));
    const std::size_t at = m.text.find(u"Possible reason: ") + 17;
    reasons.push_back(m.text.substr(at, m.text.size() - at - 19));
  }
  EXPECT_EQ(reasons, GetParam().skipReasons);
  std::vector<std::u16string> stored;
  for (const TimeRecord& r : ReadAll<TimeRecord>(TimeDatabase)) stored.push_back(Format(u"%s|%s", TextOf(r.client), TextOf(r.notes)));
  EXPECT_EQ(stored, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportLinesTest,
    ::testing::Values(
        LinesCase{"blank_line_ends", "\n" + Line(), {u"A|"}, {}},
        LinesCase{"unclosed_qualifier", "\"04/12/1999\",\"x", {u"A|"}, {u"unexpected end of data string"}},
        LinesCase{"empty_start_no_duration", Line({{1, ""}, {2, ""}, {3, "--:--"}, {4, "B"}}) + Line(), {u"A|", u"A|"},
                  {u"need to have either valid start time, or duration string"}},
        LinesCase{"bad_rate", Line({{4, "B"}, {6, "much"}}), {u"A|"},
                  {u"invalid record billability rate string (should be numeric: 120.30, etc.)"}},
        LinesCase{"windows_1252_lines_keep_their_accents",
                  Line({{0, "04/13/1999"}, {4, "\x80 Caf\xE9 M\xFCller"}, {13, "na\xEFve"}}) +
                      Line({{0, "04/14/1999"}, {4, "Caf\xC3\xA9"}}),
                  {u"A|", u"\u20ac Caf\u00e9 M\u00fcller|na\u00efve", u"Caf\u00e9|"}, {}},
        LinesCase{"very_long_line_read_whole_and_its_texts_cut",
                  Line({{0, "04/13/1999"}, {4, std::string(300, 'c')}, {13, std::string(100000, 'n')}}) +
                      Line({{0, "04/14/1999"}, {4, "next"}}),
                  {u"A|", std::u16string(254, u'c') + u"|" + std::u16string(2047, u'n'), u"next|"}, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(ImportTest, ACancelKeepsWhatWasStoredAndSaysHowMuch) {
  std::string file;
  for (int i = 0; i < 1000; ++i) file += Line();
  const std::string path = Path("big.csv");
  WriteFile(path, file);
  const int imported = ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE,
                                             [](int lines) { return lines < 512; });
  EXPECT_EQ(imported, 512);
  EXPECT_EQ(ReadAll<TimeRecord>(TimeDatabase).size(), 512u);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, u"Import from \n\n\"" + FileNameText(path) +
                                       u"\"\n\n was cancelled.\n\nImported 512 record(s) successfully before the stop.");
  // Stored for good: a fresh look at the file sees them.
  TimeDatabase.Close(), ExpenseDatabase.Close(), ConfigDatabase.Close();
  CloseObjectStore();
  ASSERT_TRUE(OpenObjectStore(path_));
  OpenRecordDatabases();
  EXPECT_EQ(ReadAll<TimeRecord>(TimeDatabase).size(), 512u);
}

TEST_F(ImportTest, AFileOrFolderThatIsNotThereIsNamed) {
  const std::string none = Path("none.csv"), folderless = Path("missing/out.csv");
  EXPECT_EQ(ImportPulldownsFromFile(nullptr, none), 0);
  EXPECT_EQ(ExportPulldownsToFile(nullptr, folderless, ConfigDatabase), 0);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(host.messages[0].text.starts_with(u"Pulldown import file '" + FileNameText(none) +
                                                u"' open failed: error code: (2)."));
  EXPECT_TRUE(host.messages[1].text.starts_with(u"Export file '" + FileNameText(folderless) +
                                                u"' open failed: error code: (2)."));
  EXPECT_EQ(host.messages[1].title, u"Pennywhistle Error");
}

std::vector<std::u16string> Listed(int category) {
  std::vector<std::u16string> out;
  InitPulldown(nullptr, ConfigDatabase, [&](std::u16string_view t) { out.emplace_back(t); }, category);
  return out;
}

TEST_F(ImportTest, PulldownLinesAddWhatIsNotListedAndCountEveryEntry) {
  AddNewPulldownItem(nullptr, u"Acme", ConfigDatabase, PWH_PULLDOWN_CLIENT);
  const std::string path = Path("lists.csv");
  WriteFile(path,
            "\"Client\",\"Acme\",\n\"Client\",\"Zeta\",\n\"client\",\"Low\",\n\"Project\",\"Acme\",\n"
            "\"Client\",\"Zeta\",\n\"Task\",\"n/a\",\n");
  EXPECT_EQ(ImportPulldownsFromFile(nullptr, path), 5);
  EXPECT_EQ(Listed(PWH_PULLDOWN_CLIENT), (std::vector<std::u16string>{u"Acme", u"Zeta"}));
  EXPECT_EQ(Listed(PWH_PULLDOWN_PROJECT), (std::vector<std::u16string>{u"Acme"}));
  EXPECT_TRUE(Listed(PWH_PULLDOWN_TASK).empty());
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].title, u"PWH Pulldown Import");
  EXPECT_TRUE(host.messages[0].text.starts_with(u"The following pulldown entry has import format problems:\n\n\"client\",\"Low\","));
  EXPECT_TRUE(host.messages[1].text.ends_with(u"Imported 5 pulldown element(s) successfully."));
}

TEST_F(ImportTest, RecordTextsJoinTheListsOnlyWhenAsked) {
  using Texts = std::vector<std::u16string>;
  AddNewPulldownItem(nullptr, u"A", ConfigDatabase, PWH_PULLDOWN_CLIENT);
  const std::string path = Path("offer.csv");
  WriteFile(path, Line() + Line({{4, "B"}, {6, "n/a"}}) + Line());
  for (int flag : {0, 1}) {
    ImportIntoPulldowns = std::uint8_t(flag);
    EXPECT_EQ(ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE), 3);
    EXPECT_EQ(Listed(PWH_PULLDOWN_CLIENT), (flag ? Texts{u"A", u"B"} : Texts{u"A"})) << flag;
    EXPECT_EQ(Listed(PWH_PULLDOWN_TIME_RATE), (flag ? Texts{u"1"} : Texts{})) << flag;
  }
  EXPECT_TRUE(Listed(PWH_PULLDOWN_PROJECT).empty());
}

}  // namespace
}  // namespace pw::test
