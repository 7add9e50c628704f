#include "storage/records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/fixed_text.h"

namespace pw {
namespace {

// A property list as plain values, so that two lists (and through them two
// records) can be compared whole.
struct Prop {
  CEPROPID propid;
  std::int16_t i;
  std::u16string text;
  bool operator==(const Prop&) const = default;
};

std::vector<Prop> Flatten(const CEPROPVAL* props, int count) {
  std::vector<Prop> out;
  for (int n = 0; n < count; ++n) {
    const CEPROPVAL& p = props[n];
    EXPECT_EQ(p.wLenData, 0);
    EXPECT_EQ(p.wFlags, 0);
    out.push_back({p.propid, p.val.iVal, std::u16string(TextOf(p.val.lpwstr))});
  }
  return out;
}

std::vector<Prop> PropsOf(const TimeRecord& r) {
  CEPROPVAL props[PWH_TIME_PROP_COUNT];
  return Flatten(RecordToProps(r, props), PWH_TIME_PROP_COUNT);
}

std::vector<Prop> PropsOf(const ExpenseRecord& r) {
  CEPROPVAL props[PWH_EXPENSE_PROP_COUNT];
  return Flatten(RecordToProps(r, props), PWH_EXPENSE_PROP_COUNT);
}

CEPROPVAL IntProp(WORD id, std::int16_t value) {
  CEPROPVAL p;
  p.propid = MakePropId(id, CEVT_I2);
  p.val.iVal = value;
  return p;
}

CEPROPVAL TextProp(WORD id, const char16_t* text) {
  CEPROPVAL p;
  p.propid = MakePropId(id, CEVT_LPWSTR);
  p.val.lpwstr = text;
  return p;
}

TEST(RecordPropsTest, StoredLayoutIsFixed) {
  const WORD timeIds[] = {18, 19, 20, 21, 22, 23, 24, 25, 34, 32, 33, 72, 73, 35, 36, 37, 38, 39};
  const bool timeText[] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1};
  const auto time = PropsOf(TimeRecord{});
  ASSERT_EQ(time.size(), 18u);
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(time[i].propid, MakePropId(timeIds[i], timeText[i] ? CEVT_LPWSTR : CEVT_I2)) << i;
  }
  EXPECT_EQ(time[16].propid, 0x0026001Fu);
  EXPECT_EQ(time[14].propid, 0x00240002u);

  const WORD expenseIds[] = {40, 41, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 64, 65, 66, 67};
  const bool expenseText[] = {1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1};
  const auto expense = PropsOf(ExpenseRecord{});
  ASSERT_EQ(expense.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(expense[i].propid, MakePropId(expenseIds[i], expenseText[i] ? CEVT_LPWSTR : CEVT_I2))
        << i;
  }
  EXPECT_EQ(expense[0].propid, 0x0028001Fu);

  EXPECT_EQ(RecordToProps(TimeRecord{}, nullptr), nullptr);
  EXPECT_EQ(RecordToProps(ExpenseRecord{}, nullptr), nullptr);
}

TimeRecord SampleTime() {
  TimeRecord r;
  r.startHour = 9;
  r.startMinute = 5;
  r.startPm = false;
  r.endHour = 12;
  r.endMinute = 59;
  r.endPm = true;
  CopyText(r.duration, u"03:54");
  CopyText(r.date, u"12/31/1999");
  CopyText(r.client, u"Acme \u00c9tudes");
  CopyText(r.project, u"Roof");
  CopyText(r.rate, u"33.33");
  CopyText(r.subproject, u"North wing");
  CopyText(r.task, u"Survey \U0001F3E0");
  CopyText(r.currency, u"EUR");
  CopyText(r.amount, u"129.99");
  r.billable = 1;
  r.billed = 0;
  CopyText(r.notes, std::u16string(2047, u'n'));
  return r;
}

ExpenseRecord SampleExpense() {
  ExpenseRecord r;
  CopyText(r.date, u"01/15/2000");
  CopyText(r.client, u"Acme");
  CopyText(r.project, u"Roof");
  CopyText(r.description, u"Travel");
  r.mileage = true;
  CopyText(r.miles, u"120");
  CopyText(r.mileageRate, u"0.23");
  CopyText(r.paymentType, u"Visa");
  CopyText(r.currency, u"USD");
  CopyText(r.amount, u"27.60");
  r.billable = true;
  r.billed = false;
  r.reimbursable = true;
  r.reimbursed = false;
  r.receipt = true;
  CopyText(r.notes, u"line 1\r\nline 2");
  return r;
}

TEST(RecordPropsTest, RecordsSurviveTheTripThroughProperties) {
  for (const TimeRecord& original : {TimeRecord{}, SampleTime()}) {
    CEPROPVAL props[PWH_TIME_PROP_COUNT];
    RecordToProps(original, props);
    TimeRecord back;
    ASSERT_TRUE(PropsToRecord(props, PWH_TIME_PROP_COUNT, back));
    EXPECT_EQ(PropsOf(back), PropsOf(original));
  }
  for (const ExpenseRecord& original : {ExpenseRecord{}, SampleExpense()}) {
    CEPROPVAL props[PWH_EXPENSE_PROP_COUNT];
    RecordToProps(original, props);
    ExpenseRecord back;
    ASSERT_TRUE(PropsToRecord(props, PWH_EXPENSE_PROP_COUNT, back));
    EXPECT_EQ(PropsOf(back), PropsOf(original));
  }
}

