#include "views/gui/report_view.h"

#include <QDir>
#include <QFileDialog>
#include <QTableView>

#include "platform/command_ids.h"
#include "platform/gui/folders.h"
#include "platform/gui/hwnd.h"
#include "platform/host_port.h"
#include "views/gui/list_view.h"
#include "views/gui/report_charts.h"
#include "views/report_view.h"
#include "views/report_file.h"

namespace pw {

QString ChooseReportFile(QWidget* owner, const QString& startPath) {
  return QFileDialog::getSaveFileName(owner, QStringLiteral("Save Report"), startPath,
                                      QStringLiteral("All Documents (*.*)"));
}

QString DefaultReportPath(int mode) {
  const QString folder = DocumentsFolder();
  const std::u16string_view name = mode == PWH_EXPENSE_MODE ? PWH_EXPENSE_REPORT_FILE : PWH_TIME_REPORT_FILE;
  return QDir(folder).filePath(QString(reinterpret_cast<const QChar*>(name.data()), qsizetype(name.size())));
}

void ViewReport(const ViewSources& sources, ViewPort& views, const RecordChooser& chooseRecords) {
  views.StoreColumnWidths();
  // The dialog's matches replace the displayed list only when there is a
  // report to show: the view shown meanwhile keeps rows that match its list.
  RecordPositionList picked;
  if (!chooseRecords || chooseRecords(&picked) != IDOK) return;
  if (picked.empty()) {
    MessageBoxW(sources.owner, u"No matching records for the summary.", u"PWH Report View",
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  RecordPositionList& shown = sources.selection.DisplayedRecordList;
  shown = std::move(picked);

  ShowReportMenus();
  SetStatusText(PWH_STATUS_ACTIVITY, u"loading report view...");
  ViewSlots& viewSlots = sources.viewSlots;
  DestroyCurrentView(viewSlots);
  if (CreateMainListView(sources, &viewSlots.ReportListWindow, PWH_REPORT_VIEW)) {
    RecordDatabases& databases = sources.databases;
    ReportCharts charts;
    SetReportLines(viewSlots.ReportListWindow,
                   SummarizeForReport(sources.owner, databases.AppMode, databases.CurrentDatabase(), shown,
                                      sources.settings.europeanDates(), &charts));
    AttachReportCharts(viewSlots.ReportListWindow, std::move(charts));
    for (UINT id : {IDM_SAVE_REPORT, IDM_SAVE_REPORT_PDF, IDM_PRINT_REPORT}) Host().EnableMenuItem(id, true);
  }
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
}

void SaveReport(HWND owner, const ViewSlots& viewSlots, int appMode, const ReportFileChooser& chooser) {
  if (!viewSlots.ReportListWindow) return;
  if (ReportLineCount(viewSlots.ReportListWindow) == 0) {
    MessageBoxW(owner, u"No records in the summary, nothing to save.", u"PWH Report Save",
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  const QString path = (chooser ? chooser : ReportFileChooser(ChooseReportFile))(FromHwnd(owner),
                                                                                DefaultReportPath(appMode));
  if (path.isEmpty()) return;
  SetStatusText(PWH_STATUS_ACTIVITY, u"saving report...");
  WriteReportFile(owner, path.toStdU16String(), GetReportLines(viewSlots.ReportListWindow));
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
}

}  // namespace pw
