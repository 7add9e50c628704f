#include "views/gui/report_print.h"

#include <QApplication>
#include <QBuffer>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>

#include "platform/gui/hwnd.h"
#include "platform/host_port.h"
#include "text/format.h"
#include "views/gui/list_view.h"
#include "views/gui/report_charts.h"
#include "views/report_file.h"
#include "views/report_lines.h"

namespace pw {

namespace {

constexpr qreal kLinePoints = 9.0;       // the lines' type size
constexpr qreal kMarginMillimetres = 15.0;
constexpr int kPdfResolution = 300;      // dots per inch of the PDF's coordinates

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

// The report's lines as rows of the page's width: a line too wide is
// broken between words (or anywhere, for a word wider than the page).
std::vector<QString> PageRows(const std::vector<std::u16string>& lines, const QFont& font, QPaintDevice* device,
                              qreal width) {
  const QFontMetricsF metrics(font, device);
  // Most lines are Latin-1 and far narrower than the page: the sum of their
  // characters' widths tells without shaping them. (Kerning only narrows a
  // line; a margin covers the rest.)
  qreal latin1[256];
  for (int c = 0; c < 256; ++c) latin1[c] = metrics.horizontalAdvance(QChar(c));
  const auto surelyFits = [&](std::u16string_view text) {
    qreal sum = 0.0;
    for (char16_t c : text) {
      if (c > 0xFF) return false;
      sum += latin1[c];
    }
    return sum <= width * 0.95;
  };
  std::vector<QString> rows;
  rows.reserve(lines.size());
  for (const std::u16string& line : lines) {
    QString text = line == PWH_REPORT_BLANK ? QString() : ToQString(line);
    if (surelyFits(line) || metrics.horizontalAdvance(text) <= width) {
      rows.push_back(std::move(text));
      continue;
    }
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
      row.setLineWidth(width);
      rows.push_back(text.mid(row.textStart(), row.textLength()));
    }
    layout.endLayout();
  }
  return rows;
}

QFont LineFont() {
  QFont font = QApplication::font();
  font.setPointSizeF(kLinePoints);
  return font;
}

const ReportCharts& ChartsOrNone(const QTableView* list) {
  static const ReportCharts none;
  const ReportCharts* charts = ReportChartsOf(list);
  return charts ? *charts : none;
}

// Whether there is a report to put on paper; says so (saying what would
// have been done) when there is none.
bool HaveReport(HWND owner, const ViewSlots& viewSlots, std::u16string_view nothingTo) {
  if (!viewSlots.ReportListWindow) return false;
  if (ReportLineCount(viewSlots.ReportListWindow) > 0) return true;
  MessageBoxW(owner, u"No records in the summary, nothing to " + std::u16string(nothingTo) + u".", u"PWH Report",
              MB_OK | MB_ICONINFORMATION);
  return false;
}

}  // namespace

QPageSize LocalePageSize() {
  return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
}

