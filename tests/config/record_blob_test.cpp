#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "config/configuration.h"
#include "text/fixed_text.h"

namespace pw {
namespace {

Blob Utf16(std::u16string_view text) {
  Blob b;
  for (char16_t c : text) b.insert(b.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
  b.insert(b.end(), {0, 0});
  return b;
}

bool Serialize(const TimeRecord& r, Blob* b) { return SerializeTimeRecord(r, b); }
bool Serialize(const ExpenseRecord& r, Blob* b) { return SerializeExpenseRecord(r, b); }
bool Deserialize(const Blob* b, TimeRecord& r) { return DeserializeTimeRecord(b, r); }
bool Deserialize(const Blob* b, ExpenseRecord& r) { return DeserializeExpenseRecord(b, r); }

// A field in the property list (in its order) and in the stored default
// record: property id, offset in the blob, width there (0 for a text), value.
struct Place {
  WORD id;
  std::size_t at;
  int width;
  std::u16string text;
  int number = 0;
};

// Every field of r holds its own value: each must show at its own property
// and blob offset, and both forms must come back whole.
template <class Record>
void ExpectPlaces(const Record& r, const std::vector<Place>& places, std::size_t blobSize) {
  std::vector<CEPROPVAL> props(places.size(), CEPROPVAL{1, 2, CEDB_PROPDELETE, {}});  // a used buffer
  RecordToProps(r, props.data());
  Blob b;
  ASSERT_TRUE(Serialize(r, &b));
  ASSERT_EQ(b.size(), blobSize);
  for (std::size_t i = 0; i < places.size(); ++i) {
    const auto& [id, at, width, text, number] = places[i];
    Blob bytes = Utf16(text);
    if (width) bytes.assign(width, 0);
    for (int k = 0; k < width; ++k) bytes[k] = std::uint8_t(std::uint32_t(number) >> (8 * k));
    EXPECT_EQ(Blob(b.begin() + at, b.begin() + at + bytes.size()), bytes) << "offset " << at;
    EXPECT_EQ(props[i].propid, MakePropId(id, width ? CEVT_I2 : CEVT_LPWSTR)) << i;
    EXPECT_EQ(props[i].wLenData + props[i].wFlags, 0) << i;
    if (width) EXPECT_EQ(props[i].val.iVal, number) << id;
    else EXPECT_EQ(TextOf(props[i].val.lpwstr), text) << id;
  }
  auto fromProps = std::make_unique<Record>(), fromBlob = std::make_unique<Record>();
  ASSERT_TRUE(PropsToRecord(props.data(), WORD(props.size()), *fromProps) && Deserialize(&b, *fromBlob));
  for (const Record* back : {fromProps.get(), fromBlob.get()}) {
    Blob again;
    Serialize(*back, &again);
    EXPECT_EQ(again, b);
  }
}

TEST(RecordFieldsTest, EveryFieldHasItsPropertyAndBlobPlace) {
  auto t = std::make_unique<TimeRecord>();
  t->startHour = 11, t->startMinute = 59, t->startPm = true, t->endHour = 2, t->endMinute = 45;
  t->billable = 5, t->billed = -1;  // kept as stored
  CopyText(t->duration, u"03:45"), CopyText(t->date, u"12/31/2024"), CopyText(t->client, u"Acme");
  CopyText(t->project, u"Proj"), CopyText(t->rate, u"33.33"), CopyText(t->subproject, u"Sub");
  CopyText(t->task, u"Task"), CopyText(t->currency, u"EUR"), CopyText(t->amount, u"125.00"), CopyText(t->notes, u"abc");
  ExpectPlaces(*t, {{18, 0, 4, u"", 11}, {19, 4, 4, u"", 59}, {20, 8, 1, u"", 1}, {21, 9, 4, u"", 2},
                    {22, 13, 4, u"", 45}, {23, 17, 1, u"", 0}, {24, 62, 0, u"Acme"}, {25, 572, 0, u"Proj"},
                    {34, 1082, 0, u"33.33"}, {32, 1592, 0, u"Sub"}, {33, 2102, 0, u"Task"}, {72, 2612, 0, u"EUR"},
                    {73, 3122, 0, u"125.00"}, {35, 3632, 4, u"", 5}, {36, 3636, 4, u"", -1}, {37, 18, 0, u"03:45"},
                    {38, 30, 0, u"12/31/2024"}, {39, 3640, 0, u"abc"}},
               3642 + 6);

  auto e = std::make_unique<ExpenseRecord>();
  const std::u16string note(2047, u'n');
  CopyText(e->date, u"1/2/2025"), CopyText(e->client, u"Acme"), CopyText(e->project, u"Proj");
  CopyText(e->description, u"Taxi \U0001F695"), CopyText(e->miles, u"12"), CopyText(e->mileageRate, u"0.5");
  CopyText(e->paymentType, u"Card"), CopyText(e->currency, u"EUR"), CopyText(e->amount, u"9.99"), CopyText(e->notes, note);
  for (int bit = 0; bit < 3; ++bit) {  // the six flags show six different patterns over the passes
    const auto f = [bit](int code) { return code >> bit & 1; };
    e->mileage = f(1), e->billable = f(2), e->billed = f(3), e->reimbursable = f(4), e->reimbursed = f(5), e->receipt = f(6);
    ExpectPlaces(*e, {{40, 0, 0, u"1/2/2025"}, {41, 32, 0, u"Acme"}, {48, 542, 0, u"Proj"}, {49, 1052, 0, u"Taxi \U0001F695"},
                      {50, 1562, 1, u"", f(1)}, {51, 1563, 0, u"12"}, {52, 2073, 0, u"0.5"}, {53, 2583, 0, u"Card"},
                      {54, 3093, 0, u"EUR"}, {55, 3603, 0, u"9.99"}, {56, 4113, 1, u"", f(2)}, {57, 4114, 1, u"", f(3)},
                      {64, 4115, 1, u"", f(4)}, {65, 4116, 1, u"", f(5)}, {66, 4117, 1, u"", f(6)}, {67, 4118, 0, note}},
                 4120 + 2 * 2047);
  }
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
    Blob b;
    SerializeTimeRecord(TimeRecord{}, &b);
    b.resize(b.size() - 2);
    const Blob note = Utf16(stored);
    b.insert(b.end(), note.begin(), note.end() - (terminated ? 0 : 2));
    auto t = std::make_unique<TimeRecord>();
    CopyText(t->notes, u"old");
    ASSERT_TRUE(DeserializeTimeRecord(&b, *t));
    EXPECT_EQ(TextOf(t->notes), stored.substr(0, kept)) << stored.size();
  }
}

TEST(RecordBlobTest, BlobsShorterThanTheFixedPartAreRefused) {
  auto t = std::make_unique<TimeRecord>();
  auto e = std::make_unique<ExpenseRecord>();
  EXPECT_FALSE(SerializeTimeRecord(*t, nullptr) || SerializeExpenseRecord(*e, nullptr));
  EXPECT_FALSE(DeserializeTimeRecord(nullptr, *t) || DeserializeExpenseRecord(nullptr, *e));
  const Blob timeShort(3639, 1), expenseShort(4117, 1);
  EXPECT_FALSE(DeserializeTimeRecord(&timeShort, *t) || DeserializeExpenseRecord(&expenseShort, *e));
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

// Times no clock shows (a damaged or foreign default record) load as no times
// at all, so the minute arithmetic never sees them; 23:59 loads as stored.
TEST(RecordBlobTest, TimesNoClockShowsLoadAsNone) {
  // {start hour, start minute, end hour, end minute, kept}
  const std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool> cases[] = {
      {INT32_MAX - 3, 0, 5, 0, false}, {INT32_MIN, 0, 5, 0, false}, {1, 60, 5, 0, false},
      {1, 0, 24, 0, false},            {1, 0, 5, -1, false},        {0, 0, 23, 59, true}};
  for (const auto& [startHour, startMinute, endHour, endMinute, kept] : cases) {
    auto r = std::make_unique<TimeRecord>();
    r->startHour = startHour, r->startMinute = startMinute, r->endHour = endHour, r->endMinute = endMinute;
    r->startPm = r->endPm = true, CopyText(r->client, u"Acme");
    Blob b;
    ASSERT_TRUE(Serialize(*r, &b));
    r = std::make_unique<TimeRecord>();
    ASSERT_TRUE(Deserialize(&b, *r));
    const std::vector<std::int32_t> times = {r->startHour, r->startMinute, r->startPm, r->endHour, r->endMinute, r->endPm};
    const std::vector<std::int32_t> stored = {startHour, startMinute, 1, endHour, endMinute, 1};
    EXPECT_EQ(times, kept ? stored : std::vector<std::int32_t>(6, 0)) << startHour << " " << endMinute;
    EXPECT_EQ(TextOf(r->client), u"Acme");
  }
}

}  // namespace
}  // namespace pw
