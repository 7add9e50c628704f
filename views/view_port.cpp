#include "views/view_port.h"

#include "platform/host_port.h"
#include "selection/quick_filter.h"
#include "text/fixed_text.h"

namespace pw {

bool RefreshView(RecordSelection& selection, RecordDatabases& databases, ViewPort& views) {
  ApplyDateTab(selection, databases);
  const ShownView shown = views.Shown();
  if (shown == ShownView::None || shown == ShownView::Report) return false;
  return views.CreateView(shown);
}

bool ShownRecordsKept(const RecordSelection& selection, int selectedTab, const TimeRecord& before,
                      const TimeRecord& after) {
  if (TextOf(before.date) != TextOf(after.date) || selection.FindResult) return false;
  if (selectedTab != selection.ActiveDateTab) return false;
  if (selectedTab != PWH_TAB_ALL) {
    std::u16string from, to;
    if (!ComputeTabDateRange(selectedTab, &from, &to) || from != selection.AppliedFrom || to != selection.AppliedTo)
      return false;
  }
  if (selection.Filter.folded.empty()) return true;
  return TextOf(before.client) == TextOf(after.client) && TextOf(before.project) == TextOf(after.project) &&
         TextOf(before.subproject) == TextOf(after.subproject) && TextOf(before.task) == TextOf(after.task) &&
         TextOf(before.notes) == TextOf(after.notes);
}

bool RefreshChangedRecord(RecordSelection& selection, RecordDatabases& databases, ViewPort& views,
                          RecordPosition position, const TimeRecord& before, const TimeRecord& after) {
  const ShownView shown = views.Shown();
  const bool inPlace = databases.TimeMode() && (shown == ShownView::List || shown == ShownView::Mixed) &&
                       ShownRecordsKept(selection, Host().SelectedDateTab(), before, after) &&
                       views.RecordChanged(position);
  // The filter's kept totals shares hold the record as it was.
  if (inPlace) ForgetQuickFilterTexts(selection);
  if (!inPlace && !RefreshView(selection, databases, views)) return false;
  return views.ShowRecord(position);
}

}  // namespace pw
