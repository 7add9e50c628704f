// The quick filter at 100,000 time records on tab "All", as the user meets
// it: Ctrl+K (the field gets the focus and reads the texts to search), then
// each key typed, from the key event to the list shown and painted
// (offscreen), totals in the status line included.
//
// Run in Release; worst_key_ms is the slowest key of the word typed.
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTabBar>

#include <algorithm>
#include <memory>
#include <string>

#include "bench/gui/bench_support.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "selection/selection.h"
#include "shell/gui/main_window.h"
#include "shell/gui/program.h"
#include "shell/gui/qt_host.h"
#include "shell/gui/quick_filter_field.h"
#include "storage/record_store.h"
#include "views/gui/list_view.h"

namespace {

constexpr int kRecords = 100000;
pw::QtHost* host = nullptr;
std::unique_ptr<pw::Program> program;

void Paint() { QCoreApplication::processEvents(); }

// A key pressed and released where the focus is, as the keyboard sends it.
void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : program->window();
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
}

void TypeChar(QChar c) { Key(Qt::Key(c.toUpper().unicode()), Qt::NoModifier, QString(c)); }

int ShownRows() {
  const pw::ListWindow* list = program ? program->state().ListViewWindow : nullptr;
  return list ? list->model()->rowCount() : 0;
}

bool Started() {
  if (program && program->window()) return true;
  program = std::make_unique<pw::Program>(*host);
  if (!program->StartUp()) return false;
  program->window()->activateWindow();
  program->window()->dateTabs()->setCurrentIndex(pw::PWH_TAB_ALL);
  Paint();
  return true;
}

// Ctrl+K from the list: the field focused and its texts read.
void BM_CtrlK(benchmark::State& state) {
  if (!Started()) return state.SkipWithError("start-up failed");
  pw::QuickFilterField* field = program->window()->quickFilter();
  for (auto _ : state) {
    state.PauseTiming();
    program->state().ListViewWindow->setFocus();
    program->state().Filter.textsReady = false;
    Paint();
    state.ResumeTiming();
    Key(Qt::Key_K, Qt::ControlModifier);
    Paint();
  }
  state.counters["focused"] = QApplication::focusWidget() == field;
}
BENCHMARK(BM_CtrlK)->Unit(benchmark::kMillisecond);

// A word typed key by key into the focused field; the time is per key.
void TypeWord(benchmark::State& state, const QString& word) {
  if (!Started()) return state.SkipWithError("start-up failed");
  pw::QuickFilterField* field = program->window()->quickFilter();
  double worst = 0, total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    field->clear();
    field->setFocus();
    Paint();
    state.ResumeTiming();
    for (QChar c : word) {
      QElapsedTimer key;
      key.start();
      TypeChar(c);
      Paint();
      const double ms = double(key.nsecsElapsed()) / 1e6;
      worst = std::max(worst, ms);
      total += ms;
    }
  }
  state.counters["ms_per_key"] = total / double(std::max<std::int64_t>(1, state.iterations() * word.size()));
  state.counters["worst_key_ms"] = worst;
  state.counters["rows"] = ShownRows();
}

// "client 3": every record holds "c" ... "client ", then 11 clients of 40.
void BM_TypeFilter(benchmark::State& state) { TypeWord(state, QStringLiteral("client 3")); }
BENCHMARK(BM_TypeFilter)->Unit(benchmark::kMillisecond);

// "xyz": nothing from the second key on.
void BM_TypeFilterNoMatch(benchmark::State& state) { TypeWord(state, QStringLiteral("xyz")); }
BENCHMARK(BM_TypeFilterNoMatch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "quick-filter-bench", [](const std::string&) {
    pw::OpenObjectStore(pw::DefaultObjectStorePath());
    pw::DatabaseHandle db;
    pw::OpenTimeDatabase(nullptr, pw::PWH_TIME_DB_NAME, &db);
    pw::bench::FillTimeDatabase(db, kRecords, pw::bench::DecadeRecord);
    db.Close();
    pw::QtHost qtHost;
    host = &qtHost;
    pw::SetHost(&qtHost);
    benchmark::RunSpecifiedBenchmarks();
    program.reset();
    pw::SetHost(nullptr);
    host = nullptr;
    pw::CloseObjectStore();
    pw::CloseRegistry();
  });
}
