// The object store at the size of a long-used time database: 100,000 time
// records of 18 properties with dates over ten years.
//
//   BM_OpenDatabase     close and reopen the store, open the database (in
//                       calendar order), first seek
//   BM_ReorderOlderDatabase  the same for a database in text order, as an
//                       earlier release left it, given the calendar order once
//   BM_FullWalk         seek to every position and read every record
//   BM_RandomSeekRead   seek to random positions and read
//   BM_DurableAdd       one add that is on the disk when it returns (median_us;
//                       disk_sync_us is the disk's own sync time for comparison)
//   BM_GroupedAdds      100,000 adds in random date order in one StoreTransaction
//   BM_GroupedRekeys    10,000 date changes in one StoreTransaction
//
// The store lives in a temporary folder that is removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/object_store.h"

namespace {

using namespace pw;

constexpr int kRecords = 100000;
constexpr CEPROPID kDate = MakePropId(38, CEVT_LPWSTR);
constexpr const char16_t* kDbName = u"Pennywhistle Time 0.5";

// One generated time record: its texts and the 18 properties pointing at them.
struct TimeProps {
  std::u16string date, duration, client, project, subproject, task, rate, currency, amount, notes;
  CEPROPVAL props[18];
};

std::u16string Widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class RecordMaker {
 public:
  explicit RecordMaker(unsigned seed) : rng_(seed) {}

  void Make(TimeProps& r) {
    const int year = 1995 + int(rng_() % 10), month = 1 + int(rng_() % 12), day = 1 + int(rng_() % 28);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", month, day, year);
    r.date = Widen(buf);
    const int startHour = 7 + int(rng_() % 10), minutes = 15 * int(1 + rng_() % 16);
    std::snprintf(buf, sizeof buf, "%d:%02d", minutes / 60, minutes % 60);
    r.duration = Widen(buf);
    r.client = Pick(kClients);
    r.project = Pick(kProjects);
    r.subproject = Pick(kSubprojects);
    r.task = Pick(kTasks);
    r.rate = u"85.00";
    r.currency = u"USD";
    std::snprintf(buf, sizeof buf, "%.2f", minutes / 60.0 * 85.0);
    r.amount = Widen(buf);
    r.notes = Pick(kNotes) + u" " + Pick(kNotes);
    const auto i2 = [](WORD id, int v) {
      CEPROPVAL p;
      p.propid = MakePropId(id, CEVT_I2);
      p.val.iVal = std::int16_t(v);
      return p;
    };
    const auto text = [](WORD id, const std::u16string& s) {
      CEPROPVAL p;
      p.propid = MakePropId(id, CEVT_LPWSTR);
      p.val.lpwstr = s.c_str();
      return p;
    };
    const int end = startHour * 60 + minutes;
    CEPROPVAL* p = r.props;
    *p++ = i2(18, startHour % 12);
    *p++ = i2(19, 0);
    *p++ = i2(20, startHour >= 12);
    *p++ = i2(21, (end / 60) % 12);
    *p++ = i2(22, end % 60);
    *p++ = i2(23, end / 60 >= 12);
    *p++ = text(24, r.client);
    *p++ = text(25, r.project);
    *p++ = text(34, r.rate);
    *p++ = text(32, r.subproject);
    *p++ = text(33, r.task);
    *p++ = text(72, r.currency);
    *p++ = text(73, r.amount);
    *p++ = i2(35, int(rng_() % 2));
    *p++ = i2(36, int(rng_() % 2));
    *p++ = text(37, r.duration);
    *p++ = text(38, r.date);
    *p++ = text(39, r.notes);
  }

 private:
  static constexpr const char* kClients[] = {
      "Hargreaves & Sons Building Supply", "Northwind Traders Ltd.", "Municipal Water Authority of Eastbrook",
      "Café Lumière", "Okonkwo Engineering Partners", "St. Agnes Community Hospital", "Blue Heron Publishing",
      "Fjällräven Outdoor Outlet", "Pacific Rim Logistics", "The Daily Sentinel"};
  static constexpr const char* kProjects[] = {
      "Annual financial audit 1999", "Website relaunch", "Warehouse inventory system", "Quarterly tax filings",
      "Network cabling, second floor", "Grant application review", "Payroll migration"};
  static constexpr const char* kSubprojects[] = {"Phase 1 - requirements", "Phase 2 - build", "Testing",
                                                 "Documentation", "Support", "n/a"};
  static constexpr const char* kTasks[] = {"Meeting with client", "Travel", "Analysis", "Programming",
                                           "Phone call", "Report writing", "Review"};
  static constexpr const char* kNotes[] = {
      "Discussed the revised schedule and the open invoices.", "Waited for access to the server room.",
      "Follow up next week on the missing receipts.", "Drafted the summary for the board meeting.",
      "", "Client asked for a fixed-price quote for phase 2."};

  template <std::size_t N>
  std::u16string Pick(const char* const (&list)[N]) {
    const std::string s = list[rng_() % N];
    // The lists hold UTF-8; the few non-ASCII letters are Latin-1.
    std::u16string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(s[i]);
      if (c == 0xC3 && i + 1 < s.size()) {
        out.push_back(char16_t(0xC0 + (static_cast<unsigned char>(s[++i]) & 0x3F)));
      } else {
        out.push_back(c);
      }
    }
    return out;
  }

