#include "views/gui/report_view.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTableView>

#include "platform/host_port.h"
#include "selection/gui/find_dialogs.h"
#include "shell/globals.h"
#include "shell/gui/commands.h"
#include "shell/gui/qt_host.h"
#include "shell/window_messages.h"
#include "views/gui/list_view.h"
#include "views/report.h"
#include "views/report_file.h"

namespace pw {

namespace {

QString ChooseWithFileDialog(QWidget* owner, const QString& startPath) {
  return QFileDialog::getSaveFileName(owner, QStringLiteral("Save Report"), startPath,
                                      QStringLiteral("All Documents (*.*)"));
}

ReportFileChooser& Chooser() {
  static ReportFileChooser chooser = ChooseWithFileDialog;
  return chooser;
}

}  // namespace

QString DefaultReportPath(int mode) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const std::u16string_view name = mode == PWH_EXPENSE_MODE ? PWH_EXPENSE_REPORT_FILE : PWH_TIME_REPORT_FILE;
  return QDir(folder).filePath(QString(reinterpret_cast<const QChar*>(name.data()), qsizetype(name.size())));
}

void SetReportFileChooser(ReportFileChooser chooser) {
  Chooser() = chooser ? std::move(chooser) : ReportFileChooser(ChooseWithFileDialog);
}

void ViewReport() {
  StoreColumnWidths();
  // The dialog's matches replace the displayed list only when there is a
  // report to show: the view shown meanwhile keeps rows that match its list.
  RecordPositionList picked;
  if (RunSelectionDialog(&picked) != IDOK) return;
  if (picked.empty()) {
    MessageBoxW(MainWindow, u"No matching records for the summary.", u"PWH Report View", MB_OK | MB_ICONINFORMATION);
    return;
  }
  DisplayedRecordList = std::move(picked);

  ShowReportMenus();
  SetStatusText(PWH_STATUS_ACTIVITY, u"loading report view...");
  DestroyCurrentView();
  if (CreateMainListView(&ReportListWindow, PWH_REPORT_VIEW)) {
    SetReportLines(ReportListWindow, SummarizeForReport(MainWindow, AppMode, CurrentDatabase(), DisplayedRecordList));
    Host().EnableMenuItem(IDM_SAVE_REPORT, true);
  }
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
}

void SaveReport() {
  if (!ReportListWindow) return;
  if (ReportLineCount(ReportListWindow) == 0) {
    MessageBoxW(MainWindow, u"No records in the summary, nothing to save.", u"PWH Report Save",
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  const QString path = Chooser()(FromHwnd(MainWindow), DefaultReportPath(AppMode));
  if (path.isEmpty()) return;
  SetStatusText(PWH_STATUS_ACTIVITY, u"saving report...");
  WriteReportFile(MainWindow, path.toStdU16String(), GetReportLines(ReportListWindow));
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
}

}  // namespace pw
