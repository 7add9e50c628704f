// Import at the size of a long-used store, against the sqlite3 shell, and
// the exact round trip: 100,000 varied time records (empty fields, "n/a",
// commas, apostrophes, line breaks, accents, emoji, every flag) exported once
// in the default framing. (Texts that hold the field qualifier need another
// qualifier to come back, as the export says; the unit tests cover those.)
//
//   BM_Sqlite3ShellImport   `sqlite3 fresh.db ".import --csv"` of the same
//                           lines as a plain 14-column CSV into a fresh table
//                           (run as a program, so its start is included)
//   BM_ImportTimeRecords    the export read into an empty time database;
//                           x_sqlite3 is its time over the shell's
//   BM_RoundTrip            export, import into an empty database, export
//                           again; same_bytes is 1 when both files are equal
//
// The store lives in a temporary folder that is removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

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
double shellSeconds = 0;
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

void BM_Sqlite3ShellImport(benchmark::State& state) {
  const std::string csv = ShellCsv(), db = home + "/shell.db";
  const std::string command = "sqlite3 " + db + " \".import --csv " + csv + " t\"";
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(db);
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("sqlite3 failed (is the sqlite3 package installed?)");
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  shellSeconds = total / double(state.iterations());
}
BENCHMARK(BM_Sqlite3ShellImport)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportTimeRecords(benchmark::State& state) {
  int imported = 0;
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    EmptyTimeDatabase();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    imported = ImportRecordsFromFile(nullptr, ExportPath(), times, PWH_TIME_MODE, config, kOptions);
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  if (imported != kRecords) state.SkipWithError("not every record was imported");
  if (shellSeconds > 0) state.counters["x_sqlite3"] = total / double(state.iterations()) / shellSeconds;
}
BENCHMARK(BM_ImportTimeRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

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