  std::mt19937 rng_;
};

std::size_t HeapInUse() { return mallinfo2().uordblks; }

// The store with the 100,000-record time database, made once.
struct Environment {
  std::string folder, path;

  Environment() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pwh-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder = pattern;
    path = folder + "/pennywhistle.db";
    if (!OpenObjectStore(path)) std::abort();
    const SORTORDERSPEC order{kDate, CEDB_SORT_CALENDARDATE};
    CeCreateDatabase(kDbName, 0, 1, &order);
    DatabaseHandle db = CeOpenDatabase(nullptr, kDbName, kDate, 0, nullptr);
    RecordMaker maker(1);
    TimeProps r;
    StoreTransaction group;
    for (int i = 0; i < kRecords; ++i) {
      maker.Make(r);
      if (!CeWriteRecordProps(db, 0, 18, r.props)) std::abort();
    }
  }
  ~Environment() {
    CloseObjectStore();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

Environment& Env() {
  static Environment env;
  return env;
}

void BM_OpenDatabase(benchmark::State& state) {
  Environment& env = Env();
  std::size_t heap = 0;
  double closeMs = 0, openStoreMs = 0, openDbMs = 0;
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
  for (auto _ : state) {
    const auto t0 = Clock::now();
    CloseObjectStore();
    const auto t1 = Clock::now();
    state.PauseTiming();
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    const auto t1b = Clock::now();
    OpenObjectStore(env.path);
    const auto t2 = Clock::now();
    DatabaseHandle db = CeOpenDatabase(nullptr, kDbName, kDate, 0, nullptr);
    benchmark::DoNotOptimize(CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr));
    const auto t3 = Clock::now();
    state.PauseTiming();
    heap = HeapInUse() - before;
    state.ResumeTiming();
    closeMs += ms(t0, t1);
    openStoreMs += ms(t1b, t2);
    openDbMs += ms(t2, t3);
    if (DatabaseRecordCount(db) != kRecords) state.SkipWithError("record count");
  }
  // Memory of the store with the database open: index, records, SQLite.
  state.counters["memory_MB"] = double(heap) / (1024.0 * 1024.0);
  const double n = double(state.iterations());
  state.counters["close_ms"] = closeMs / n;
  state.counters["open_store_ms"] = openStoreMs / n;
  state.counters["open_db_ms"] = openDbMs / n;
}
BENCHMARK(BM_OpenDatabase)->Unit(benchmark::kMillisecond)->Iterations(10);

// The first start on a store of an earlier release, whose database is in
// text order: open the store and the database, give it the calendar order,
// open it again, first seek.
void BM_ReorderOlderDatabase(benchmark::State& state) {
  Environment& env = Env();
  const auto setOrder = [](DWORD flags) {
    DatabaseHandle db = CeOpenDatabase(nullptr, kDbName, kDate, 0, nullptr);
    return CeSetDatabaseSortOrder(db.DatabaseOid(), {kDate, flags});
  };
  for (auto _ : state) {
    state.PauseTiming();
    if (!setOrder(0)) state.SkipWithError("sort order");
    CloseObjectStore();
    state.ResumeTiming();
    OpenObjectStore(env.path);
    if (!setOrder(CEDB_SORT_CALENDARDATE)) state.SkipWithError("sort order");
    DatabaseHandle db = CeOpenDatabase(nullptr, kDbName, kDate, 0, nullptr);
    benchmark::DoNotOptimize(CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr));
    if (DatabaseRecordCount(db) != kRecords) state.SkipWithError("record count");
  }
}
BENCHMARK(BM_ReorderOlderDatabase)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FullWalk(benchmark::State& state) {
  Env();
  DatabaseHandle db = CeOpenDatabase(nullptr, kDbName, kDate, 0, nullptr);
  PropertyBuffer buffer;
  const DWORD n = DatabaseRecordCount(db);
  for (auto _ : state) {
    std::size_t props = 0;
    for (DWORD i = 0; i < n; ++i) {
      CeSeekDatabase(db, CEDB_SEEK_BEGINNING, i, nullptr);
      CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer);
      props += buffer.size();
    }
    if (props != std::size_t(n) * 18) state.SkipWithError("short read");
  }
  state.counters["records"] = n;
}
BENCHMARK(BM_FullWalk)->Unit(benchmark::kMillisecond);

