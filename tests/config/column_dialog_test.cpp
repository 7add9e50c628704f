#include "config/column_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scripted_host.h"

namespace pw {
namespace {

using R = ColumnRange;
using Names = std::vector<std::u16string>;

enum class Op { Show, Hide, Up, Down };

// One button press: ">>" with a hidden name (empty: nothing selected), the
// others with a line of "Visible" (-1: nothing selected), pressed `times` times.
struct Press {
  Op op;
  int line = -1;
  std::u16string name = {};
  int times = 1;
};

const Names kTime = {u"Date", u"Hours", u"Client", u"Project", u"Start", u"End", u"Rate",
                     u"Subproject", u"Task", u"Ccy", u"Amount", u"B", u"B'd", u"N"};
const Names kExpense = {u"Date", u"Amount", u"Client", u"Project", u"Description", u"Mileage", u"Miles", u"Rate",
                        u"Payment", u"Currency", u"B", u"B'd", u"R", u"R'd", u"R't", u"N"};

TEST(ColumnDialogTest, PressesLeaveTheListsConsistent) {
  const std::u16string right = u"Please choose a column from the right pane.";
  const struct {
    const char* label;
    R range;
    std::vector<Press> presses;
    Names visible, hidden;
    int selectedAfter;  // what the last Up/Down asks to select
    Names messages;     // texts of the "Invalid Selection" boxes
  } cases[] = {
      {"hiding closes the gap, the hidden are sorted, showing appends", R::Time,
       {{Op::Hide, 2}, {Op::Hide, 12}, {Op::Hide, 0}, {Op::Show, -1, u"Client"}},
       {u"Hours", u"Project", u"Start", u"End", u"Rate", u"Subproject", u"Task", u"Ccy", u"Amount", u"B", u"B'd",
        u"Client"},
       {u"Date", u"N"}, -1, {}},
      {"down on the last line changes and selects nothing", R::Time, {{Op::Hide, 13}, {Op::Down, 12}},
       Names(kTime.begin(), kTime.end() - 1), {u"N"}, -1, {}},
      {"every column hidden, then the first shown takes position 1", R::Time,
       {{Op::Hide, 0, u"", 14}, {Op::Show, -1, u"Task"}}, {u"Task"},
       {u"Amount", u"B", u"B'd", u"Ccy", u"Client", u"Date", u"End", u"Hours", u"N", u"Project", u"Rate", u"Start",
        u"Subproject"},
       -1, {}},
      {"nothing selected names the pane and changes nothing", R::Expense,
       {{Op::Show}, {Op::Hide}, {Op::Up}, {Op::Down}}, kExpense, {}, -1,
       {u"Please choose a column from the left pane.", right, right, right}},
      {"moves skip hidden columns and stay within the range; down selects the line below", R::Expense,
       {{Op::Hide, 14}, {Op::Hide, 1}, {Op::Up, 5}, {Op::Down, 0}},
       {u"Client", u"Date", u"Project", u"Description", u"Miles", u"Mileage", u"Rate", u"Payment", u"Currency", u"B",
        u"B'd", u"R", u"R'd", u"N"},
       {u"Amount", u"R't"}, 1, {}},
      {"showing a name of the other kind does nothing", R::Time, {{Op::Show, -1, u"Description"}}, kTime, {}, -1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    test::ScriptedHost host;
    ColumnModel m;
    const R other = c.range == R::Time ? R::Expense : R::Time;
    const Names otherBefore = ColumnDialogLists(m, other).visible;
    HWND dialog = &m;
    int selected = -1;
    for (const Press& p : c.presses) {
      for (int k = 0; k < p.times; ++k) {
        switch (p.op) {
          case Op::Show: ShowHiddenColumn(dialog, m, c.range, p.name.empty() ? nullptr : &p.name); break;
          case Op::Hide: HideVisibleColumn(dialog, m, c.range, p.line); break;
          case Op::Up: selected = MoveVisibleColumnUp(dialog, m, c.range, p.line); break;
          case Op::Down: selected = MoveVisibleColumnDown(dialog, m, c.range, p.line); break;
        }
      }
    }
    const ColumnLists lists = ColumnDialogLists(m, c.range);
    EXPECT_EQ(lists.visible, c.visible);
    EXPECT_EQ(lists.hidden, c.hidden);
    EXPECT_EQ(selected, c.selectedAfter);
    Names texts;
    for (const auto& msg : host.messages) {
      texts.push_back(msg.text);
      EXPECT_EQ(msg.title, u"Invalid Selection");
      EXPECT_EQ(msg.owner, dialog);
    }
    EXPECT_EQ(texts, c.messages);
    EXPECT_EQ(ColumnDialogLists(m, other).visible, otherBefore);
  }
}

}  // namespace
}  // namespace pw
