#include "dialogs/pulldown_properties.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/code_page.h"
#include "storage/pulldowns.h"
#include "storage/store_fixture.h"

namespace pw::test {
namespace {

using Texts = std::vector<std::u16string>;

// A press of "Add" or "Delete" on a page whose category holds "Acme", "Zed"
// and "Acme" again, while the Project category also holds "Acme".
struct PageCase {
  const char* label;
  bool add;                // "Add" (typed text) or "Delete" (selected line and its text)
  std::u16string text;
  int selected;            // Delete only
  bool ask;                // the confirmation setting
  int answer;              // reply to a question, 0 when none is expected
  int outcome;             // a PulldownAdd or PulldownDelete, as int
  Texts stored;            // the category's values afterwards, in walk order
  bool lineRemoved;
  std::u16string message;  // a part of the one box shown ({} none); %w is the category's word
};

const Texts kAsBefore = {u"Acme", u"Zed", u"Acme"}, kMega = {u"Acme", u"Zed", u"Acme", u"Mega"};
const PageCase kCases[] = {
    {"AddAsksAndStoresOnYes", true, u"Mega", -1, true, IDYES, int(PulldownAdd::Added), kMega, false, u"%w 'Mega'"},
    {"AddDeclinedStoresNothing", true, u"Mega", -1, true, IDNO, int(PulldownAdd::Declined), kAsBefore, false, u"%w 'Mega'"},
    {"AddWithoutQuestionWhenSwitchedOff", true, u"Mega", -1, false, 0, int(PulldownAdd::Added), kMega, false, {}},
    {"AddListedValueDoesNothing", true, u"Zed", -1, true, 0, int(PulldownAdd::Listed), kAsBefore, false, {}},
    {"AddEmptyTellsTheUser", true, u"", -1, true, 0, int(PulldownAdd::Empty), kAsBefore, false, u"record name"},
    {"AddLongTextIsCutToTheBox", true, std::u16string(300, u'x'), -1, false, 0, int(PulldownAdd::Added),
     {u"Acme", u"Zed", u"Acme", std::u16string(254, u'x')}, false, {}},
    {"DeleteWithoutSelectionTellsTheUser", false, u"", -1, true, 0, int(PulldownDelete::NoSelection), kAsBefore, false,
     u"choose a record"},
    {"DeleteEmptyLineIsSilent", false, u"", 0, true, 0, int(PulldownDelete::EmptyText), kAsBefore, false, {}},
    {"DeleteAsksAndKeepsOnNo", false, u"Zed", 2, true, IDNO, int(PulldownDelete::Declined), kAsBefore, false, u"'Zed'"},
    {"DeleteOnYesRemovesTheFirstOfTwins", false, u"Acme", 0, true, IDYES, int(PulldownDelete::Removed),
     {u"Zed", u"Acme"}, true, u"Delete 'Acme'"},
    {"DeleteWithoutQuestionWhenSwitchedOff", false, u"Zed", 2, false, 0, int(PulldownDelete::Removed),
     {u"Acme", u"Acme"}, true, {}},
    {"DeleteOfAValueGoneMeanwhileStillRemovesTheLine", false, u"Gone", 1, false, 0, int(PulldownDelete::Removed),
     kAsBefore, true, {}},
};

class PulldownPageTest : public StoreTest,
                         public testing::WithParamInterface<std::tuple<PulldownCategory, PageCase>> {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenPulldownsAndSettings();
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
  if (c.answer) host.Answer(c.answer);
  HWND page = this;

  bool removed = false;
  const int outcome =
      c.add ? int(AddPulldownValue(page, ConfigDatabase, category.id, c.text, c.ask))
            : int(DeletePulldownValue(page, ConfigDatabase, category.id, c.selected, c.text, c.ask, [&] {
                EXPECT_EQ(Values(category.id).size(), 3u) << "the line goes before the stored value";
                removed = true;
              }));

  EXPECT_EQ(outcome, c.outcome);
  EXPECT_EQ(Values(category.id), c.stored);
  EXPECT_EQ(Values(other), Texts{u"Acme"});
  EXPECT_EQ(removed, c.lineRemoved);
  EXPECT_TRUE(host.answers.empty()) << "a question went unasked";
  ASSERT_EQ(host.messages.size(), c.message.empty() ? 0u : 1u);
  if (c.message.empty()) return;
  const RecordedMessage& m = host.messages[0];
  std::u16string part = c.message;
  if (const auto at = part.find(u"%w"); at != part.npos) part.replace(at, 2, category.word);
  EXPECT_NE(m.text.find(part), m.text.npos) << WideToUtf8(m.text);
  const bool question = c.answer != 0;
  EXPECT_EQ(std::tuple(m.owner, m.title, m.type),
            std::tuple(page, question ? u"Data Entry Automation" : u"Invalid Selection",
                       question ? MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 : MB_OK | MB_ICONINFORMATION));
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
                                          testing::Values(kCases[0], kCases[9])),
                         CaseName);

}  // namespace
}  // namespace pw::test
