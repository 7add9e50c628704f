#include "views/tree_nodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "selection/selection.h"
#include "storage/store_fixture.h"
#include "text/fixed_text.h"
#include "text/time_text.h"
#include "support/locale_guard.h"

namespace pw {
namespace {

// The tree as text: each node's text followed by its children in brackets,
// or for a leaf by "@" and its record's position; siblings apart by a blank.
std::string Draw(const TreeNodeList& nodes, TreeNodeId parent = PWH_NO_TREE_NODE) {
  std::string out;
  for (TreeNodeId id : nodes.Children(parent)) {
    const std::u16string_view text = nodes.text(id);
    out += (out.empty() ? "" : " ") + std::string(text.begin(), text.end());
    out += nodes.node(id).hasChildren ? "(" + Draw(nodes, id) + ")" : "@" + std::to_string(nodes.node(id).recordPosition);
  }
  return out;
}

// A record as the tree sees it: date, client, project, subproject (time) or
// description (expense), task (time only), duration (time) or amount (expense).
struct Row {
  const char16_t *date, *client, *project, *third, *task, *last;
};

struct GroupingCase {
  const char* name;
  bool expense, european;
  std::vector<Row> rows;  // at positions 0, 1, 2, ...
  const char* tree;
};

const GroupingCase kGroupingCases[] = {
    // A group is shared under its own parent only (the same client on another date, the same project
    // under another client are groups of their own); children keep the order they first appeared in,
    // and texts differing in case only are apart.
    {"GroupsAreSharedUnderTheSameParentOnly", false, false,
     {{u"03/14/2024", u"Beta", u"Web", u"S", u"T", u"1:00"},
      {u"03/15/2024", u"Acme", u"Web", u"S", u"T", u"2:00"},
      {u"03/14/2024", u"Acme", u"Web", u"S", u"T", u"1:00"},
      {u"03/14/2024", u"Beta", u"Web", u"S", u"U", u"7:45"},
      {u"03/14/2024", u"acme", u"Web", u"S", u"T", u"1:00"}},
     "03/14/2024(Beta(Web(S(T(1.00@0) U(7.75@3)))) Acme(Web(S(T(1.00@2)))) acme(Web(S(T(1.00@4))))) "
     "03/15/2024(Acme(Web(S(T(2.00@1)))))"},
    {"NoDurationAndEmptyAndNotAvailableTexts", false, false,
     {{u"--/--/----", u"n/a", u"", u"n/a", u"", u"--:--"}, {u"--/--/----", u"", u"", u"n/a", u"", u"--:--"}},
     "--/--/----(n/a((n/a((--:--@0)))) ((n/a((--:--@1)))))"},
    {"EuropeanDates", false, true,
     {{u"12/31/2000", u"Acme", u"P", u"S", u"T", u"0:15"}, {u"not a date", u"Acme", u"P", u"S", u"T", u"0:15"}},
     "31.12.2000(Acme(P(S(T(0.25@0))))) 00/00/0000(Acme(P(S(T(0.25@1)))))"},
    {"ExpenseLevelsEndInTheAmount", true, false,
     {{u"03/14/2024", u"Acme", u"Trip", u"Train", u"", u"45.00"},
      {u"03/14/2024", u"Acme", u"Trip", u"Hotel", u"", u"n/a"},
      {u"03/14/2024", u"Acme", u"Trip", u"Train", u"", u"12.50"}},
     "03/14/2024(Acme(Trip(Train(45.00@0 12.50@2) Hotel(n/a@1))))"},
};

// Under the C and a comma-decimal locale: hours keep their point.
TEST(TreeNodeList, BuildsTheGroupsInFirstAppearanceOrder) {
  for (const char* locale : test::kTestLocales) {
    test::LocaleGuard guard(locale);
    for (const GroupingCase& c : kGroupingCases) {
      SCOPED_TRACE(c.name + (" under " + std::string(locale)));
      TreeNodeList nodes;
      for (std::size_t i = 0; i < c.rows.size(); ++i) {
        const Row& row = c.rows[i];
        const TreeRecordTexts texts{row.date, row.client, row.project, row.third, row.task, row.last};
        AddRecordNodes(nodes, texts, c.expense, RecordPosition(i), TreeTextFormat{c.european});
      }
      EXPECT_EQ(Draw(nodes), c.tree);
      EXPECT_EQ(nodes.recordCount(), c.rows.size());
    }
  }
}

TEST(TreeNodeList, FindsEveryGroupAgainAfterTheLookupTableGrew) {
  TreeNodeList nodes;
  std::vector<std::u16string> clients;
  for (int i = 0; i < 2000; ++i) clients.push_back(u"Client " + std::u16string(1, char16_t(0x4E00 + i)));
  for (const std::u16string& client : clients) {
    const std::u16string_view groups[] = {u"day", client};
    nodes.AddRecordPath(groups, u"1.00", 0);
  }
  const TreeNodeId day = nodes.FindTreeNode(u"day", PWH_NO_TREE_NODE, 0);
  ASSERT_EQ(nodes.Children(day).size(), clients.size());
  for (std::size_t i = 0; i < clients.size(); i += 7) {
    const TreeNodeId client = nodes.FindTreeNode(clients[i], day, 1);
    ASSERT_NE(client, PWH_NO_TREE_NODE);
    EXPECT_EQ(nodes.Children(day)[std::size_t(nodes.RowOf(client))], client);
    EXPECT_EQ(nodes.FindTreeNode(clients[i], day, 2), PWH_NO_TREE_NODE);  // the level takes part
  }
}

// --- Loading from the store ----------------------------------------------------

// Positions 0..5 hold clients C0, C2, C4 on the 1st and C1, C3, C5 on the 2nd.
class TreeStoreTest : public test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    for (int i = 0; i < 6; ++i) {
      TimeRecord r = test::Time(i % 2 ? u"01/02/2000" : u"01/01/2000", std::u16string(u"C") + char16_t(u'0' + i));
      CopyText(r.duration, u"1:00");
      oids_.push_back(test::Put(TimeDatabase, r));
    }
  }
  void Show(int mode, const std::vector<RecordPosition>& shown) {
    RecordSetMode = mode;
    DisplayedRecordList.Clear();
    for (RecordPosition p : shown) DisplayedRecordList.Append(p);
  }
  std::vector<CEOID> oids_;
};

