#include "transfer/record_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_host.h"
#include "text/fixed_text.h"
#include "transfer/tokenizer.h"
#include "storage/pulldowns.h"
#include "transfer_fixture.h"

namespace pw::test {
namespace {

std::vector<std::u16string_view> Split(const std::u16string& line) {
  std::vector<std::u16string_view> fields;
  EXPECT_EQ(TokenizeLine(line, u"\"", u",", &fields), PWH_PARSE_OK);
  return fields;
}

using Changes = std::initializer_list<std::pair<int, std::u16string>>;

// A line in the exported column order, with fields replaced by index.
std::u16string Line(std::vector<std::u16string> fields, Changes changes) {
  for (const auto& [i, text] : changes) fields[i] = text;
  std::u16string line;
  for (const auto& field : fields) line += u"\"" + field + u"\",";
  return line;
}
std::u16string TimeLine(Changes changes = {}) {
  return Line({u"04/12/1999", u"09:05 AM", u"05:30 PM", u"8.42", u"Acme", u"Web", u"120.00", u"Design", u"Layout",
               u"USD", u"1010.00", u"yes", u"no", u"note"}, changes);
}
std::u16string ExpenseLine(Changes changes = {}) {
  return Line({u"04/13/1999", u"Acme", u"Web", u"Fuel", u"12.5", u"0.31", u"Card", u"EUR", u"3.88", u"yes", u"no",
               u"yes", u"no", u"yes", u"n"}, changes);
}

enum Kind { kTime, kExpense, kList };

struct ParseCase {
  const char* name;
  Kind kind;
  std::u16string line;
  int code;
  std::u16string stored = {};  // what was read (a record's Dump, or category and text), when given
};

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, FieldsLandInTheirPlacesOrTheLineGivesItsCode) {
  const ParseCase& c = GetParam();
  ScriptedHost host;  // questions answered No
  const auto fields = Split(c.line);
  int code = 0;
  std::u16string stored;
  if (c.kind == kList) {
    int category = 0;
    std::u16string_view text;
    code = ParsePulldownFields(fields, &category, &text), stored = Format(u"%d %s", category, text);
  } else if (c.kind == kExpense) {
    ExpenseRecord r;
    code = ParseExpenseFields(fields, {}, &r), stored = Dump(r);
  } else {
    TimeRecord r;
    code = ParseTimeFields(fields, {}, &r), stored = Dump(r);
  }
  EXPECT_EQ(code, c.code);
  if (!c.stored.empty()) {
    EXPECT_EQ(stored, c.stored);
    EXPECT_TRUE(host.messages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseTest,
    ::testing::Values(
        ParseCase{"time_ok", kTime, TimeLine(), PWH_PARSE_OK,
                  u"04/12/1999|9:05 0|5:30 1|8:25|Acme|Web|120.00|Design|Layout|USD|1010.00|1 0|note"},
        ParseCase{"time_too_few", kTime, u"\"04/12/1999\",\"x\",", PWH_PARSE_TOO_FEW_FIELDS},
        ParseCase{"time_too_many", kTime, TimeLine() + u"\"x\",", PWH_PARSE_TOO_MANY_FIELDS},
        ParseCase{"time_header", kTime, TimeLine({{0, u"Date"}}), PWH_PARSE_BAD_DATE},
        ParseCase{"time_month_13", kTime, TimeLine({{0, u"13/01/1999"}}), PWH_PARSE_BAD_DATE},
        ParseCase{"time_no_start", kTime, TimeLine({{1, u""}, {3, u"--:--"}}), PWH_PARSE_NO_START},
        ParseCase{"time_numeric_duration_without_start_clears_the_times", kTime, TimeLine({{1, u""}, {3, u"1.5"}}),
                  PWH_PARSE_OK, u"04/12/1999|0:00 0|0:00 0|1:30|Acme|Web|120.00|Design|Layout|USD|1010.00|1 0|note"},
        ParseCase{"time_midnight_is_a_valid_start", kTime,
                  TimeLine({{1, u"12:00 AM"}, {2, u"01:30 AM"}, {3, u"--:--"}}), PWH_PARSE_OK,
                  u"04/12/1999|0:00 0|1:30 0|01:30|Acme|Web|120.00|Design|Layout|USD|1010.00|1 0|note"},
        ParseCase{"time_no_end", kTime, TimeLine({{2, u"25:99"}, {3, u"x"}}), PWH_PARSE_NO_END},
        ParseCase{"time_bad_rate", kTime, TimeLine({{6, u"lots"}}), PWH_PARSE_BAD_RATE},
        ParseCase{"time_rate_not_applicable", kTime, TimeLine({{6, u"n/a"}}), PWH_PARSE_OK},
        ParseCase{"time_amount_not_checked", kTime, TimeLine({{10, u"lots"}}), PWH_PARSE_OK},
        ParseCase{"expense_ok", kExpense, ExpenseLine(), PWH_PARSE_OK, u"04/13/1999|Acme|Web|Fuel|1 12.5|0.31|Card|EUR|3.88|10101|n"},
        ParseCase{"expense_too_few", kExpense, TimeLine(), PWH_PARSE_TOO_FEW_FIELDS},
        ParseCase{"expense_too_many", kExpense, ExpenseLine() + u"\"\",", PWH_PARSE_TOO_MANY_FIELDS},
        ParseCase{"expense_bad_date", kExpense, ExpenseLine({{0, u"n/a"}}), PWH_PARSE_BAD_DATE},
        ParseCase{"expense_bad_miles", kExpense, ExpenseLine({{4, u"far"}}), PWH_PARSE_BAD_MILES},
        ParseCase{"expense_bad_mileage_rate", kExpense, ExpenseLine({{5, u"cheap"}}), PWH_PARSE_BAD_MILEAGE_RATE},
        ParseCase{"expense_no_mileage_any_rate", kExpense, ExpenseLine({{4, u"not applicable"}, {5, u"cheap"}}),
                  PWH_PARSE_OK, u"04/13/1999|Acme|Web|Fuel|0 ||Card|EUR|3.88|10101|n"},
        ParseCase{"expense_bad_amount", kExpense, ExpenseLine({{8, u"some"}}), PWH_PARSE_BAD_AMOUNT},
        ParseCase{"list_client", kList, u"\"Client\",\"Acme\",", 0, Format(u"%d Acme", PWH_PULLDOWN_CLIENT)},
        ParseCase{"list_rate", kList, u"\"Time Billing Rate\",\"Acme\",", 0, Format(u"%d Acme", PWH_PULLDOWN_TIME_RATE)},
        ParseCase{"list_heading_lower_case", kList, u"\"client\",\"Acme\",", PWH_PARSE_UNKNOWN_CATEGORY},
        ParseCase{"list_one_field", kList, u"\"Client\",", PWH_PARSE_TOO_FEW_FIELDS},
        ParseCase{"list_three_fields", kList, u"\"Client\",\"Acme\",\"x\",", PWH_PARSE_TOO_MANY_FIELDS}),
    [](const auto& info) { return info.param.name; });

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

}  // namespace
}  // namespace pw::test
