// The time entry dialog over large pulldown lists: opening it with 1,000 values
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
#include "dialogs/gui/time_entry.h"
#include "platform/gui/control_names.h"
#include "platform/object_store.h"
#include "shell/app_state.h"
#include "storage/pulldowns.h"
#include "storage/record_store.h"
#include "text/format.h"

namespace {

constexpr int kValuesPerList = 1000;

// The pulldown list database and the settings the dialog works with.
pw::AppState app;

pw::EntryContext Context() { return pw::EntryContext{app.ConfigDatabase, *app.Configuration}; }

// Fills the configuration database up to count entries spread over the
// time entry dialog's seven categories.
void FillPulldowns(int count) {
  pw::StoreTransaction group;
  for (int i = int(pw::DatabaseRecordCount(app.ConfigDatabase)); i < count; ++i) {
    const pw::TimeEntryPulldown& list = pw::TimeEntryPulldowns[i % 7];
    pw::AddNewPulldownItem(nullptr, pw::Format(u"Value %05d", i), app.ConfigDatabase, list.categoryId);
  }
}

void BM_OpenTimeEntryDialog(benchmark::State& state) {
  FillPulldowns(7 * kValuesPerList);
  pw::TimeRecord record = pw::bench::SampleTimeRecord(1, u"03/14/2024");
  for (auto _ : state) {
    std::unique_ptr<QDialog> dialog(pw::CreateTimeEntryDialog(nullptr, record, pw::PWH_TIME_ENTRY_EDIT, Context()));
    dialog->show();
    state.PauseTiming();
    dialog.reset();
    state.ResumeTiming();
  }
  state.counters["config_entries"] = double(pw::DatabaseRecordCount(app.ConfigDatabase));
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_OpenTimeEntryDialog)->Unit(benchmark::kMillisecond);

void BM_OkWithSevenNewValues(benchmark::State& state) {
  FillPulldowns(10000);
  app.Configuration->set(pw::PWH_CONFIRM_ADD_PULLDOWN_ITEM, false);
  pw::TimeRecord record;
  int serial = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<QDialog> dialog(pw::CreateTimeEntryDialog(nullptr, record, pw::PWH_TIME_ENTRY_NEW, Context()));
    for (const pw::TimeEntryPulldown& list : pw::TimeEntryPulldowns) {
      auto* box = pw::FindControl<QComboBox>(dialog.get(), list.controlId);
      pw::SetPulldownText(box, pw::Format(u"New %d", ++serial));
    }
    state.ResumeTiming();
    dialog->accept();
    state.PauseTiming();
    dialog.reset();
    state.ResumeTiming();
  }
  state.counters["config_entries"] = double(pw::DatabaseRecordCount(app.ConfigDatabase));
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_OkWithSevenNewValues)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "entry-bench", [](const std::string& home) {
    pw::OpenObjectStore(home + "/data/pennywhistle/pennywhistle.db");
    pw::OpenConfigDatabase(nullptr, pw::PWH_CONFIG_DB_NAME, &app.ConfigDatabase);
    {
      auto config = std::make_unique<pw::PWHConfiguration>();
      app.Configuration = config.get();
      benchmark::RunSpecifiedBenchmarks();
      app.Configuration = nullptr;
    }
    app.ConfigDatabase.Close();
    pw::CloseObjectStore();
  });
}
