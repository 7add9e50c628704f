// Date tabs and Find criteria on a decade of records: 100,000 time records
// and 100,000 expense records, about 27 a day from 01/01/1995 on.
//
//   selection_bench [--benchmark_filter=...]
//
// The store is made once in a temporary folder and removed at the end.

#include <benchmark/benchmark.h>

#include <vector>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "platform/host_port.h"
#include "platform/object_store.h"
#include "selection/quick_filter.h"
#include "selection/selection.h"
#include "shell/app_state.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/date_time.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/record_totals.h"

namespace pw {
namespace {

constexpr int kRecords = 100000;
constexpr int kPerDay = 27;

class BenchHost : public HostPort {
 public:
  int MessageBox(HWND, std::u16string_view, std::u16string_view, unsigned) override { return IDNO; }
  void SetStatusText(int, std::u16string_view) override {}
  int SelectedDateTab() override { return tab; }
  void SelectDateTab(int index) override { tab = index; }
  void CheckMenuItem(unsigned, bool) override {}
  void EnableMenuItem(unsigned, bool) override {}
  int tab = PWH_TAB_TODAY;
};

BenchHost host;
// The databases and the selection the benchmarks work on.
AppState app;
std::string folder;
// The date of the last record, which the clock is set to.
int lastMonth = 1, lastDay = 1, lastYear = 1995;

std::u16string DateOf(int i) {
  // Count days forward from 01/01/1995.
  int day = i / kPerDay;
  int month = 1, year = 1995, dom = 1;
  while (day > 0) {
    const int left = DaysInMonth(month, year) - dom;
    if (day <= left) {
      dom += day;
      day = 0;
    } else {
      day -= left + 1;
      dom = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  }
  lastMonth = month;
  lastDay = dom;
  lastYear = year;
  return Format(u"%02d/%02d/%04d", month, dom, year);
}

void Fill() {
  const char16_t* clients[] = {u"Acme Roofing", u"Bolt & Sons", u"Cobalt Ltd", u"Delta Design"};
  const char16_t* projects[] = {u"North wing", u"Harbour office", u"Website", u"Audit 2004"};
  StoreTransaction group;
  for (int i = 0; i < kRecords; ++i) {
    const std::u16string date = DateOf(i);
    TimeRecord t;
    CopyText(t.date, date);
    CopyText(t.client, clients[i % 4]);
    CopyText(t.project, projects[(i / 4) % 4]);
    CopyText(t.subproject, u"Phase 2");
    CopyText(t.task, i % 3 ? u"Drawing" : u"Site visit");
    CopyText(t.rate, u"45.00");
    CopyText(t.currency, u"USD");
    CopyText(t.amount, u"67.50");
    CopyText(t.duration, u"01:30");
    CopyText(t.notes, u"Met the site manager; measured the east side again.");
    t.startHour = 9;
    t.endHour = 10;
    t.endMinute = 30;
    t.billable = i % 2;
    t.billed = i % 5 == 0;
    CEPROPVAL tp[PWH_TIME_PROP_COUNT];
    CeWriteRecordProps(app.TimeDatabase, 0, PWH_TIME_PROP_COUNT, RecordToProps(t, tp));

    ExpenseRecord e;
    CopyText(e.date, date);
    CopyText(e.client, clients[i % 4]);
    CopyText(e.project, projects[(i / 4) % 4]);
    CopyText(e.description, i % 2 ? u"Fuel" : u"Hotel");
    CopyText(e.paymentType, u"Visa");
    CopyText(e.currency, u"USD");
    const std::u16string amount = Format(u"%d.%02d", i % 200, i % 100);
    CopyText(e.amount, amount);
    e.billable = i % 2;
    e.reimbursable = i % 3 == 0;
    CEPROPVAL ep[PWH_EXPENSE_PROP_COUNT];
    CeWriteRecordProps(app.ExpenseDatabase, 0, PWH_EXPENSE_PROP_COUNT, RecordToProps(e, ep));
  }
}

void SetUp() {
  char templ[] = "/tmp/pwh-selection-bench-XXXXXX";
  folder = mkdtemp(templ);
  OpenObjectStore(folder + "/store.db");
  SetHost(&host);
  OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &app.TimeDatabase);
  OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &app.ExpenseDatabase);
  Fill();
  SYSTEMTIME today;
  today.wYear = WORD(lastYear);
  today.wMonth = WORD(lastMonth);
  today.wDay = WORD(lastDay);
  SetLocalTimeOverride(today);
}

void TearDown() {
  app.TimeDatabase.Close();
  app.ExpenseDatabase.Close();
  CloseObjectStore();
  SetHost(nullptr);
  std::filesystem::remove_all(folder);
}

void BM_ApplyDateTab(benchmark::State& state) {
  app.AppMode = int(state.range(1));
  host.tab = int(state.range(0));
  for (auto _ : state) {
    ApplyDateTab(app, app);
    benchmark::DoNotOptimize(app.DisplayedRecordList.count());
  }
  state.counters["shown"] = double(app.DisplayedRecordList.count());
  app.AppMode = PWH_TIME_MODE;
}
BENCHMARK(BM_ApplyDateTab)
    ->ArgNames({"tab", "mode"})
    ->ArgsProduct({{PWH_TAB_TODAY, PWH_TAB_MONTH, PWH_TAB_ALL}, {PWH_TIME_MODE, PWH_EXPENSE_MODE}})
    ->Unit(benchmark::kMillisecond);

// A Find over the whole decade: every record passes the dates and the texts
// are compared.
void BM_FindTimeRecords(benchmark::State& state) {
  TimeSelectionCriteria c;
  c.client = u"Bolt & Sons";
  c.billable = u"billable";
  c.from = u"01/01/1990";
  c.to = u"12/31/2010";
  RecordPositionList list;
  for (auto _ : state) {
    list.Clear();
    MatchTimeRecords(&list, app.TimeDatabase, c);
  }
  state.counters["shown"] = double(list.count());
}
BENCHMARK(BM_FindTimeRecords)->Unit(benchmark::kMillisecond);

void BM_FindExpenseRecords(benchmark::State& state) {
  ExpenseSelectionCriteria c;
  c.amount = 100.0f;
  c.comparison = PWH_AMOUNT_GREATER;
  c.billable = PWH_TRI_YES;
  c.billed = PWH_TRI_NO;
  c.from = u"01/01/1990";
  c.to = u"12/31/2010";
  RecordPositionList list;
  for (auto _ : state) {
    list.Clear();
    MatchExpenseRecords(&list, app.ExpenseDatabase, c);
  }
  state.counters["shown"] = double(list.count());
}
BENCHMARK(BM_FindExpenseRecords)->Unit(benchmark::kMillisecond);

// The walk every view rebuild makes (seek and read each shown record, here
// all 100,000), without and with the totals of the status line: the
// difference is what the totals add to a rebuild.
template <class Visit>
void WalkEveryRecord(DatabaseHandle& db, Visit visit) {
  PropertyBuffer buffer;
  for (RecordPosition p = 0; CeSeekDatabase(db, CEDB_SEEK_BEGINNING, p, nullptr) != 0; ++p) {
    CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer);
    visit(buffer);
    buffer.clear();
  }
}

