// Undo and Redo of a Delete Multiple of every one of 100,000 time records
// with dates over ten years:
//
//   BM_DeleteAllRecorded  the delete, with the records kept for Undo first
//   BM_WatchAll           keeping them alone
//   BM_UndoDeleteAll      Undo: every record checked absent, then stored
//                         again under its object id in one group (one sync)
//   BM_RedoDeleteAll      Redo: every record checked unchanged, then deleted
//
// Run in Release. The store lives in a temporary folder removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "bench/counting_host.h"
#include "platform/host_port.h"
#include "platform/object_store.h"
#include "storage/record_operations.h"
#include "storage/record_store.h"
#include "storage/undo_history.h"
#include "text/fixed_text.h"

namespace {

using namespace pw;

constexpr int kRecords = 100000;
const RecordPositionList kNoList;


struct Env {
  std::string folder;
  DatabaseHandle db;
  UndoHistory history;
  bench::CountingHost host{IDOK};

  Env() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pwh-undo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder = pattern;
    SetHost(&host);
    if (!OpenObjectStore(folder + "/pennywhistle.db") || !OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db))
      std::abort();
    std::mt19937 rng(7);
    StoreTransaction group;
    for (int i = 0; i < kRecords; ++i) {
      TimeRecord r;
      char date[16];
      std::snprintf(date, sizeof date, "%02d/%02d/%04d", 1 + int(rng() % 12), 1 + int(rng() % 28),
                    2015 + int(rng() % 10));
      CopyText(r.date, std::u16string(date, date + 10));
      CopyText(r.client, u"Northwind Traders");
      CopyText(r.project, u"Quarterly audit");
      CopyText(r.task, u"Fieldwork");
      CopyText(r.notes, u"Interviews with the finance team, follow-up on open items");
      r.billable = int(rng() % 2);
      if (!AddNewRecord(nullptr, db, r)) std::abort();
    }
  }
  ~Env() {
    db.Close();
    CloseObjectStore();
    SetHost(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }

  void DeleteAll() {
    StepRecorder step(db);
    step.WatchShown(PWH_ALL_REC_MODE, kNoList);
    DeleteMultipleRecords(nullptr, db, PWH_ALL_REC_MODE, kNoList);
    history.Keep(PWH_TIME_MODE, u"Delete All", step);
  }
  bool Undo() { return history.Undo(nullptr, db, PWH_TIME_MODE); }
  bool Redo() { return history.Redo(nullptr, db, PWH_TIME_MODE); }
};

Env* env = nullptr;

void Check(benchmark::State& state, bool ok, DWORD expected) {
  if (!ok || DatabaseRecordCount(env->db) != expected) state.SkipWithError("the step did not come out whole");
}

void BM_DeleteAllRecorded(benchmark::State& state) {
  for (auto _ : state) {
    env->DeleteAll();
    state.PauseTiming();
    Check(state, env->Undo(), kRecords);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteAllRecorded)->Unit(benchmark::kMillisecond)->Iterations(3);

// The part of the above that keeps the records: each one read and copied.
void BM_WatchAll(benchmark::State& state) {
  for (auto _ : state) {
    StepRecorder step(env->db);
    step.WatchShown(PWH_ALL_REC_MODE, kNoList);
    benchmark::DoNotOptimize(step);
  }
}
BENCHMARK(BM_WatchAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoDeleteAll(benchmark::State& state) {
  env->host.steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    env->DeleteAll();
    state.ResumeTiming();
    Check(state, env->Undo(), kRecords);
  }
  state.counters["progress_steps"] = double(env->host.steps) / double(state.iterations());
}
BENCHMARK(BM_UndoDeleteAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RedoDeleteAll(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    env->DeleteAll();
    Check(state, env->Undo(), kRecords);
    state.ResumeTiming();
    Check(state, env->Redo(), 0);
    state.PauseTiming();
    Check(state, env->Undo(), kRecords);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RedoDeleteAll)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Env e;
  env = &e;
  benchmark::RunSpecifiedBenchmarks();
  env = nullptr;
  benchmark::Shutdown();
  return 0;
}
