// The Report view: View Report summarises the records a selection dialog
// picks into the lines of the report list; Save Report writes those lines
// to a document the user names.
#pragma once

#include <QString>

#include <functional>

#include "platform/types.h"
#include "storage/record_databases.h"
#include "views/gui/view_sources.h"
#include "views/view_port.h"
#include "views/view_slots.h"

class QWidget;

namespace pw {

// Runs the selection dialog of the current mode: on OK it puts the matches
// into *list (cleared first); returns IDOK or IDCANCEL.
using RecordChooser = std::function<int(RecordPositionList* list)>;

// View Report: the column widths of the view shown kept (views), the
// selection dialog (chooseRecords), then the report of what it picked in
// sources.viewSlots.ReportListWindow; what was picked becomes the displayed
// list. Nothing changes when the dialog is cancelled or picks nothing.
void ViewReport(const ViewSources& sources, ViewPort& views, const RecordChooser& chooseRecords);

// Asks the user for the file to save to, starting at startPath; an empty
// result cancels.
using ReportFileChooser = std::function<QString(QWidget* owner, const QString& startPath)>;
// The file chooser of Save Report unless the caller puts in its own.
QString ChooseReportFile(QWidget* owner, const QString& startPath);

// Save Report: offers the chooser in the documents folder with the default
// name of appMode and writes the lines of viewSlots.ReportListWindow there.
void SaveReport(HWND owner, const ViewSlots& viewSlots, int appMode,
                const ReportFileChooser& chooser = ChooseReportFile);

// Where Save Report starts: the mode's default name in the documents folder.
QString DefaultReportPath(int mode);

}  // namespace pw
