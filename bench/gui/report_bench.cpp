// Find and the Report view at 100,000 time records of ten years:
//  - Find: the matching walk with its criteria and the list view re-created
//    over the matches;
//  - Report: from the selection dialog's OK to the lines shown, that is the
//    summary of every record, its lines, and the report list made and filled;
//  - Save Report: the lines of that report written to a document;
//  - the report's two charts: built from the summary, put beside the lines
//    and painted (alone, and with the whole report);
//  - Report as PDF of that report: the lines and both charts on pages,
//    written to a file.
// The records spread over 3,000 detailed totals (40 clients, 300 projects,
// 1,000 tasks), and every fifth has a note, so the report has about 23,000
// lines.
//
// Run in Release; peak_rss_MB is the process's peak resident size so far.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/gui/bench_support.h"
#include "config/configuration.h"
#include "platform/code_page.h"
#include "platform/object_store.h"
#include "selection/selection.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/gui/list_view.h"
#include "views/gui/report_charts.h"
#include "views/gui/report_print.h"
#include "views/report_view.h"
#include "views/report_file.h"

namespace {

constexpr int kRecords = 100000;

// Made in main, for the whole run.
pw::bench::ViewBench* bench = nullptr;

pw::TimeRecord RecordWithTask(int i) {
  pw::TimeRecord r = pw::bench::DecadeRecord(i);
  pw::CopyText(r.task, pw::Format(u"Task %d", i % 1000));
  return r;
}

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

pw::TimeSelectionCriteria EveryRecord() {
  pw::TimeSelectionCriteria c;
  c.from = u"01/01/1990";
  c.to = u"12/31/2010";
  return c;
}

// Find with a client and the billable choice: the walk over every record,
// then the list view of the matches.
void BM_FindAndShow(benchmark::State& state) {
  pw::TimeSelectionCriteria c = EveryRecord();
  c.client = u"Client 7";
  c.billable = u"billable";
  pw::AppState& app = bench->state;
  for (auto _ : state) {
    pw::ClearDisplayedRecordList(&app.DisplayedRecordList);
    pw::MatchTimeRecords(&app.DisplayedRecordList, app.TimeDatabase, c);
    app.RecordSetMode = pw::PWH_SELECT_REC_MODE;
    pw::RecreateListView(bench->Sources(), &app.ListViewWindow, pw::PWH_LIST_VIEW);
    state.PauseTiming();
    FlushDeletes();
    state.ResumeTiming();
  }
  state.counters["shown"] = double(app.DisplayedRecordList.count());
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_FindAndShow)->Unit(benchmark::kMillisecond);

// What follows the OK of the report's selection dialog (which picked every
// record): the report list made, every record summarised, the lines shown.
void BM_ReportAllRecords(benchmark::State& state) {
  pw::AppState& app = bench->state;
  pw::ClearDisplayedRecordList(&app.DisplayedRecordList);
  pw::MatchTimeRecords(&app.DisplayedRecordList, app.TimeDatabase, EveryRecord());
  for (auto _ : state) {
    pw::ShowReportMenus();
    pw::DestroyCurrentView(app);
    pw::CreateMainListView(bench->Sources(), &app.ReportListWindow, pw::PWH_REPORT_VIEW);
    pw::SetReportLines(app.ReportListWindow,
                       pw::SummarizeForReport(nullptr, pw::PWH_TIME_MODE, app.TimeDatabase, app.DisplayedRecordList,
                                              app.Configuration->europeanDates()));
    state.PauseTiming();
    FlushDeletes();
    state.ResumeTiming();
  }
  state.counters["records"] = double(app.DisplayedRecordList.count());
  state.counters["lines"] = double(pw::ReportLineCount(app.ReportListWindow));
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ReportAllRecords)->Unit(benchmark::kMillisecond);

// Paints what is pending in the view area, the charts among it.
void PaintNow() {
  QCoreApplication::sendPostedEvents();
  if (QWidget* area = pw::FromHwnd(bench->state.ViewArea)) area->repaint();
}

// The report as View Report shows it: the lines and both charts, painted.
void BM_ReportWithCharts(benchmark::State& state) {
  pw::AppState& app = bench->state;
  pw::ClearDisplayedRecordList(&app.DisplayedRecordList);
  pw::MatchTimeRecords(&app.DisplayedRecordList, app.TimeDatabase, EveryRecord());
  for (auto _ : state) {
    pw::ShowReportMenus();
    pw::DestroyCurrentView(app);
    pw::CreateMainListView(bench->Sources(), &app.ReportListWindow, pw::PWH_REPORT_VIEW);
    pw::ReportCharts charts;
    pw::SetReportLines(app.ReportListWindow,
                       pw::SummarizeForReport(nullptr, pw::PWH_TIME_MODE, app.TimeDatabase, app.DisplayedRecordList,
                                              app.Configuration->europeanDates(), &charts));
    pw::AttachReportCharts(app.ReportListWindow, std::move(charts));
    PaintNow();
    state.PauseTiming();
    FlushDeletes();
    state.ResumeTiming();
  }
  state.counters["lines"] = double(pw::ReportLineCount(app.ReportListWindow));
}
BENCHMARK(BM_ReportWithCharts)->Unit(benchmark::kMillisecond);

// The charts alone, on top of a report shown: made from the summary of
// every record (made once), put beside the lines and painted.
void BM_ReportChartsOnly(benchmark::State& state) {
  pw::AppState& app = bench->state;
  pw::TimeSummary summary;
  pw::SummarizeTimeRecords(nullptr, app.TimeDatabase, app.DisplayedRecordList, false, &summary);
  for (auto _ : state) {
    state.PauseTiming();
    for (QObject* panel : pw::FromHwnd(app.ViewArea)->findChildren<QObject*>(QStringLiteral("ReportCharts")))
      delete panel;
    state.ResumeTiming();
    pw::AttachReportCharts(app.ReportListWindow, pw::TimeReportCharts(summary));
    PaintNow();
  }
  state.counters["month_bars"] = double(summary.months.Bars().size());
}
BENCHMARK(BM_ReportChartsOnly)->Unit(benchmark::kMillisecond);

// Save Report of that report: the lines read from the list and written.
void BM_SaveReport(benchmark::State& state, const std::string& home) {
  pw::ListWindow* report = bench->state.ReportListWindow;
  if (!report) {
    state.SkipWithError("no report shown");
    return;
  }
  const std::u16string path = pw::Utf8ToWide(home + "/PWH Time Report.doc");
  for (auto _ : state) {
    if (!pw::WriteReportFile(nullptr, path, pw::GetReportLines(report))) {
      state.SkipWithError("save failed");
      break;
    }
  }
  state.counters["bytes"] = double(std::filesystem::file_size(pw::WideToUtf8(path)));
}

// Report as PDF of the report shown (with its charts): pages made and written.
void BM_ReportPdf(benchmark::State& state, const std::string& home) {
  pw::ListWindow* report = bench->state.ReportListWindow;
  const pw::ReportCharts* charts = pw::ReportChartsOf(report);
  if (!report || !charts) {
    state.SkipWithError("no report shown");
    return;
  }
  const std::u16string path = pw::Utf8ToWide(home + "/PWH Time Report.pdf");
  for (auto _ : state) {
    const QByteArray bytes = pw::ReportPdfBytes(pw::GetReportLines(report), *charts);
    if (!pw::WriteDocumentFile(nullptr, path, std::string_view(bytes.constData(), std::size_t(bytes.size())))) {
      state.SkipWithError("save failed");
      break;
    }
  }
  state.counters["bytes"] = double(std::filesystem::file_size(pw::WideToUtf8(path)));
  state.counters["lines"] = double(pw::ReportLineCount(report));
}

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "report-bench", [](const std::string& home) {
    benchmark::RegisterBenchmark("BM_SaveReport", BM_SaveReport, home)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ReportPdf", BM_ReportPdf, home)->Unit(benchmark::kMillisecond)->Iterations(3);
    pw::bench::ViewBench views(home, kRecords, pw::bench::ViewBench::kTimeOnly, RecordWithTask);
    bench = &views;
    benchmark::RunSpecifiedBenchmarks();
    bench = nullptr;
  });
}
