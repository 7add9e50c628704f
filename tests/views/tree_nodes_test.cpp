#include "views/tree_nodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "selection/selection.h"
#include "storage/store_fixture.h"
#include "text/fixed_text.h"
#include "support/locale_guard.h"

namespace pw {
namespace {

// The tree drawn as text: one line per node in depth-first order, two blanks
// per level, a leaf followed by " @" and its record's position.
std::string Draw(const TreeNodeList& nodes, TreeNodeId parent = PWH_NO_TREE_NODE, int depth = 0) {
  std::string out;
  for (TreeNodeId id : nodes.Children(parent)) {
    const std::u16string_view text = nodes.text(id);
    out += std::string(std::size_t(depth) * 2, ' ') + std::string(text.begin(), text.end());
    if (!nodes.node(id).hasChildren) out += " @" + std::to_string(nodes.node(id).recordPosition);
    out += '\n';
    out += Draw(nodes, id, depth + 1);
  }
  return out;
}

// A record as the tree sees it: date, client, project, subproject (time) or
// description (expense), task (time only), duration (time) or amount
// (expense).
struct Row {
  const char16_t* date;
  const char16_t* client;
  const char16_t* project;
  const char16_t* third;
  const char16_t* task;
  const char16_t* last;
};

TimeRecord TimeOf(const Row& row) {
  TimeRecord r;
  PresetTreeRecord(r);
  CopyText(r.date, row.date), CopyText(r.client, row.client), CopyText(r.project, row.project);
  CopyText(r.subproject, row.third), CopyText(r.task, row.task), CopyText(r.duration, row.last);
  return r;
}

ExpenseRecord ExpenseOf(const Row& row) {
  ExpenseRecord r;
  PresetTreeRecord(r);
  CopyText(r.date, row.date), CopyText(r.client, row.client), CopyText(r.project, row.project);
  CopyText(r.description, row.third), CopyText(r.amount, row.last);
  return r;
}

struct GroupingCase {
  const char* name;
  bool expense;
  bool european;
  std::vector<Row> rows;  // at positions 0, 1, 2, ...
  const char* tree;
};

class GroupingTest : public ::testing::TestWithParam<std::tuple<GroupingCase, const char*>> {};

TEST_P(GroupingTest, BuildsTheGroupsInFirstAppearanceOrder) {
  const auto& [c, locale] = GetParam();
  test::LocaleGuard guard(locale);
  if (!guard.ok()) GTEST_SKIP() << "no locale " << locale;
  TreeNodeList nodes;
  for (std::size_t i = 0; i < c.rows.size(); ++i) {
    const TreeTextFormat format{c.european};
    if (c.expense) AddExpenseRecordNodes(nodes, ExpenseOf(c.rows[i]), RecordPosition(i), format);
    else AddTimeRecordNodes(nodes, TimeOf(c.rows[i]), RecordPosition(i), format);
  }
  EXPECT_EQ(Draw(nodes), c.tree);
  EXPECT_EQ(nodes.leafCount(), c.rows.size());
}

const GroupingCase kGroupingCases[] = {
    {"SameChainSharesFiveGroups", false, false,
     {{u"03/14/2024", u"Acme", u"Web", u"Shop", u"Code", u"01:30"},
      {u"03/14/2024", u"Acme", u"Web", u"Shop", u"Code", u"7:45"}},
     "03/14/2024\n  Acme\n    Web\n      Shop\n        Code\n          1.50 @0\n          7.75 @1\n"},
    {"SameClientOnTwoDates", false, false,
     {{u"03/14/2024", u"Acme", u"Web", u"S", u"T", u"1:00"}, {u"03/15/2024", u"Acme", u"Web", u"S", u"T", u"2:00"}},
     "03/14/2024\n  Acme\n    Web\n      S\n        T\n          1.00 @0\n"
     "03/15/2024\n  Acme\n    Web\n      S\n        T\n          2.00 @1\n"},
    {"SameProjectUnderTwoClients", false, false,
     {{u"03/14/2024", u"Acme", u"Web", u"S", u"T", u"1:00"}, {u"03/14/2024", u"Beta", u"Web", u"S", u"T", u"1:00"}},
     "03/14/2024\n  Acme\n    Web\n      S\n        T\n          1.00 @0\n"
     "  Beta\n    Web\n      S\n        T\n          1.00 @1\n"},
    {"ChildrenInFirstAppearanceOrderAndCaseCounts", false, false,
     {{u"d", u"Beta", u"P", u"S", u"T", u"1:00"},
      {u"d", u"Acme", u"P", u"S", u"T", u"1:00"},
      {u"d", u"Beta", u"P", u"S", u"U", u"1:00"},
      {u"d", u"acme", u"P", u"S", u"T", u"1:00"}},
     "d\n  Beta\n    P\n      S\n        T\n          1.00 @0\n        U\n          1.00 @2\n"
     "  Acme\n    P\n      S\n        T\n          1.00 @1\n"
     "  acme\n    P\n      S\n        T\n          1.00 @3\n"},
    {"NoDurationAndEmptyAndNotAvailableTexts", false, false,
     {{u"--/--/----", u"n/a", u"", u"n/a", u"", u"--:--"}, {u"--/--/----", u"", u"", u"n/a", u"", u"--:--"}},
     "--/--/----\n  n/a\n    \n      n/a\n        \n          --:-- @0\n"
     "  \n    \n      n/a\n        \n          --:-- @1\n"},
    {"EuropeanDates", false, true,
     {{u"12/31/2000", u"Acme", u"P", u"S", u"T", u"0:15"}, {u"not a date", u"Acme", u"P", u"S", u"T", u"0:15"}},
     "31.12.2000\n  Acme\n    P\n      S\n        T\n          0.25 @0\n"
     "00/00/0000\n  Acme\n    P\n      S\n        T\n          0.25 @1\n"},
    {"ExpenseLevelsEndInTheAmount", true, false,
     {{u"03/14/2024", u"Acme", u"Trip", u"Train", u"", u"45.00"},
      {u"03/14/2024", u"Acme", u"Trip", u"Hotel", u"", u"n/a"},
      {u"03/14/2024", u"Acme", u"Trip", u"Train", u"", u"12.50"}},
     "03/14/2024\n  Acme\n    Trip\n      Train\n        45.00 @0\n        12.50 @2\n      Hotel\n        n/a @1\n"},
};

INSTANTIATE_TEST_SUITE_P(Trees, GroupingTest,
                         ::testing::Combine(::testing::ValuesIn(kGroupingCases), ::testing::ValuesIn(test::kTestLocales)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param)[0] == 'C' ? "_C" : "_German");
                         });

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