// Property lists that only another writer of the store could produce.
TEST(RecordPropsTest, ForeignTimePropertiesAreReadSafely) {
  const std::u16string longText(300, u'c');
  const std::u16string longNote(3000, u'x');
  // 253 units, then a surrogate pair straddling the 254-unit limit.
  const std::u16string split = std::u16string(253, u'a') + u"\U0001F600" + u"zz";
  const char16_t* const longDate = u"01/01/2000 and some more";
  const char16_t* const longDuration = u"123:45";

  const CEPROPVAL props[] = {
      IntProp(PWH_TIME_START_PM, 5),          IntProp(PWH_TIME_BILLABLE, -3),
      IntProp(PWH_TIME_START_HOUR, 11),       TextProp(PWH_TIME_CLIENT, longText.c_str()),
      TextProp(PWH_TIME_PROJECT, split.c_str()), TextProp(PWH_TIME_NOTES, longNote.c_str()),
      TextProp(PWH_TIME_DATE, longDate),      TextProp(PWH_TIME_DURATION, longDuration),
      TextProp(PWH_TIME_TASK, nullptr),       IntProp(PWH_TIME_RATE, 7),  // wrong type
      TextProp(PWH_TIME_END_HOUR, u"4"),      // wrong type
      IntProp(70, 1),                         TextProp(99, u"unknown"),
  };
  TimeRecord r;
  CopyText(r.task, u"was set");
  ASSERT_TRUE(PropsToRecord(props, WORD(std::size(props)), r));

  EXPECT_TRUE(r.startPm);
  EXPECT_EQ(r.billable, 1);
  EXPECT_EQ(r.startHour, 11);
  EXPECT_EQ(r.endHour, 0);
  EXPECT_EQ(TextOf(r.client), longText.substr(0, 254));
  EXPECT_EQ(TextOf(r.project), split.substr(0, 253));
  EXPECT_EQ(TextOf(r.notes), longNote.substr(0, 2047));
  EXPECT_EQ(TextOf(r.date), std::u16string_view(longDate).substr(0, 15));
  EXPECT_EQ(TextOf(r.duration), u"123:4");
  EXPECT_EQ(TextOf(r.task), u"");
  EXPECT_EQ(TextOf(r.rate), u"");
  // Absent properties keep the cleared value.
  EXPECT_EQ(TextOf(r.amount), u"");
  EXPECT_EQ(r.billed, 0);
}

TEST(RecordPropsTest, ForeignExpensePropertiesAreReadSafely) {
  const CEPROPVAL props[] = {
      IntProp(70, 1),                      // not an expense property
      TextProp(PWH_TIME_CLIENT, u"time"),  // a time record's id
      IntProp(PWH_EXP_RECEIPT, 5),
      IntProp(PWH_EXP_REIMBURSED, 0),
      TextProp(PWH_EXP_AMOUNT, u"1.00"),
      TextProp(PWH_EXP_AMOUNT, u"2.00"),  // the last one counts
  };
  ExpenseRecord r;
  ASSERT_TRUE(PropsToRecord(props, WORD(std::size(props)), r));
  EXPECT_TRUE(r.receipt);
  EXPECT_FALSE(r.reimbursed);
  EXPECT_EQ(TextOf(r.amount), u"2.00");
  EXPECT_EQ(TextOf(r.client), u"");

  EXPECT_FALSE(PropsToRecord(nullptr, 3, r));
  EXPECT_TRUE(PropsToRecord(props, 0, r));
  TimeRecord t;
  EXPECT_FALSE(PropsToRecord(nullptr, 0, t));
}

TEST(RecordPropsTest, FillingEmptyTextsOfNewRecords) {
  TimeRecord t;
  CopyText(t.project, u"kept");
  FillEmptyTexts(t);
  for (auto text : {TextOf(t.duration), TextOf(t.client), TextOf(t.rate), TextOf(t.subproject),
                    TextOf(t.task), TextOf(t.amount), TextOf(t.currency)}) {
    EXPECT_EQ(text, u"n/a");
  }
  EXPECT_EQ(TextOf(t.project), u"kept");
  EXPECT_EQ(TextOf(t.date), u"");
  EXPECT_EQ(TextOf(t.notes), u"");

  ExpenseRecord e;
  CopyText(e.currency, u"kept");
  FillEmptyTexts(e);
  for (auto text : {TextOf(e.date), TextOf(e.client), TextOf(e.project), TextOf(e.description),
                    TextOf(e.paymentType), TextOf(e.miles), TextOf(e.mileageRate),
                    TextOf(e.amount)}) {
    EXPECT_EQ(text, u"n/a");
  }
  EXPECT_EQ(TextOf(e.currency), u"kept");
  EXPECT_EQ(TextOf(e.notes), u"");

  TimeRecord sample = SampleTime();
  ClearRecord(sample);
  EXPECT_EQ(PropsOf(sample), PropsOf(TimeRecord{}));
  ExpenseRecord expense = SampleExpense();
  ClearRecord(expense);
  EXPECT_EQ(PropsOf(expense), PropsOf(ExpenseRecord{}));
}

}  // namespace
}  // namespace pw
