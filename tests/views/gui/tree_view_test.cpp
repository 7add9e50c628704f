#include "views/gui/tree_view.h"

#include <QTest>

#include <vector>

#include "text/fixed_text.h"
#include "views/gui/tree_model.h"
#include "views/gui/tree_node_view.h"
#include "views/gui/view_selection.h"
#include "views/gui/view_fixture.h"

namespace pw {
namespace {

// A store with a few records of each kind, a configuration and a view area.
class TreeViewTest : public test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    area_.show();
    // Time: two clients on the 1st (Acme twice), one on the 2nd.
    const char16_t* clients[] = {u"Acme", u"Beta", u"Acme", u"Acme"};
    const char16_t* dates[] = {u"01/01/2000", u"01/01/2000", u"01/01/2000", u"01/02/2000"};
    for (int i = 0; i < 4; ++i) {
      TimeRecord r = test::Time(dates[i], clients[i]);
      CopyText(r.project, u"Web"), CopyText(r.subproject, u"S"), CopyText(r.task, u"T");
      CopyText(r.duration, i == 2 ? u"0:45" : u"1:30");
      test::Put(TimeDatabase, r);
    }
    ExpenseRecord e = test::Expense(u"01/05/2000", u"Acme");
    CopyText(e.amount, u"45.00");
    test::Put(ExpenseDatabase, e);
  }

  bool Recreate() { return RecreateCurrentTreeView(); }

  const TreeNodeModel* Model() const { return TreeViewWindow->nodeModel(); }

  // The item of the node with this path of texts from the top.
  TreeItem ItemAt(const std::vector<std::u16string_view>& path) const {
    TreeNodeId id = PWH_NO_TREE_NODE;
    int level = 0;
    for (std::u16string_view text : path) id = Model()->nodes().FindTreeNode(text, id, level++);
    return id;
  }

  // The leaf of the record at a position.
  TreeItem LeafOf(RecordPosition position) const { return TreeItemTable.ItemOf(position); }

  bool Expanded(TreeItem item) const { return TreeViewWindow->isOpen(item); }
};

