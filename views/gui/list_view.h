// The record list of the main window (List view, the list half of the Mixed
// view, and the one-column Report list) and its life cycle.
#pragma once

#include <QRect>
#include <QTableView>

#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "platform/object_store.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "views/gui/view_sources.h"
#include "views/record_totals.h"
#include "views/view_slots.h"

namespace pw {

// A list of records or report lines in the view area.
class ListWindow : public QTableView {
 public:
  using QTableView::QTableView;
};

// View kinds of CreateMainListView.
enum : int { PWH_LIST_VIEW = 1, PWH_REPORT_VIEW = 2, PWH_MIXED_VIEW = 3 };

// The view area's rectangle in its own coordinates; empty without one.
QRect GetViewRectangle(const ViewSlots& viewSlots);
// Makes a list of kind in *slot (one of sources.viewSlots), shown at the view
// rectangle (the upper half for the Mixed view); a record list takes the
// columns of the current mode from the settings.
bool CreateMainListView(const ViewSources& sources, ListWindow** slot, int kind);
// Fills a record list with the records the selection shows, from db.
bool LoadMainListBox(HWND owner, QTableView* list, DatabaseHandle& db, const RecordSelection& selection);
// Shows the displayed records as the rows of a record list loaded before
// from db, whose records have not changed since; the totals are the shown
// records' (views/record_totals.h), no record is read. The list's current
// record stays current while it is shown, else the first row is. False for
// a list that is not a record list of appMode, or a count that disagrees.
bool ReplaceListRows(QTableView* list, DatabaseHandle& db, int appMode, const RecordSelection& selection,
                     const ShownTotals& totals);
// Destroys the view shown and makes and loads a list of kind in *slot from
// the current database. The record that was current in the list shown
// before stays current (or its nearest neighbour); the list has the focus.
bool RecreateListView(const ViewSources& sources, ListWindow** slot, int kind);
void DestroyCurrentView(ViewSlots& viewSlots);
// Copies the column widths of the record list in *slot into the settings.
bool SaveListColumnWidths(ListWindow** slot, Settings& settings);

// The selected row of a list (its selection mark), -1 when none. The record
// it shows follows from RowToPosition (views/list_cells.h).
int GetListSelectionMark(const QTableView* list);

// The lines of the Report list (kind 2). InsertReportLine puts a line before
// row `row` (0 is the top; clamped to the line count) and fails for a list
// that is not a report list.
bool InsertReportLine(QTableView* list, int row, std::u16string_view text);
int ReportLineCount(const QTableView* list);
// False for a row that does not exist.
bool GetReportLine(const QTableView* list, int row, std::u16string* out);
// Every line at once, top first: replacing them (false for a list that is
// not a report list) and reading them.
bool SetReportLines(QTableView* list, const std::vector<std::u16string>& lines);
std::vector<std::u16string> GetReportLines(const QTableView* list);

}  // namespace pw