bool PaintReport(QPagedPaintDevice* device, const std::vector<std::u16string>& lines, const ReportCharts& charts) {
  QPainter painter;
  if (!device || !painter.begin(device)) return false;
  const QFont font = LineFont();
  painter.setFont(font);
  const QFontMetricsF metrics(font, device);
  const qreal width = device->width();
  const qreal height = device->height();
  const qreal pitch = metrics.lineSpacing();
  const qreal foot = pitch * 2;

  // The charts take the top of the first page, side by side.
  const qreal chartsHeight = charts.empty() ? 0.0 : std::min(height * 0.4, width * 0.45);
  const qreal gap = pitch;
  const std::vector<QString> rows = PageRows(lines, font, device, width);
  const auto rowsFitting = [&](qreal top) { return std::max<std::size_t>(1, std::size_t((height - foot - top) / pitch)); };
  const std::size_t firstPageRows = rowsFitting(chartsHeight > 0 ? chartsHeight + gap : 0.0);
  const std::size_t pageRows = rowsFitting(0.0);
  const std::size_t pages =
      1 + (rows.size() > firstPageRows ? (rows.size() - firstPageRows + pageRows - 1) / pageRows : 0);

  std::size_t row = 0;
  for (std::size_t page = 1; page <= pages; ++page) {
    if (page > 1 && !device->newPage()) return false;
    qreal y = 0.0;
    if (page == 1 && chartsHeight > 0) {
      const qreal half = (width - gap) / 2;
      DrawReportChart(painter, QRectF(0, 0, half, chartsHeight), charts.byClient, charts.valueName, font);
      DrawReportChart(painter, QRectF(half + gap, 0, half, chartsHeight), charts.byMonth, charts.valueName, font);
      painter.setFont(font);
      painter.setPen(Qt::black);
      y = chartsHeight + gap;
    }
    const std::size_t end = std::min(rows.size(), row + (page == 1 ? firstPageRows : pageRows));
    for (; row < end; ++row, y += pitch) {
      if (!rows[row].isEmpty()) painter.drawText(QPointF(0, y + metrics.ascent()), rows[row]);
    }
    painter.drawText(QRectF(0, height - pitch, width, pitch), Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Page %1 of %2").arg(page).arg(pages));
  }
  return painter.end();
}

QByteArray ReportPdfBytes(const std::vector<std::u16string>& lines, const ReportCharts& charts) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return {};
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(LocalePageSize());
    writer.setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                          QPageLayout::Millimeter);
    writer.setCreator(QStringLiteral("Pennywhistle"));
    writer.setTitle(ToQString(charts.valueName == u"Amount" ? u"PWH Expense Report" : u"PWH Time Report"));
    if (!PaintReport(&writer, lines, charts)) return {};
  }
  buffer.close();
  return bytes;
}

QString ChooseReportPdfFile(QWidget* owner, const QString& startPath) {
  return QFileDialog::getSaveFileName(owner, QStringLiteral("Report as PDF"), startPath,
                                      QStringLiteral("PDF Documents (*.pdf)"));
}

QString DefaultReportPdfPath(int mode) {
  QString path = DefaultReportPath(mode);
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  return (dot > path.lastIndexOf(QLatin1Char('/')) ? path.left(dot) : path) + QStringLiteral(".pdf");
}

void SaveReportPdf(HWND owner, const ViewSlots& viewSlots, int appMode, const ReportFileChooser& chooser) {
  if (!HaveReport(owner, viewSlots, u"save")) return;
  const QString path = (chooser ? chooser : ReportFileChooser(ChooseReportPdfFile))(FromHwnd(owner),
                                                                                   DefaultReportPdfPath(appMode));
  if (path.isEmpty()) return;
  SetStatusText(PWH_STATUS_ACTIVITY, u"saving report...");
  const QByteArray bytes =
      ReportPdfBytes(GetReportLines(viewSlots.ReportListWindow), ChartsOrNone(viewSlots.ReportListWindow));
  if (bytes.isEmpty()) {
    MessageBoxW(owner, Format(u"The report could not be made into a PDF document for '%s'.", path.toStdU16String()),
                u"Pennywhistle Error", MB_OK | MB_ICONEXCLAMATION);
  } else {
    WriteDocumentFile(owner, path.toStdU16String(), std::string_view(bytes.constData(), std::size_t(bytes.size())));
  }
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
}

bool ChoosePrinter(QWidget* owner, QPrinter& printer) {
  QPrintDialog dialog(&printer, owner);
  dialog.setWindowTitle(QStringLiteral("Print Report"));
  return dialog.exec() == QDialog::Accepted;
}

void PrintReport(HWND owner, const ViewSlots& viewSlots, const PrinterChooser& chooser) {
  if (!HaveReport(owner, viewSlots, u"print")) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(LocalePageSize());
  printer.setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                         QPageLayout::Millimeter);
  printer.setDocName(QStringLiteral("Pennywhistle Report"));
  if (!chooser(FromHwnd(owner), printer)) return;
  SetStatusText(PWH_STATUS_ACTIVITY, u"printing report...");
  if (!PaintReport(&printer, GetReportLines(viewSlots.ReportListWindow), ChartsOrNone(viewSlots.ReportListWindow))) {
    MessageBoxW(owner,
                Format(u"The report could not be printed on '%s'.",
                       (printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName())
                           .toStdU16String()),
                u"Pennywhistle Error", MB_OK | MB_ICONEXCLAMATION);
  }
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
}

}  // namespace pw
