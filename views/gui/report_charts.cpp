#include "views/gui/report_charts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QPainter>
#include <QSet>
#include <QStackedBarSeries>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace pw {

namespace {

// Past this many months the month axis names only the first and the last.
constexpr int kMostMonthLabels = 24;

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

// Bar labels of a category axis must differ: a client named like the
// shared bar gets a blank added.
QStringList UniqueLabels(const std::vector<ChartBar>& bars) {
  QStringList labels;
  QSet<QString> seen;
  for (const ChartBar& bar : bars) {
    QString label = ToQString(bar.label);
    while (seen.contains(label)) label += QLatin1Char(' ');
    seen.insert(label);
    labels << label;
  }
  return labels;
}

// The value axis from 0; small values get a decimal so that ticks differ.
QValueAxis* ValueAxis(const std::u16string& valueName, const QFont& font, double largest) {
  auto* axis = new QValueAxis;
  axis->setTitleText(ToQString(valueName));
  axis->setTitleFont(font);
  axis->setLabelsFont(font);
  axis->setLabelFormat(largest < 10.0 ? QStringLiteral("%.1f") : QStringLiteral("%.0f"));
  axis->setRange(0.0, std::max(largest, 1.0));
  return axis;
}

// The panel: the two charts one above the other, right of the report list.
class ChartsPanel final : public QWidget {
 public:
  ChartsPanel(QTableView* list, ReportCharts charts) : QWidget(list->parentWidget()), list_(list), charts_(std::move(charts)) {
    setObjectName(QStringLiteral("ReportCharts"));
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ReportChart* chart : {&charts_.byClient, &charts_.byMonth}) {
      auto* view = new QChartView(MakeReportChart(*chart, charts_.valueName, font()), this);
      view->setAccessibleName(ToQString(chart->title));
      view->setRenderHint(QPainter::Antialiasing);
      view->setFocusPolicy(Qt::NoFocus);
      layout->addWidget(view, 1);
    }
    list->installEventFilter(this);
    connect(list, &QObject::destroyed, this, &QObject::deleteLater);
    Follow();
    setVisible(list->isVisible());
  }
  const QTableView* list() const { return list_; }
  const ReportCharts& charts() const { return charts_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == list_) {
      switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Move: Follow(); break;
        case QEvent::Show: show(); break;
        case QEvent::Hide: hide(); break;
        default: break;
      }
    }
    return false;
  }

 private:
  // From the list's right edge to the right of the view area, as high as the list.
  void Follow() {
    const QRect r = list_->geometry();
    const int width = parentWidget() ? parentWidget()->width() - r.right() - 1 : 0;
    setGeometry(r.right() + 1, r.top(), std::max(0, width), r.height());
  }

  QTableView* list_;
  ReportCharts charts_;
};

// The charts of a report list, found among its siblings.
ChartsPanel* PanelOf(const QTableView* list) {
  if (!list || !list->parentWidget()) return nullptr;
  for (QObject* child : list->parentWidget()->children())
    if (auto* panel = dynamic_cast<ChartsPanel*>(child); panel && panel->list() == list) return panel;
  return nullptr;
}

}  // namespace

QChart* MakeReportChart(const ReportChart& source, const std::u16string& valueName, const QFont& font) {
  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setTitle(ToQString(source.title));
  QFont titleFont = font;
  titleFont.setBold(true);
  chart->setTitleFont(titleFont);
  chart->legend()->setFont(font);
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->setMargins(QMargins(4, 4, 4, 4));

  const bool byClient = source.perClient;
  auto* billable = new QBarSet(ToQString(PWH_CHART_BILLABLE));
  auto* nonBillable = new QBarSet(ToQString(PWH_CHART_NON_BILLABLE));
  // Horizontal bars are drawn from the bottom up: the largest client, first
  // in the list, goes last so that it is on top.
  std::vector<ChartBar> bars = source.bars;
  if (byClient) std::reverse(bars.begin(), bars.end());
  QList<qreal> billableValues, nonBillableValues;
  double largest = 0.0;
  billableValues.reserve(qsizetype(bars.size()));
  nonBillableValues.reserve(qsizetype(bars.size()));
  for (const ChartBar& bar : bars) {
    billableValues << double(bar.billable);
    nonBillableValues << double(bar.nonBillable);
    largest = std::max(largest, double(bar.billable) + double(bar.nonBillable));
  }
  billable->append(billableValues);
  nonBillable->append(nonBillableValues);

  QAbstractBarSeries* series = byClient ? static_cast<QAbstractBarSeries*>(new QHorizontalStackedBarSeries)
                                        : static_cast<QAbstractBarSeries*>(new QStackedBarSeries);
  series->append(billable);
  series->append(nonBillable);
  series->setBarWidth(0.7);
  chart->addSeries(series);

  QValueAxis* values = ValueAxis(valueName, font, largest);
  auto* categories = new QBarCategoryAxis;
  categories->setLabelsFont(font);
  categories->append(UniqueLabels(bars));
  if (!byClient && bars.size() > std::size_t(kMostMonthLabels)) {
    // Too many months to name each: the axis names the first and the last.
    categories->setLabelsBrush(Qt::transparent);
    categories->setGridLineVisible(false);
    categories->setTitleFont(font);
    categories->setTitleText(categories->categories().constFirst() + QStringLiteral(" \u2013 ") +
                             categories->categories().constLast());
  }
  if (byClient) {
    chart->addAxis(values, Qt::AlignBottom);
    chart->addAxis(categories, Qt::AlignLeft);
  } else {
    chart->addAxis(categories, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
  }
  series->attachAxis(categories);
  series->attachAxis(values);
  values->applyNiceNumbers();
  return chart;
}

int ReportLinesWidth(int areaWidth, const QFont& font) {
  const int leastCharts = QFontMetrics(font).averageCharWidth() * 40;
  const int charts = std::max(areaWidth * 2 / 5, leastCharts);
  return std::max(areaWidth / 3, areaWidth - charts);
}

void AttachReportCharts(QTableView* list, ReportCharts charts) {
  if (list && list->parentWidget()) new ChartsPanel(list, std::move(charts));
}

const ReportCharts* ReportChartsOf(const QTableView* list) {
  const ChartsPanel* panel = PanelOf(list);
  return panel ? &panel->charts() : nullptr;
}

void DrawReportChart(QPainter& painter, const QRectF& target, const ReportChart& chart,
                     const std::u16string& valueName, const QFont& font) {
  const qreal dpi = painter.device() ? qreal(painter.device()->logicalDpiX()) : 96.0;
  // A little denser than a screen, so that the labels fit half a page.
  const qreal scale = std::max<qreal>(dpi / 120.0, 0.01);
  const QRectF laidOut(QPointF(0, 0), target.size() / scale);
  QGraphicsScene scene;
  QChart* item = MakeReportChart(chart, valueName, font);
  scene.addItem(item);
  item->setGeometry(laidOut);
  if (item->layout()) item->layout()->activate();
  scene.setSceneRect(laidOut);
  scene.render(&painter, target, laidOut);
}

}  // namespace pw
