#include "views/report_view.h"

#include "platform/host_port.h"
#include "platform/command_ids.h"
#include "storage/record_databases.h"
#include "views/report_summary.h"

namespace pw {

void ShowReportMenus() {
  HostPort& host = Host();
  for (UINT id : {IDM_EXPAND_COLLAPSE_TREE, IDM_NEW_RECORD, IDM_NEW_SUBSEQUENT_RECORD, IDM_MODE_TIME, IDM_MODE_EXPENSE})
    host.EnableMenuItem(id, false);
  for (UINT id : {IDM_VIEW_LIST, IDM_VIEW_TREE, IDM_VIEW_MIXED}) host.CheckMenuItem(id, false);
  host.CheckMenuItem(IDM_VIEW_REPORT, true);
}

ReportLines SummarizeForReport(HWND owner, int mode, DatabaseHandle& db, const RecordPositionList& list,
                               bool europeanDates, ReportCharts* charts) {
  SetStatusText(PWH_STATUS_ACTIVITY, u"summarizing records...");
  ShowRecordCount(0);
  ReportLines lines;
  if (mode == PWH_EXPENSE_MODE) {
    ExpenseSummary summary;
    SummarizeExpenseRecords(owner, db, list, europeanDates, &summary);
    SetStatusText(PWH_STATUS_ACTIVITY, u"loading report results...");
    ShowRecordCount(summary.recordCount);
    lines = ExpenseReportLines(summary);
    if (charts) *charts = ExpenseReportCharts(summary);
  } else {
    TimeSummary summary;
    SummarizeTimeRecords(owner, db, list, europeanDates, &summary);
    SetStatusText(PWH_STATUS_ACTIVITY, u"loading report results...");
    ShowRecordCount(summary.recordCount);
    lines = TimeReportLines(summary);
    if (charts) *charts = TimeReportCharts(summary);
  }
  return lines;
}

}  // namespace pw
