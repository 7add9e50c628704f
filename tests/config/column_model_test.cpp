#include "config/column_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pw {
namespace {

using R = ColumnRange;
using Names = std::vector<std::u16string>;
using Positions = std::vector<std::uint32_t>;

// The shown columns of a range, left to right, through the range's cursor.
Names Shown(ColumnModel& m, R range) {
  Names names;
  for (ColumnInfo c = m.FirstShownColumn(range); !c.empty(); c = m.NextShownColumn(range)) names.emplace_back(c.text());
  return names;
}

Positions TimePositions(const ColumnModel& m) {
  Positions p;
  for (int i = 0; i <= 13; ++i) p.push_back(m.GetColumn(i).position);
  return p;
}
using Bytes = std::vector<std::uint8_t>;

TEST(ColumnModelTest, LookupsThatFindNothingGiveTheEmptyColumn) {
  ColumnModel m;
  for (int index : {-1, 30}) EXPECT_EQ(m.GetColumn(index), ColumnInfo{}) << index;
  EXPECT_EQ(m.FindColumnByName(R::Time, u"Description"), ColumnInfo{});  // an expense column
  EXPECT_EQ(m.FindColumnByName(R::Expense, u"Description").position, 5u);
  for (std::uint32_t p : {0u, 15u}) EXPECT_EQ(m.FindColumnByPosition(R::Time, p), ColumnInfo{}) << p;
  EXPECT_EQ(m.FindColumnByPosition(R::Expense, 16).text(), u"N");
  EXPECT_FALSE(m.UpdateColumnByName(R::Time, u"Nope", 1, 1, 1));
}

TEST(ColumnModelTest, HidingClosesTheGapAndShowingAppends) {
  ColumnModel m;
  ASSERT_TRUE(m.UpdateColumnByPosition(R::Time, 3, u"Client", 60, 3, 0));
  EXPECT_EQ(TimePositions(m), (Positions{1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

  // Hide "Date" too, then show both back: each lands at the right end.
  m.UpdateColumnByName(R::Time, u"Date", 80, 1, 0);
  m.UpdateColumnByName(R::Time, u"Date", 80, 1, 1);
  m.UpdateColumnByName(R::Time, u"Client", 60, 0, 1);
  EXPECT_EQ(TimePositions(m), (Positions{13, 1, 14, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(Shown(m, R::Expense).size(), 16u);  // the other range never moved
}

TEST(ColumnModelTest, MovesSwapNeighboursAndStopAtTheEnds) {
  // {up, position, moved}
  const std::tuple<bool, std::uint32_t, bool> cases[] = {{true, 1, false},  {true, 0, false},  {false, 14, false},
                                                        {false, 0, false}, {true, 15, false}, {true, 14, true}, {false, 1, true}};
  for (const auto& [up, position, moved] : cases) {
    ColumnModel m;
    Names expected = Shown(m, R::Time);
    EXPECT_EQ(up ? m.MoveColumnUp(R::Time, position) : m.MoveColumnDown(R::Time, position), moved);
    if (moved) std::swap(expected[position - 1], expected[up ? position - 2 : position]);
    EXPECT_EQ(Shown(m, R::Time), expected) << up << " " << position;
  }
  ColumnModel m;  // with the last column hidden, 13 is the right end
  m.UpdateColumnByPosition(R::Time, 14, u"N", 30, 14, 0);
  EXPECT_FALSE(m.MoveColumnDown(R::Time, 13));
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
struct BrokenTable {
  const char* what;
  std::vector<std::pair<int, std::uint32_t>> positions;  // entry, stored position (0 hides it)
  std::vector<int> unnamed;                               // entries stored with an empty name
  Names shown;
};

void PrintTo(const BrokenTable& t, std::ostream* os) { *os << t.what; }

class ColumnRepairTest : public testing::TestWithParam<BrokenTable> {};

TEST_P(ColumnRepairTest, KeepsEveryShownColumnInItsOrder) {
  Bytes bytes;
  ColumnModel().Serialize(&bytes);
  for (const auto& [entry, position] : GetParam().positions) {
    bytes[41 * entry + 32] = position != 0;
    bytes[41 * entry + 37] = std::uint8_t(position);
  }
  for (int entry : GetParam().unnamed) bytes[41 * entry] = bytes[41 * entry + 1] = 0;
  ColumnModel m;
  ASSERT_TRUE(m.Deserialize(bytes.data(), bytes.size()));
  EXPECT_EQ(Shown(m, R::Time), GetParam().shown);
  Positions want;
  for (std::uint32_t p = 1; p <= GetParam().shown.size(); ++p) want.push_back(p);
  Positions got;
  for (int i = 0; i <= 13; ++i)
    if (m.GetColumn(i).visible) got.push_back(m.GetColumn(i).position);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, want);
  EXPECT_EQ(Shown(m, R::Expense).size(), 16u);  // the other range is left alone
}

const Names kAllTime = {u"Date", u"Hours", u"Client", u"Project", u"Start", u"End", u"Rate",
                        u"Subproject", u"Task", u"Ccy", u"Amount", u"B", u"B'd", u"N"};
const Names kDateLast = {u"Hours", u"Client", u"Project", u"Start", u"End", u"Rate", u"Subproject",
                         u"Task", u"Ccy", u"Amount", u"B", u"B'd", u"N", u"Date"};
const Names kNoHours = {u"Date", u"Client", u"Project", u"Start", u"End", u"Rate", u"Subproject",
                        u"Task", u"Ccy", u"Amount", u"B", u"B'd", u"N"};
const Names kUnnamedFirst = {u"", u"Hours", u"Client", u"Project", u"Start", u"End", u"Rate",
                             u"Subproject", u"Task", u"Ccy", u"Amount", u"B", u"B'd", u"N"};

INSTANTIATE_TEST_SUITE_P(
    StoredTables, ColumnRepairTest,
    testing::Values(BrokenTable{"intact", {}, {}, kAllTime},
                    BrokenTable{"gap", {{2, 4}, {3, 5}}, {}, kAllTime},  // nobody at 3: Client and Project went missing
                    BrokenTable{"duplicate", {{5, 5}}, {}, kAllTime},
                    BrokenTable{"far_position", {{0, 200}}, {}, kDateLast},
                    BrokenTable{"hidden", {{1, 0}}, {}, kNoHours},
                    BrokenTable{"unnamed_shown_column", {}, {0}, kUnnamedFirst}),
    [](const testing::TestParamInfo<BrokenTable>& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace pw
