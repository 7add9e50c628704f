// Import at the size of a long-used store, against the sqlite3 shell, and
// the exact round trip: 100,000 varied time records (empty fields, "n/a",
// commas, apostrophes, line breaks, accents, emoji, every flag) exported once
// in the default framing. (Texts that hold the field qualifier need another
// qualifier to come back, as the export says; the unit tests cover those.)
//
//   BM_ImportAgainstSqlite3 the export read into an empty time database
//                           (import_ms), and `sqlite3 fresh.db ".import
//                           --csv"` of the same lines as a plain 14-column
//                           CSV into a fresh table (sqlite3_ms; run as a
//                           program, so its start is included); x_sqlite3
//                           is the first over the second, x_sqlite3_cpu the
//                           same for their processor time
//   BM_RoundTrip            export, import into an empty database, export
//                           again; same_bytes is 1 when both files are equal
//
// The store lives in a temporary folder that is removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/host_port.h"
#include "platform/object_store.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "transfer/export.h"
#include "transfer/import.h"

namespace {

using namespace pw;

constexpr int kRecords = 100000;

// Answers every message with OK and counts them.
class QuietHost : public HostPort {
 public:
  int MessageBox(HWND, std::u16string_view, std::u16string_view, unsigned) override {
    ++messages;
    return IDOK;
  }
  void SetStatusText(int, std::u16string_view) override {}
  int SelectedDateTab() override { return 0; }
  void SelectDateTab(int) override {}
  void CheckMenuItem(unsigned, bool) override {}
  void EnableMenuItem(unsigned, bool) override {}
  int messages = 0;
};

QuietHost host;
std::string home;
DatabaseHandle times, config;

// User and system time so far of this process, or of its ended children.
double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  const auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
const TransferOptions kOptions{};

// The i-th of ten years of records, its fields varied the way users fill them.
TimeRecord VariedRecord(int i) {
  static const char16_t* const kTexts[] = {
      u"Acme, Inc.",          u"it's 'quoted'", u"Caf\u00e9 M\u00fcller", u"\u5ba2\u6237 \U0001F695",
      u"first line\nsecond", u"n/a",           u"",                      u"Plain text"};
  static const char16_t* const kNumbers[] = {u"85", u"n/a", u"", u"120.50", u"0"};
  TimeRecord r;
  const int day = i / 27;
  CopyText(r.date, Format(u"%02d/%02d/%04d", day % 12 + 1, day % 28 + 1, 1995 + day % 10));
  if (i % 7 != 0) {  // every seventh has only a duration
    r.startHour = 7 + i % 5, r.startMinute = (i * 7) % 60;
    r.endHour = 1 + i % 6, r.endMinute = (i * 13) % 60, r.endPm = true;
  }
  CopyText(r.duration, Format(u"%d:%02d", 1 + i % 9, (i * 11) % 60));
  CopyText(r.client, kTexts[i % 8]);
  CopyText(r.project, Format(u"Project %d", i % 300));
  CopyText(r.rate, kNumbers[i % 5]);
  CopyText(r.subproject, kTexts[(i / 8) % 8]);
  CopyText(r.task, u"Development");
  CopyText(r.currency, i % 3 ? u"USD" : u"\u20ac");
  CopyText(r.amount, kNumbers[(i / 5) % 5]);
  r.billable = i % 2, r.billed = (i / 2) % 2;
  if (i % 4 == 0) CopyText(r.notes, kTexts[(i / 4) % 8]);
  return r;
}

std::string ReadWhole(const std::string& path) {
  std::stringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

void EmptyTimeDatabase() {
  times.Close();
  CeDeleteDatabase(FindDatabaseByName(nullptr, PWH_TIME_DB_NAME));
  OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &times);
}

std::string ExportPath() { return home + "/time.csv"; }

// The export's lines as a plain CSV: the delimiter after each line's last
// field dropped, so that every line has the header's 14 columns.
std::string ShellCsv() {
  const std::string path = home + "/shell.csv";
  std::string text = ReadWhole(ExportPath()), out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ',' && i + 1 < text.size() && text[i + 1] == '\n' && i > 0 && text[i - 1] == '"') continue;
    out += text[i];
  }
  std::ofstream(path, std::ios::binary) << out;
  return path;
}