// Makes every deferred day of a loaded tree.
void BuildAll(TreeNodeList& nodes) {
  const std::span<const TreeNodeId> days = nodes.Children(PWH_NO_TREE_NODE);
  ASSERT_TRUE(nodes.Build(std::vector<TreeNodeId>(days.begin(), days.end())));
}

TEST_F(TreeStoreTest, WalksTheShownRecords) {
  const struct { int mode; std::vector<RecordPosition> shown; const char* tree; } cases[] = {
      {PWH_ALL_REC_MODE, {}, "01/01/2000(C0((((1.00@0)))) C2((((1.00@1)))) C4((((1.00@2))))) "
                             "01/02/2000(C1((((1.00@3)))) C3((((1.00@4)))) C5((((1.00@5)))))"},
      {PWH_SELECT_REC_MODE, {2, 5}, "01/01/2000(C4((((1.00@2))))) 01/02/2000(C5((((1.00@5)))))"},
      {PWH_SELECT_REC_MODE, {}, ""},
      {PWH_SELECT_REC_MODE, {1, 9, 4}, "01/01/2000(C2((((1.00@1)))))"},  // a missing position ends the walk
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tree);
    Show(c.mode, c.shown);
    TreeNodeList nodes;
    ASSERT_TRUE(LoadTreeNodes(nullptr, TimeDatabase, PWH_TIME_MODE, state, {}, &nodes));
    BuildAll(nodes);
    EXPECT_EQ(Draw(nodes), c.tree);
  }
  EXPECT_TRUE(host.messages.empty());
}

// Every node's label, depth first, as the view shows them.
std::string Labels(const TreeNodeList& nodes, TreeNodeId parent = PWH_NO_TREE_NODE) {
  std::string out;
  for (TreeNodeId id : nodes.Children(parent)) {
    const std::u16string label = nodes.Label(id, SYSTEMTIME{});
    out += " " + std::string(label.begin(), label.end()) + Labels(nodes, id);
  }
  return out;
}

