#include "transfer/import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "storage/pulldowns.h"
#include "storage/record_operations.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "transfer/export.h"
#include "support/locale_guard.h"
#include "transfer_fixture.h"

namespace pw::test {
namespace {

using ImportTest = TransferTest;

TimeRecord Worked(std::u16string_view date, std::u16string_view text) {
  TimeRecord r = Time(date, text);
  r.startHour = 8, r.startMinute = 30, r.endHour = 0, r.endMinute = 0, r.endPm = true;  // noon
  CopyText(r.duration, u"3:30");
  CopyText(r.project, text), CopyText(r.rate, u"120.50"), CopyText(r.subproject, text);
  CopyText(r.task, text), CopyText(r.currency, u"EUR"), CopyText(r.amount, text);
  r.billable = 1, r.billed = 1;
  CopyText(r.notes, std::u16string(text) + u" " + std::u16string(text));
  return r;
}

ExpenseRecord Spent(std::u16string_view date, std::u16string_view text, bool mileage) {
  ExpenseRecord r = Expense(date, text);
  CopyText(r.project, text), CopyText(r.description, text), CopyText(r.paymentType, text);
  r.mileage = mileage;
  if (mileage) CopyText(r.miles, u"12.5"), CopyText(r.mileageRate, u"0.31");
  CopyText(r.currency, text), CopyText(r.amount, u"3.88");
  r.billed = r.reimbursed = true;
  CopyText(r.notes, text);
  return r;
}

std::u16string Dump(const TimeRecord& r) {
  return std::u16string(TextOf(r.date)) + u"|" + std::u16string(1, char16_t(u'0' + r.startHour)) +
         u"|" + TextOf(r.duration).data() + u"|" + TextOf(r.client).data() + u"|" +
         TextOf(r.project).data() + u"|" + TextOf(r.rate).data() + u"|" + TextOf(r.subproject).data() +
         u"|" + TextOf(r.task).data() + u"|" + TextOf(r.currency).data() + u"|" + TextOf(r.amount).data() +
         u"|" + char16_t(u'0' + r.billable) + char16_t(u'0' + r.billed) + char16_t(u'0' + r.endPm) +
         u"|" + TextOf(r.notes).data();
}

std::u16string Dump(const ExpenseRecord& r) {
  return std::u16string(TextOf(r.date)) + u"|" + TextOf(r.client).data() + u"|" +
         TextOf(r.project).data() + u"|" + TextOf(r.description).data() + u"|" +
         char16_t(u'0' + r.mileage) + TextOf(r.miles).data() + u"|" + TextOf(r.mileageRate).data() +
         u"|" + TextOf(r.paymentType).data() + u"|" + TextOf(r.currency).data() + u"|" +
         TextOf(r.amount).data() + u"|" + char16_t(u'0' + r.billable) + char16_t(u'0' + r.billed) +
         char16_t(u'0' + r.reimbursable) + char16_t(u'0' + r.reimbursed) + char16_t(u'0' + r.receipt) +
         u"|" + TextOf(r.notes).data();
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

TEST_P(RoundTripTest, TimeRecordsComeBackWhole) {
  const RoundTripCase& c = GetParam();
  test::LocaleGuard locale(c.locale);
  if (!locale.ok()) GTEST_SKIP() << c.locale << " is not installed";
  TransferFormat = c.format;
  Configuration->UseEuropeanDateFormat = Configuration->UseEuropeanTimeFormat = c.european;
  ExpectRoundTrip<TimeRecord>(TimeDatabase, PWH_TIME_MODE,
                              {Worked(u"12/31/2009", c.text), Worked(u"01/02/2000", u"plain")});
}

TEST_P(RoundTripTest, ExpenseRecordsComeBackWhole) {
  const RoundTripCase& c = GetParam();
  test::LocaleGuard locale(c.locale);
  if (!locale.ok()) GTEST_SKIP() << c.locale << " is not installed";
  TransferFormat = c.format;
  Configuration->UseEuropeanDateFormat = Configuration->UseEuropeanTimeFormat = c.european;
  AppMode = PWH_EXPENSE_MODE;
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

TEST_F(ImportTest, Windows1252LinesKeepTheirAccents) {
  const std::string line =
      "\"04/12/1999\",\"09:00 AM\",\"10:00 AM\",\"1.00\",\"Caf\xE9 M\xFCller\",\"\x80 project\",\"n/a\","
      "\"\",\"\",\"\",\"\",\"no\",\"no\",\"na\xEFve\",\n";
  const std::string path = Path("old.csv");
  WriteFile(path, line + "\"04/13/1999\",\"09:00 AM\",\"10:00 AM\",\"1.00\",\"Caf\xC3\xA9\",\"\",\"n/a\",\"\",\"\",\"\",\"\",\"no\",\"no\",\"\",\n");
  ASSERT_EQ(ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE), 2);
  const auto records = ReadAll<TimeRecord>(TimeDatabase);
  EXPECT_EQ(TextOf(records[0].client), u"Caf\u00e9 M\u00fcller");
  EXPECT_EQ(TextOf(records[0].project), u"\u20ac project");
  EXPECT_EQ(TextOf(records[0].notes), u"na\u00efve");
  EXPECT_EQ(TextOf(records[1].client), u"Caf\u00e9");
}

TEST_F(ImportTest, AVeryLongLineIsReadWholeAndItsTextsCut) {
  const std::string notes(100000, 'n');
  const std::string client(300, 'c');
  const std::string path = Path("long.csv");
  WriteFile(path, "\"04/12/1999\",\"09:00 AM\",\"10:00 AM\",\"1\",\"" + client +
                      "\",\"\",\"1\",\"\",\"\",\"\",\"\",\"yes\",\"no\",\"" + notes + "\",\n" +
                      "\"04/13/1999\",\"09:00 AM\",\"10:00 AM\",\"1\",\"next\",\"\",\"1\",\"\",\"\",\"\",\"\",\"yes\",\"no\",\"\",\n");
  ASSERT_EQ(ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE), 2);
  const auto records = ReadAll<TimeRecord>(TimeDatabase);
  EXPECT_EQ(TextOf(records[0].client).size(), 254u);
  EXPECT_EQ(TextOf(records[0].notes).size(), 2047u);
  EXPECT_EQ(TextOf(records[1].client), u"next");
}

struct StopCase {
  const char* name;
  std::string tail;  // after the first data line
  int imported;
  std::vector<std::u16string> skipReasons;
};

class ImportStopTest : public ImportTest, public ::testing::WithParamInterface<StopCase> {};

const std::string kGoodLine =
    "\"04/12/1999\",\"09:00 AM\",\"10:00 AM\",\"1\",\"A\",\"\",\"1\",\"\",\"\",\"\",\"\",\"yes\",\"no\",\"\",\n";

TEST_P(ImportStopTest, SkipsBadLinesAndStopsAtTheFirstEmptyOne) {
  const std::string path = Path("stop.csv");
  WriteFile(path, kGoodLine + GetParam().tail);
  EXPECT_EQ(ImportRecordsFromFile(MainWindow, path, TimeDatabase, PWH_TIME_MODE), GetParam().imported);
  std::vector<std::u16string> reasons;
  for (const auto& m : host.messages) {
    if (m.title != u"PWH Time Import") continue;
    EXPECT_TRUE(m.text.starts_with(u"The following record has import format problems:\n\n"));
    EXPECT_TRUE(m.text.ends_with(u".\n\nSkipping record."));
    const std::size_t at = m.text.find(u"Possible reason: ") + 17;
    reasons.push_back(m.text.substr(at, m.text.size() - at - 19));
  }
  EXPECT_EQ(reasons, GetParam().skipReasons);
  EXPECT_EQ(int(ReadAll<TimeRecord>(TimeDatabase).size()), GetParam().imported);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportStopTest,
    ::testing::Values(
        StopCase{"crlf_lines", kGoodLine.substr(0, kGoodLine.size() - 1) + "\r\n" + kGoodLine, 3, {}},
        StopCase{"blank_line_ends", "\n" + kGoodLine, 1, {}},
        StopCase{"unclosed_qualifier", "\"04/12/1999\",\"x", 1, {u"unexpected end of data string"}},
        StopCase{"empty_start_numeric_duration", "\"04/12/1999\",\"\",\"\",\"2.5\",\"B\",\"\",\"1\",\"\",\"\",\"\",\"\",\"no\",\"no\",\"\",\n", 2, {}},
        StopCase{"empty_start_no_duration", "\"04/12/1999\",\"\",\"\",\"--:--\",\"B\",\"\",\"1\",\"\",\"\",\"\",\"\",\"no\",\"no\",\"\",\n" + kGoodLine, 2,
                 {u"need to have either valid start time, or duration string"}},
        StopCase{"bad_rate", "\"04/12/1999\",\"09:00 AM\",\"10:00 AM\",\"1\",\"B\",\"\",\"much\",\"\",\"\",\"\",\"\",\"no\",\"no\",\"\",\n", 1,
                 {u"invalid record billability rate string (should be numeric: 120.30, etc.)"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(ImportTest, ACancelKeepsWhatWasStoredAndSaysHowMuch) {
  std::string file;
  for (int i = 0; i < 1000; ++i) file += kGoodLine;
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

TEST_F(ImportTest, AFileThatIsNotThereIsNamed) {
  const std::string path = Path("none.csv");
  EXPECT_EQ(ImportPulldownsFromFile(nullptr, path), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.messages[0].text.starts_with(u"Pulldown import file '" + FileNameText(path) +
                                                u"' open failed: error code: (2)."));
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

struct OfferCase {
  const char* name;
  std::uint8_t flag;
  std::vector<std::u16string> clients;
  std::vector<std::u16string> rates;
};

class ImportOfferTest : public ImportTest, public ::testing::WithParamInterface<OfferCase> {};

TEST_P(ImportOfferTest, RecordTextsJoinTheListsOnlyWhenAsked) {
  AddNewPulldownItem(nullptr, u"A", ConfigDatabase, PWH_PULLDOWN_CLIENT);
  ImportIntoPulldowns = GetParam().flag;
  const std::string path = Path("offer.csv");
  WriteFile(path, kGoodLine + "\"04/12/1999\",\"09:00 AM\",\"10:00 AM\",\"1\",\"B\",\"\",\"n/a\",\"\",\"\",\"\",\"\",\"no\",\"no\",\"\",\n" + kGoodLine);
  EXPECT_EQ(ImportRecordsFromFile(nullptr, path, TimeDatabase, PWH_TIME_MODE), 3);
  EXPECT_EQ(Listed(PWH_PULLDOWN_CLIENT), GetParam().clients);
  EXPECT_EQ(Listed(PWH_PULLDOWN_TIME_RATE), GetParam().rates);
  EXPECT_TRUE(Listed(PWH_PULLDOWN_PROJECT).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Flag, ImportOfferTest,
    ::testing::Values(OfferCase{"off", 0, {u"A"}, {}},
                      OfferCase{"on", 1, {u"A", u"B"}, {u"1"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pw::test
