// The Tree and Mixed views at 100,000 time records (ten years of work ending
// "today", 14 March 2024) on tab "All": the Tree view built and shown from
// the List view, every node of the tree expanded (the first time, when its
// nodes are made) and collapsed again, and a
// selection change in the Mixed view with its card painted. Every step is
// measured up to the painted window (offscreen).
//
// Run in Release; peak_rss_MB is the process's peak resident size so far.
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDate>
#include <QTabBar>
#include <QTableView>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/gui/bench_support.h"
#include "platform/clock.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "selection/selection.h"
#include "shell/gui/main_window.h"
#include "shell/gui/program.h"
#include "shell/gui/qt_host.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/format.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_model.h"
#include "views/gui/tree_node_view.h"
#include "views/gui/tree_view.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kDays = 3650;

// Made in main, for the whole run; started by the first benchmark.
pw::Program* program = nullptr;

std::u16string DateText(int daysBack) {
  const QDate date = QDate(2024, 3, 14).addDays(-daysBack);
  return pw::Format(u"%02d/%02d/%04d", date.month(), date.day(), date.year());
}

void FillTimeDatabase() {
  pw::DatabaseHandle db;
  pw::OpenTimeDatabase(nullptr, pw::PWH_TIME_DB_NAME, &db);
  pw::bench::FillTimeDatabase(db, kRecords, [](int i) {
    return pw::bench::SampleTimeRecord(i, DateText(int(std::int64_t(i) * kDays / kRecords)));
  });
}

void Paint() { QCoreApplication::processEvents(); }

void Collect() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The program started and showing every record.
bool Started() {
  if (!program->window()) {
    if (!program->StartUp()) return false;
    program->window()->dateTabs()->setCurrentIndex(pw::PWH_TAB_ALL);
    Paint();
  }
  return true;
}

pw::TreeNodeView* Tree() { return program->state().TreeViewWindow; }

void BM_TreeViewBuiltAndShown(benchmark::State& state) {
  if (!Started()) return state.SkipWithError("start-up failed");
  for (auto _ : state) {
    state.PauseTiming();
    program->Run(pw::IDM_VIEW_LIST);
    Paint();
    Collect();
    state.ResumeTiming();
    program->Run(pw::IDM_VIEW_TREE);
    Paint();
  }
  state.counters["leaves"] = program->state().TreeItemCount;
  state.counters["rows"] = Tree() ? double(Tree()->model()->rowCount()) : 0;
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_TreeViewBuiltAndShown)->Unit(benchmark::kMillisecond)->Iterations(10);

// The top nodes of the tree shown, every group closed.
std::vector<pw::TreeItem> ClosedTree() {
  if (!Tree()) program->Run(pw::IDM_VIEW_TREE);
  pw::TreeNodeView* tree = Tree();
  const auto top = tree->nodeModel()->nodes().Children(pw::PWH_NO_TREE_NODE);
  const std::vector<pw::TreeItem> tops(top.begin(), top.end());
  tree->changeOpen([&](pw::TreeRows& rows) {
    for (pw::TreeNodeId top : tops) rows.SetSubtreeOpen(top, false);
  });
  Paint();
  return tops;
}

// Every node of the tree flipped, from a tree with every node closed: all
// open, then all closed again (the mean of the two is reported).
void BM_ExpandCollapseAll(benchmark::State& state) {
  if (!Started()) return state.SkipWithError("start-up failed");
  const std::vector<pw::TreeItem> tops = ClosedTree();
  for (auto _ : state) {
    pw::ToggleSubtrees(Tree(), tops);
    Paint();
  }
  state.counters["rows_open"] = double(Tree()->model()->rowCount());
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ExpandCollapseAll)->Unit(benchmark::kMillisecond)->Iterations(10);

