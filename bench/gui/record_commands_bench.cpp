// New Record at 100,000 time records: the entry dialog's OK to the new row
// current in the re-created list (store the record, apply the date tab,
// re-create the list, find and show the new row), with "All" shown and with
// "Today" shown (the tab the program starts on, a walk of every record).
//
// The view area, state and commands of the program without its main window;
// the dialog itself is a stand-in that answers OK at once.
//
// Run in Release.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/gui/bench_support.h"
#include "config/configuration.h"
#include "platform/host_port.h"
#include "platform/object_store.h"
#include "selection/selection.h"
#include "shell/commands.h"
#include "storage/record_operations.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "views/gui/view_port.h"
#include "text/date_time.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace {

constexpr int kRecords = 100000;

// Made in main, for the whole run.
pw::bench::ViewBench* bench = nullptr;
pw::GuiViewPort* views = nullptr;
pw::Commands* commands = nullptr;

// The user's OK on a record dated today.
int EnteredAtOnce(int) {
  std::u16string today;
  pw::TodayText(&today);
  bench->state.WorkingTimeRecord = pw::bench::SampleTimeRecord(7, today);
  return pw::IDOK;
}

void NewRecord(benchmark::State& state, int tab) {
  pw::AppState& app = bench->state;
  pw::Host().SelectDateTab(tab);
  if (!app.ListViewWindow) views->CreateView(pw::ShownView::List);
  commands->RefreshView();
  for (auto _ : state) {
    commands->NewRecord();
    state.PauseTiming();
    // Back to 100,000 records: the new one is the current row.
    const std::int64_t position = views->SelectedRecordPosition();
    if (position < 0) {
      state.SkipWithError("the new record is not the current row");
      break;
    }
    pw::DeleteRecord(nullptr, app.TimeDatabase, pw::RecordPosition(position));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the view replaced
    state.ResumeTiming();
  }
  state.counters["rows"] = double(app.ListViewWindow ? app.ListViewWindow->model()->rowCount() : 0);
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}

void BM_NewRecord_AllShown(benchmark::State& state) { NewRecord(state, pw::PWH_TAB_ALL); }
BENCHMARK(BM_NewRecord_AllShown)->Unit(benchmark::kMillisecond);

void BM_NewRecord_TodayShown(benchmark::State& state) { NewRecord(state, pw::PWH_TAB_TODAY); }
BENCHMARK(BM_NewRecord_TodayShown)->Unit(benchmark::kMillisecond);

// The two halves on their own: the durable add (one disk sync), and the
// refresh that follows it.
void BM_NewRecord_StoreOnly(benchmark::State& state) {
  pw::AppState& app = bench->state;
  EnteredAtOnce(0);
  for (auto _ : state) {
    pw::CEOID oid = 0;
    pw::AddNewRecord(nullptr, app.TimeDatabase, app.WorkingTimeRecord, &oid);
    state.PauseTiming();
    pw::CeDeleteRecord(app.TimeDatabase, oid);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_NewRecord_StoreOnly)->Unit(benchmark::kMillisecond);

void BM_NewRecord_RefreshOnly(benchmark::State& state) {
  pw::AppState& app = bench->state;
  pw::Host().SelectDateTab(pw::PWH_TAB_ALL);
  EnteredAtOnce(0);
  pw::CEOID oid = 0;
  pw::AddNewRecord(nullptr, app.TimeDatabase, app.WorkingTimeRecord, &oid);
  for (auto _ : state) {
    commands->RefreshView();
    commands->ShowRecord(oid);
    state.PauseTiming();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  pw::CeDeleteRecord(app.TimeDatabase, oid);
}
BENCHMARK(BM_NewRecord_RefreshOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "commands-bench", [](const std::string& home) {
    pw::bench::ViewBench made(home, kRecords);
    pw::GuiViewPort port(made.state, made.state, made.state, [] { return pw::HWND(nullptr); },
                         [&made] { return made.state.Configuration; });
    pw::Commands run(made.state, port, pw::CommandDialogs{EnteredAtOnce, {}, {}});
    bench = &made, views = &port, commands = &run;
    benchmark::RunSpecifiedBenchmarks();
    bench = nullptr, views = nullptr, commands = nullptr;
  });
}
