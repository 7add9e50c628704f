// From a key press to the frame on the screen, on the shown main window with
// 100,000 time records (ten years ending "today", 14 March 2024): the key
// goes in as the window system delivers it, and the time ends when what the
// key changed has painted (the view area, or the dialog it opened).
//
//   BM_KeyToFrame_TabChange    Ctrl+PageUp / Ctrl+PageDown between "All" and
//                              the tab before it (every record each way)
//   BM_KeyToFrame_ViewSwitch   Ctrl+L, Ctrl+T, Ctrl+M in turn (List, Tree,
//                              Mixed), each from the one before
//   BM_KeyToFrame_NewRecord    Ctrl+N until the entry dialog has painted
//   BM_KeyToFrame_FindOk       Enter in the Find dialog (every record
//                              matches) until the view has painted
//
// Run in Release, offscreen or on a display.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "bench/gui/bench_support.h"
#include "platform/clock.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "shell/gui/main_window.h"
#include "shell/gui/program.h"
#include "shell/gui/qt_host.h"
#include "storage/record_store.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRecords = 100000;
constexpr int kDays = 3650;

pw::QtHost* host = nullptr;
std::unique_ptr<pw::Program> program;

pw::TimeRecord SampleRecord(int i) {
  const QDate date = QDate(2024, 3, 14).addDays(-int(std::int64_t(i) * kDays / kRecords));
  return pw::bench::SampleTimeRecord(i, pw::Format(u"%02d/%02d/%04d", date.month(), date.day(), date.year()));
}

// Watches every paint of the application; when a wanted widget paints, the
// time is taken once the paint is over (a zero timer runs after it) and
// `then` runs.
class PaintWatch final : public QObject {
 public:
  void Arm(std::function<bool(QWidget*)> wanted, std::function<void()> then = {}) {
    wanted_ = std::move(wanted), then_ = std::move(then), painted_ = false, finished = false;
  }
  bool finished = false;
  Clock::time_point at;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_ && watched->isWidgetType() && wanted_ &&
        wanted_(static_cast<QWidget*>(watched))) {
      painted_ = true;
      QTimer::singleShot(0, this, [this] {
        at = Clock::now(), finished = true;
        // `then` may arm the watch again: it runs from a copy.
        const std::function<void()> then = std::move(then_);
        then_ = {};
        if (then) then();
      });
    }
    return false;
  }

 private:
  std::function<bool(QWidget*)> wanted_;
  std::function<void()> then_;
  bool painted_ = false;
};

PaintWatch* watch = nullptr;

QWidget* ViewArea() { return program->window()->viewArea(); }
bool InViewArea(QWidget* w) { return ViewArea()->isAncestorOf(w); }
bool InDialog(QWidget* w) { return qobject_cast<QDialog*>(w->window()) != nullptr; }

// Waits (up to 10 s) until the watch has fired.
bool WaitForFrame() {
  const auto limit = Clock::now() + std::chrono::seconds(10);
  while (!watch->finished && Clock::now() < limit) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return watch->finished;
}

void Key(QWindow* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
  QTest::keyClick(window, key, modifiers);
}

// The main window active, as after a click on it: shortcuts reach only the
// active window.
bool Active() {
  QWidget* window = program->window();
  window->activateWindow();
  const auto limit = Clock::now() + std::chrono::seconds(5);
  while (QApplication::activeWindow() != window && Clock::now() < limit)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return QApplication::activeWindow() == window;
}

// Presses the key on the main window and returns the seconds until the
// wanted widget painted; negative on a time-out.
double KeyToFrame(Qt::Key key, std::function<bool(QWidget*)> wanted, std::function<void()> then = {}) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  if (!Active()) return -1;
  watch->Arm(std::move(wanted), std::move(then));
  const Clock::time_point start = Clock::now();
  Key(program->window()->windowHandle(), key);
  if (!WaitForFrame()) return -1;
  return std::chrono::duration<double>(watch->at - start).count();
}

bool Started() {
  if (program && program->window()) return true;
  program = std::make_unique<pw::Program>(*host);
  if (!program->StartUp()) return false;
  program->window()->dateTabs()->setCurrentIndex(pw::PWH_TAB_ALL);
  return Active();
}

template <class Step>
void Run(benchmark::State& state, Step step) {
  if (!Started()) return state.SkipWithError("start-up failed");
  for (auto _ : state) {
    const double seconds = step();
    if (seconds < 0) return state.SkipWithError("no frame within 10 s");
    state.SetIterationTime(seconds);
  }
}

void BM_KeyToFrame_TabChange(benchmark::State& state) {
  bool toAll = true;  // starts on "All": first to "Month", then back
  Run(state, [&] {
    toAll = !toAll;
    return KeyToFrame(toAll ? Qt::Key_PageDown : Qt::Key_PageUp, InViewArea);
  });
}
BENCHMARK(BM_KeyToFrame_TabChange)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

void BM_KeyToFrame_ViewSwitch(benchmark::State& state) {
  const Qt::Key keys[] = {Qt::Key_T, Qt::Key_M, Qt::Key_L};
  const char* names[] = {"to_tree_ms", "to_mixed_ms", "to_list_ms"};
  double worst[3] = {}, sum[3] = {};
  int next = 0;
  Run(state, [&] {
    const int view = next++ % 3;
    const double seconds = KeyToFrame(keys[view], InViewArea);
    worst[view] = std::max(worst[view], seconds * 1000);
    sum[view] += seconds * 1000;
    return seconds;
  });
  for (int view = 0; view < 3; ++view) {
    state.counters[std::string("worst_") + names[view]] = worst[view];
    state.counters[std::string("avg_") + names[view]] = sum[view] / std::max(1, next / 3);
  }
}
BENCHMARK(BM_KeyToFrame_ViewSwitch)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(21);

void BM_KeyToFrame_NewRecord(benchmark::State& state) {
  Run(state, [] {
    return KeyToFrame(Qt::Key_N, InDialog, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
    });
  });
}
BENCHMARK(BM_KeyToFrame_NewRecord)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

// Ctrl+F opens the dialog (not timed); once it has painted, Enter is
// pressed in it and the time runs until the view area has painted.
void BM_KeyToFrame_FindOk(benchmark::State& state) {
  Run(state, [] {
    Clock::time_point start;
    const double opened = KeyToFrame(Qt::Key_F, InDialog, [&start] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      watch->Arm(InViewArea);
      start = Clock::now();
      Key(dialog->windowHandle(), Qt::Key_Return, Qt::NoModifier);
    });
    if (opened < 0 || !WaitForFrame()) return -1.0;
    return std::chrono::duration<double>(watch->at - start).count();
  });
}
BENCHMARK(BM_KeyToFrame_FindOk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "key-to-frame-bench", [](const std::string&) {
    pw::SetLocalTimeOverride(pw::SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 17});
    pw::OpenObjectStore(pw::DefaultObjectStorePath());
    {
      pw::DatabaseHandle db;
      pw::OpenTimeDatabase(nullptr, pw::PWH_TIME_DB_NAME, &db);
      pw::bench::FillTimeDatabase(db, kRecords, SampleRecord);
    }
    PaintWatch paints;
    watch = &paints;
    qApp->installEventFilter(&paints);
    pw::QtHost qtHost;
    host = &qtHost;
    pw::SetHost(&qtHost);
    benchmark::RunSpecifiedBenchmarks();
    program.reset();
    pw::SetHost(nullptr);
    host = nullptr;
    qApp->removeEventFilter(&paints);
    pw::CloseObjectStore();
    pw::CloseRegistry();
  });
}
