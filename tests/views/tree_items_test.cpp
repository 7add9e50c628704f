#include "views/tree_items.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_host.h"

namespace pw {
namespace {

TEST(TreeItemList, PairsEveryLeafOfALargeTreeWithItsRecord) {
  TreeNodeList nodes;
  // 1,000 records in 10 groups: far more leaves than a fixed table of 365 would hold.
  for (int i = 0; i < 1000; ++i) {
    const std::u16string group(1, char16_t(u'a' + i % 10));
    const std::u16string_view groups[] = {group};
    nodes.AddRecordPath(groups, u"x", RecordPosition(1000 - i));
  }
  TreeItemList table;
  EXPECT_EQ(table.ItemOf(1000), PWH_NO_TREE_ITEM);  // no tree yet
  table.Attach(&nodes);
  ASSERT_EQ(table.count(), 1000u);
  for (TreeNodeId id = 0; id < TreeNodeId(nodes.size()); ++id) {
    const TreeNode& n = nodes.node(id);
    EXPECT_EQ(table.PositionOf(id), n.hasChildren ? -1 : std::int64_t(n.recordPosition));
    if (!n.hasChildren) {
      EXPECT_EQ(table.ItemOf(n.recordPosition), id);
    }
  }
  EXPECT_EQ(table.ItemOf(5000), PWH_NO_TREE_ITEM);
  EXPECT_EQ(table.PositionOf(TreeItem(nodes.size())), -1);
  table.Clear();
  EXPECT_EQ(table.count(), 0u);
}

// Which message is told by its icon.
TEST(TreeItemList, SelectionGivesTheLeafsRecordOrSaysWhyNot) {
  test::ScriptedHost host;
  TreeNodeList nodes;
  const std::u16string_view groups[] = {u"day"};
  const TreeNodeId leaf = nodes.AddRecordPath(groups, u"1.00", 12);
  TreeItemList table;
  table.Attach(&nodes);
  EXPECT_EQ(TreeSelectionToPosition(nullptr, table, leaf), 12);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(TreeSelectionToPosition(nullptr, table, PWH_NO_TREE_ITEM), -1);
  EXPECT_EQ(TreeSelectionToPosition(nullptr, table, nodes.node(leaf).parent), -1);  // a group
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].type & MB_ICONMASK, unsigned(MB_ICONSTOP));
  EXPECT_EQ(host.messages[1].type & MB_ICONMASK, unsigned(MB_ICONWARNING));
  EXPECT_EQ(host.messages[1].title, u"Record Selection");
}

}  // namespace
}  // namespace pw
