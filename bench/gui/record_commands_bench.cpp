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

// The user's OK on a record dated today.
int EnteredAtOnce(pw::HWND, int) {
  std::u16string today;
  pw::TodayText(&today);
  pw::WorkingTimeRecord = pw::bench::SampleTimeRecord(7, today);
  return pw::IDOK;
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
    pw::EntryDialogs.time = EnteredAtOnce;
  }
};

void NewRecord(benchmark::State& state, int tab) {
  pw::Host().SelectDateTab(tab);
  pw::ApplyDateTab();
  pw::RecreateListView(nullptr, &pw::ListViewWindow, pw::TimeDatabase, pw::PWH_LIST_VIEW);
  for (auto _ : state) {
    pw::OnNewRecord(nullptr, 0, 0, 0);
    state.PauseTiming();
    // Back to 100,000 records: the new one is the current row.
    const std::int64_t position = pw::SelectedRecordPosition(nullptr);
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
  const std::string home = pw::bench::MakeBenchHome("commands-bench");
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
