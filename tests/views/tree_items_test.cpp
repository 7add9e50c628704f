#include "views/tree_items.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_host.h"

namespace pw {
namespace {

TEST(TreeItemList, FindsTheLastPairOfTheItem) {
  using Pairs = std::vector<std::pair<TreeItem, RecordPosition>>;
  const struct { const char* name; Pairs pairs; TreeItem asked; std::int64_t position; } cases[] = {
      {"empty", {}, 3, -1},
      {"leaf", {{2, 7}, {5, 0}, {9, 4}}, 5, 0},
      {"group between leaves", {{2, 7}, {5, 0}, {9, 4}}, 6, -1},
      {"before all", {{2, 7}, {5, 0}}, 1, -1},
      {"repeated item: the last wins", {{2, 7}, {2, 8}, {5, 0}}, 2, 8},
      {"unordered items", {{9, 1}, {2, 7}, {9, 3}, {4, 2}}, 9, 3},
      {"unordered, missing", {{9, 1}, {2, 7}}, 4, -1},
  };
  for (const auto& c : cases) {
    TreeItemList table;
    for (auto [item, position] : c.pairs) table.Append(item, position);
    EXPECT_EQ(table.PositionOf(c.asked), c.position) << c.name;
  }
}

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

// Which message is told by its icon.
TEST(TreeItemList, SelectionGivesTheLeafsRecordOrSaysWhyNot) {
  test::ScriptedHost host;
  TreeItemList table;
  table.Append(3, 40), table.Append(7, 12);
  EXPECT_EQ(TreeSelectionToPosition(nullptr, table, 7), 12);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(TreeSelectionToPosition(nullptr, table, PWH_NO_TREE_ITEM), -1);
  EXPECT_EQ(TreeSelectionToPosition(nullptr, table, 5), -1);  // a group
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].type & MB_ICONMASK, unsigned(MB_ICONSTOP));
  EXPECT_EQ(host.messages[1].type & MB_ICONMASK, unsigned(MB_ICONWARNING));
  EXPECT_EQ(host.messages[1].title, u"Record Selection");
}

}  // namespace
}  // namespace pw
