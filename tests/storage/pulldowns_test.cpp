#include "storage/pulldowns.h"

#include <gtest/gtest.h>

#include "storage/store_fixture.h"

namespace pw::test {
namespace {

using Texts = std::vector<std::u16string>;

class PulldownTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenPulldownsAndSettings();
  }
  void Add(int category, std::u16string_view text) {
    ASSERT_TRUE(AddNewPulldownItem(nullptr, text, ConfigDatabase, category));
  }
  // The values of a category, and whether the walk went to the end.
  Texts Values(int category, bool whole = true) {
    Texts out;
    EXPECT_EQ(InitPulldown(nullptr, ConfigDatabase, [&](std::u16string_view t) { out.emplace_back(t); }, category),
              whole);
    return out;
  }
  int Check(int category, std::u16string_view text) { return CheckProp(nullptr, ConfigDatabase, category, text); }
};

// What the pulldown list page already proves (listing, adding with or without a
// question, deleting the first of twins) is not repeated here.
TEST_F(PulldownTest, LookupsAndDeletesMatchExactlyAndPerCategory) {
  Add(PWH_PULLDOWN_CLIENT, u"Acme");
  Add(PWH_PULLDOWN_PROJECT, u"Website");
  const struct {
    int category;
    std::u16string_view text;
    int expected;
  } cases[] = {{PWH_PULLDOWN_CLIENT, u"Acme", PWH_PULLDOWN_PRESENT}, {PWH_PULLDOWN_CLIENT, u"ACME", PWH_PULLDOWN_ABSENT},
               {PWH_PULLDOWN_CLIENT, u"Acm", PWH_PULLDOWN_ABSENT},   {PWH_PULLDOWN_CLIENT, u"Website", PWH_PULLDOWN_ABSENT},
               {PWH_PULLDOWN_TASK, u"", PWH_PULLDOWN_PRESENT}};
  for (const auto& c : cases) EXPECT_EQ(Check(c.category, c.text), c.expected) << "case " << &c - cases;
  EXPECT_FALSE(DeletePulldownItem(nullptr, u"acme", ConfigDatabase, PWH_PULLDOWN_CLIENT));
  EXPECT_FALSE(DeletePulldownItem(nullptr, u"Website", ConfigDatabase, PWH_PULLDOWN_CLIENT));
  EXPECT_TRUE(DeletePulldownItem(nullptr, u"Website", ConfigDatabase, PWH_PULLDOWN_PROJECT));
  EXPECT_EQ(Values(PWH_PULLDOWN_CLIENT), Texts{u"Acme"});
  EXPECT_TRUE(Values(PWH_PULLDOWN_PROJECT).empty());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

TEST_F(PulldownTest, UnknownCategoryAndClosedDatabaseAreRefused) {
  PulldownEntry entry;
  EXPECT_FALSE(CEPROPVALToPWHPulldownEntry({PulldownPropId(99), 0, 0, {0, u"x"}}, &entry));
  EXPECT_FALSE(AddEntryPulldown(nullptr, ConfigDatabase, u"x", 99, true));
  ConfigDatabase.Close();
  EXPECT_FALSE(InitPulldownList(nullptr, ConfigDatabase, [](std::u16string_view) {}, 16));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, u"PWH: possible memory corruption: invalid data category passed to AddEntryPulldown.");
  EXPECT_EQ(host.messages[1].text, u"internal PWH error: InitPulldown(): INVALID_HANDLE_VALUE.");
}

TEST_F(PulldownTest, RecordWithTwoPropertiesEndsTheWalkWithAMessage) {
  Add(PWH_PULLDOWN_CLIENT, u"Acme");
  const CEPROPVAL two[] = {{PulldownPropId(PWH_PULLDOWN_CLIENT), 0, 0, {0, u"Beta"}},
                           {PulldownPropId(PWH_PULLDOWN_PROJECT), 0, 0, {0, u"Beta"}}};
  ASSERT_NE(CeWriteRecordProps(ConfigDatabase, 0, 2, two), 0u);
  Add(PWH_PULLDOWN_CLIENT, u"Gamma");

  EXPECT_EQ(Check(PWH_PULLDOWN_CLIENT, u"Gamma"), PWH_PULLDOWN_ABSENT);
  EXPECT_EQ(Values(PWH_PULLDOWN_CLIENT, false), Texts{u"Acme"});
  ASSERT_EQ(host.messages.size(), 2u);
  for (const RecordedMessage& m : host.messages) {
    EXPECT_EQ(m.text.rfind(u"incorrect number of properties read in CeReadRecordProps(): error code: (", 0), 0u);
    EXPECT_EQ(m.title, u"Pennywhistle Db Error");
  }
  EXPECT_EQ(host.statusText(PWH_STATUS_ACTIVITY), u"idle");
}

}  // namespace
}  // namespace pw::test
