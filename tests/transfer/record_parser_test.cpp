#include "transfer/record_parser.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "support/scripted_host.h"
#include "transfer/tokenizer.h"  // the result codes
#include "transfer_fixture.h"

namespace pw::test {
namespace {

using Fields = std::vector<std::u16string_view>;

// Lines as exported, split into fields, and a copy with fields replaced by index.
const Fields kTimeLine = {u"04/12/1999", u"09:05 AM", u"05:30 PM", u"8.42", u"Acme", u"Web", u"120.00",
                          u"Design", u"Layout", u"USD", u"1010.00", u"yes", u"no", u"note"};
const Fields kExpenseLine = {u"04/13/1999", u"Acme", u"Web", u"Fuel", u"12.5", u"0.31", u"Card", u"EUR",
                             u"3.88", u"yes", u"no", u"yes", u"no", u"yes", u"n"};
Fields With(Fields fields, std::initializer_list<std::pair<int, std::u16string_view>> changes) {
  for (const auto& [i, text] : changes) fields[i] = text;
  return fields;
}

// Where the fields land is proven by the export and round-trip tests; these
// are the checks and the cases the reading treats on its own.
TEST(ParseTest, ChecksTheFieldsAndFillsTheGaps) {
  const struct {
    const char* name;
    bool expense;
    Fields fields;
    int code;
    std::u16string stored = {};  // the record's Dump, when given
  } cases[] = {
      {"too few", false, Fields(13), PWH_PARSE_TOO_FEW_FIELDS},
      {"too many", true, Fields(16), PWH_PARSE_TOO_MANY_FIELDS},
      {"month 13", false, With(kTimeLine, {{0, u"13/01/1999"}}), PWH_PARSE_BAD_DATE},
      {"no such day", false, With(kTimeLine, {{0, u"02/29/2026"}}), PWH_PARSE_BAD_DATE},
      {"empty numbers, 3.85 hours to the nearest minute", false, With(kTimeLine, {{1, u""}, {3, u"3.85"}, {6, u""}}),
       PWH_PARSE_OK, u"04/12/1999|0:00 0|0:00 0|3:51|Acme|Web||Design|Layout|USD|1010.00|1 0|note"},
      {"empty expense numbers", true, With(kExpenseLine, {{4, u""}, {5, u""}, {8, u""}}), PWH_PARSE_OK},
      {"numeric duration without start clears the times", false, With(kTimeLine, {{1, u""}, {3, u"1.5"}}), PWH_PARSE_OK,
       u"04/12/1999|0:00 0|0:00 0|1:30|Acme|Web|120.00|Design|Layout|USD|1010.00|1 0|note"},
      {"midnight is a valid start", false, With(kTimeLine, {{1, u"12:00 AM"}, {2, u"01:30 AM"}, {3, u"--:--"}}),
       PWH_PARSE_OK, u"04/12/1999|0:00 0|1:30 0|01:30|Acme|Web|120.00|Design|Layout|USD|1010.00|1 0|note"},
      {"no end", false, With(kTimeLine, {{2, u"25:99"}, {3, u"x"}}), PWH_PARSE_NO_END},
      {"bad rate", false, With(kTimeLine, {{6, u"lots"}}), PWH_PARSE_BAD_RATE},
      {"rate not applicable", false, With(kTimeLine, {{6, u"n/a"}}), PWH_PARSE_OK},
      {"time amount not checked", false, With(kTimeLine, {{10, u"lots"}}), PWH_PARSE_OK},
      {"bad miles", true, With(kExpenseLine, {{4, u"far"}}), PWH_PARSE_BAD_MILES},
      {"bad mileage rate", true, With(kExpenseLine, {{5, u"cheap"}}), PWH_PARSE_BAD_MILEAGE_RATE},
      {"no mileage, any rate", true, With(kExpenseLine, {{4, u"not applicable"}, {5, u"cheap"}}), PWH_PARSE_OK,
       u"04/13/1999|Acme|Web|Fuel|0 ||Card|EUR|3.88|10101|n"},
      {"bad expense amount", true, With(kExpenseLine, {{8, u"some"}}), PWH_PARSE_BAD_AMOUNT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedHost host;  // questions answered No
    TimeRecord time;
    ExpenseRecord expense;
    EXPECT_EQ(c.expense ? ParseExpenseFields(c.fields, {}, &expense) : ParseTimeFields(c.fields, {}, &time), c.code);
    if (c.stored.empty()) continue;
    EXPECT_EQ(c.expense ? Dump(expense) : Dump(time), c.stored);
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST(FormQuestionTest, AsksOnlyForTheOtherFormAndObeys) {
  const std::u16string kDate = u"Date Format Problem", kTime = u"Time Format Problem";
  const ImportTextForms european{true, true};
  const struct {
    ImportTextForms forms;
    std::u16string date, start;
    int answer;            // to the one question, if any
    std::u16string asked;  // its title; empty: none
    int code;
    int startHour;  // as stored, hour + 12 x pm
  } cases[] = {
      {{}, u"12.04.1999", u"10:30 PM", IDYES, kDate, 0, 22},
      {{}, u"12.04.1999", u"10:30 PM", IDNO, kDate, PWH_PARSE_BAD_DATE, 0},
      {european, u"12.04.1999", u"22:30", 0, u"", 0, 22},
      {european, u"4/12/99", u"22:30", IDYES, kDate, 0, 22},
      {european, u"12.04.1999", u"10:30 PM", IDYES, kTime, 0, 22},
      {european, u"12.04.1999", u"10:30 PM", IDNO, kTime, 0, 0},
      {{}, u"04/12/1999", u"12:30", IDYES, kTime, 0, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.date + u" " + c.start));
    ScriptedHost host;
    if (c.answer) host.Answer(c.answer);
    TimeRecord r;
    // The end time is in the form the settings expect: it raises no question.
    const std::u16string end = c.forms.europeanTimes ? u"23:00" : u"11:00 PM";
    EXPECT_EQ(ParseTimeFields(With(kTimeLine, {{0, c.date}, {1, c.start}, {2, end}, {3, u"2"}}), c.forms, &r), c.code);
    std::u16string asked;
    for (const auto& m : host.messages) asked += m.title;
    EXPECT_EQ(asked, c.asked);
    if (c.code != PWH_PARSE_OK) continue;
    EXPECT_EQ(TextOf(r.date), u"04/12/1999");
    EXPECT_EQ(r.startHour + 12 * r.startPm, c.startHour);
  }
}

TEST(FormQuestionTest, NamesTheTextInQuestion) {
  ScriptedHost host;
  TimeRecord r;
  ParseTimeFields(With(kTimeLine, {{1, u"22:30"}}), {}, &r);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            u"You are currently using American time format, but imported time\n\n[22:30]\n\nseems "
            u"to be in European time format.\n\nWould you like to convert ?");
  EXPECT_EQ(host.messages[0].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);  // No unless asked for
}

}  // namespace
}  // namespace pw::test
