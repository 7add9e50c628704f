// Export and import at the size of a long-used store: 100,000 time records
// (ten years of work, every field filled) and 10,000 pulldown list entries.
//
//   BM_ExportTimeRecords     write the 100,000 records to a file
//   BM_ImportTimeRecords     read that file into an empty time database, then
//                            refresh the List view ("All") as the command does
//   BM_ImportPulldowns       read 10,000 pulldown list lines into an empty list
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
// Made in main, for the whole run.
pw::bench::ViewBench* bench = nullptr;
// The format the commands use when the user leaves the dialog as it opens.
const pw::TransferOptions kOptions{};

// Drops a database and opens it again empty.
template <class Open>
void Renew(pw::DatabaseHandle& db, std::u16string_view name, Open open) {
  db.Close();
  pw::CeDeleteDatabase(pw::FindDatabaseByName(nullptr, name));
  open(nullptr, name, &db);
}

std::string ExportPath() { return home + "/time.csv"; }

void BM_ExportTimeRecords(benchmark::State& state) {
  pw::AppState& app = bench->state;
  int written = 0;
  for (auto _ : state) {
    written = pw::ExportRecordsToFile(nullptr, ExportPath(), app.TimeDatabase, pw::PWH_TIME_MODE, pw::PWH_ALL_REC_MODE,
                                      {}, kOptions);
  }
  if (written != kRecords) state.SkipWithError("not every record was written");
  state.counters["file_MB"] = double(std::filesystem::file_size(ExportPath())) / (1024.0 * 1024.0);
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ExportTimeRecords)->Unit(benchmark::kMillisecond);

void BM_ImportTimeRecords(benchmark::State& state) {
  pw::AppState& app = bench->state;
  pw::ExportRecordsToFile(nullptr, ExportPath(), app.TimeDatabase, pw::PWH_TIME_MODE, pw::PWH_ALL_REC_MODE, {},
                          kOptions);
  int imported = 0;
  for (auto _ : state) {
    state.PauseTiming();
    pw::DestroyCurrentView(app);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Renew(app.TimeDatabase, pw::PWH_TIME_DB_NAME, pw::OpenTimeDatabase);
    state.ResumeTiming();
    imported = pw::ImportRecordsFromFile(nullptr, ExportPath(), app.TimeDatabase, pw::PWH_TIME_MODE,
                                         app.ConfigDatabase, kOptions);
    pw::ApplyDateTab(app, app);
    pw::RecreateListView(bench->Sources(), &app.ListViewWindow, pw::PWH_LIST_VIEW);
  }
  if (imported != kRecords) state.SkipWithError("not every record was imported");
  state.counters["rows"] = double(app.ListViewWindow ? app.ListViewWindow->model()->rowCount() : 0);
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
  pw::DatabaseHandle& pulldowns = bench->state.ConfigDatabase;
  int imported = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Renew(pulldowns, pw::PWH_CONFIG_DB_NAME, pw::OpenConfigDatabase);
    state.ResumeTiming();
    imported = pw::ImportPulldownsFromFile(nullptr, path, pulldowns, kOptions);
  }
  if (imported != kPulldowns) state.SkipWithError("not every entry was imported");
  state.counters["entries"] = double(pw::DatabaseRecordCount(pulldowns));
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ImportPulldowns)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "transfer-bench", [](const std::string& benchHome) {
    home = benchHome;
    pw::SetHost(&host);
    {
      pw::bench::ViewBench views(home, kRecords, pw::bench::ViewBench::kWithPulldowns);
      bench = &views;
      benchmark::RunSpecifiedBenchmarks();
      bench = nullptr;
    }
    pw::SetHost(nullptr);
  });
}