TEST_F(TreeViewTest, BuildsTheTreeOfEachMode) {
  const struct { int mode, topRows, leaves; } cases[] = {{PWH_TIME_MODE, 2, 4}, {PWH_EXPENSE_MODE, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    AppMode = c.mode;
    host.status.clear();
    ASSERT_TRUE(Recreate());
    EXPECT_EQ(TreeViewWindow->objectName(), "PWH Main Tree View");
    EXPECT_EQ(TreeViewWindow->geometry(), GetViewRectangle());
    EXPECT_EQ(TreeViewWindow->model()->rowCount(), c.topRows);
    EXPECT_EQ(TreeItemCount, c.leaves);
    EXPECT_EQ(TreeItemTable.count(), std::size_t(c.leaves));
    EXPECT_EQ(host.statusText(PWH_STATUS_COUNT), Format(u"%2d", c.leaves));
    EXPECT_EQ(host.statusHistory(PWH_STATUS_ACTIVITY), (std::vector<std::u16string>{u"loading tree view...", u"idle"}));
  }
  // Every node shows the grey circle of the strip, also a leaf.
  const QModelIndex top = TreeViewWindow->model()->index(0, 0);
  EXPECT_FALSE(top.data(Qt::DecorationRole).isNull());
  EXPECT_EQ(top.data().toString(), "01/05/2000");
  // Tearing the view down empties the record table.
  DestroyCurrentView();
  EXPECT_EQ(TreeItemCount, 0);
  EXPECT_EQ(TreeItemTable.count(), 0u);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TreeViewTest, KeepsTheCurrentRecordOrGroupAcrossRebuilds) {
  ASSERT_TRUE(Recreate());
  // An empty path: the leaf of record 2.
  const std::vector<std::u16string_view> cases[] = {{}, {u"01/01/2000", u"Beta", u"Web"}};
  for (const auto& path : cases) {
    SCOPED_TRACE(path.empty() ? "leaf" : "group");
    const TreeItem item = path.empty() ? LeafOf(2) : ItemAt(path);
    ASSERT_TRUE(SelectTreeItem(TreeViewWindow, item));
    const std::u16string label(Model()->nodes().text(item));
    TreeNodeView* before = TreeViewWindow;
    ASSERT_TRUE(Recreate());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(TreeViewWindow, before);
    const TreeItem now = SelectedTreeItem(TreeViewWindow);
    ASSERT_NE(now, PWH_NO_TREE_ITEM);
    EXPECT_EQ(Model()->nodes().text(now), label);
    EXPECT_EQ(ShownRecordPosition(), path.empty() ? 2 : -1);
    // Its parents are open, so it is in sight, and the tree has the keyboard.
    for (TreeNodeId up = Model()->nodes().node(now).parent; up != PWH_NO_TREE_NODE; up = Model()->nodes().node(up).parent)
      EXPECT_TRUE(Expanded(up));
    EXPECT_EQ(area_.focusWidget(), TreeViewWindow);
  }
  // The commands find the selected leaf's record; on a group they ask for a record.
  ASSERT_TRUE(SelectTreeItem(TreeViewWindow, LeafOf(3)));
  EXPECT_EQ(SelectedRecordPosition(), 3);
  ASSERT_TRUE(SelectTreeItem(TreeViewWindow, ItemAt({u"01/01/2000", u"Acme"})));
  EXPECT_EQ(SelectedRecordPosition(), -1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, u"Please select a record first.");
  // A tree of the other mode does not look for the old tree's record.
  ASSERT_TRUE(SelectTreeItem(TreeViewWindow, LeafOf(0)));
  AppMode = PWH_EXPENSE_MODE;
  ASSERT_TRUE(Recreate());
  EXPECT_EQ(SelectedTreeItem(TreeViewWindow), PWH_NO_TREE_ITEM);
}

TEST_F(TreeViewTest, ExpandCollapseTogglesEveryNodeBelowTheSelectedOne) {
  ASSERT_TRUE(Recreate());
  const TreeItem day = ItemAt({u"01/01/2000"});
  const TreeItem acme = ItemAt({u"01/01/2000", u"Acme"});
  const TreeItem acmeWeb = ItemAt({u"01/01/2000", u"Acme", u"Web"});
  const TreeItem beta = ItemAt({u"01/01/2000", u"Beta"});
  const TreeItem otherDay = ItemAt({u"01/02/2000"});

  // Nothing selected: a message, nothing changes.
  ExpandCollapseTree(nullptr);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].title, host.messages[0].type),
            std::tuple(u"There are no tree nodes selected.", u"PWH Tree View", MB_OK | MB_ICONINFORMATION));

  // Each node flips on its own: the open Acme closes while everything else under the day opens.
  TreeViewWindow->setOpen(acme, true);
  ASSERT_TRUE(SelectTreeItem(TreeViewWindow, day));
  ExpandCollapseTree(nullptr);
  EXPECT_TRUE(Expanded(day));
  EXPECT_FALSE(Expanded(acme));
  EXPECT_TRUE(Expanded(acmeWeb));
  EXPECT_TRUE(Expanded(beta));
  EXPECT_FALSE(Expanded(otherDay));  // not below the selected node
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(TreeViewTest, TheKeyboardAndTheMouseOpenAndCloseGroups) {
  ASSERT_TRUE(Recreate());
  const TreeItem day = ItemAt({u"01/01/2000"});
  const TreeItem acme = ItemAt({u"01/01/2000", u"Acme"});
  struct Case {
    const char* name;
    TreeItem start;
    bool startOpen;        // the start node's group open first
    int key;
    TreeItem current;      // afterwards
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

  // Closing the group over the current leaf makes the group current.
  ASSERT_TRUE(SelectTreeItem(TreeViewWindow, LeafOf(0)));
  TreeViewWindow->setOpen(day, false);
  EXPECT_EQ(SelectedTreeItem(TreeViewWindow), day);
  // A click on a group's sign flips it and leaves the selection alone.
  ASSERT_TRUE(SelectTreeItem(TreeViewWindow, acme));  // opens the day again
  const QRect row = TreeViewWindow->visualRect(Model()->indexOf(acme));
  const QPoint sign(row.left() + TreeViewWindow->indentation() * 3 / 2, row.center().y());
  const bool open = Expanded(acme);
  QTest::mouseClick(TreeViewWindow->viewport(), Qt::LeftButton, {}, sign);
  EXPECT_NE(Expanded(acme), open);
  EXPECT_EQ(SelectedTreeItem(TreeViewWindow), acme);
}

TEST_F(TreeViewTest, AReadFailureLeavesAnEmptyTree) {
  // A record whose stored bytes are cut short cannot be read.
  DamageRecord(test::Put(TimeDatabase, test::Time(u"01/09/2000")));
  EXPECT_FALSE(Recreate());
  ASSERT_NE(TreeViewWindow, nullptr);
  EXPECT_EQ(TreeViewWindow->model()->rowCount(), 0);
  EXPECT_EQ(TreeItemCount, 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, u"Pennywhistle Db Error");
}

}  // namespace
}  // namespace pw
