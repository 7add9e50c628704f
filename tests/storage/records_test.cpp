#include "storage/records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/fixed_text.h"

namespace pw {
namespace {

// A property list as comparable values: equal lists mean equal records.
using Flat = std::vector<std::tuple<CEPROPID, int, std::u16string>>;

template <class Record, WORD N>
Flat PropsOf(const Record& r) {
  CEPROPVAL props[N];
  RecordToProps(r, props);
  Flat out;
  for (const CEPROPVAL& p : props) {
    EXPECT_EQ(p.wLenData + p.wFlags, 0);
    out.emplace_back(p.propid, p.val.iVal, TextOf(p.val.lpwstr));
  }
  return out;
}
Flat PropsOf(const TimeRecord& r) { return PropsOf<TimeRecord, PWH_TIME_PROP_COUNT>(r); }
Flat PropsOf(const ExpenseRecord& r) { return PropsOf<ExpenseRecord, PWH_EXPENSE_PROP_COUNT>(r); }

CEPROPVAL Prop(WORD id, std::int16_t value) { return {MakePropId(id, CEVT_I2), 0, 0, {value, nullptr}}; }
CEPROPVAL Prop(WORD id, const char16_t* text) { return {MakePropId(id, CEVT_LPWSTR), 0, 0, {0, text}}; }

TEST(RecordPropsTest, StoredLayoutAndRoundTrip) {
  // id, and whether it is text, in the stored order.
  const std::vector<std::pair<WORD, bool>> time = {
      {18, 0}, {19, 0}, {20, 0}, {21, 0}, {22, 0}, {23, 0}, {24, 1}, {25, 1}, {34, 1},
      {32, 1}, {33, 1}, {72, 1}, {73, 1}, {35, 0}, {36, 0}, {37, 1}, {38, 1}, {39, 1}};
  const std::vector<std::pair<WORD, bool>> expense = {
      {40, 1}, {41, 1}, {48, 1}, {49, 1}, {50, 0}, {51, 1}, {52, 1}, {53, 1},
      {54, 1}, {55, 1}, {56, 0}, {57, 0}, {64, 0}, {65, 0}, {66, 0}, {67, 1}};
  const Flat t = PropsOf(TimeRecord{}), e = PropsOf(ExpenseRecord{});
  for (const auto& [flat, ids] : {std::pair(t, time), std::pair(e, expense)}) {
    ASSERT_EQ(flat.size(), ids.size());
    for (std::size_t i = 0; i < flat.size(); ++i)
      EXPECT_EQ(std::get<0>(flat[i]), MakePropId(ids[i].first, ids[i].second ? CEVT_LPWSTR : CEVT_I2)) << i;
  }

  TimeRecord full;
  full.startHour = 12, full.endMinute = 59, full.endPm = true, full.billable = 5, full.billed = 2;  // kept as stored
  for (auto* field : {full.client, full.project, full.rate, full.subproject, full.task, full.currency, full.amount})
    std::fill_n(field, PWH_TEXT_LIMIT - 1, u'\u00e9');
  CopyText(full.date, u"12/31/1999"), CopyText(full.duration, u"03:54"), CopyText(full.notes, std::u16string(2047, u'n'));
  ExpenseRecord expenseFull;
  CopyText(expenseFull.description, u"Taxi \U0001F695");
  expenseFull.mileage = expenseFull.reimbursed = expenseFull.receipt = true;
  for (const TimeRecord& r : {TimeRecord{}, full}) {
    CEPROPVAL props[PWH_TIME_PROP_COUNT];
    TimeRecord back;
    ASSERT_TRUE(PropsToRecord(RecordToProps(r, props), PWH_TIME_PROP_COUNT, back));
    EXPECT_EQ(PropsOf(back), PropsOf(r));
  }
  for (const ExpenseRecord& r : {ExpenseRecord{}, expenseFull}) {
    CEPROPVAL props[PWH_EXPENSE_PROP_COUNT];
    ExpenseRecord back;
    ASSERT_TRUE(PropsToRecord(RecordToProps(r, props), PWH_EXPENSE_PROP_COUNT, back));
    EXPECT_EQ(PropsOf(back), PropsOf(r));
  }
  ClearRecord(full);
  EXPECT_EQ(PropsOf(full), PropsOf(TimeRecord{}));
}

// Property lists that only another writer of the store could produce.
TEST(RecordPropsTest, ForeignPropertiesAreReadSafely) {
  const std::u16string longText(300, u'c'), longNote(3000, u'x');
  // A surrogate pair straddling the 254-unit limit is left out whole.
  const std::u16string split = std::u16string(253, u'a') + u"\U0001F600";
  const CEPROPVAL props[] = {
      Prop(PWH_TIME_START_PM, 5), Prop(PWH_TIME_BILLABLE, -3),
      Prop(PWH_TIME_CLIENT, longText.c_str()), Prop(PWH_TIME_PROJECT, split.c_str()),
      Prop(PWH_TIME_NOTES, longNote.c_str()), Prop(PWH_TIME_DATE, u"01/01/2000 and more"),
      Prop(PWH_TIME_DURATION, u"123:45"), Prop(PWH_TIME_TASK, nullptr),
      Prop(PWH_TIME_RATE, 7), Prop(PWH_TIME_END_HOUR, u"4"),  // of the wrong type
      Prop(70, 1), Prop(PWH_EXP_CLIENT, u"expense"),          // not time properties
      Prop(PWH_TIME_START_HOUR, 3), Prop(PWH_TIME_START_HOUR, 11)};
  TimeRecord r;
  CopyText(r.task, u"was set");
  ASSERT_TRUE(PropsToRecord(props, WORD(std::size(props)), r));
  // A flag reads as 1; billable is a number kept as stored (tested for 1 where it is used).
  EXPECT_EQ(std::tuple(r.startPm, r.billable, r.endHour), std::tuple(true, -3, 0));
  EXPECT_EQ(r.startHour, 11);  // the last one counts
  EXPECT_EQ(TextOf(r.client), longText.substr(0, 254));
  EXPECT_EQ(TextOf(r.project), split.substr(0, 253));
  EXPECT_EQ(TextOf(r.notes), longNote.substr(0, 2047));
  EXPECT_EQ(TextOf(r.date), u"01/01/2000 and ");
  EXPECT_EQ(TextOf(r.duration), u"123:4");
  EXPECT_TRUE(IsEmptyText(r.task) && IsEmptyText(r.rate) && IsEmptyText(r.amount));  // null, wrong type, absent

  ExpenseRecord e;
  ASSERT_TRUE(PropsToRecord(props, WORD(std::size(props)), e));
  EXPECT_EQ(TextOf(e.client), u"expense");
  EXPECT_FALSE(PropsToRecord(nullptr, 0, r));
}

TEST(RecordPropsTest, NewRecordsGetNotAvailableForEmptyTexts) {
  TimeRecord t;
  CopyText(t.project, u"kept");
  FillEmptyTexts(t);
  for (auto* text : {t.duration, t.client, t.rate, t.subproject, t.task, t.amount, t.currency}) EXPECT_EQ(TextOf(text), u"n/a");
  EXPECT_EQ(TextOf(t.project), u"kept");
  EXPECT_TRUE(IsEmptyText(t.date) && IsEmptyText(t.notes));

  ExpenseRecord e;
  CopyText(e.currency, u"kept");
  FillEmptyTexts(e);
  for (auto* text : {e.date, e.client, e.project, e.description, e.paymentType, e.miles, e.mileageRate, e.amount})
    EXPECT_EQ(TextOf(text), u"n/a");
  EXPECT_EQ(TextOf(e.currency), u"kept");
  EXPECT_TRUE(IsEmptyText(e.notes));
}

}  // namespace
}  // namespace pw
