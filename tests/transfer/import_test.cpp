#include "transfer/import.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "storage/pulldowns.h"
#include "storage/record_operations.h"
#include "transfer/export.h"
#include "transfer/import_note.h"
#include "support/locale_guard.h"
#include "transfer_fixture.h"

namespace pw::test {
namespace {

using ImportTest = TransferTest;

struct RoundTripCase {
  const char* name;
  DelimitedFormat format;
  std::u16string text;  // in the client and the notes
  const char* locale;
  bool european;
};

class RoundTripTest : public ImportTest, public ::testing::WithParamInterface<RoundTripCase> {
 protected:
  // Export, import into the emptied database, export again: the same bytes.
  template <class Record>
  void ExpectRoundTrip(DatabaseHandle& db, int mode, const std::vector<Record>& records) {
    AppMode = mode;
    for (const Record& r : records) Put(db, r);
    const int n = int(records.size());
    const std::string first = Path("first.csv"), second = Path("second.csv");
    ASSERT_EQ(ExportRecordsToFile(nullptr, first, db, mode, PWH_ALL_REC_MODE, {}, Options()), n);
    ASSERT_EQ(DeleteMultipleRecords(nullptr, db, PWH_ALL_REC_MODE, {}), n);
    host.messages.clear();
    EXPECT_EQ(ImportRecordsFromFile(nullptr, first, db, mode, ConfigDatabase, Options()), n);
    EXPECT_EQ(host.messages.size(), 1u);  // the outcome alone: the header line is skipped silently
    ASSERT_EQ(ExportRecordsToFile(nullptr, second, db, mode, PWH_ALL_REC_MODE, {}, Options()), n);
    EXPECT_EQ(ReadFile(second), ReadFile(first));
  }
};

TEST_P(RoundTripTest, RecordsComeBackWhole) {
  const RoundTripCase& c = GetParam();
  LocaleGuard locale(c.locale);
  state.TransferFormat = c.format;
  Configuration->UseEuropeanDateFormat = Configuration->UseEuropeanTimeFormat = c.european;
  // The texts go where a framing fault shows: in the middle and at the end of a line.
  // And the values the program stores that a strict reading refused or changed: empty and "n/a" numbers,
  // 3.85 hours (3:51), a billable of 5, a record without start and end.
  TimeRecord time = WorkedDay(), other = WorkedDay(), odd = Time(u"01/02/2010", u"", 5, 1), noTimes = odd;
  CopyText(time.client, c.text), CopyText(time.notes, c.text), CopyText(other.date, u"12/31/2009");
  CopyText(other.notes, u"plain"), CopyText(other.rate, u""), CopyText(other.amount, u"");
  odd.startHour = 9, odd.endMinute = 51, odd.endPm = true;  // 09:00 AM to 12:51 PM
  CopyText(odd.duration, u"3:51"), CopyText(odd.rate, u"n/a"), CopyText(noTimes.duration, u"0:59");
  ExpenseRecord expense = Drive(), none = Drive();
  CopyText(expense.client, c.text), CopyText(expense.notes, c.text);
  CopyText(none.miles, u"n/a"), CopyText(none.mileageRate, u""), CopyText(none.amount, u"");
  {
    SCOPED_TRACE("time records");
    ExpectRoundTrip<TimeRecord>(TimeDatabase, PWH_TIME_MODE, {time, other, odd, noTimes});
  }
  SCOPED_TRACE("expense records");
  ExpectRoundTrip<ExpenseRecord>(ExpenseDatabase, PWH_EXPENSE_MODE, {expense, Taxi(), none});
}

const std::u16string kEverything = u"Comma, it's \u00e9 \u5ba2\u6237 \U0001F695\r\nnext line";

INSTANTIATE_TEST_SUITE_P(
    Framings, RoundTripTest,
    ::testing::Values(
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

// Lines are read whole, each in its own encoding, and a bad one is skipped.
TEST_F(ImportTest, ReadsEveryLineWholeAndSkipsBadOnes) {
  const std::string path = Path("lines.csv");
  const std::string noStart = Line({{1, ""}, {2, ""}, {3, "--:--"}, {4, "B"}});
  WriteFile(path, Line() + noStart + Line({{0, "04/13/1999"}, {4, "\x80 Caf\xE9 M\xFCller"}, {13, "na\xEFve"}}) +
                      Line({{0, "04/14/1999"}, {4, "Caf\xC3\xA9"}}) + "\"04/12/1999\",\"x");
  EXPECT_EQ(ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, ConfigDatabase, Options()), 3);
  std::vector<std::u16string> stored;
  for (const TimeRecord& r : ReadAll<TimeRecord>(TimeDatabase)) stored.push_back(Format(u"%s|%s", TextOf(r.client), TextOf(r.notes)));
  EXPECT_EQ(stored, (std::vector<std::u16string>{u"A|", u"\u20ac Caf\u00e9 M\u00fcller|na\u00efve", u"Caf\u00e9|"}));
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[0].text, u"Line 2: The following record has import format problems:\n\n" + Utf8ToWide(noStart.substr(0, noStart.size() - 1)) +
                                       u"\n\nPossible reason: need to have either valid start time, or duration string.\n\nSkipping record.");
  EXPECT_EQ(host.messages[0].type, MB_OKSKIPALL | MB_ICONEXCLAMATION);
  EXPECT_TRUE(host.messages[1].text.starts_with(u"Line 5: "));
  EXPECT_NE(host.messages[1].text.find(u"Possible reason: unexpected end of data string."), std::u16string::npos);
  EXPECT_TRUE(host.messages[2].text.ends_with(u"Imported 3 record(s) successfully.\n\nSkipped 2 line(s)."));
}

TEST_F(ImportTest, SkipAllAndToAllAnswersHoldForTheRestOfTheImport) {
  const std::string garbage = Path("garbage.csv"), european = Path("european.csv"), empty = Path("empty.csv");
  WriteFile(garbage, "garbage\n" + Line() + "\x01\x02\xff\xfe\n" + Line({{0, "02/30/2026"}}) + Line());
  host.Answer(IDSKIPALL);
  EXPECT_EQ(ImportRecordsFromFile(nullptr, garbage, TimeDatabase, PWH_TIME_MODE, ConfigDatabase, Options()), 2);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(host.messages[0].text.starts_with(u"Line 1: The following record has import format problems:\n\ngarbage"));
  EXPECT_TRUE(host.messages[1].text.ends_with(u"Imported 2 record(s) successfully.\n\nSkipped 3 line(s)."));
  // A date question answered for all: asked once; No to All then leaves every line a problem line.
  WriteFile(european, Line({{0, "12.04.1999"}}) + Line({{0, "13.04.1999"}}) + Line({{0, "14.04.1999"}}));
  for (const auto& [answer, imported] : {std::pair(IDYESTOALL, 3), std::pair(IDNOTOALL, 0)}) {
    host.messages.clear(), host.answers.clear();
    host.Answer(answer), host.Answer(IDSKIPALL);
    EXPECT_EQ(ImportRecordsFromFile(nullptr, european, TimeDatabase, PWH_TIME_MODE, ConfigDatabase, Options()), imported);
    ASSERT_EQ(host.messages.size(), imported ? 2u : 3u);
    EXPECT_EQ(host.messages[0].type, MB_YESNOALL | MB_ICONQUESTION | MB_DEFBUTTON2);
  }
  WriteFile(empty, "");  // a 0-byte file still ends with its message
  EXPECT_EQ(ImportRecordsFromFile(nullptr, empty, TimeDatabase, PWH_TIME_MODE, ConfigDatabase, Options()), 0);
  EXPECT_TRUE(host.messages.back().text.ends_with(u"Imported 0 record(s) successfully."));
}

TEST_F(ImportTest, ACancelKeepsWhatWasStoredAndSaysHowMuch) {
  std::string file;
  for (int i = 0; i < 1000; ++i) file += Line();
  const std::string path = Path("big.csv");
  WriteFile(path, file);
  EXPECT_EQ(ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, ConfigDatabase, Options(),
                                  [](int lines) { return lines < 512; }),
            512);
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

// While an import runs the settings say which file and how many of its lines
// are stored (at each stored group): a start after a kill at that moment says
// so once. An import that ends leaves no note.
TEST_F(ImportTest, AnImportCutShortIsReportedAtTheNextStart) {
  std::string file;
  for (int i = 0; i < 16700; ++i) file += Line();
  const std::string path = Path("long.csv");
  WriteFile(path, file);
  const auto killedNow = [&](int lines) { return lines != 16640 || (ReportUnfinishedImport(nullptr), true); };
  EXPECT_EQ(ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, ConfigDatabase, Options(), killedNow),
            16700);
  ReportUnfinishedImport(nullptr);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, u"The last import from\n\n\"" + FileNameText(path) +
                                       u"\"\n\ndid not finish: Pennywhistle ended after storing 16384 of its lines. "
                                       u"Importing the whole file again would store those lines a second time.");
}

