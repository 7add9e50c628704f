// The time entry dialog over large pick-lists: opening it with 1,000 values
// in each of its seven lists (seven walks of a 7,000-entry configuration
// database, seven sorted boxes), and its OK with seven new values on a
// configuration database of 10,000 entries (seven lookups walking the whole
// database, seven durable adds).
//
// Run in Release; peak_rss_MB is the process's peak resident size so far.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/gui/bench_support.h"
#include "config/configuration.h"
#include "dialogs/gui/dialog_support.h"
#include "dialogs/gui/time_entry_dialog.h"
#include "platform/object_store.h"
#include "shell/globals.h"
#include "storage/pulldowns.h"
#include "storage/record_store.h"
#include "text/format.h"

namespace {

constexpr int kValuesPerList = 1000;

// Fills the configuration database up to count entries spread over the
// time entry dialog's seven categories.
void FillPickLists(int count) {
  pw::StoreTransaction group;
  for (int i = int(pw::DatabaseRecordCount(pw::ConfigDatabase)); i < count; ++i) {
    const pw::TimeEntryPickList& list = pw::TimeEntryPickLists[i % 7];
    pw::AddNewPulldownItem(nullptr, pw::Format(u"Value %05d", i), pw::ConfigDatabase, list.categoryId);
  }
}

void BM_OpenTimeEntryDialog(benchmark::State& state) {
  FillPickLists(7 * kValuesPerList);
  pw::TimeRecord record = pw::bench::SampleTimeRecord(1, u"03/14/2024");
  for (auto _ : state) {
    std::unique_ptr<QDialog> dialog(pw::CreateTimeEntryDialog(nullptr, record, pw::PWH_TIME_ENTRY_EDIT));
    dialog->show();
    state.PauseTiming();
    dialog.reset();
    state.ResumeTiming();
  }
  state.counters["config_entries"] = double(pw::DatabaseRecordCount(pw::ConfigDatabase));
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_OpenTimeEntryDialog)->Unit(benchmark::kMillisecond);

void BM_OkWithSevenNewValues(benchmark::State& state) {
  FillPickLists(10000);
  pw::Configuration->confirmAddPulldownItem() = 0;
  pw::TimeRecord record;
  int serial = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<QDialog> dialog(pw::CreateTimeEntryDialog(nullptr, record, pw::PWH_TIME_ENTRY_NEW));
    for (const pw::TimeEntryPickList& list : pw::TimeEntryPickLists) {
      auto* box = dialog->findChild<QComboBox*>(QString::number(list.controlId));
      pw::SetPickListText(box, pw::Format(u"New %d", ++serial));
    }
    state.ResumeTiming();
    dialog->accept();
    state.PauseTiming();
    dialog.reset();
    state.ResumeTiming();
  }
  state.counters["config_entries"] = double(pw::DatabaseRecordCount(pw::ConfigDatabase));
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_OkWithSevenNewValues)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "entry-bench", [](const std::string& home) {
    pw::OpenObjectStore(home + "/data/pennywhistle/pennywhistle.db");
    pw::OpenConfigDatabase(nullptr, pw::PWH_CONFIG_DB_NAME, &pw::ConfigDatabase);
    {
      auto config = std::make_unique<pw::PWHConfiguration>();
      pw::Configuration = config.get();
      benchmark::RunSpecifiedBenchmarks();
      pw::Configuration = nullptr;
    }
    pw::ConfigDatabase.Close();
    pw::CloseObjectStore();
  });
}
