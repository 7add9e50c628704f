#include "config/column_dialog.h"

#include <algorithm>

#include "platform/host_port.h"

namespace pw {

namespace {

constexpr std::u16string_view kTitle = u"Invalid Selection";

void TellUser(HWND dialog, std::u16string_view text) {
  MessageBoxW(dialog, text, kTitle, MB_OK | MB_ICONINFORMATION);
}

bool NeedVisibleLine(HWND dialog, int line) {
  if (line >= 0) return true;
  TellUser(dialog, u"Please choose a column from the right pane.");
  return false;
}

char16_t Folded(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

// Alphabetical, letter case ignored; names equal but for case keep a fixed order.
bool Alphabetically(const std::u16string& a, const std::u16string& b) {
  auto folded = [](std::u16string s) {
    for (char16_t& c : s) c = Folded(c);
    return s;
  };
  const std::u16string fa = folded(a), fb = folded(b);
  return fa != fb ? fa < fb : a < b;
}

}  // namespace

ColumnLists ColumnDialogLists(ColumnModel& model, ColumnRange range) {
  ColumnLists lists;
  for (ColumnInfo c = model.FirstShownColumn(range); !c.empty(); c = model.NextShownColumn(range))
    lists.visible.emplace_back(c.text());
  for (int i = FirstColumnOf(range); i <= LastColumnOf(range); ++i) {
    const ColumnInfo c = model.GetColumn(i);
    if (!c.visible) lists.hidden.emplace_back(c.text());
  }
  std::sort(lists.hidden.begin(), lists.hidden.end(), Alphabetically);
  return lists;
}

bool ShowHiddenColumn(HWND dialog, ColumnModel& model, ColumnRange range, const std::u16string* selected) {
  if (!selected) {
    TellUser(dialog, u"Please choose a column from the left pane.");
    return false;
  }
  const ColumnInfo c = model.FindColumnByName(range, *selected);
  if (c.empty()) return false;
  return model.UpdateColumnByName(range, c.text(), c.width, c.position, 1);
}

bool HideVisibleColumn(HWND dialog, ColumnModel& model, ColumnRange range, int line) {
  if (!NeedVisibleLine(dialog, line)) return false;
  const std::uint32_t position = std::uint32_t(line) + 1;
  const ColumnInfo c = model.FindColumnByPosition(range, position);
  if (c.empty()) return false;
  return model.UpdateColumnByPosition(range, position, c.text(), c.width, 0, 0);
}

int MoveVisibleColumnUp(HWND dialog, ColumnModel& model, ColumnRange range, int line) {
  if (!NeedVisibleLine(dialog, line)) return -1;
  model.MoveColumnUp(range, std::uint32_t(line) + 1);
  return line - 1;  // -1 after the first line: nothing selected
}

int MoveVisibleColumnDown(HWND dialog, ColumnModel& model, ColumnRange range, int line) {
  if (!NeedVisibleLine(dialog, line)) return -1;
  model.MoveColumnDown(range, std::uint32_t(line) + 1);
  const int below = line + 1;
  return below < int(model.HighestPosition(range)) ? below : -1;
}

}  // namespace pw
