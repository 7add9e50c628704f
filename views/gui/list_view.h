// The record list of the main window (List view, the list half of the Mixed
// view, and the one-column Report list), its view slots and its life cycle.
#pragma once

#include <QRect>

#include <string>
#include <string_view>
#include <vector>

#include "platform/object_store.h"
#include "platform/types.h"

class QTableView;
class QWidget;

namespace pw {

class PWHConfiguration;
class TreeNodeView;

// View kinds of CreateMainListView.
enum : int { PWH_LIST_VIEW = 1, PWH_REPORT_VIEW = 2, PWH_MIXED_VIEW = 3 };

// The view slots: at most one holds a window; which one tells the view shown.
extern QTableView* ListViewWindow;
extern QTableView* MixedListWindow;
extern TreeNodeView* TreeViewWindow;
extern QTableView* ReportListWindow;
extern int TreeItemCount;

// The widget views are created in (below the date tabs, above the status
// line). Set by the main window when it is made; null before.
extern QWidget* ViewArea;

QRect GetViewRectangle();
bool CreateMainListView(QTableView** slot, int kind);
bool LoadMainListBox(HWND owner, QTableView* list, DatabaseHandle& db);
bool RecreateListView(HWND owner, QTableView** slot, DatabaseHandle& db, int kind);
void DestroyCurrentView();
bool SaveListColumnWidths(QTableView** slot, PWHConfiguration* config);

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
