#include "storage/records.h"

#include <gtest/gtest.h>

#include "text/fixed_text.h"

namespace pw {
namespace {

CEPROPVAL Prop(WORD id, std::int16_t value) { return {MakePropId(id, CEVT_I2), 0, 0, {value, nullptr}}; }
CEPROPVAL Prop(WORD id, const char16_t* text) { return {MakePropId(id, CEVT_LPWSTR), 0, 0, {0, text}}; }

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
  // The last of two start hours counts.
  EXPECT_EQ(std::tuple(r.startPm, r.billable, r.endHour, r.startHour), std::tuple(true, -3, 0, 11));
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

}  // namespace
}  // namespace pw
