// The report on paper: File > Print Report... and File > Save > Report as
// PDF... put the report's lines and both its charts on pages of the
// locale's paper size (Letter where US measures are used, else A4), with
// the page numbers below.
#pragma once

#include <QPageSize>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"
#include "views/gui/report_view.h"
#include "views/report_charts.h"
#include "views/view_slots.h"

class QPagedPaintDevice;
class QPrinter;

namespace pw {

// Letter under the US measurement system of the user's locale, else A4.
QPageSize LocalePageSize();

// Paints the charts side by side at the top of the first page, then every
// line, wrapped where it is wider than the page, and "Page n of m" at the
// foot of each page. False when the device cannot be painted on.
bool PaintReport(QPagedPaintDevice* device, const std::vector<std::u16string>& lines, const ReportCharts& charts);

// The bytes of the report as a PDF document; empty when it could not be made.
QByteArray ReportPdfBytes(const std::vector<std::u16string>& lines, const ReportCharts& charts);

// The file chooser of Report as PDF unless the caller puts in its own.
QString ChooseReportPdfFile(QWidget* owner, const QString& startPath);
// Where Report as PDF starts: the mode's report name, ending in ".pdf", in
// the documents folder.
QString DefaultReportPdfPath(int mode);

// Report as PDF: the report shown written as a PDF document where the user
// chooses; the file is replaced whole or not at all, and a failure is shown
// naming the file and the cause.
void SaveReportPdf(HWND owner, const ViewSlots& viewSlots, int appMode,
                   const ReportFileChooser& chooser = ChooseReportPdfFile);

// Sets up the printer with the user (the desktop's print dialog): false
// when the user cancels.
using PrinterChooser = std::function<bool(QWidget* owner, QPrinter& printer)>;
bool ChoosePrinter(QWidget* owner, QPrinter& printer);

// Print Report: the printer chosen, then the report shown printed on it.
void PrintReport(HWND owner, const ViewSlots& viewSlots, const PrinterChooser& chooser = ChoosePrinter);

}  // namespace pw
