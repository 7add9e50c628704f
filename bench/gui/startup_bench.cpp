// The program's start-up and its reactions at 100,000 time records (ten
// years of work ending "today", 14 March 2024): start-up until the List view
// shows tab "All", a date-tab change each way, and re-creating the List view
// after a record was added or deleted. Every step is measured up to the
// painted window (offscreen).
//
// Run in Release; peak_rss_MB is the process's peak resident size so far.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDate>
#include <QTabBar>
#include <QTableView>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "bench/gui/bench_support.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "selection/selection.h"
#include "shell/gui/main_window.h"
#include "shell/gui/program.h"
#include "shell/gui/qt_host.h"
#include "storage/record_operations.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kDays = 3650;
std::string storePath;
// The host installed in main, and the program running on it (none before
// the first start-up and after the end).
pw::QtHost* host = nullptr;
std::unique_ptr<pw::Program> program;

pw::SYSTEMTIME Today() {
  pw::SYSTEMTIME now;
  now.wYear = 2024;
  now.wMonth = 3;
  now.wDay = 14;
  now.wHour = 17;
  return now;
}

std::u16string DateText(int daysBack) {
  const QDate date = QDate(2024, 3, 14).addDays(-daysBack);
  return pw::Format(u"%02d/%02d/%04d", date.month(), date.day(), date.year());
}

pw::TimeRecord SampleRecord(int i) {
  return pw::bench::SampleTimeRecord(i, DateText(int(std::int64_t(i) * kDays / kRecords)));
}

void FillTimeDatabase() {
  pw::DatabaseHandle db;
  pw::OpenTimeDatabase(nullptr, pw::PWH_TIME_DB_NAME, &db);
  pw::bench::FillTimeDatabase(db, kRecords, SampleRecord);
}

int ShownRows() {
  const pw::ListWindow* list = program ? program->state().ListViewWindow : nullptr;
  return list ? list->model()->rowCount() : 0;
}

// Lets the window paint what changed.
void Paint() { QCoreApplication::processEvents(); }

// Ends the running program and lets its window and its state go.
void EndProgram() { program.reset(); }

// A new program, started; false when start-up failed.
bool StartProgram() {
  program = std::make_unique<pw::Program>(*host);
  return program->StartUp();
}

// The program started, unless it is already running.
bool Started() { return (program && program->window()) || StartProgram(); }

// A program started as a fresh process finds the store on disk.
void ReopenStore() {
  pw::CloseObjectStore();
  pw::OpenObjectStore(storePath);
}

QTabBar* Tabs() { return program->window()->dateTabs(); }

void BM_StartUpToAllTab(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    EndProgram();
    ReopenStore();
    state.ResumeTiming();
    if (!StartProgram()) {
      state.SkipWithError("start-up failed");
      break;
    }
    Paint();
    Tabs()->setCurrentIndex(pw::PWH_TAB_ALL);  // as a click does
    Paint();
  }
  state.counters["rows"] = ShownRows();
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_StartUpToAllTab)->Unit(benchmark::kMillisecond)->Iterations(10);

// A tab change: the date walk over every record, then the view re-created.
void TabChange(benchmark::State& state, int from, int to) {
  if (!Started()) {
    state.SkipWithError("start-up failed");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    Tabs()->setCurrentIndex(from);
    Paint();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
    Tabs()->setCurrentIndex(to);
    Paint();
  }
  state.counters["rows"] = ShownRows();
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}

void BM_TabChange_TodayToAll(benchmark::State& state) { TabChange(state, pw::PWH_TAB_TODAY, pw::PWH_TAB_ALL); }
BENCHMARK(BM_TabChange_TodayToAll)->Unit(benchmark::kMillisecond);

void BM_TabChange_AllTo14Days(benchmark::State& state) { TabChange(state, pw::PWH_TAB_ALL, pw::PWH_TAB_14_DAYS); }
BENCHMARK(BM_TabChange_AllTo14Days)->Unit(benchmark::kMillisecond);

void BM_TabChange_AllToMonth(benchmark::State& state) { TabChange(state, pw::PWH_TAB_ALL, pw::PWH_TAB_MONTH); }
BENCHMARK(BM_TabChange_AllToMonth)->Unit(benchmark::kMillisecond);

// After a record was added (or deleted again), as every record command
// does: the view re-created on tab "All".
void BM_RecreateListViewAfterChange(benchmark::State& state) {
  if (!Started()) {
    state.SkipWithError("start-up failed");
    return;
  }
  Tabs()->setCurrentIndex(pw::PWH_TAB_ALL);
  pw::AppState& app = program->state();
  bool added = false;
  for (auto _ : state) {
    state.PauseTiming();
    if (added)
      pw::DeleteRecord(app.MainWindow, app.TimeDatabase, 0);
    else
      pw::AddNewRecord(app.MainWindow, app.TimeDatabase, SampleRecord(7));
    added = !added;
    pw::ApplyDateTab(app, app);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
    pw::RecreateListView(program->views().Sources(), &app.ListViewWindow, pw::PWH_LIST_VIEW);
    Paint();
  }
  state.counters["rows"] = ShownRows();
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_RecreateListViewAfterChange)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "startup-bench", [](const std::string&) {
    storePath = pw::DefaultObjectStorePath();
    pw::SetLocalTimeOverride(Today());
    pw::OpenObjectStore(storePath);
    FillTimeDatabase();
    pw::QtHost qtHost;
    host = &qtHost;
    pw::SetHost(&qtHost);
    benchmark::RunSpecifiedBenchmarks();
    EndProgram();
    pw::SetHost(nullptr);
    host = nullptr;
    pw::CloseObjectStore();
    pw::CloseRegistry();
  });
}
