#include "storage/pulldowns.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"
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

// One OK with three new values (one listed value among them): "Yes to All" and "No to All" answer for
// the rest; the last question has only Yes and No.
TEST_F(PulldownTest, NewValuesOfOneOkOfferYesAndNoToAll) {
  const struct { std::vector<int> answers; std::size_t asked; const char* added; } cases[] = {
      {{IDYESTOALL}, 1, "ABC"}, {{IDNO, IDNOTOALL}, 2, ""}, {{IDYES, IDNO, IDYES}, 3, "AC"}};
  Add(PWH_PULLDOWN_TASK, u"listed");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.added);
    DeletePulldownItem(nullptr, u"A", ConfigDatabase, PWH_PULLDOWN_CLIENT);
    DeletePulldownItem(nullptr, u"C", ConfigDatabase, PWH_PULLDOWN_CURRENCY);
    const PulldownValue values[] = {{PWH_PULLDOWN_CLIENT, u"A"}, {PWH_PULLDOWN_TASK, u"listed"},
                                    {PWH_PULLDOWN_PROJECT, u"B"}, {PWH_PULLDOWN_CURRENCY, u"C"}};
    host.messages.clear(), host.answers.assign(c.answers.begin(), c.answers.end());
    OfferNewPulldownValues(nullptr, ConfigDatabase, values, true);
    ASSERT_EQ(host.messages.size(), c.asked);
    for (std::size_t i = 0; i < c.asked; ++i)
      EXPECT_EQ(host.messages[i].type & MB_BUTTONMASK, i == 2 ? MB_YESNO : MB_YESNOALL) << i;
    std::string added;
    for (const auto& [category, text] : {std::pair{PWH_PULLDOWN_CLIENT, "A"}, {PWH_PULLDOWN_PROJECT, "B"},
                                         {PWH_PULLDOWN_CURRENCY, "C"}})
      if (Check(category, Utf8ToWide(text)) == PWH_PULLDOWN_PRESENT) added += text;
    EXPECT_EQ(added, c.added);
    DeletePulldownItem(nullptr, u"B", ConfigDatabase, PWH_PULLDOWN_PROJECT);
  }
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
