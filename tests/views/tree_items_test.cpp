#include "views/tree_items.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_host.h"

namespace pw {
namespace {

struct Pair {
  TreeItem item;
  RecordPosition position;
};

struct PositionCase {
  const char* name;
  std::vector<Pair> pairs;
  TreeItem asked;
  std::int64_t position;
};

class TreeItemPositionTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(TreeItemPositionTest, FindsTheLastPairOfTheItem) {
  const PositionCase& c = GetParam();
  TreeItemList table;
  for (const Pair& p : c.pairs) table.Append(p.item, p.position);
  EXPECT_EQ(table.PositionOf(c.asked), c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TreeItemPositionTest,
    ::testing::Values(PositionCase{"Empty", {}, 3, -1},
                      PositionCase{"Leaf", {{2, 7}, {5, 0}, {9, 4}}, 5, 0},
                      PositionCase{"FirstAndLast", {{2, 7}, {5, 0}, {9, 4}}, 9, 4},
                      PositionCase{"GroupBetweenLeaves", {{2, 7}, {5, 0}, {9, 4}}, 6, -1},
                      PositionCase{"BeforeAll", {{2, 7}, {5, 0}}, 1, -1},
                      PositionCase{"RepeatedItemLastWins", {{2, 7}, {2, 8}, {5, 0}}, 2, 8},
                      PositionCase{"UnorderedItems", {{9, 1}, {2, 7}, {9, 3}, {4, 2}}, 9, 3},
                      PositionCase{"UnorderedMissing", {{9, 1}, {2, 7}}, 4, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TreeItemList, HoldsEveryLeafOfALargeTreeInLeafOrder) {
  TreeNodeList nodes;
  // 1,000 records in 10 groups: far more leaves than a fixed table of 365 would hold.
  for (int i = 0; i < 1000; ++i) {
    const std::u16string group(1, char16_t(u'a' + i % 10));
    const std::u16string_view groups[] = {group};
    nodes.AddRecordPath(groups, u"x", RecordPosition(1000 - i));
  }
  TreeItemList table;
  table.FillFromLeaves(nodes);
  ASSERT_EQ(table.count(), 1000u);
  for (TreeNodeId id = 0; id < TreeNodeId(nodes.size()); ++id) {
    const TreeNode& n = nodes.node(id);
    EXPECT_EQ(table.PositionOf(id), n.hasChildren ? -1 : std::int64_t(n.recordPosition));
    if (!n.hasChildren) {
      EXPECT_EQ(table.ItemOf(n.recordPosition), id);
    }
  }
  EXPECT_EQ(table.ItemOf(5000), PWH_NO_TREE_ITEM);
}

struct SelectionCase {
  const char* name;
  TreeItem selected;
  std::int64_t position;
  const char16_t* message;  // null: none
  unsigned icon;
};

class TreeSelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(TreeSelectionTest, GivesTheLeafsRecordOrSaysWhyNot) {
  const SelectionCase& c = GetParam();
  test::ScriptedHost host;
  TreeItemList table;
  table.Append(3, 40), table.Append(7, 12);
  EXPECT_EQ(TreeSelectionToPosition(table, c.selected), c.position);
  if (!c.message) {
    EXPECT_TRUE(host.messages.empty());
    return;
  }
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, c.message);
  EXPECT_EQ(host.messages[0].title, u"Record Selection");
  EXPECT_EQ(host.messages[0].type & MB_ICONMASK, c.icon);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, TreeSelectionTest,
    ::testing::Values(SelectionCase{"Leaf", 7, 12, nullptr, 0},
                      SelectionCase{"Nothing", PWH_NO_TREE_ITEM, -1, u"No records available.", MB_ICONSTOP},
                      SelectionCase{"Group", 5, -1, u"Please select a record first.", MB_ICONWARNING}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pw
