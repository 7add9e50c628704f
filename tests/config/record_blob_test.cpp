#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/configuration.h"
#include "text/fixed_text.h"

namespace pw {
namespace {

// {offset, bytes expected there}
using Layout = std::vector<std::pair<std::size_t, Blob>>;

Blob Utf16(std::u16string_view text) {
  Blob b;
  for (char16_t c : text) b.insert(b.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
  b.insert(b.end(), {0, 0});
  return b;
}

void ExpectLayout(const Blob& b, const Layout& layout) {
  for (const auto& [at, bytes] : layout)
    EXPECT_EQ(Blob(b.begin() + at, b.begin() + at + bytes.size()), bytes) << "offset " << at;
}

TEST(RecordBlobTest, FieldsSitAtTheirOffsetsAndComeBack) {
  auto t = std::make_unique<TimeRecord>();
  t->startHour = 11, t->startMinute = 59, t->startPm = true, t->endHour = 2, t->endMinute = 45, t->endPm = true;
  CopyText(t->duration, u"03:45"), CopyText(t->date, u"12/31/2024"), CopyText(t->client, u"Acme");
  CopyText(t->rate, u"33.33"), CopyText(t->amount, u"125.00"), CopyText(t->notes, u"abc");
  t->billable = 1, t->billed = -1;
  Blob b;
  ASSERT_TRUE(SerializeTimeRecord(*t, &b));
  ASSERT_EQ(b.size(), 3642u + 6);
  ExpectLayout(b, {{0, {11, 0, 0, 0, 59, 0, 0, 0, 1, 2, 0, 0, 0, 45, 0, 0, 0, 1}}, {18, Utf16(u"03:45")},
                   {30, Utf16(u"12/31/2024")}, {62, Utf16(u"Acme")}, {1082, Utf16(u"33.33")}, {3122, Utf16(u"125.00")},
                   {3632, {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}}, {3640, Utf16(u"abc")}});
  auto back = std::make_unique<TimeRecord>();
  ASSERT_TRUE(DeserializeTimeRecord(&b, *back));
  Blob again;
  SerializeTimeRecord(*back, &again);
  EXPECT_EQ(again, b);

  auto e = std::make_unique<ExpenseRecord>();
  CopyText(e->date, u"1/2/2025"), CopyText(e->client, u"Acme"), CopyText(e->description, u"Taxi");
  CopyText(e->miles, u"12"), CopyText(e->amount, u"9.99");
  e->mileage = e->billed = e->reimbursed = e->receipt = true;
  ASSERT_TRUE(SerializeExpenseRecord(*e, &b));
  ASSERT_EQ(b.size(), 4120u);
  ExpectLayout(b, {{0, Utf16(u"1/2/2025")}, {32, Utf16(u"Acme")}, {1052, Utf16(u"Taxi")}, {1562, {1}}, {1563, Utf16(u"12")},
                   {3603, Utf16(u"9.99")}, {4113, {0, 1, 0, 1, 1, 0, 0}}});
  auto eback = std::make_unique<ExpenseRecord>();
  ASSERT_TRUE(DeserializeExpenseRecord(&b, *eback));
  SerializeExpenseRecord(*eback, &again);
  EXPECT_EQ(again, b);
}

// Notes longer than the field (only another writer stores them) are cut to
// 2047 units without splitting a surrogate pair; a note without its NUL ends
// with the blob.
TEST(RecordBlobTest, DeserialisedNotesAreCutToTheField) {
  const std::u16string pair = u"\U0001F600";
  // {stored note, terminated, units kept}
  const std::tuple<std::u16string, bool, std::size_t> cases[] = {{std::u16string(3000, u'x'), true, 2047},
      {std::u16string(2046, u'x') + pair + u"y", true, 2046}, {std::u16string(2045, u'x') + pair, false, 2047},
      {u"open", false, 4}, {u"", true, 0}};
  for (const auto& [stored, terminated, kept] : cases) {
    for (bool expense : {false, true}) {
      Blob b;
      expense ? SerializeExpenseRecord(ExpenseRecord{}, &b) : SerializeTimeRecord(TimeRecord{}, &b);
      b.resize(b.size() - 2);
      const Blob note = Utf16(stored);
      b.insert(b.end(), note.begin(), note.end() - (terminated ? 0 : 2));

      auto t = std::make_unique<TimeRecord>();
      auto e = std::make_unique<ExpenseRecord>();
      CopyText(t->notes, u"old"), CopyText(e->notes, u"old");
      ASSERT_TRUE(expense ? DeserializeExpenseRecord(&b, *e) : DeserializeTimeRecord(&b, *t));
      EXPECT_EQ(TextOf(expense ? e->notes : t->notes), stored.substr(0, kept)) << expense << " " << stored.size();
    }
  }
}

TEST(RecordBlobTest, BlobsShorterThanTheFixedPartAreRefused) {
  auto t = std::make_unique<TimeRecord>();
  auto e = std::make_unique<ExpenseRecord>();
  EXPECT_FALSE(SerializeTimeRecord(*t, nullptr) || SerializeExpenseRecord(*e, nullptr));
  EXPECT_FALSE(DeserializeTimeRecord(nullptr, *t) || DeserializeExpenseRecord(nullptr, *e));
  const Blob marker = {0x2D, 0x00}, timeShort(3639, 1), expenseShort(4117, 1);
  EXPECT_FALSE(DeserializeTimeRecord(&marker, *t) || DeserializeTimeRecord(&timeShort, *t));
  EXPECT_FALSE(DeserializeExpenseRecord(&expenseShort, *e));
  EXPECT_EQ(t->startHour, 0);

  // The fixed part alone is a record with an empty note; texts that fill
  // their whole field are cut to leave room for the terminator.
  const Blob timeFixed(3640, 1), expenseFixed(4118, 1);
  ASSERT_TRUE(DeserializeTimeRecord(&timeFixed, *t));
  EXPECT_TRUE(IsEmptyText(t->notes));
  EXPECT_EQ(TextOf(t->client).size(), 254u);
  EXPECT_EQ(t->billable, 0x01010101);
  ASSERT_TRUE(DeserializeExpenseRecord(&expenseFixed, *e));
  EXPECT_EQ(TextOf(e->date).size(), 15u);
  EXPECT_TRUE(e->receipt);
}

}  // namespace
}  // namespace pw
