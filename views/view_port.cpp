#include "views/view_port.h"

namespace pw {

bool RefreshView(RecordSelection& selection, RecordDatabases& databases, ViewPort& views) {
  ApplyDateTab(selection, databases);
  const ShownView shown = views.Shown();
  if (shown == ShownView::None || shown == ShownView::Report) return false;
  return views.CreateView(shown);
}

}  // namespace pw
