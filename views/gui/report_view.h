// The Report view: View Report summarises the records a selection dialog
// picks into the lines of the report list; Save Report writes those lines
// to a document the user names.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace pw {

// View Report: the selection dialog of the mode, then the report of what it
// picked. Nothing changes when the dialog is cancelled or picks nothing.
void ViewReport();

// Save Report: offers the save dialog in the documents folder with the
// mode's default name and writes the report there.
void SaveReport();

// Where Save Report starts: the mode's default name in the documents folder.
QString DefaultReportPath(int mode);

// Asks the user for the file to save to, starting at startPath; an empty
// result cancels. The file chooser by default; tests put in their own.
using ReportFileChooser = std::function<QString(QWidget* owner, const QString& startPath)>;
void SetReportFileChooser(ReportFileChooser chooser);

}  // namespace pw
