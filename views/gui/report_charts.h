// The Report view's two charts (views/report_charts.h holds their numbers):
// a panel beside the report's lines in the view area, and the same charts
// drawn on any painter for print and PDF.
#pragma once

#include <QRect>

#include "views/report_charts.h"

class QChart;
class QFont;
class QPainter;
class QRectF;
class QTableView;

namespace pw {

// A chart of stacked bars, billable and non-billable, with its texts in
// font: clients as horizontal bars, the largest at the top; months as
// columns, labelled by month, or by the first and last month when there are
// many.
QChart* MakeReportChart(const ReportChart& chart, const std::u16string& valueName, const QFont& font);

// The width the report's lines keep of a view area `areaWidth` wide; the
// charts take the rest, never less than font needs for their texts.
int ReportLinesWidth(int areaWidth, const QFont& font);

// Gives a new report list its charts, to its right in the view area,
// following the list's size and visibility and going with it. Each chart's
// accessible name is its title.
void AttachReportCharts(QTableView* list, ReportCharts charts);
// The charts of a report list; null when it has none.
const ReportCharts* ReportChartsOf(const QTableView* list);

// Draws the chart into target with painter (the page of a printer or a PDF
// file), laid out at 120 dots per inch and scaled to the target.
void DrawReportChart(QPainter& painter, const QRectF& target, const ReportChart& chart,
                     const std::u16string& valueName, const QFont& font);

}  // namespace pw