// Every node of a tree just shown opened: each day's nodes are read and made
// first (the tree shows its days alone until then).
void BM_ExpandAllOfANewTree(benchmark::State& state) {
  if (!Started()) return state.SkipWithError("start-up failed");
  for (auto _ : state) {
    state.PauseTiming();
    program->Run(pw::IDM_VIEW_LIST);
    program->Run(pw::IDM_VIEW_TREE);
    Paint();
    Collect();
    const auto top = Tree()->nodeModel()->nodes().Children(pw::PWH_NO_TREE_NODE);
    const std::vector<pw::TreeItem> tops(top.begin(), top.end());
    state.ResumeTiming();
    pw::ToggleSubtrees(Tree(), tops);
    Paint();
  }
  state.counters["rows_open"] = double(Tree()->model()->rowCount());
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_ExpandAllOfANewTree)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same from a tree where one day is open and the rest closed, so that
// every node flips on its own: all but that day open, and back.
void BM_ExpandCollapseAllMixed(benchmark::State& state) {
  if (!Started()) return state.SkipWithError("start-up failed");
  const std::vector<pw::TreeItem> tops = ClosedTree();
  Tree()->changeOpen([&](pw::TreeRows& rows) { rows.SetSubtreeOpen(tops[tops.size() / 2], true); });
  Paint();
  for (auto _ : state) {
    pw::ToggleSubtrees(Tree(), tops);
    Paint();
  }
}
BENCHMARK(BM_ExpandCollapseAllMixed)->Unit(benchmark::kMillisecond)->Iterations(10);

// The Expand/Collapse Tree command on one day: the usual case.
void BM_ExpandCollapseOneDay(benchmark::State& state) {
  if (!Started()) return state.SkipWithError("start-up failed");
  const std::vector<pw::TreeItem> tops = ClosedTree();
  pw::SelectTreeItem(Tree(), tops[tops.size() / 2]);
  for (auto _ : state) {
    program->Run(pw::IDM_EXPAND_COLLAPSE_TREE);
    Paint();
  }
}
BENCHMARK(BM_ExpandCollapseOneDay)->Unit(benchmark::kMillisecond);

// One day flipped while every other node of the tree is open: the rows of
// the whole tree are laid out again.
void BM_ExpandCollapseOneDayInOpenTree(benchmark::State& state) {
  if (!Started()) return state.SkipWithError("start-up failed");
  const std::vector<pw::TreeItem> tops = ClosedTree();
  pw::ToggleSubtrees(Tree(), tops);
  pw::SelectTreeItem(Tree(), tops[tops.size() / 2]);
  Paint();
  for (auto _ : state) {
    Tree()->setOpen(tops[tops.size() / 2], !Tree()->isOpen(tops[tops.size() / 2]));
    Paint();
  }
  state.counters["rows"] = double(Tree()->model()->rowCount());
}
BENCHMARK(BM_ExpandCollapseOneDayInOpenTree)->Unit(benchmark::kMillisecond);

// Another row of the Mixed list selected: the card is read and drawn again.
void BM_MixedSelectionChange(benchmark::State& state) {
  if (!Started()) return state.SkipWithError("start-up failed");
  program->Run(pw::IDM_VIEW_MIXED);
  Paint();
  Collect();
  QTableView* list = program->state().MixedListWindow;
  int row = kRecords / 2;
  for (auto _ : state) {
    list->selectRow(row);
    Paint();
    row = row == kRecords / 2 ? kRecords / 2 + 1 : kRecords / 2;
  }
  state.counters["peak_rss_MB"] = pw::bench::PeakRssMegabytes();
}
BENCHMARK(BM_MixedSelectionChange)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return pw::bench::RunBenchProgram(argc, argv, "tree-mixed-bench", [](const std::string&) {
    pw::SYSTEMTIME today{};
    today.wYear = 2024, today.wMonth = 3, today.wDay = 14, today.wHour = 17;
    pw::SetLocalTimeOverride(today);
    pw::OpenObjectStore(pw::DefaultObjectStorePath());
    FillTimeDatabase();
    pw::QtHost host;
    pw::SetHost(&host);
    {
      pw::Program started(host);
      program = &started;
      benchmark::RunSpecifiedBenchmarks();
      program = nullptr;
    }
    pw::SetHost(nullptr);
    pw::CloseObjectStore();
    pw::CloseRegistry();
  });
}
