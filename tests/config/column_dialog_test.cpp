#include "config/column_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/scripted_host.h"

namespace pw {
namespace {

using R = ColumnRange;
using Names = std::vector<std::u16string>;

enum class Op { Show, Hide, Up, Down };

// One button press: ">>" with a hidden name (empty: nothing selected), the
// others with a line of "Visible" (-1: nothing selected).
struct Press {
  Op op;
  int line = -1;
  std::u16string name = {};
};

struct ColumnCase {
  const char* label;
  R range;
  std::vector<Press> presses;
  Names visible;
  Names hidden;
  int selectedAfter;  // what the last Up/Down asks to select
  Names messages;    // texts of the "Invalid Selection" boxes
};

const Names kTime = {u"Date", u"Hours", u"Client", u"Project", u"Start", u"End", u"Rate",
                     u"Subproject", u"Task", u"Ccy", u"Amount", u"B", u"B'd", u"N"};
const Names kExpense = {u"Date", u"Amount", u"Client", u"Project", u"Description", u"Mileage", u"Miles", u"Rate",
                        u"Payment", u"Currency", u"B", u"B'd", u"R", u"R'd", u"R't", u"N"};
const std::u16string kLeft = u"Please choose a column from the left pane.";
const std::u16string kRight = u"Please choose a column from the right pane.";

// kTime or kExpense with the edits applied: erase names, then append names.
Names Edited(const Names& base, const Names& erase, const Names& append = {}) {
  Names out;
  for (const auto& n : base)
    if (std::find(erase.begin(), erase.end(), n) == erase.end()) out.push_back(n);
  out.insert(out.end(), append.begin(), append.end());
  return out;
}

Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

// "Client" hidden and "Hours" moved past "Project".
const Names kHoursAfterProject = {u"Date", u"Project", u"Hours", u"Start", u"End", u"Rate", u"Subproject",
                                  u"Task", u"Ccy", u"Amount", u"B", u"B'd", u"N"};

// "<<" pressed on the first line, the given times, then the other presses.
std::vector<Press> HideFirstLine(int times, const std::vector<Press>& then = {}) {
  std::vector<Press> presses(std::size_t(times), Press{Op::Hide, 0});
  presses.insert(presses.end(), then.begin(), then.end());
  return presses;
}

const ColumnCase kCases[] = {
    {"HideClosesTheGapHiddenSortedShowAppends", R::Time,
     {{Op::Hide, 2}, {Op::Hide, 12}, {Op::Hide, 0}, {Op::Show, -1, u"Client"}},
     Edited(kTime, {u"Date", u"Client", u"N"}, {u"Client"}), {u"Date", u"N"}, -1, {}},
    {"HiddenListIsAlphabetical", R::Time,
     {{Op::Hide, 13}, {Op::Hide, 1}, {Op::Hide, 9}, {Op::Hide, 10}, {Op::Hide, 9}},
     Edited(kTime, {u"N", u"Hours", u"Amount", u"B", u"B'd"}), {u"Amount", u"B", u"B'd", u"Hours", u"N"}, -1, {}},
    {"UpSkipsHiddenColumnsAndSelectsTheLineAbove", R::Time, {{Op::Hide, 2}, {Op::Up, 2}}, kHoursAfterProject,
     {u"Client"}, 1, {}},
    {"DownSkipsHiddenColumnsAndSelectsTheLineBelow", R::Time, {{Op::Hide, 2}, {Op::Down, 1}}, kHoursAfterProject,
     {u"Client"}, 2, {}},
    {"UpOnTheFirstLineChangesNothingAndSelectsNothing", R::Time, {{Op::Up, 0}}, kTime, {}, -1, {}},
    {"DownOnTheLastLineChangesNothingAndSelectsNothing", R::Time, {{Op::Hide, 13}, {Op::Down, 12}},
     Edited(kTime, {u"N"}), {u"N"}, -1, {}},
    {"EveryColumnHiddenThenTheFirstShownTakesPositionOne", R::Time, HideFirstLine(14, {{Op::Show, -1, u"Task"}}),
     {u"Task"}, Sorted(Edited(kTime, {u"Task"})), -1, {}},
    {"HidingEveryExpenseColumnEmptiesVisible", R::Expense, HideFirstLine(16), {}, Sorted(kExpense), -1, {}},
    {"NothingSelectedNamesThePaneAndChangesNothing", R::Expense,
     {{Op::Show}, {Op::Hide}, {Op::Up}, {Op::Down}}, kExpense, {}, -1, {kLeft, kRight, kRight, kRight}},
    {"ExpenseRangeMovesWithinItself", R::Expense,
     {{Op::Hide, 14}, {Op::Hide, 1}, {Op::Down, 0}, {Op::Up, 5}},
     {u"Client", u"Date", u"Project", u"Description", u"Miles", u"Mileage", u"Rate", u"Payment", u"Currency", u"B",
      u"B'd", u"R", u"R'd", u"N"},
     {u"Amount", u"R't"}, 4, {}},
    {"ShowingANameOfTheOtherKindDoesNothing", R::Time, {{Op::Show, -1, u"Description"}}, kTime, {}, -1, {}},
};

void PrintTo(const ColumnCase& c, std::ostream* os) { *os << c.label; }

class ColumnDialogTest : public testing::TestWithParam<ColumnCase> {};

// Shown columns hold the positions 1..n once each; hidden ones hold 0.
void ExpectPositionsOneToN(const ColumnModel& m, R range) {
  std::vector<std::uint32_t> shown;
  for (int i = FirstColumnOf(range); i <= LastColumnOf(range); ++i) {
    const ColumnInfo c = m.GetColumn(i);
    if (c.visible)
      shown.push_back(c.position);
    else
      EXPECT_EQ(c.position, 0u) << i;
  }
  std::sort(shown.begin(), shown.end());
  for (std::size_t k = 0; k < shown.size(); ++k) EXPECT_EQ(shown[k], k + 1);
}

TEST_P(ColumnDialogTest, PressesLeaveTheListsAndTheModelConsistent) {
  const ColumnCase& c = GetParam();
  test::ScriptedHost host;
  ColumnModel m;
  const R other = c.range == R::Time ? R::Expense : R::Time;
  const Names otherBefore = ColumnDialogLists(m, other).visible;
  HWND dialog = &m;
  int selected = -2;
  for (const Press& p : c.presses) {
    switch (p.op) {
      case Op::Show: ShowHiddenColumn(dialog, m, c.range, p.name.empty() ? nullptr : &p.name); break;
      case Op::Hide: HideVisibleColumn(dialog, m, c.range, p.line); break;
      case Op::Up: selected = MoveVisibleColumnUp(dialog, m, c.range, p.line); break;
      case Op::Down: selected = MoveVisibleColumnDown(dialog, m, c.range, p.line); break;
    }
    ExpectPositionsOneToN(m, c.range);
  }
  const ColumnLists lists = ColumnDialogLists(m, c.range);
  EXPECT_EQ(lists.visible, c.visible);
  EXPECT_EQ(lists.hidden, c.hidden);
  if (selected != -2) {
    EXPECT_EQ(selected, c.selectedAfter);
  }
  Names texts;
  for (const auto& msg : host.messages) {
    texts.push_back(msg.text);
    EXPECT_EQ(msg.title, u"Invalid Selection");
    EXPECT_EQ(msg.type, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(msg.owner, dialog);
  }
  EXPECT_EQ(texts, c.messages);
  EXPECT_EQ(ColumnDialogLists(m, other).visible, otherBefore);
}

INSTANTIATE_TEST_SUITE_P(Presses, ColumnDialogTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace pw
