#include "views/gui/tree_view.h"

#include <QAccessible>
#include <QTest>

#include <tuple>

#include "views/gui/view_selection.h"
#include "views/gui/view_fixture.h"

namespace pw {
namespace {

// Acme twice and Beta on the 1st, Acme on the 2nd.
class TreeViewTest : public test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    area_.show();
    const char16_t* clients[] = {u"Acme", u"Beta", u"Acme", u"Acme"};
    for (int i = 0; i < 4; ++i) {
      TimeRecord r = test::Time(i == 3 ? u"01/02/2000" : u"01/01/2000", clients[i]);
      CopyText(r.project, u"Web"), CopyText(r.subproject, u"S"), CopyText(r.task, u"T");
      test::Put(TimeDatabase, r);
    }
    ASSERT_TRUE(Recreate());
  }
  bool Recreate() { return RecreateTreeView(Sources()); }
  const TreeNodeModel* Model() const { return TreeViewWindow->nodeModel(); }
  // The item of the node with this path of texts from the top (its day made
  // first when deferred).
  TreeItem ItemAt(const std::vector<std::u16string_view>& path) const {
    TreeNodeId id = PWH_NO_TREE_NODE;
    int level = 0;
    for (std::u16string_view text : path) {
      if (id != PWH_NO_TREE_NODE) TreeViewWindow->nodeModel()->nodes().Build(std::span<const TreeNodeId>(&id, 1));
      id = Model()->nodes().FindTreeNode(text, id, level++);
    }
    return id;
  }
  TreeItem LeafOf(RecordPosition position) const { return state.TreeItemTable.ItemOf(position); }
  bool Expanded(TreeItem item) const { return TreeViewWindow->isOpen(item); }
};

TEST_F(TreeViewTest, KeepsTheCurrentRecordOrGroupAndTheFocusAcrossRebuilds) {
  // An empty path: the leaf of record 2.
  const std::vector<std::u16string_view> cases[] = {{}, {u"01/01/2000", u"Beta", u"Web"}};
  for (const auto& path : cases) {
    SCOPED_TRACE(path.empty() ? "leaf" : "group");
    ASSERT_TRUE(SelectTreeItem(TreeViewWindow, path.empty() ? LeafOf(2) : ItemAt(path)));
    const std::u16string label(Model()->nodes().text(SelectedTreeItem(TreeViewWindow)));
    ASSERT_TRUE(Recreate());
    const TreeItem now = SelectedTreeItem(TreeViewWindow);
    ASSERT_NE(now, PWH_NO_TREE_ITEM);
    EXPECT_EQ(Model()->nodes().text(now), label);
    EXPECT_EQ(ShownRecordPosition(state), path.empty() ? 2 : -1);
    EXPECT_TRUE(TreeViewWindow->viewport()->rect().intersects(TreeViewWindow->visualRect(Model()->indexOf(now))));
    EXPECT_EQ(area_.focusWidget(), TreeViewWindow);
  }
  // A group the user opened elsewhere stays open.
  TreeViewWindow->setOpen(ItemAt({u"01/02/2000"}), true);
  ASSERT_TRUE(Recreate());
  EXPECT_TRUE(Expanded(ItemAt({u"01/02/2000"})));
  EXPECT_FALSE(Expanded(ItemAt({u"01/02/2000", u"Acme"})));
}

