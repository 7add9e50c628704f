// New Record at 100,000 time records: the entry dialog's OK to the new row
// current in the re-created list (store the record, apply the date tab,
// re-create the list, find and show the new row), with "All" shown and with
// "Today" shown (the tab the program starts on, a walk of every record).
//
// Run in Release; the dialog itself is a stand-in that answers OK at once.
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
#include "shell/globals.h"
#include "shell/gui/commands.h"
#include "shell/gui/record_commands.h"
#include "storage/record_operations.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/date_time.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace {

constexpr int kRecords = 100000;

// The user's OK on a record dated today.
int EnteredAtOnce(pw::HWND, int) {
  std::u16string today;
  pw::TodayText(&today);
  pw::WorkingTimeRecord = pw::bench::SampleTimeRecord(7, today);
  return pw::IDOK;
}

void NewRecord(benchmark::State& state, int tab) {
  pw::Host().SelectDateTab(tab);
  pw::ApplyDateTab();
  pw::RecreateListView(nullptr, &pw::ListViewWindow, pw::TimeDatabase, pw::PWH_LIST_VIEW);
  for (auto _ : state) {
    pw::OnNewRecord(nullptr, 0, 0, 0);
    state.PauseTiming();
    // Back to 100,000 records: the new one is the current row.
    const std::int64_t position = pw::SelectedRecordPosition();
    if (position < 0) {
      state.SkipWithError("the new record is not the current row");
      break;
    }
    pw::DeleteRecord(nullptr, pw::TimeDatabase, pw::RecordPosition(position));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the view replaced
    state.ResumeTiming();
  }
  state.counters["rows"] = double(pw::ListViewWindow ? pw::ListViewWindow->model()->rowCount() : 0);
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}

void BM_NewRecord_AllShown(benchmark::State& state) { NewRecord(state, pw::PWH_TAB_ALL); }
BENCHMARK(BM_NewRecord_AllShown)->Unit(benchmark::kMillisecond);

void BM_NewRecord_TodayShown(benchmark::State& state) { NewRecord(state, pw::PWH_TAB_TODAY); }
BENCHMARK(BM_NewRecord_TodayShown)->Unit(benchmark::kMillisecond);

// The two halves on their own: the durable add (one disk sync), and the
// refresh that follows it.
void BM_NewRecord_StoreOnly(benchmark::State& state) {
  EnteredAtOnce(nullptr, 0);
  for (auto _ : state) {
    pw::CEOID oid = 0;
    pw::AddNewRecord(nullptr, pw::TimeDatabase, pw::WorkingTimeRecord, &oid);
    state.PauseTiming();
    pw::CeDeleteRecord(pw::TimeDatabase, oid);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_NewRecord_StoreOnly)->Unit(benchmark::kMillisecond);

void BM_NewRecord_RefreshOnly(benchmark::State& state) {
  pw::Host().SelectDateTab(pw::PWH_TAB_ALL);
  EnteredAtOnce(nullptr, 0);
  pw::CEOID oid = 0;
  pw::AddNewRecord(nullptr, pw::TimeDatabase, pw::WorkingTimeRecord, &oid);
  for (auto _ : state) {
    pw::RefreshView();
    pw::ShowRecordInView(oid);
    state.PauseTiming();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  pw::CeDeleteRecord(pw::TimeDatabase, oid);
}
BENCHMARK(BM_NewRecord_RefreshOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "commands-bench", [](const std::string& home) {
    pw::bench::ViewBench views(home, kRecords);
    pw::EntryDialogs.time = EnteredAtOnce;
    benchmark::RunSpecifiedBenchmarks();
  });
}
