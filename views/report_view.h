// The steps of View Report that need no window: the menu states while a
// report is shown, and summarising the chosen records into report lines.
#pragma once

#include "platform/object_store.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "views/report_charts.h"
#include "views/report_lines.h"

namespace pw {

// While a report is shown nothing can be added and the mode stays: New
// Record, New Subsequent Record, Expand/Collapse Tree and both modes are
// grayed, and Report is the checked view.
void ShowReportMenus();

// Summarises the records of list from the database of mode (time or
// expense) and returns the report's lines, reporting progress on the status
// line and the number summarised in its record count. Note dates are
// day.month.year with europeanDates. With charts, the report's two charts
// (views/report_charts.h) are made from the same summary.
ReportLines SummarizeForReport(HWND owner, int mode, DatabaseHandle& db, const RecordPositionList& list,
                               bool europeanDates, ReportCharts* charts = nullptr);

}  // namespace pw
