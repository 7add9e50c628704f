#include "dialogs/pulldown_properties.h"

#include "platform/host_port.h"
#include "storage/pulldowns.h"
#include "text/fixed_text.h"
#include "text/format.h"

namespace pw {

namespace {

constexpr std::u16string_view kInvalidSelection = u"Invalid Selection";

}  // namespace

PulldownAdd AddPulldownValue(HWND page, DatabaseHandle& db, int categoryId, std::u16string_view typed,
                             bool confirmAdd) {
  const std::u16string_view text = typed.substr(0, CutLength(typed, PWH_PULLDOWN_VALUE_LIMIT));
  if (text.empty()) {
    MessageBoxW(page, u"Please enter the new record name.", kInvalidSelection, MB_OK | MB_ICONINFORMATION);
    return PulldownAdd::Empty;
  }
  if (CheckProp(page, db, categoryId, text) == PWH_PULLDOWN_PRESENT) return PulldownAdd::Listed;
  return AddEntryPulldown(page, db, text, categoryId, confirmAdd) ? PulldownAdd::Added : PulldownAdd::Declined;
}

PulldownDelete DeletePulldownValue(HWND page, DatabaseHandle& db, int categoryId, int selected,
                                   std::u16string_view text, bool confirmDelete,
                                   const std::function<void()>& removeLine) {
  if (selected < 0) {
    MessageBoxW(page, u"Please choose a record from the list.", kInvalidSelection, MB_OK | MB_ICONINFORMATION);
    return PulldownDelete::NoSelection;
  }
  if (text.empty()) return PulldownDelete::EmptyText;
  if (confirmDelete) {
    const int answer = MessageBoxW(page, Format(u"Delete '%s' from the pulldown list ?", text),
                                   u"Data Entry Automation", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDYES) return PulldownDelete::Declined;
  }
  if (removeLine) removeLine();
  DeletePulldownItem(page, text, db, categoryId);
  return PulldownDelete::Removed;
}

}  // namespace pw
