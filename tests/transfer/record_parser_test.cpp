#include "transfer/record_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_host.h"
#include "text/fixed_text.h"
#include "transfer/tokenizer.h"
#include "storage/pulldowns.h"

namespace pw::test {
namespace {

std::vector<std::u16string_view> Split(const std::u16string& line) {
  std::vector<std::u16string_view> fields;
  EXPECT_EQ(TokenizeLine(line, u"\"", u",", &fields), PWH_PARSE_OK);
  return fields;
}

// A time line in the exported column order, with fields replaced by index.
std::u16string TimeLine(std::initializer_list<std::pair<int, std::u16string>> changes = {}) {
  std::u16string f[14] = {u"04/12/1999", u"09:05 AM", u"05:30 PM", u"8.42", u"Acme", u"Web",
                          u"120.00", u"Design", u"Layout", u"USD", u"1010.00", u"yes", u"no", u"note"};
  for (const auto& [i, text] : changes) f[i] = text;
  std::u16string line;
  for (const auto& field : f) line += u"\"" + field + u"\",";
  return line;
}

std::u16string ExpenseLine(std::initializer_list<std::pair<int, std::u16string>> changes = {}) {
  std::u16string f[15] = {u"04/13/1999", u"Acme", u"Web", u"Fuel", u"12.5", u"0.31", u"Card",
                          u"EUR", u"3.88", u"yes", u"no", u"yes", u"no", u"yes", u"n"};
  for (const auto& [i, text] : changes) f[i] = text;
  std::u16string line;
  for (const auto& field : f) line += u"\"" + field + u"\",";
  return line;
}

struct CodeCase {
  const char* name;
  bool expense;
  std::u16string line;
  int code;
};

class ParseCodeTest : public ::testing::TestWithParam<CodeCase> {
 protected:
  ScriptedHost host;  // questions answered No
};

TEST_P(ParseCodeTest, AMalformedLineGivesItsCode) {
  const CodeCase& c = GetParam();
  const auto fields = Split(c.line);
  TimeRecord time;
  ExpenseRecord expense;
  EXPECT_EQ(c.expense ? ParseExpenseFields(fields, {}, &expense) : ParseTimeFields(fields, {}, &time),
            c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseCodeTest,
    ::testing::Values(
        CodeCase{"time_ok", false, TimeLine(), PWH_PARSE_OK},
        CodeCase{"time_too_few", false, u"\"04/12/1999\",\"x\",", PWH_PARSE_TOO_FEW_FIELDS},
        CodeCase{"time_too_many", false, TimeLine() + u"\"x\",", PWH_PARSE_TOO_MANY_FIELDS},
        CodeCase{"time_header", false, TimeLine({{0, u"Date"}}), PWH_PARSE_BAD_DATE},
        CodeCase{"time_month_13", false, TimeLine({{0, u"13/01/1999"}}), PWH_PARSE_BAD_DATE},
        CodeCase{"time_no_start", false, TimeLine({{1, u""}, {3, u"--:--"}}), PWH_PARSE_NO_START},
        CodeCase{"time_no_end", false, TimeLine({{2, u"25:99"}, {3, u"x"}}), PWH_PARSE_NO_END},
        CodeCase{"time_bad_rate", false, TimeLine({{6, u"lots"}}), PWH_PARSE_BAD_RATE},
        CodeCase{"time_rate_not_applicable", false, TimeLine({{6, u"n/a"}}), PWH_PARSE_OK},
        CodeCase{"time_amount_not_checked", false, TimeLine({{10, u"lots"}}), PWH_PARSE_OK},
        CodeCase{"expense_ok", true, ExpenseLine(), PWH_PARSE_OK},
        CodeCase{"expense_too_few", true, TimeLine(), PWH_PARSE_TOO_FEW_FIELDS},
        CodeCase{"expense_too_many", true, ExpenseLine() + u"\"\",", PWH_PARSE_TOO_MANY_FIELDS},
        CodeCase{"expense_bad_date", true, ExpenseLine({{0, u"n/a"}}), PWH_PARSE_BAD_DATE},
        CodeCase{"expense_bad_miles", true, ExpenseLine({{4, u"far"}}), PWH_PARSE_BAD_MILES},
        CodeCase{"expense_bad_mileage_rate", true, ExpenseLine({{5, u"cheap"}}), PWH_PARSE_BAD_MILEAGE_RATE},
        CodeCase{"expense_no_mileage_any_rate", true, ExpenseLine({{4, u"not applicable"}, {5, u"cheap"}}), PWH_PARSE_OK},
        CodeCase{"expense_bad_amount", true, ExpenseLine({{8, u"some"}}), PWH_PARSE_BAD_AMOUNT}),
    [](const auto& info) { return info.param.name; });

TEST(ParseTimeTest, FieldsLandInTheirPlaces) {
  ScriptedHost host;
  TimeRecord r;
  ASSERT_EQ(ParseTimeFields(Split(TimeLine()), {}, &r), PWH_PARSE_OK);
  EXPECT_EQ(TextOf(r.date), u"04/12/1999");
  EXPECT_EQ((std::vector<int>{r.startHour, r.startMinute, r.startPm, r.endHour, r.endMinute, r.endPm}),
            (std::vector<int>{9, 5, 0, 5, 30, 1}));
  EXPECT_EQ(TextOf(r.duration), u"8:25");
  EXPECT_EQ(TextOf(r.task), u"Layout");
  EXPECT_EQ(r.billable, 1);
  EXPECT_EQ(r.billed, 0);
  EXPECT_EQ(TextOf(r.notes), u"note");
  EXPECT_TRUE(host.messages.empty());
}

TEST(ParseTimeTest, ANumericDurationWithoutStartClearsTheTimes) {
  ScriptedHost host;
  TimeRecord r;
  ASSERT_EQ(ParseTimeFields(Split(TimeLine({{1, u""}, {3, u"1.5"}})), {}, &r), PWH_PARSE_OK);
  EXPECT_EQ((std::vector<int>{r.startHour, r.endHour, r.endMinute, r.endPm}), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(TextOf(r.duration), u"1:30");
}

TEST(ParseTimeTest, MidnightIsAValidStart) {
  ScriptedHost host;
  TimeRecord r;
  ASSERT_EQ(ParseTimeFields(Split(TimeLine({{1, u"12:00 AM"}, {2, u"01:30 AM"}, {3, u"--:--"}})), {}, &r),
            PWH_PARSE_OK);
  EXPECT_EQ(TextOf(r.duration), u"01:30");
}

TEST(ParseExpenseTest, NotApplicableMilesLeavesMileageOff) {
  ScriptedHost host;
  ExpenseRecord r;
  ASSERT_EQ(ParseExpenseFields(Split(ExpenseLine({{4, u"not applicable"}, {5, u"0.31"}})), {}, &r),
            PWH_PARSE_OK);
  EXPECT_FALSE(r.mileage);
  EXPECT_EQ(TextOf(r.mileageRate), u"");
  ASSERT_EQ(ParseExpenseFields(Split(ExpenseLine()), {}, &r), PWH_PARSE_OK);
  EXPECT_TRUE(r.mileage);
  EXPECT_EQ(TextOf(r.miles), u"12.5");
  EXPECT_EQ((std::vector<bool>{r.billable, r.billed, r.reimbursable, r.reimbursed, r.receipt}),
            (std::vector<bool>{true, false, true, false, true}));
}

struct QuestionCase {
  const char* name;
  ImportTextForms forms;
  std::u16string date;
  std::u16string start;
  std::vector<int> answers;
  std::vector<std::u16string> titles;  // of the questions asked, in order
  int code;
  std::u16string storedDate;
  int startHour;  // as stored, hour + 12 x pm
};

class FormQuestionTest : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(FormQuestionTest, AsksOnlyForTheOtherFormAndObeys) {
  const QuestionCase& c = GetParam();
  ScriptedHost host;
  for (int a : c.answers) host.Answer(a);
  TimeRecord r;
  // The end time is in the form the settings expect: it raises no question.
  const std::u16string end = c.forms.europeanTimes ? u"23:00" : u"11:00 PM";
  EXPECT_EQ(ParseTimeFields(Split(TimeLine({{0, c.date}, {1, c.start}, {2, end}, {3, u"2"}})), c.forms, &r), c.code);
  std::vector<std::u16string> titles;
  for (const auto& m : host.messages) {
    titles.push_back(m.title);
    EXPECT_EQ(m.type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(m.owner, nullptr);
  }
  EXPECT_EQ(titles, c.titles);
  if (c.code == PWH_PARSE_OK) {
    EXPECT_EQ(TextOf(r.date), c.storedDate);
    EXPECT_EQ(r.startHour + 12 * r.startPm, c.startHour);
  }
}

const std::u16string kDateQ = u"Date Format Problem";
const std::u16string kTimeQ = u"Time Format Problem";

INSTANTIATE_TEST_SUITE_P(
    Forms, FormQuestionTest,
    ::testing::Values(
        QuestionCase{"american_as_set", {}, u"04/12/1999", u"10:30 PM", {}, {}, 0, u"04/12/1999", 22},
        QuestionCase{"european_date_yes", {}, u"12.04.1999", u"10:30 PM", {IDYES}, {kDateQ}, 0, u"04/12/1999", 22},
        QuestionCase{"european_date_no", {}, u"12.04.1999", u"10:30 PM", {IDNO}, {kDateQ}, PWH_PARSE_BAD_DATE, u"", 0},
        QuestionCase{"european_set_converts", {true, true}, u"12.04.1999", u"22:30", {}, {}, 0, u"04/12/1999", 22},
        QuestionCase{"european_set_american_date_yes", {true, true}, u"4/12/99", u"22:30", {IDYES}, {kDateQ}, 0, u"04/12/1999", 22},
        QuestionCase{"european_set_twelve_hour_yes", {true, true}, u"12.04.1999", u"10:30 PM", {IDYES}, {kTimeQ}, 0, u"04/12/1999", 22},
        QuestionCase{"european_set_twelve_hour_no", {true, true}, u"12.04.1999", u"10:30 PM", {IDNO}, {kTimeQ}, 0, u"04/12/1999", 0},
        QuestionCase{"twenty_four_yes", {}, u"04/12/1999", u"12:30", {IDYES}, {kTimeQ}, 0, u"04/12/1999", 12},
        QuestionCase{"twenty_four_midnight_yes", {}, u"04/12/1999", u"0:30", {IDYES}, {kTimeQ}, 0, u"04/12/1999", 0}),
    [](const auto& info) { return info.param.name; });

TEST(FormQuestionTextTest, NamesTheTextInQuestion) {
  ScriptedHost host;
  TimeRecord r;
  ParseTimeFields(Split(TimeLine({{1, u"22:30"}})), {}, &r);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            u"You are currently using American time format, but imported time\n\n[22:30]\n\nseems "
            u"to be in European time format.\n\nWould you like to convert ?");
}

struct PulldownCase {
  const char* name;
  std::u16string line;
  int code;
  int category;
};

class ParsePulldownTest : public ::testing::TestWithParam<PulldownCase> {};

TEST_P(ParsePulldownTest, NeedsAKnownHeadingAndOneText) {
  int category = 0;
  std::u16string_view text;
  EXPECT_EQ(ParsePulldownFields(Split(GetParam().line), &category, &text), GetParam().code);
  if (GetParam().code == PWH_PARSE_OK) {
    EXPECT_EQ(category, GetParam().category);
    EXPECT_EQ(text, u"Acme");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParsePulldownTest,
    ::testing::Values(PulldownCase{"client", u"\"Client\",\"Acme\",", 0, PWH_PULLDOWN_CLIENT},
                      PulldownCase{"rate", u"\"Time Billing Rate\",\"Acme\",", 0, PWH_PULLDOWN_TIME_RATE},
                      PulldownCase{"lower_case", u"\"client\",\"Acme\",", PWH_PARSE_UNKNOWN_CATEGORY, 0},
                      PulldownCase{"one_field", u"\"Client\",", PWH_PARSE_TOO_FEW_FIELDS, 0},
                      PulldownCase{"three_fields", u"\"Client\",\"Acme\",\"x\",", PWH_PARSE_TOO_MANY_FIELDS, 0}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pw::test