// Both imports in turns, five times, so that a busy machine slows both
// alike; each figure is the fastest of its five (wall clock, and processor
// time: user and system, the shell's as a child process).
void BM_ImportAgainstSqlite3(benchmark::State& state) {
  const std::string csv = ShellCsv(), db = home + "/shell.db";
  const std::string command = "sqlite3 " + db + " \".import --csv " + csv + " t\"";
  using Clock = std::chrono::steady_clock;
  double shell = 1e9, shellCpu = 1e9, ours = 1e9, oursCpu = 1e9;
  int imported = 0;
  for (auto _ : state) {
    std::filesystem::remove(db);
    auto start = Clock::now();
    double cpu = CpuSeconds(RUSAGE_CHILDREN);
    if (std::system(command.c_str()) != 0) state.SkipWithError("sqlite3 failed (is the sqlite3 package installed?)");
    shellCpu = std::min(shellCpu, CpuSeconds(RUSAGE_CHILDREN) - cpu);
    shell = std::min(shell, std::chrono::duration<double>(Clock::now() - start).count());
    EmptyTimeDatabase();
    start = Clock::now();
    cpu = CpuSeconds(RUSAGE_SELF);
    imported = ImportRecordsFromFile(nullptr, ExportPath(), times, PWH_TIME_MODE, config, kOptions);
    oursCpu = std::min(oursCpu, CpuSeconds(RUSAGE_SELF) - cpu);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ours = std::min(ours, seconds);
    state.SetIterationTime(seconds);
  }
  if (imported != kRecords) state.SkipWithError("not every record was imported");
  state.counters["import_ms"] = ours * 1000;
  state.counters["sqlite3_ms"] = shell * 1000;
  state.counters["x_sqlite3"] = ours / shell;
  state.counters["import_cpu_ms"] = oursCpu * 1000;
  state.counters["sqlite3_cpu_ms"] = shellCpu * 1000;
  state.counters["x_sqlite3_cpu"] = oursCpu / shellCpu;
}
BENCHMARK(BM_ImportAgainstSqlite3)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_RoundTrip(benchmark::State& state) {
  const std::string again = home + "/again.csv";
  bool same = true;
  for (auto _ : state) {
    state.PauseTiming();
    EmptyTimeDatabase();
    state.ResumeTiming();
    ImportRecordsFromFile(nullptr, ExportPath(), times, PWH_TIME_MODE, config, kOptions);
    ExportRecordsToFile(nullptr, again, times, PWH_TIME_MODE, PWH_ALL_REC_MODE, {}, kOptions);
    state.PauseTiming();
    same = same && ReadWhole(again) == ReadWhole(ExportPath());
    state.ResumeTiming();
  }
  state.counters["same_bytes"] = same ? 1 : 0;
  if (!same) state.SkipWithError("the second export differs from the first");
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  char folder[] = "/tmp/pwh-import-bench-XXXXXX";
  if (!mkdtemp(folder)) return 1;
  home = folder;
  SetHost(&host);
  OpenObjectStore(home + "/pennywhistle.db");
  OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &config);
  OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &times);
  {
    StoreTransaction group;
    for (int i = 0; i < kRecords; ++i) {
      const TimeRecord r = VariedRecord(i);
      CEPROPVAL props[PWH_TIME_PROP_COUNT];
      CeWriteRecordProps(times, 0, PWH_TIME_PROP_COUNT, RecordToProps(r, props));
    }
  }
  ExportRecordsToFile(nullptr, ExportPath(), times, PWH_TIME_MODE, PWH_ALL_REC_MODE, {}, kOptions);
  benchmark::RunSpecifiedBenchmarks();
  times.Close(), config.Close();
  CloseObjectStore();
  SetHost(nullptr);
  std::filesystem::remove_all(home);
  benchmark::Shutdown();
  return 0;
}
