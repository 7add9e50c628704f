// Export and import at the size of a long-used store: 100,000 time records
// (ten years of work, every field filled) and 10,000 pick-list entries.
//
//   BM_ExportTimeRecords     write the 100,000 records to a file
//   BM_ImportTimeRecords     read that file into an empty time database, then
//                            refresh the List view ("All") as the command does
//   BM_ImportPulldowns       read 10,000 pick-list lines into an empty list
//
// Run in Release; peak_rss_MB is the process's peak resident size so far.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/gui/bench_support.h"
#include "config/configuration.h"
#include "platform/host_port.h"
#include "platform/object_store.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "storage/pulldowns.h"
#include "storage/record_store.h"
#include "transfer/delimited_format.h"
#include "transfer/export.h"
#include "transfer/import.h"
#include "views/gui/list_view.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kPulldowns = 10000;

// Answers every message at once; counts them.
class QuietHost : public pw::HostPort {
 public:
  int MessageBox(pw::HWND, std::u16string_view, std::u16string_view, unsigned) override {
    ++messages;
    return pw::IDOK;
  }
  void SetStatusText(int, std::u16string_view) override {}
  int SelectedDateTab() override { return pw::PWH_TAB_ALL; }
  void SelectDateTab(int) override {}
  void CheckMenuItem(unsigned, bool) override {}
  void EnableMenuItem(unsigned, bool) override {}
  int messages = 0;
};

QuietHost host;
std::string home;

// Drops a database and opens it again empty.
template <class Open>
void Renew(pw::DatabaseHandle& db, std::u16string_view name, Open open) {
  db.Close();
  pw::CeDeleteDatabase(pw::FindDatabaseByName(nullptr, name));
  open(nullptr, name, &db);
}

std::string ExportPath() { return home + "/time.csv"; }

void BM_ExportTimeRecords(benchmark::State& state) {
  int written = 0;
  for (auto _ : state) {
    written = pw::ExportRecordsToFile(nullptr, ExportPath(), pw::TimeDatabase, pw::PWH_TIME_MODE, {},
                                      pw::PWH_ALL_REC_MODE);
  }
  if (written != kRecords) state.SkipWithError("not every record was written");
  state.counters["file_MB"] = double(std::filesystem::file_size(ExportPath())) / (1024.0 * 1024.0);
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ExportTimeRecords)->Unit(benchmark::kMillisecond);

void BM_ImportTimeRecords(benchmark::State& state) {
  pw::ExportRecordsToFile(nullptr, ExportPath(), pw::TimeDatabase, pw::PWH_TIME_MODE, {},
                          pw::PWH_ALL_REC_MODE);
  int imported = 0;
  for (auto _ : state) {
    state.PauseTiming();
    pw::DestroyCurrentView();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Renew(pw::TimeDatabase, pw::PWH_TIME_DB_NAME, pw::OpenTimeDatabase);
    state.ResumeTiming();
    imported = pw::ImportRecordsFromFile(nullptr, ExportPath(), pw::TimeDatabase, pw::PWH_TIME_MODE);
    pw::ApplyDateTab();
    pw::RecreateListView(nullptr, &pw::ListViewWindow, pw::TimeDatabase, pw::PWH_LIST_VIEW);
  }
  if (imported != kRecords) state.SkipWithError("not every record was imported");
  state.counters["rows"] = double(pw::ListViewWindow ? pw::ListViewWindow->model()->rowCount() : 0);
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ImportTimeRecords)->Unit(benchmark::kMillisecond);

void BM_ImportPulldowns(benchmark::State& state) {
  const std::string path = home + "/pulldowns.csv";
  {
    std::ofstream file(path);
    for (int i = 0; i < kPulldowns; ++i)
      file << "\"" << (i % 2 ? "Client" : "Project") << "\",\"Entry number " << i << "\",\n";
  }
  int imported = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Renew(pw::ConfigDatabase, pw::PWH_CONFIG_DB_NAME, pw::OpenConfigDatabase);
    state.ResumeTiming();
    imported = pw::ImportPulldownsFromFile(nullptr, path);
  }
  if (imported != kPulldowns) state.SkipWithError("not every entry was imported");
  state.counters["entries"] = double(pw::DatabaseRecordCount(pw::ConfigDatabase));
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ImportPulldowns)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "transfer-bench", [](const std::string& benchHome) {
    home = benchHome;
    pw::SetHost(&host);
    {
      pw::bench::ViewBench views(home, kRecords, pw::bench::ViewBench::kWithPickLists);
      benchmark::RunSpecifiedBenchmarks();
    }
    pw::SetHost(nullptr);
  });
}
