#include "views/tree_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pw {
namespace {

// Two days, the first with two clients; groups of two levels, one leaf each:
//   d1 > a > 1, d1 > a > 2, d1 > b > 3, d2 > a > 4
class TreeRowsTest : public testing::Test {
 public:
  void SetUp() override {
    const char16_t* paths[][3] = {{u"d1", u"a", u"1"}, {u"d1", u"a", u"2"}, {u"d1", u"b", u"3"}, {u"d2", u"a", u"4"}};
    for (RecordPosition position = 0; position < 4; ++position) {
      const std::u16string_view groups[] = {paths[position][0], paths[position][1]};
      nodes_.AddRecordPath(groups, paths[position][2], position);
    }
    rows_.Reset(&nodes_);
  }

  TreeNodeId Node(std::u16string_view top, std::u16string_view second = {}) const {
    const TreeNodeId id = nodes_.FindTreeNode(top, PWH_NO_TREE_NODE, 0);
    return second.empty() ? id : nodes_.FindTreeNode(second, id, 1);
  }

  // The shown rows as "label label ...", each row's RowOf checked on the way.
  std::string Shown() const {
    std::string out;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
      const TreeNodeId id = rows_.NodeAt(row);
      EXPECT_EQ(rows_.RowOf(id), int(row));
      const std::u16string_view text = nodes_.text(id);
      out += (out.empty() ? "" : " ") + std::string(text.begin(), text.end());
    }
    return out;
  }

  TreeNodeList nodes_;
  TreeRows rows_;
};

TEST_F(TreeRowsTest, ShowsTheChildrenOfOpenGroupsDepthFirst) {
  const struct { const char* name; void (*change)(TreeRowsTest&); const char* shown; } cases[] = {
      {"a day open", [](TreeRowsTest& t) { t.rows_.SetOpen(t.Node(u"d1"), true); }, "d1 a b d2"},
      {"a closed day keeps its open client hidden",
       [](TreeRowsTest& t) { t.rows_.SetOpen(t.Node(u"d1", u"a"), true); }, "d1 d2"},
      {"a whole subtree", [](TreeRowsTest& t) { t.rows_.SetSubtreeOpen(t.Node(u"d1"), true); }, "d1 a 1 2 b 3 d2"},
      {"parents of a leaf",
       [](TreeRowsTest& t) { t.rows_.OpenParentsOf(t.nodes_.Children(t.Node(u"d2", u"a"))[0]); }, "d1 d2 a 4"},
      {"a leaf cannot open", [](TreeRowsTest& t) { t.rows_.SetOpen(t.nodes_.Children(t.Node(u"d2", u"a"))[0], true); },
       "d1 d2"},
      {"each node flips on its own",
       [](TreeRowsTest& t) {
         t.rows_.SetOpen(t.Node(u"d1", u"a"), true);
         const TreeNodeId roots[] = {t.Node(u"d1"), t.Node(u"d2")};
         t.rows_.FlipSubtrees(roots);
       },
       "d1 a b 3 d2 a 4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    rows_.Reset(&nodes_);
    c.change(*this);
    rows_.Update();
    EXPECT_EQ(Shown(), c.shown);
  }
}

// A new tree of changed records opens the groups that were open, by their
// path: a group whose day is gone stays closed, even where its text recurs.
TEST_F(TreeRowsTest, OpenGroupsAreOpenedAgainInANewTree) {
  rows_.SetSubtreeOpen(Node(u"d1"), true);
  rows_.SetSubtreeOpen(Node(u"d2"), true);
  rows_.SetOpen(Node(u"d1", u"b"), false);
  rows_.Update();
  const std::vector<OpenGroup> open = rows_.OpenGroups();
  ASSERT_EQ(open.size(), 4u);  // d1, d1 > a, d2, d2 > a

  const char16_t* paths[][3] = {{u"d1", u"a", u"1"}, {u"d1", u"b", u"3"}, {u"d3", u"a", u"5"}};
  nodes_.Clear();
  for (RecordPosition position = 0; position < 3; ++position) {
    const std::u16string_view groups[] = {paths[position][0], paths[position][1]};
    nodes_.AddRecordPath(groups, paths[position][2], position);
  }
  rows_.Reset(&nodes_);
  rows_.Reopen(open);
  rows_.Update();
  EXPECT_EQ(Shown(), "d1 a 1 b d3");
}

TEST_F(TreeRowsTest, AHiddenNodeLeadsToTheGroupThatClosedOverIt) {
  const TreeNodeId day = Node(u"d1"), client = Node(u"d1", u"a"), leaf = nodes_.Children(client)[1];
  rows_.SetSubtreeOpen(day, true);
  rows_.Update();
  EXPECT_EQ(rows_.ShownNodeAtOrAbove(leaf), leaf);
  rows_.SetOpen(day, false);
  rows_.Update();
  EXPECT_EQ(rows_.RowOf(leaf), -1);
  EXPECT_EQ(rows_.ShownNodeAtOrAbove(leaf), day);
  EXPECT_TRUE(rows_.IsOpen(client));  // it opens again as it was
  EXPECT_EQ(rows_.ShownNodeAtOrAbove(PWH_NO_TREE_NODE), PWH_NO_TREE_NODE);
}

}  // namespace
}  // namespace pw
