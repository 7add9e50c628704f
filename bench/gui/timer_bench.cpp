// The timer at 100,000 time records: Stop Timer from the command to the
// stopped record's row shown anew and current (load the record, end it,
// store it durably, forget the timer in the settings, keep the undo step,
// show the row and the totals anew in place: the records shown stay the
// same), with "All" shown; and the minute tick while a timer runs (status
// texts and a repaint of the rows shown, no walk of the records).
//
// Run in Release.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include <string>

#include "bench/gui/bench_support.h"
#include "platform/host_port.h"
#include "selection/selection.h"
#include "shell/timer.h"
#include "storage/record_operations.h"
#include "text/date_time.h"
#include "views/gui/list_view.h"
#include "views/gui/view_port.h"

namespace {

constexpr int kRecords = 100000;

pw::bench::ViewBench* bench = nullptr;
pw::GuiViewPort* views = nullptr;
pw::TimerCommands* timer = nullptr;

// The user's OK at once on a record dated today.
int EnteredAtOnce(int) {
  std::u16string today;
  pw::TodayText(&today);
  pw::TimeRecord& r = bench->state.WorkingTimeRecord;
  const pw::TimeRecord sample = pw::bench::SampleTimeRecord(7, today);
  pw::CopyText(r.client, pw::TextOf(sample.client)), pw::CopyText(r.project, pw::TextOf(sample.project));
  pw::CopyText(r.rate, u"85");
  r.billable = 1;
  return pw::IDOK;
}

void BM_StopTimer_AllShown(benchmark::State& state) {
  pw::AppState& app = bench->state;
  pw::Host().SelectDateTab(pw::PWH_TAB_ALL);
  views->CreateView(pw::ShownView::List);
  for (auto _ : state) {
    state.PauseTiming();
    const pw::CEOID started = timer->Start();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
    const pw::CEOID stopped = timer->Stop();
    state.PauseTiming();
    const std::int64_t position = views->SelectedRecordPosition();
    if (!started || stopped != started || position < 0) {
      state.SkipWithError("the stopped record is not the current row");
      break;
    }
    // Back to 100,000 records.
    pw::DeleteRecord(nullptr, app.TimeDatabase, pw::RecordPosition(position));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  state.counters["rows"] = double(app.ListViewWindow ? app.ListViewWindow->model()->rowCount() : 0);
}
BENCHMARK(BM_StopTimer_AllShown)->Unit(benchmark::kMillisecond);

// What the minute tick does while a timer runs.
void BM_TimerMinuteTick(benchmark::State& state) {
  pw::AppState& app = bench->state;
  pw::Host().SelectDateTab(pw::PWH_TAB_ALL);
  views->CreateView(pw::ShownView::List);
  const pw::CEOID started = timer->Start();
  for (auto _ : state) {
    timer->Show();
    if (app.ListViewWindow) app.ListViewWindow->viewport()->update();
  }
  timer->Stop();
  pw::DWORD position = 0;
  if (started && pw::CeSeekDatabase(app.TimeDatabase, pw::CEDB_SEEK_CEOID, started, &position))
    pw::DeleteRecord(nullptr, app.TimeDatabase, pw::RecordPosition(position));
}
BENCHMARK(BM_TimerMinuteTick)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "timer-bench", [](const std::string& home) {
    pw::bench::ViewBench made(home, kRecords, pw::bench::ViewBench::kWithPulldowns);
    pw::GuiViewPort port(made.state, made.state, made.state, [] { return pw::HWND(nullptr); },
                         [&made] { return made.state.Configuration; });
    pw::TimerCommands run(made.state, port, pw::CommandDialogs{EnteredAtOnce, {}, {}});
    bench = &made, views = &port, timer = &run;
    benchmark::RunSpecifiedBenchmarks();
    bench = nullptr, views = nullptr, timer = nullptr;
  });
}