void BM_ViewWalk(benchmark::State& state) {
  const int mode = int(state.range(0));
  const bool totals = state.range(1) != 0;
  DatabaseHandle& db = mode == PWH_TIME_MODE ? app.TimeDatabase : app.ExpenseDatabase;
  float sum = 0.0f;
  for (auto _ : state) {
    TotalsCounter counter(mode);
    WalkEveryRecord(db, [&](const PropertyBuffer& props) {
      if (totals) counter.Add(props);
    });
    sum = counter.totals().time ? counter.totals().hours : counter.totals().amount;
    benchmark::DoNotOptimize(sum);
  }
  state.counters["total"] = double(sum);
}
BENCHMARK(BM_ViewWalk)
    ->ArgNames({"mode", "totals"})
    ->ArgsProduct({{PWH_TIME_MODE, PWH_EXPENSE_MODE}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The totals alone, without the walk's memory waits: 100 records read once
// (few enough to stay in the cache, as a record just read is), then counted
// a thousand times over (100,000 records counted).
void BM_TotalsOf100kRecords(benchmark::State& state) {
  const int mode = int(state.range(0));
  DatabaseHandle& db = mode == PWH_TIME_MODE ? app.TimeDatabase : app.ExpenseDatabase;
  std::vector<PropertyBuffer> sample;
  WalkEveryRecord(db, [&](const PropertyBuffer& props) {
    if (sample.size() < 100) sample.push_back(props);
  });
  float sum = 0.0f;
  for (auto _ : state) {
    TotalsCounter counter(mode);
    for (int pass = 0; pass < 1000; ++pass)
      for (const PropertyBuffer& props : sample) counter.Add(props);
    sum = counter.totals().time ? counter.totals().hours : counter.totals().amount;
    benchmark::DoNotOptimize(sum);
  }
  state.counters["total"] = double(sum);
}
BENCHMARK(BM_TotalsOf100kRecords)->ArgNames({"mode"})->Arg(PWH_TIME_MODE)->Arg(PWH_EXPENSE_MODE)
    ->Unit(benchmark::kMillisecond);

// The quick filter on tab "All": reading the folded texts of every record
// once (done when the field gets the focus), then one key: the first letter
// typed (every record searched) and a fourth one (only the matches of three).
void BM_QuickFilterReadTexts(benchmark::State& state) {
  app.AppMode = int(state.range(0));
  host.tab = PWH_TAB_ALL;
  ApplyDateTab(app, app);
  for (auto _ : state) {
    app.Filter.textsReady = false;
    PrepareQuickFilter(app, app);
  }
  state.counters["chars"] = double(app.Filter.texts.size());
  app.AppMode = PWH_TIME_MODE;
}
BENCHMARK(BM_QuickFilterReadTexts)->ArgNames({"mode"})->Arg(PWH_TIME_MODE)->Arg(PWH_EXPENSE_MODE)
    ->Unit(benchmark::kMillisecond);

void BM_QuickFilterKey(benchmark::State& state) {
  const std::u16string_view before = state.range(0) == 0 ? u"" : u"bol";
  const std::u16string_view typed = state.range(0) == 0 ? u"b" : u"bolt";
  host.tab = PWH_TAB_ALL;
  ApplyDateTab(app, app);
  PrepareQuickFilter(app, app);
  for (auto _ : state) {
    state.PauseTiming();
    SetQuickFilter(app, app, before);
    state.ResumeTiming();
    SetQuickFilter(app, app, typed);
  }
  state.counters["shown"] = double(app.DisplayedRecordList.count());
  SetQuickFilter(app, app, u"");
}
BENCHMARK(BM_QuickFilterKey)->ArgNames({"fourth"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pw

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  pw::SetUp();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  pw::TearDown();
  return 0;
}
