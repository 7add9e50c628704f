#include "storage/pulldowns.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "storage/store_fixture.h"

namespace pw::test {
namespace {

class PulldownTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenPickListsAndSettings();
  }
  void Add(int category, std::u16string_view text) {
    ASSERT_TRUE(AddNewPulldownItem(nullptr, text, ConfigDatabase, category));
  }
  std::vector<std::u16string> Values(int category) {
    std::vector<std::u16string> out;
    EXPECT_TRUE(InitPulldown(nullptr, ConfigDatabase,
                             [&](std::u16string_view t) { out.emplace_back(t); }, category));
    return out;
  }
  int Check(int category, std::u16string_view text) {
    return CheckProp(nullptr, ConfigDatabase, category, text);
  }

};

TEST_F(PulldownTest, ValuesKeepTheirCategoryAndWalkOrder) {
  Add(PWH_PULLDOWN_CLIENT, u"Zeta");
  Add(PWH_PULLDOWN_PROJECT, u"Zeta");
  Add(PWH_PULLDOWN_CLIENT, u"Acme");
  Add(PWH_PULLDOWN_CLIENT, u"Zeta");  // the add itself never looks up
  EXPECT_EQ(Values(PWH_PULLDOWN_CLIENT), (std::vector<std::u16string>{u"Zeta", u"Acme", u"Zeta"}));
  EXPECT_EQ(Values(PWH_PULLDOWN_PROJECT), (std::vector<std::u16string>{u"Zeta"}));
  EXPECT_TRUE(Values(PWH_PULLDOWN_TASK).empty());
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

struct CheckCase {
  const char* name;
  int category;
  std::u16string text;
  int expected;
};

class CheckPropTest : public PulldownTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckPropTest, AnswersExactlyAndPerCategory) {
  Add(PWH_PULLDOWN_CLIENT, u"Acme");
  Add(PWH_PULLDOWN_PROJECT, u"Website");
  EXPECT_EQ(Check(GetParam().category, GetParam().text), GetParam().expected);
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, CheckPropTest,
    ::testing::Values(CheckCase{"listed", PWH_PULLDOWN_CLIENT, u"Acme", PWH_PULLDOWN_PRESENT},
                      CheckCase{"other_case", PWH_PULLDOWN_CLIENT, u"ACME", PWH_PULLDOWN_ABSENT},
                      CheckCase{"lower_case", PWH_PULLDOWN_CLIENT, u"acme", PWH_PULLDOWN_ABSENT},
                      CheckCase{"prefix", PWH_PULLDOWN_CLIENT, u"Acm", PWH_PULLDOWN_ABSENT},
                      CheckCase{"other_category", PWH_PULLDOWN_CLIENT, u"Website", PWH_PULLDOWN_ABSENT},
                      CheckCase{"empty", PWH_PULLDOWN_TASK, u"", PWH_PULLDOWN_PRESENT},
                      CheckCase{"not_applicable", PWH_PULLDOWN_TASK, u"n/a", PWH_PULLDOWN_PRESENT},
                      CheckCase{"empty_category", PWH_PULLDOWN_TASK, u"Design", PWH_PULLDOWN_ABSENT}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PulldownTest, DeleteRemovesOnlyTheFirstMatchOfItsCategory) {
  Add(PWH_PULLDOWN_CLIENT, u"Acme");
  Add(PWH_PULLDOWN_PROJECT, u"Acme");
  Add(PWH_PULLDOWN_CLIENT, u"Acme");
  EXPECT_TRUE(DeletePulldownItem(nullptr, u"Acme", ConfigDatabase, PWH_PULLDOWN_CLIENT));
  EXPECT_EQ(Values(PWH_PULLDOWN_CLIENT), (std::vector<std::u16string>{u"Acme"}));
  EXPECT_EQ(Values(PWH_PULLDOWN_PROJECT), (std::vector<std::u16string>{u"Acme"}));
  EXPECT_FALSE(DeletePulldownItem(nullptr, u"acme", ConfigDatabase, PWH_PULLDOWN_CLIENT));
  EXPECT_FALSE(DeletePulldownItem(nullptr, u"", ConfigDatabase, PWH_PULLDOWN_CLIENT));
  EXPECT_TRUE(host.messages.empty());
}

struct AskCase {
  const char* name;
  bool confirm;
  bool mayAsk;
  int answer;  // 0: no question expected
  bool added;
};

class AddEntryTest : public PulldownTest, public ::testing::WithParamInterface<AskCase> {};

TEST_P(AddEntryTest, AsksOnlyWhenAllowedAndWanted) {
  const AskCase& c = GetParam();
  Configuration->confirmAddPulldownItem() = c.confirm;
  if (c.answer != 0) host.Answer(c.answer);
  EXPECT_EQ(AddEntryPulldown(nullptr, u"Mega Corp", PWH_PULLDOWN_DESCRIPTION, c.mayAsk), c.added);
  EXPECT_EQ(Check(PWH_PULLDOWN_DESCRIPTION, u"Mega Corp"),
            c.added ? PWH_PULLDOWN_PRESENT : PWH_PULLDOWN_ABSENT);
  if (c.answer == 0) {
    EXPECT_TRUE(host.messages.empty());
  } else {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, u"Add expense description 'Mega Corp' to the pulldown list ?");
    EXPECT_EQ(host.messages[0].title, u"Data Entry Automation");
    EXPECT_EQ(host.messages[0].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Questions, AddEntryTest,
    ::testing::Values(AskCase{"asked_yes", true, true, IDYES, true},
                      AskCase{"asked_no", true, true, IDNO, false},
                      AskCase{"confirmation_off", false, true, 0, true},
                      AskCase{"may_not_ask", true, false, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PulldownTest, UnknownCategoryIsRefusedWhenAsking) {
  Configuration->confirmAddPulldownItem() = 1;
  EXPECT_FALSE(AddEntryPulldown(nullptr, u"x", 99, true));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            u"PWH: possible memory corruption: invalid data category passed to AddEntryPulldown.");
  EXPECT_EQ(host.messages[0].title, u"Data Entry Automation");
}

TEST(PulldownCategoryTable, LooksUpBothWaysExactly) {
  for (const PulldownCategory& c : PulldownCategories) {
    EXPECT_EQ(PulldownCategoryIdByName(c.name), c.id);
    CEPROPVAL prop;
    prop.propid = PulldownPropId(c.id);
    prop.val.lpwstr = u"value";
    PulldownEntry entry;
    ASSERT_TRUE(CEPROPVALToPWHPulldownEntry(prop, &entry));
    EXPECT_EQ(entry.category, c.name);
    EXPECT_EQ(entry.text, u"value");
  }
  EXPECT_EQ(PulldownCategoryIdByName(u"client"), 0);
  EXPECT_EQ(PulldownCategoryIdByName(u"Client "), 0);
  CEPROPVAL unknown;
  unknown.propid = PulldownPropId(18);
  PulldownEntry entry;
  EXPECT_FALSE(CEPROPVALToPWHPulldownEntry(unknown, &entry));
}

TEST_F(PulldownTest, RecordWithTwoPropertiesEndsTheWalkWithAMessage) {
  Add(PWH_PULLDOWN_CLIENT, u"Acme");
  CEPROPVAL props[2];
  props[0].propid = PulldownPropId(PWH_PULLDOWN_CLIENT);
  props[0].val.lpwstr = u"Beta";
  props[1].propid = PulldownPropId(PWH_PULLDOWN_PROJECT);
  props[1].val.lpwstr = u"Beta";
  ASSERT_NE(CeWriteRecordProps(ConfigDatabase, 0, 2, props), 0u);
  Add(PWH_PULLDOWN_CLIENT, u"Gamma");

  EXPECT_EQ(Check(PWH_PULLDOWN_CLIENT, u"Gamma"), PWH_PULLDOWN_ABSENT);
  std::vector<std::u16string> seen;
  EXPECT_FALSE(InitPulldown(nullptr, ConfigDatabase,
                            [&](std::u16string_view t) { seen.emplace_back(t); },
                            PWH_PULLDOWN_CLIENT));
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"Acme"}));
  ASSERT_EQ(host.messages.size(), 2u);
  for (const RecordedMessage& m : host.messages) {
    EXPECT_EQ(m.text.rfind(u"incorrect number of properties read in CeReadRecordProps(): error code: (", 0), 0u);
    EXPECT_EQ(m.title, u"Pennywhistle Db Error");
  }
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

TEST_F(PulldownTest, ClosedDatabaseIsNamedByTheListFill) {
  ConfigDatabase.Close();
  EXPECT_FALSE(InitPulldownList(nullptr, ConfigDatabase, [](std::u16string_view) {}, 16));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, u"internal PWH error: InitPulldown(): INVALID_HANDLE_VALUE.");
  EXPECT_EQ(host.messages[0].title, u"Pennywhistle Error");
}

}  // namespace
}  // namespace pw::test