// A screen reader hears a tree: each row's label, level, and whether it is a group, open or closed;
// its toggle opens and closes the group.
TEST_F(TreeViewTest, ScreenReadersHearATreeWithLevelsAndOpenGroups) {
  QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(TreeViewWindow);
  ASSERT_EQ(std::tuple(tree->role(), tree->childCount()), std::tuple(QAccessible::Tree, 2));
  const auto row = [&](int i) {
    QAccessibleInterface* r = tree->child(i);
    const QAccessible::State s = r->state();
    return std::tuple(r->role(), r->text(QAccessible::Name), r->text(QAccessible::Description),
                      bool(s.expandable), bool(s.expanded), bool(s.collapsed));
  };
  EXPECT_EQ(row(0), std::tuple(QAccessible::TreeItem, "01/01/2000  (0.00)", "level 1", true, false, true));
  tree->child(0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(std::tuple(tree->childCount(), tree->indexOfChild(tree->child(1))), std::tuple(4, 1));
  EXPECT_EQ(row(0), std::tuple(QAccessible::TreeItem, "01/01/2000  (0.00)", "level 1", true, true, false));
  EXPECT_EQ(row(1), std::tuple(QAccessible::TreeItem, "Acme  (0.00)", "level 2", true, false, true));
}

TEST_F(TreeViewTest, ExpandCollapseTogglesTheSelectedSubtree) {
  const TreeItem day = ItemAt({u"01/01/2000"});
  ASSERT_TRUE(SelectTreeItem(TreeViewWindow, day));
  ExpandCollapseTree(nullptr, TreeViewWindow);
  EXPECT_TRUE(Expanded(day) && Expanded(ItemAt({u"01/01/2000", u"Beta"})));
  EXPECT_FALSE(Expanded(ItemAt({u"01/02/2000"})));  // not below the selected node
}

TEST_F(TreeViewTest, TheKeyboardAndTheMouseOpenAndCloseGroups) {
  const TreeItem day = ItemAt({u"01/01/2000"}), acme = ItemAt({u"01/01/2000", u"Acme"});
  struct Case {
    const char* name;
    TreeItem start;
    bool startOpen;  // the start node's group open first
    int key;
    TreeItem current;  // afterwards
    bool dayOpen, acmeOpen;
  } const cases[] = {
      {"Right opens", day, false, Qt::Key_Right, day, true, false},
      {"Right on an open group goes in", day, true, Qt::Key_Right, acme, true, false},
      {"Left closes", day, true, Qt::Key_Left, day, false, false},
      {"Left on a closed group goes up", acme, false, Qt::Key_Left, day, true, false},
      {"Plus opens", acme, false, Qt::Key_Plus, acme, true, true},
      {"Minus closes", acme, true, Qt::Key_Minus, acme, true, false},
      {"Star opens everything below", day, false, Qt::Key_Asterisk, day, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TreeViewWindow->changeOpen([&](TreeRows& rows) { rows.SetSubtreeOpen(day, false); });
    ASSERT_TRUE(SelectTreeItem(TreeViewWindow, c.start));
    TreeViewWindow->setOpen(c.start, c.startOpen);
    QTest::keyClick(TreeViewWindow, Qt::Key(c.key));
    EXPECT_EQ(SelectedTreeItem(TreeViewWindow), c.current);
    EXPECT_EQ(Expanded(day), c.dayOpen);
    EXPECT_EQ(Expanded(acme), c.acmeOpen);
  }
  // A click on a group's sign flips it and leaves the selection alone.
  ASSERT_TRUE(SelectTreeItem(TreeViewWindow, acme));
  const QRect row = TreeViewWindow->visualRect(Model()->indexOf(acme));
  const bool open = Expanded(acme);
  QTest::mouseClick(TreeViewWindow->viewport(), Qt::LeftButton, {},
                    QPoint(row.left() + TreeViewWindow->indentation() * 3 / 2, row.center().y()));
  EXPECT_NE(Expanded(acme), open);
  EXPECT_EQ(SelectedTreeItem(TreeViewWindow), acme);
}

TEST_F(TreeViewTest, FillsTheViewAreaAndAReadFailureLeavesAnEmptyTree) {
  EXPECT_EQ(TreeViewWindow->geometry(), GetViewRectangle(state));
  DamageRecord(test::Put(TimeDatabase, test::Time(u"01/09/2000")));
  EXPECT_FALSE(Recreate());
  EXPECT_EQ(TreeViewWindow->model()->rowCount(), 0);
}

}  // namespace
}  // namespace pw
