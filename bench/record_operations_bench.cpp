// Delete Multiple and Mark Multiple over a time database of 100,000 records,
// each one grouped store operation with its progress reported to the host.
//
//   BM_DeleteMultipleAll        every record (PWH_ALL_REC_MODE)
//   BM_DeleteMultipleShown      every other record (PWH_SELECT_REC_MODE)
//   BM_MarkMultipleBilledAll    every record, none billed before
//
// The store is filled before each round (not timed) and lives in a temporary
// folder that is removed at the end. The progress counter shows that every
// record was reported.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "bench/counting_host.h"
#include "platform/host_port.h"
#include "platform/object_store.h"
#include "storage/record_databases.h"
#include "storage/record_operations.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"

namespace {

using namespace pw;

constexpr int kRecords = 100000;


struct Env {
  Env() {
    folder = (std::filesystem::temp_directory_path() / "pwh-opsbench-XXXXXX").string();
    if (!mkdtemp(folder.data())) std::abort();
    OpenObjectStore(folder + "/store.db");
    SetHost(&host);
  }
  ~Env() {
    SetHost(nullptr);
    CloseObjectStore();
    std::filesystem::remove_all(folder);
  }
  std::string folder;
  bench::CountingHost host{IDYES};
};

Env& TheEnv() {
  static Env env;
  return env;
}

// A fresh time database of kRecords records over ten years.
DatabaseHandle FreshTimes() {
  CEOID oid = 0;
  if (DatabaseHandle old = CeOpenDatabase(&oid, PWH_TIME_DB_NAME, 0, 0, nullptr)) {
    old.Close();
    CeDeleteDatabase(oid);
  }
  DatabaseHandle db;
  OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db);
  StoreTransaction group;
  for (int i = 0; i < kRecords; ++i) {
    TimeRecord r;
    const int day = i / 27;
    CopyText(r.date, Format(u"%02d/%02d/%04d", day % 12 + 1, day % 28 + 1, 1995 + day % 10));
    CopyText(r.client, Format(u"Client %d", i % 40));
    CopyText(r.project, Format(u"Project %d", i % 300));
    CopyText(r.rate, u"85"), CopyText(r.amount, u"382.50"), CopyText(r.duration, u"04:30");
    r.billable = i % 2;
    AddNewRecord(nullptr, db, r);
  }
  return db;
}

template <class Run>
void Measure(benchmark::State& state, Run run) {
  Env& env = TheEnv();
  long changed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    DatabaseHandle db = FreshTimes();
    env.host.steps = 0;
    state.ResumeTiming();
    changed = run(db);
  }
  state.counters["changed"] = double(changed);
  state.counters["progress_steps"] = double(env.host.steps);
}

void BM_DeleteMultipleAll(benchmark::State& state) {
  Measure(state, [](DatabaseHandle& db) { return DeleteMultipleRecords(nullptr, db, PWH_ALL_REC_MODE, {}); });
}
BENCHMARK(BM_DeleteMultipleAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DeleteMultipleShown(benchmark::State& state) {
  RecordPositionList shown;
  for (RecordPosition p = 0; p < kRecords; p += 2) shown.Append(p);
  Measure(state, [&](DatabaseHandle& db) { return DeleteMultipleRecords(nullptr, db, PWH_SELECT_REC_MODE, shown); });
}
BENCHMARK(BM_DeleteMultipleShown)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MarkMultipleBilledAll(benchmark::State& state) {
  Measure(state, [](DatabaseHandle& db) {
    return MarkMultipleRecordsBilled(nullptr, db, PWH_TIME_MODE, PWH_ALL_REC_MODE, {});
  });
}
BENCHMARK(BM_MarkMultipleBilledAll)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
