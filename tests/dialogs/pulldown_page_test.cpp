#include "dialogs/pulldown_page.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "config/configuration.h"
#include "storage/pulldowns.h"
#include "storage/store_fixture.h"
#include "text/format.h"

namespace pw::test {
namespace {

using Texts = std::vector<std::u16string>;

enum class Confirm { On, Off };

// A press of "Add" or "Delete" on a page whose category holds "Acme", "Zed"
// and "Acme" again, while the Project category also holds "Acme".
struct PageCase {
  const char* label;
  bool add;                // "Add" (typed text) or "Delete" (selected line and its text)
  std::u16string text;
  int selected;            // Delete only
  Confirm confirm;
  int answer;              // reply to a question, 0 when none is expected
  int outcome;             // a PulldownAdd or PulldownDelete, as int
  Texts stored;            // the category's values afterwards, in walk order
  bool lineRemoved;
  std::u16string message;  // the one box shown ({} none); %w is the category's word
};

const std::u16string k300(300, u'x');

const PageCase kCases[] = {
    {"AddAsksAndStoresOnYes", true, u"Mega", -1, Confirm::On, IDYES, int(PulldownAdd::Added),
     {u"Acme", u"Zed", u"Acme", u"Mega"}, false, u"Add %w 'Mega' to the pulldown list ?"},
    {"AddDeclinedStoresNothing", true, u"Mega", -1, Confirm::On, IDNO, int(PulldownAdd::Declined),
     {u"Acme", u"Zed", u"Acme"}, false, u"Add %w 'Mega' to the pulldown list ?"},
    {"AddWithoutQuestionWhenSwitchedOff", true, u"Mega", -1, Confirm::Off, 0, int(PulldownAdd::Added),
     {u"Acme", u"Zed", u"Acme", u"Mega"}, false, {}},
    {"AddListedValueDoesNothing", true, u"Zed", -1, Confirm::On, 0, int(PulldownAdd::Listed),
     {u"Acme", u"Zed", u"Acme"}, false, {}},
    {"AddNotApplicableDoesNothing", true, u"n/a", -1, Confirm::On, 0, int(PulldownAdd::Listed),
     {u"Acme", u"Zed", u"Acme"}, false, {}},
    {"AddEmptyTellsTheUser", true, u"", -1, Confirm::On, 0, int(PulldownAdd::Empty), {u"Acme", u"Zed", u"Acme"},
     false, u"Please enter the new record name."},
    {"AddLongTextIsCutToTheBox", true, k300, -1, Confirm::Off, 0, int(PulldownAdd::Added),
     {u"Acme", u"Zed", u"Acme", std::u16string(254, u'x')}, false, {}},
    {"DeleteWithoutSelectionTellsTheUser", false, u"", -1, Confirm::On, 0, int(PulldownDelete::NoSelection),
     {u"Acme", u"Zed", u"Acme"}, false, u"Please choose a record from the list."},
    {"DeleteEmptyLineIsSilent", false, u"", 0, Confirm::On, 0, int(PulldownDelete::EmptyText),
     {u"Acme", u"Zed", u"Acme"}, false, {}},
    {"DeleteAsksAndKeepsOnNo", false, u"Zed", 2, Confirm::On, IDNO, int(PulldownDelete::Declined),
     {u"Acme", u"Zed", u"Acme"}, false, u"Delete 'Zed' from the pulldown list ?"},
    {"DeleteOnYesRemovesTheFirstOfTwins", false, u"Acme", 0, Confirm::On, IDYES, int(PulldownDelete::Removed),
     {u"Zed", u"Acme"}, true, u"Delete 'Acme' from the pulldown list ?"},
    {"DeleteWithoutQuestionWhenSwitchedOff", false, u"Zed", 2, Confirm::Off, 0, int(PulldownDelete::Removed),
     {u"Acme", u"Acme"}, true, {}},
    {"DeleteOfAValueGoneMeanwhileStillRemovesTheLine", false, u"Gone", 1, Confirm::Off, 0,
     int(PulldownDelete::Removed), {u"Acme", u"Zed", u"Acme"}, true, {}},
};

class PulldownPageTest : public StoreTest,
                         public testing::WithParamInterface<std::tuple<PulldownCategory, PageCase>> {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenPickListsAndSettings();
    host.messages.clear();
  }
  Texts Values(int category) {
    Texts out;
    EXPECT_TRUE(InitPulldownList(nullptr, ConfigDatabase, [&](std::u16string_view t) { out.emplace_back(t); }, category));
    return out;
  }
};

TEST_P(PulldownPageTest, PressChangesTheStoreAndTellsTheUser) {
  const auto& [category, c] = GetParam();
  const int other = category.id == PWH_PULLDOWN_PROJECT ? PWH_PULLDOWN_CLIENT : PWH_PULLDOWN_PROJECT;
  for (const char16_t* v : {u"Acme", u"Zed", u"Acme"}) ASSERT_TRUE(AddNewPulldownItem(nullptr, v, ConfigDatabase, category.id));
  ASSERT_TRUE(AddNewPulldownItem(nullptr, u"Acme", ConfigDatabase, other));
  const std::uint8_t on = c.confirm == Confirm::On ? 1 : 0;
  Configuration->confirmAddPulldownItem() = on;
  Configuration->confirmDeletePulldownItem() = on;
  if (c.answer) host.Answer(c.answer);
  HWND page = this;

  bool removed = false;
  const int outcome =
      c.add ? int(AddPulldownValue(page, ConfigDatabase, category.id, c.text))
            : int(DeletePulldownValue(page, ConfigDatabase, category.id, c.selected, c.text, [&] {
                EXPECT_EQ(Values(category.id).size(), 3u) << "the line goes before the stored value";
                removed = true;
              }));

  EXPECT_EQ(outcome, c.outcome);
  EXPECT_EQ(Values(category.id), c.stored);
  EXPECT_EQ(Values(other), Texts{u"Acme"});
  EXPECT_EQ(removed, c.lineRemoved);
  EXPECT_TRUE(host.answers.empty()) << "a question went unasked";
  if (c.message.empty()) {
    EXPECT_TRUE(host.messages.empty());
    return;
  }
  ASSERT_EQ(host.messages.size(), 1u);
  std::u16string expected = c.message;
  if (const auto at = expected.find(u"%w"); at != std::u16string::npos) expected.replace(at, 2, category.word);
  EXPECT_EQ(host.messages[0].text, expected);
  EXPECT_EQ(host.messages[0].owner, page);
  const bool question = c.answer != 0;
  EXPECT_EQ(host.messages[0].title, question ? u"Data Entry Automation" : u"Invalid Selection");
  EXPECT_EQ(host.messages[0].type, question ? MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 : MB_OK | MB_ICONINFORMATION);
}

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.label; }

auto CaseName(const testing::TestParamInfo<std::tuple<PulldownCategory, PageCase>>& info) {
  return "Category" + std::to_string(std::get<0>(info.param).id) + "_" + std::get<1>(info.param).label;
}

// Every press on the Client page; on every page the question's wording and
// the category kept apart from the others.
INSTANTIATE_TEST_SUITE_P(EveryPress, PulldownPageTest,
                         testing::Combine(testing::Values(PulldownCategories[0]), testing::ValuesIn(kCases)), CaseName);
INSTANTIATE_TEST_SUITE_P(EveryCategory, PulldownPageTest,
                         testing::Combine(testing::ValuesIn(PulldownCategories.begin() + 1, PulldownCategories.end()),
                                          testing::Values(kCases[0], kCases[10])),
                         CaseName);

}  // namespace
}  // namespace pw::test