// A loaded tree holds its days with their totals; a day's other nodes are
// made when asked for, the same as a tree made at once; a record that can no
// longer be read then gets the walk's message.
TEST_F(TreeStoreTest, MakesADaysNodesWhenAskedAsTheyWouldBeAtOnce) {
  Show(PWH_ALL_REC_MODE, {});
  TreeNodeList nodes, atOnce;
  ASSERT_TRUE(LoadTreeNodes(nullptr, TimeDatabase, PWH_TIME_MODE, state, {}, &nodes));
  EXPECT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes.recordCount(), 6u);
  EXPECT_EQ(Labels(nodes), " 01/01/2000  (3.00) 01/02/2000  (3.00)");

  const TreeNodeId leaf = nodes.LeafOf(3);  // on the 2nd: only that day is made
  ASSERT_NE(leaf, PWH_NO_TREE_NODE);
  EXPECT_EQ(nodes.node(leaf).recordPosition, 3u);
  EXPECT_TRUE(nodes.node(0).deferred);
  EXPECT_TRUE(nodes.Children(0).empty());
  EXPECT_EQ(nodes.LeafOf(6), PWH_NO_TREE_NODE);

  for (RecordPosition p = 0; p < 6; ++p) {
    const std::u16string client = u"C" + std::u16string(1, char16_t(u'0' + (p < 3 ? 2 * p : 2 * (p - 3) + 1)));
    const TreeRecordTexts texts{p < 3 ? u"01/01/2000" : u"01/02/2000", client, u"", u"", u"", u"1:00"};
    AddRecordNodes(atOnce, texts, false, p, {}, 1.0f);
  }
  BuildAll(nodes);
  EXPECT_EQ(Labels(nodes), Labels(atOnce));
  EXPECT_EQ(Draw(nodes), Draw(atOnce));
  EXPECT_EQ(nodes.recordCount(), 6u);

  ASSERT_TRUE(LoadTreeNodes(nullptr, TimeDatabase, PWH_TIME_MODE, state, {}, &nodes));
  DamageRecord(oids_[4]);
  const TreeNodeId days[] = {0, 1};
  EXPECT_FALSE(nodes.Build(days));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text.rfind(u"LoadMainTreeViewListBox:", 0), 0u);
}

// The running timer's leaf shows its hours so far; the others keep theirs.
TEST_F(TreeStoreTest, TheRunningRecordsLeafShowsItsHoursAsTheyGrow) {
  TimeRecord r = test::Time(u"01/03/2000", u"Run");
  r.startHour = 9, r.startMinute = 15;
  CopyText(r.duration, PWH_NO_DURATION);
  const CEOID running = test::Put(TimeDatabase, r);
  Show(PWH_ALL_REC_MODE, {});
  TreeNodeList nodes;
  ASSERT_TRUE(LoadTreeNodes(nullptr, TimeDatabase, PWH_TIME_MODE, state, TreeTextFormat{false, running}, &nodes));
  BuildAll(nodes);
  std::vector<std::u16string> leaves;
  for (SYSTEMTIME now : {SYSTEMTIME{.wYear = 2000, .wMonth = 1, .wDay = 3, .wHour = 10, .wMinute = 45},
                         SYSTEMTIME{.wYear = 2000, .wMonth = 1, .wDay = 4, .wHour = 9, .wMinute = 30}})
    for (TreeNodeId id = 0; id < TreeNodeId(nodes.size()); ++id)
      if (!nodes.node(id).hasChildren && nodes.node(id).recordPosition >= 5) leaves.push_back(nodes.Label(id, now));
  EXPECT_EQ(leaves, (std::vector<std::u16string>{u"1.00", u"1.50", u"1.00", u"24.25"}));
}

TEST_F(TreeStoreTest, AReadFailureEndsTheBuildWithNothingAndTheWalksOwnMessage) {
  DamageRecord(oids_[3]);
  for (auto [mode, walk] : {std::pair{PWH_ALL_REC_MODE, u"LoadMainTreeViewListBox:"},
                            std::pair{PWH_SELECT_REC_MODE, u"LoadMainListBox:"}}) {
    SCOPED_TRACE(mode);
    host.messages.clear();
    Show(mode, {0, 1, 2, 3, 4, 5});
    TreeNodeList nodes;
    EXPECT_FALSE(LoadTreeNodes(nullptr, TimeDatabase, PWH_TIME_MODE, state, {}, &nodes));
    EXPECT_TRUE(nodes.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, u"Pennywhistle Db Error");
    EXPECT_EQ(host.messages[0].text.rfind(walk, 0), 0u);
  }
}

}  // namespace
}  // namespace pw