void BM_RandomSeekRead(benchmark::State& state) {
  Env();
  DatabaseHandle db = CeOpenDatabase(nullptr, kDbName, kDate, 0, nullptr);
  PropertyBuffer buffer;
  std::mt19937 rng(5);
  const DWORD n = DatabaseRecordCount(db);
  for (auto _ : state) {
    CeSeekDatabase(db, CEDB_SEEK_BEGINNING, DWORD(rng() % n), nullptr);
    benchmark::DoNotOptimize(CeReadRecordProps(db, 0, buffer));
  }
}
BENCHMARK(BM_RandomSeekRead)->Unit(benchmark::kNanosecond);

// Median time the disk under the store takes to sync one small write: the
// floor under any durable add.
double DiskSyncMicros(const std::string& folder) {
  const std::string file = folder + "/sync-probe";
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return 0;
  char page[4096] = {};
  std::vector<double> times;
  for (int i = 0; i < 50; ++i) {
    if (::pwrite(fd, page, sizeof page, off_t(i) * off_t(sizeof page)) < 0) break;
    const auto start = std::chrono::steady_clock::now();
    ::fdatasync(fd);
    times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  ::close(fd);
  ::unlink(file.c_str());
  std::sort(times.begin(), times.end());
  return times.empty() ? 0 : times[times.size() / 2];
}

void BM_DurableAdd(benchmark::State& state) {
  const double diskSync = DiskSyncMicros(Env().folder);
  DatabaseHandle db = CeOpenDatabase(nullptr, kDbName, kDate, 0, nullptr);
  RecordMaker maker(2);
  TimeProps r;
  std::vector<double> times;
  for (auto _ : state) {
    state.PauseTiming();
    maker.Make(r);
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    const CEOID oid = CeWriteRecordProps(db, 0, 18, r.props);
    times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (!oid) state.SkipWithError("add failed");
  }
  std::sort(times.begin(), times.end());
  state.counters["median_us"] = times.empty() ? 0 : times[times.size() / 2];
  state.counters["p90_us"] = times.empty() ? 0 : times[times.size() * 9 / 10];
  state.counters["disk_sync_us"] = diskSync;
}
BENCHMARK(BM_DurableAdd)->Unit(benchmark::kMicrosecond)->Iterations(500);

void BM_GroupedAdds(benchmark::State& state) {
  Env();
  const SORTORDERSPEC order{kDate, CEDB_SORT_CALENDARDATE};
  RecordMaker maker(3);
  std::vector<TimeProps> records(kRecords);  // made before timing: random dates
  for (TimeProps& r : records) maker.Make(r);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::u16string name = u"Grouped " + std::u16string(1, char16_t(u'A' + round++));
    CeCreateDatabase(name, 0, 1, &order);
    DatabaseHandle db = CeOpenDatabase(nullptr, name, kDate, 0, nullptr);
    state.ResumeTiming();
    {
      StoreTransaction group;
      for (TimeProps& r : records)
        if (!CeWriteRecordProps(db, 0, 18, r.props)) state.SkipWithError("add failed");
      if (!group.Commit()) state.SkipWithError("commit failed");
    }
    state.PauseTiming();
    if (DatabaseRecordCount(db) != kRecords) state.SkipWithError("record count");
    CeDeleteDatabase(db.DatabaseOid());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GroupedAdds)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GroupedRekeys(benchmark::State& state) {
  Env();
  DatabaseHandle db = CeOpenDatabase(nullptr, kDbName, kDate, 0, nullptr);
  std::mt19937 rng(9);
  const DWORD n = DatabaseRecordCount(db);
  std::vector<CEOID> oids;
  for (int i = 0; i < 10000; ++i) oids.push_back(CeSeekDatabase(db, CEDB_SEEK_BEGINNING, DWORD(rng() % n), nullptr));
  std::vector<std::u16string> dates;
  for (int i = 0; i < 10000; ++i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", 1 + int(rng() % 12), 1 + int(rng() % 28), 1995 + int(rng() % 10));
    dates.push_back(Widen(buf));
  }
  for (auto _ : state) {
    StoreTransaction group;
    for (std::size_t i = 0; i < oids.size(); ++i) {
      CEPROPVAL p;
      p.propid = kDate;
      p.val.lpwstr = dates[i].c_str();
      if (!CeWriteRecordProps(db, oids[i], 1, &p)) state.SkipWithError("re-key failed");
    }
  }
}
BENCHMARK(BM_GroupedRekeys)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
