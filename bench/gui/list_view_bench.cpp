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
#include "shell/globals.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace {

constexpr int kRecords = 100000;

// Ten years of work: about 27 records a day, every field filled.
void FillTimeDatabase(pw::DatabaseHandle& db) {
  pw::StoreTransaction group;
  for (int i = 0; i < kRecords; ++i) {
    const int day = i / 27;
    const pw::TimeRecord r = pw::bench::SampleTimeRecord(
        i, pw::Format(u"%02d/%02d/%04d", day % 12 + 1, day % 28 + 1, 1995 + day % 10));
    pw::CEPROPVAL props[pw::PWH_TIME_PROP_COUNT];
    pw::CeWriteRecordProps(db, 0, pw::PWH_TIME_PROP_COUNT, pw::RecordToProps(r, props));
  }
}

struct Setup {
  std::unique_ptr<pw::PWHConfiguration> config;
  std::unique_ptr<QWidget> area;

  explicit Setup(const std::string& home) {
    pw::OpenObjectStore(home + "/data/pennywhistle/pennywhistle.db");
    pw::OpenTimeDatabase(nullptr, pw::PWH_TIME_DB_NAME, &pw::TimeDatabase);
    if (pw::DatabaseRecordCount(pw::TimeDatabase) < pw::DWORD(kRecords)) FillTimeDatabase(pw::TimeDatabase);
    config = std::make_unique<pw::PWHConfiguration>();
    pw::Configuration = config.get();
    pw::AppMode = pw::PWH_TIME_MODE;
    area = std::make_unique<QWidget>();
    area->resize(800, 600);
    area->show();
    pw::ViewArea = area.get();
  }
};

void SelectEverySecondRecord() {
  pw::RecordSetMode = pw::PWH_SELECT_REC_MODE;
  pw::DisplayedRecordList.Clear();
  for (pw::RecordPosition p = 0; p < pw::RecordPosition(kRecords); p += 2) pw::DisplayedRecordList.Append(p);
}

void SelectAll() {
  pw::RecordSetMode = pw::PWH_ALL_REC_MODE;
  pw::DisplayedRecordList.Clear();
}

void Recreate(benchmark::State& state) {
  for (auto _ : state) {
    if (!pw::RecreateListView(nullptr, &pw::ListViewWindow, pw::TimeDatabase, pw::PWH_LIST_VIEW)) {
      state.SkipWithError("RecreateListView failed");
      break;
    }
    state.PauseTiming();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the view replaced
    state.ResumeTiming();
  }
  state.counters["rows"] = double(pw::ListViewWindow ? pw::ListViewWindow->model()->rowCount() : 0);
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
  pw::RecreateListView(nullptr, &pw::ListViewWindow, pw::TimeDatabase, pw::PWH_LIST_VIEW);
  for (auto _ : state) {
    pw::LoadMainListBox(nullptr, pw::ListViewWindow, pw::TimeDatabase);
  }
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_LoadMainListBox_All)->Unit(benchmark::kMillisecond);

// One screenful painted at a random place: every record shown is read and
// decoded once, its cells worked out as they are painted.
void BM_PaintScreenful(benchmark::State& state) {
  SelectAll();
  pw::RecreateListView(nullptr, &pw::ListViewWindow, pw::TimeDatabase, pw::PWH_LIST_VIEW);
  QTableView* view = pw::ListViewWindow;
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
  // A private home for the store and the settings, removed at the end.
  const std::string home = pw::bench::MakeBenchHome("list-bench");
  if (home.empty()) return 1;

  {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    {
      Setup s(home);
      benchmark::RunSpecifiedBenchmarks();
      pw::DestroyCurrentView();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      pw::ViewArea = nullptr;
      pw::Configuration = nullptr;
    }
    pw::TimeDatabase.Close();
    pw::CloseObjectStore();
    benchmark::Shutdown();
  }
  std::filesystem::remove_all(home);
  return 0;
}
