#include "config/column_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pw {
namespace {

using R = ColumnRange;
using Names = std::vector<std::u16string>;
using Bytes = std::vector<std::uint8_t>;

// The shown columns of a range, left to right, through the range's cursor.
Names Shown(ColumnModel& m, R range) {
  Names names;
  for (ColumnInfo c = m.FirstShownColumn(range); !c.empty(); c = m.NextShownColumn(range)) names.emplace_back(c.text());
  return names;
}

TEST(ColumnModelTest, LookupsThatFindNothingGiveTheEmptyColumn) {
  ColumnModel m;
  for (int index : {-1, 30}) EXPECT_EQ(m.GetColumn(index), ColumnInfo{}) << index;
  EXPECT_FALSE(m.UpdateColumnByName(R::Time, u"Nope", 1, 1, 1));
}

TEST(ColumnModelTest, NamesKeepFifteenUnitsAndWholeSurrogatePairs) {
  const std::u16string pair = u"\U0001F600", x13 = u"ABCDEFGHIJKLM";
  // {given (at least 16 units), kept}
  const std::pair<std::u16string, std::u16string> cases[] = {
      {x13 + u"NOP", x13 + u"NO"}, {x13 + u"N" + pair, x13 + u"N"}, {x13 + pair + u"X", x13 + pair}};
  for (const auto& [given, kept] : cases) {
    ColumnModel m;
    ASSERT_TRUE(m.UpdateColumnByPosition(R::Expense, 1, given, 80, 1, 1));
    EXPECT_EQ(m.GetColumn(14).text(), kept);

    // A stored name filling all 16 units, without its terminator, is cut alike.
    Bytes bytes;
    ColumnModel().Serialize(&bytes);
    for (int i = 0; i < 16; ++i) bytes[14 * 41 + 2 * i] = std::uint8_t(given[i]), bytes[14 * 41 + 2 * i + 1] = std::uint8_t(given[i] >> 8);
    ASSERT_TRUE(m.Deserialize(bytes.data(), bytes.size()));
    EXPECT_EQ(m.GetColumn(14).text(), kept);
  }
}

TEST(ColumnModelTest, StoredFormHasTheFixedLayoutAndRoundTrips) {
  ColumnModel m;
  m.UpdateColumnByName(R::Expense, u"Description", 0x01020304, 5, 1);
  m.UpdateColumnByName(R::Time, u"Hours", 44, 2, 0);
  Bytes bytes;
  ASSERT_TRUE(m.Serialize(&bytes));
  ASSERT_EQ(bytes.size(), 1230u);
  // Entry 0 "Date" at byte 0, entry 1 "Hours" (hidden) at 41, entry 18 "Description" at 738 (its last letter and NUL).
  const std::pair<std::size_t, Bytes> layout[] = {{0, {'D', 0, 'a', 0, 't', 0, 'e', 0, 0, 0}}, {32, {1, 80, 0, 0, 0, 1, 0, 0, 0}},
      {41 + 32, {0, 44, 0, 0, 0, 0, 0, 0, 0}}, {738 + 20, {'n', 0, 0, 0}}, {770, {1, 4, 3, 2, 1, 5, 0, 0, 0}}};
  for (const auto& [at, want] : layout) EXPECT_EQ(Bytes(&bytes[at], &bytes[at + want.size()]), want) << at;

  ColumnModel back;
  ASSERT_TRUE(back.Deserialize(bytes.data(), bytes.size()));
  for (int i = 0; i < PWH_COLUMN_COUNT; ++i) EXPECT_EQ(back.GetColumn(i), m.GetColumn(i)) << i;
  ColumnModel().Serialize(&bytes);
  EXPECT_FALSE(back.Deserialize(bytes.data(), 1229));  // one byte short: nothing changes
  EXPECT_EQ(back.GetColumn(1).visible, 0);
}

// A stored time column table whose positions another writer broke. Every
// shown column stays in the list, in its stored order; the walk ends only
// past the last of them.
TEST(ColumnModelTest, LoadingRepairsBrokenPositions) {
  const Names all = {u"Date", u"Hours", u"Client", u"Project", u"Start", u"End", u"Rate",
                     u"Subproject", u"Task", u"Ccy", u"Amount", u"B", u"B'd", u"N"};
  Names dateLast(all.begin() + 1, all.end()), noHours = all, unnamedFirst = all;
  dateLast.push_back(u"Date");
  noHours.erase(noHours.begin() + 1);
  unnamedFirst[0].clear();
  const struct {
    const char* what;
    std::vector<std::pair<int, std::uint32_t>> positions;  // entry, stored position (0: hidden, position kept)
    bool unnamedFirst;                                     // entry 0 stored with an empty name
    const Names& shown;
  } cases[] = {{"gap and duplicate", {{2, 4}, {3, 5}}, false, all},  // nobody at 3, two at 5
               {"far position", {{0, 200}}, false, dateLast},
               {"hidden with a position", {{1, 0}}, false, noHours},
               {"unnamed shown column", {}, true, unnamedFirst}};
  for (const auto& c : cases) {
    Bytes bytes;
    ColumnModel().Serialize(&bytes);
    for (const auto& [entry, position] : c.positions) (position ? bytes[41 * entry + 37] : bytes[41 * entry + 32]) = std::uint8_t(position);
    if (c.unnamedFirst) bytes[0] = bytes[1] = 0;
    ColumnModel m;
    ASSERT_TRUE(m.Deserialize(bytes.data(), bytes.size()));
    EXPECT_EQ(Shown(m, R::Time), c.shown) << c.what;
    EXPECT_EQ(Shown(m, R::Expense).size(), 16u);  // the other range is left alone
  }
}

}  // namespace
}  // namespace pw