TEST_F(ImportTest, AFileOrFolderThatIsNotThereIsNamed) {
  const std::string none = Path("none.csv"), folderless = Path("missing/out.csv");
  EXPECT_EQ(ImportPulldownsFromFile(nullptr, none, ConfigDatabase, Options()), 0);
  EXPECT_EQ(ExportPulldownsToFile(nullptr, folderless, ConfigDatabase, Options()), 0);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, u"Pulldown import file '" + FileNameText(none) +
                                       u"' open failed: error code: (2).\n\n" + ErrorCauseText(ENOENT));
  EXPECT_TRUE(host.messages[1].text.starts_with(u"Export file '" + FileNameText(folderless) + u"' open failed"));
}

std::vector<std::u16string> Listed(DatabaseHandle& db, int category) {
  std::vector<std::u16string> out;
  InitPulldown(nullptr, db, [&](std::u16string_view t) { out.emplace_back(t); }, category);
  return out;
}

TEST_F(ImportTest, PulldownLinesAddWhatIsNotListedAndCountEveryEntry) {
  AddNewPulldownItem(nullptr, u"Acme", ConfigDatabase, PWH_PULLDOWN_CLIENT);
  const std::string path = Path("lists.csv");
  WriteFile(path,
            "\"Client\",\"Acme\",\n\"Client\",\"Zeta\",\n\"client\",\"Low\",\n\"Project\",\"Acme\",\n"
            "\"Client\",\"Zeta\",\n\"Task\",\"n/a\",\n" +  // texts holding a NUL end there: one "ab"
                std::string("\"Task\",\"ab\",\n\"Task\",\"ab\0x\",\n\"Task\",\"ab\0y\",\n", 43));
  EXPECT_EQ(ImportPulldownsFromFile(nullptr, path, ConfigDatabase, Options()), 8);
  EXPECT_EQ(Listed(ConfigDatabase, PWH_PULLDOWN_CLIENT), (std::vector<std::u16string>{u"Acme", u"Zeta"}));
  EXPECT_EQ(Listed(ConfigDatabase, PWH_PULLDOWN_PROJECT), (std::vector<std::u16string>{u"Acme"}));
  EXPECT_EQ(Listed(ConfigDatabase, PWH_PULLDOWN_TASK), (std::vector<std::u16string>{u"ab"}));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(host.messages[0].text.starts_with(u"Line 3: The following pulldown entry has import format problems:\n\n\"client\",\"Low\","));
  EXPECT_TRUE(host.messages[1].text.ends_with(u"Imported 8 pulldown element(s) successfully.\n\nSkipped 1 line(s)."));
}

TEST_F(ImportTest, RecordTextsJoinTheListsOnlyWhenAsked) {
  using Texts = std::vector<std::u16string>;
  AddNewPulldownItem(nullptr, u"A", ConfigDatabase, PWH_PULLDOWN_CLIENT);
  const std::string path = Path("offer.csv");
  WriteFile(path, Line() + Line({{4, "B"}, {6, "n/a"}}) + Line());
  for (int flag : {0, 1}) {
    state.ImportIntoPulldowns = std::uint8_t(flag);
    EXPECT_EQ(ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE, ConfigDatabase, Options()), 3);
    EXPECT_EQ(Listed(ConfigDatabase, PWH_PULLDOWN_CLIENT), (flag ? Texts{u"A", u"B"} : Texts{u"A"})) << flag;
    EXPECT_EQ(Listed(ConfigDatabase, PWH_PULLDOWN_TIME_RATE), (flag ? Texts{u"1"} : Texts{})) << flag;
  }
  EXPECT_TRUE(Listed(ConfigDatabase, PWH_PULLDOWN_PROJECT).empty());
}

}  // namespace
}  // namespace pw::test