struct LoadCase {
  const char* name;
  int mode;                            // PWH_ALL_REC_MODE or PWH_SELECT_REC_MODE
  std::vector<RecordPosition> shown;   // DisplayedRecordList
  const char* tree;
};

class TreeStoreTest : public test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    // Positions 0..5, clients C0..C5, every second record on the 2nd.
    for (int i = 0; i < 6; ++i) {
      TimeRecord r = test::Time(i % 2 ? u"01/02/2000" : u"01/01/2000", std::u16string(u"C") + char16_t(u'0' + i));
      CopyText(r.duration, u"1:00");
      oids_.push_back(test::Put(TimeDatabase, r));
    }
  }
  void TearDown() override {
    RecordSetMode = PWH_SELECT_REC_MODE;
    DisplayedRecordList.Clear();
    StoreTest::TearDown();
  }
  std::vector<CEOID> oids_;
};

class LoadTreeTest : public TreeStoreTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTreeTest, WalksTheShownRecords) {
  const LoadCase& c = GetParam();
  RecordSetMode = c.mode;
  DisplayedRecordList.Clear();
  for (RecordPosition p : c.shown) DisplayedRecordList.Append(p);
  TreeNodeList nodes;
  ASSERT_TRUE(LoadTreeNodes(nullptr, TimeDatabase, PWH_TIME_MODE, {}, &nodes));
  // Only the path below the date and client matters here: draw the first two levels and the leaves.
  std::string drawn;
  for (TreeNodeId id = 0; id < TreeNodeId(nodes.size()); ++id) {
    const TreeNode& n = nodes.node(id);
    if (n.level < 2) drawn += std::string(std::size_t(n.level) * 2, ' ') + std::string(nodes.text(id).begin(), nodes.text(id).end()) + '\n';
    if (!n.hasChildren) drawn += "@" + std::to_string(n.recordPosition) + '\n';
  }
  EXPECT_EQ(drawn, c.tree);
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LoadTreeTest,
    ::testing::Values(
        LoadCase{"AllRecords", PWH_ALL_REC_MODE, {},
                 "01/01/2000\n  C0\n@0\n  C2\n@1\n  C4\n@2\n01/02/2000\n  C1\n@3\n  C3\n@4\n  C5\n@5\n"},
        LoadCase{"SelectedPositions", PWH_SELECT_REC_MODE, {2, 5}, "01/01/2000\n  C4\n@2\n01/02/2000\n  C5\n@5\n"},
        LoadCase{"EmptySelection", PWH_SELECT_REC_MODE, {}, ""},
        LoadCase{"SelectionEndsAtAMissingPosition", PWH_SELECT_REC_MODE, {1, 9, 4},
                 "01/01/2000\n  C2\n@1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReadFailureCase {
  const char* name;
  int mode;
  const char16_t* message;
};

class TreeReadFailureTest : public TreeStoreTest {};

TEST_F(TreeReadFailureTest, EndsTheBuildWithNothingAndTheWalksOwnMessage) {
  DamageRecord(oids_[3]);
  const ReadFailureCase cases[] = {
      {"all", PWH_ALL_REC_MODE, u"LoadMainTreeViewListBox: could not CeReadRecordProps(): error code: (13)."},
      {"selected", PWH_SELECT_REC_MODE, u"LoadMainListBox: could not CeReadRecordProps(): error code: (13)."},
  };
  for (const ReadFailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    host.messages.clear();
    RecordSetMode = c.mode;
    DisplayedRecordList.Clear();
    for (RecordPosition p = 0; p < 6; ++p) DisplayedRecordList.Append(p);
    TreeNodeList nodes;
    EXPECT_FALSE(LoadTreeNodes(nullptr, TimeDatabase, PWH_TIME_MODE, {}, &nodes));
    EXPECT_TRUE(nodes.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, u"Pennywhistle Db Error");
    EXPECT_EQ(host.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
    // The error code is the store's own; compare the text around it.
    const std::u16string& text = host.messages[0].text;
    const std::u16string expected = c.message;
    EXPECT_EQ(text.substr(0, text.rfind(u'(')), expected.substr(0, expected.rfind(u'(')));
  }
}

}  // namespace
}  // namespace pw
