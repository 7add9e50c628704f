// The record list at 100,000 time records: re-creating it (destroy, create,
// walk the database, set the rows) in both record-set modes, the walk alone,
// and painting one screenful at a place never shown before.
//
// Run in Release; peak_rss_MB is the process's peak resident size so far.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QTableView>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "config/configuration.h"
#include "bench/gui/bench_support.h"
#include "platform/object_store.h"
#include "selection/selection.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace {

constexpr int kRecords = 100000;

// Made in main, for the whole run.
pw::bench::ViewBench* bench = nullptr;

void SelectEverySecondRecord() {
  pw::RecordSelection& selection = bench->state;
  selection.RecordSetMode = pw::PWH_SELECT_REC_MODE;
  selection.DisplayedRecordList.Clear();
  for (pw::RecordPosition p = 0; p < pw::RecordPosition(kRecords); p += 2) selection.DisplayedRecordList.Append(p);
}

void SelectAll() {
  bench->state.RecordSetMode = pw::PWH_ALL_REC_MODE;
  bench->state.DisplayedRecordList.Clear();
}

bool RecreateList() { return pw::RecreateListView(bench->Sources(), &bench->state.ListViewWindow, pw::PWH_LIST_VIEW); }

void Recreate(benchmark::State& state) {
  pw::ListWindow*& list = bench->state.ListViewWindow;
  for (auto _ : state) {
    if (!RecreateList()) {
      state.SkipWithError("RecreateListView failed");
      break;
    }
    state.PauseTiming();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the view replaced
    state.ResumeTiming();
  }
  state.counters["rows"] = double(list ? list->model()->rowCount() : 0);
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}

void BM_RecreateListView_All(benchmark::State& state) {
  SelectAll();
  Recreate(state);
}
BENCHMARK(BM_RecreateListView_All)->Unit(benchmark::kMillisecond);

void BM_RecreateListView_Select50k(benchmark::State& state) {
  SelectEverySecondRecord();
  Recreate(state);
}
BENCHMARK(BM_RecreateListView_Select50k)->Unit(benchmark::kMillisecond);

// The walk on its own: seek and read every shown record, set the rows.
void BM_LoadMainListBox_All(benchmark::State& state) {
  SelectAll();
  RecreateList();
  pw::AppState& app = bench->state;
  for (auto _ : state) {
    pw::LoadMainListBox(nullptr, app.ListViewWindow, app.TimeDatabase, app);
  }
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_LoadMainListBox_All)->Unit(benchmark::kMillisecond);

// One screenful painted at a random place: every record shown is read and
// decoded once, its cells worked out as they are painted.
void BM_PaintScreenful(benchmark::State& state) {
  SelectAll();
  RecreateList();
  QTableView* view = bench->state.ListViewWindow;
  std::mt19937 random(42);
  for (auto _ : state) {
    state.PauseTiming();
    view->scrollTo(view->model()->index(int(random() % kRecords), 1), QAbstractItemView::PositionAtTop);
    state.ResumeTiming();
    benchmark::DoNotOptimize(view->grab());
  }
  state.counters["rows_shown"] = double(view->viewport()->height() / view->rowHeight(0));
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_PaintScreenful)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "list-bench", [](const std::string& home) {
    pw::bench::ViewBench views(home, kRecords);
    bench = &views;
    benchmark::RunSpecifiedBenchmarks();
    bench = nullptr;
  });
}
