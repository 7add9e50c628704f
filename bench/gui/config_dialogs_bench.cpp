// The configuration dialogs at their sizes of concern: the pulldown list editor
// opening on 11 categories of 1,000 values each (and visiting every page),
// and the Columns command on 100,000 time records, from the dialog's OK to
// the List view re-created with the new columns.
//
// Run in Release; peak_rss_MB is the process's peak resident size so far.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/gui/bench_support.h"
#include "config/app_config.h"
#include "config/configuration.h"
#include "config/gui/column_dialog.h"
#include "config/gui/config_commands.h"
#include "dialogs/gui/pulldown_properties.h"
#include "platform/host_port.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "selection/selection.h"
#include "storage/pulldowns.h"
#include "storage/record_store.h"
#include "text/format.h"
#include "views/gui/list_view.h"
#include "views/gui/view_port.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kValuesPerCategory = 1000;

// Made in main, for the whole run.
pw::bench::ViewBench* bench = nullptr;

// 1,000 values in each of the 11 categories, interleaved as years of entry leave them.
void FillPulldowns(pw::DatabaseHandle& db) {
  pw::StoreTransaction group;
  for (int i = 0; i < kValuesPerCategory; ++i)
    for (const pw::PulldownCategory& c : pw::PulldownCategories)
      pw::AddNewPulldownItem(nullptr, pw::Format(u"%s value %d", c.word, (i * 7919) % 100000), db, c.id);
}

// Made and shown: the first page reads its category.
void BM_PulldownEditorOpen(benchmark::State& state) {
  int lines = 0;
  for (auto _ : state) {
    pw::PulldownPropertiesDialog dialog(nullptr, bench->state.ConfigDatabase, *bench->state.Configuration);
    dialog.show();
    QCoreApplication::processEvents();
    lines = dialog.page(0)->values()->count();
  }
  state.counters["first_page_lines"] = lines;
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_PulldownEditorOpen)->Unit(benchmark::kMillisecond);

// Opened, then every page shown once (each reads the whole database).
void BM_PulldownEditorEveryPage(benchmark::State& state) {
  int lines = 0;
  for (auto _ : state) {
    pw::PulldownPropertiesDialog dialog(nullptr, bench->state.ConfigDatabase, *bench->state.Configuration);
    dialog.show();
    for (int i = 1; i < dialog.pages()->count(); ++i) {
      dialog.pages()->setCurrentIndex(i);
      QCoreApplication::processEvents();
    }
    lines = 0;
    for (int i = 0; i < dialog.pages()->count(); ++i) lines += dialog.page(i)->values()->count();
  }
  state.counters["lines"] = lines;
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_PulldownEditorEveryPage)->Unit(benchmark::kMillisecond);

// The Columns command with the user hiding (or showing again) "Client" and
// pressing OK at once: the settings stored and the List view re-created.
void BM_ColumnsCommandOk(benchmark::State& state) {
  pw::AppState& app = bench->state;
  app.RecordSetMode = pw::PWH_ALL_REC_MODE;
  app.DisplayedRecordList.Clear();
  // No owner window: the messages have no parent.
  pw::GuiViewPort views(app, app, app, {}, [&app]() -> pw::Settings* { return app.Configuration; });
  views.CreateView(pw::ShownView::List);
  bool hide = true;
  for (auto _ : state) {
    QTimer::singleShot(0, [hide] {
      auto* dialog = qobject_cast<pw::ColumnConfigDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      if (hide) {
        dialog->visibleList()->setCurrentRow(2);
        dialog->hideSelected();
      } else {
        dialog->hiddenList()->setCurrentRow(0);
        dialog->showSelected();
      }
      dialog->done(pw::IDOK);
    });
    pw::RunColumnsCommand(nullptr, *app.Configuration, app.AppMode, views);
    hide = !hide;
    state.PauseTiming();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the view replaced
    state.ResumeTiming();
  }
  state.counters["rows"] = double(app.ListViewWindow ? app.ListViewWindow->model()->rowCount() : 0);
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ColumnsCommandOk)->Unit(benchmark::kMillisecond);

// The write of every setting on its own (eight registry values, each durable).
void BM_StoreSettingsNow(benchmark::State& state) {
  for (auto _ : state) pw::StoreSettingsNow(bench->state.Configuration);
}
BENCHMARK(BM_StoreSettingsNow)->Unit(benchmark::kMillisecond);

// The view re-created on its own, as the command does after the dialog.
void BM_RecreateListViewAfterColumns(benchmark::State& state) {
  for (auto _ : state) {
    pw::RecreateListView(bench->Sources(), &bench->state.ListViewWindow, pw::PWH_LIST_VIEW);
    state.PauseTiming();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RecreateListViewAfterColumns)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "config-bench", [](const std::string& home) {
    pw::bench::ViewBench views(home, kRecords, pw::bench::ViewBench::kWithPulldowns);
    bench = &views;
    if (pw::DatabaseRecordCount(views.state.ConfigDatabase) == 0) FillPulldowns(views.state.ConfigDatabase);
    benchmark::RunSpecifiedBenchmarks();
    bench = nullptr;
  });
}
