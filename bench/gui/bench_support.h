// Shared set-up of the GUI benchmarks: a private home for the store and the
// settings, realistic time records, a state for the views with its store and
// settings, and the process's peak memory.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QByteArray>
#include <QWidget>
#include <QtGlobal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "config/configuration.h"
#include "platform/gui/hwnd.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "shell/app_state.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "views/gui/list_view.h"
#include "views/gui/view_sources.h"

namespace pw::bench {

// Makes a fresh folder under /tmp and points the XDG folders into it; returns
// its path, empty on failure. The caller removes it at the end.
inline std::string MakeBenchHome(const char* name) {
  std::string folder = std::string("/tmp/pwh-") + name + "-XXXXXX";
  if (!mkdtemp(folder.data())) return {};
  for (const char* sub : {"/data", "/config", "/runtime"}) std::filesystem::create_directories(folder + sub);
  std::filesystem::permissions(folder + "/runtime", std::filesystem::perms::owner_all);
  setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (folder + "/runtime").c_str(), 1);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return folder;
}

inline double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

// The i-th record of a decade of work, every field filled, on the given date.
inline TimeRecord SampleTimeRecord(int i, std::u16string_view date) {
  TimeRecord r;
  CopyText(r.date, date);
  r.startHour = 8 + i % 4;
  r.startMinute = (i * 7) % 60;
  r.endHour = 1 + i % 5;
  r.endPm = true;
  CopyText(r.duration, u"04:30");
  CopyText(r.client, Format(u"Client %d", i % 40));
  CopyText(r.project, Format(u"Project %d", i % 300));
  CopyText(r.subproject, u"Maintenance");
  CopyText(r.task, u"Development");
  CopyText(r.rate, u"85");
  CopyText(r.currency, u"USD");
  CopyText(r.amount, u"382.50");
  r.billable = i % 2;
  r.billed = i % 3 == 0;
  if (i % 5 == 0) CopyText(r.notes, u"Called the client about the next release and wrote it down.");
  return r;
}

// The date of the i-th record of ten years of work, about 27 records a day.
inline std::u16string DecadeDate(int i) {
  const int day = i / 27;
  return Format(u"%02d/%02d/%04d", day % 12 + 1, day % 28 + 1, 1995 + day % 10);
}

inline TimeRecord DecadeRecord(int i) { return SampleTimeRecord(i, DecadeDate(i)); }

// Adds `count` time records in one group; record i is make(i).
template <class Make>
void FillTimeDatabase(DatabaseHandle& db, int count, Make&& make) {
  StoreTransaction group;
  for (int i = 0; i < count; ++i) {
    const TimeRecord r = make(i);
    CEPROPVAL props[PWH_TIME_PROP_COUNT];
    CeWriteRecordProps(db, 0, PWH_TIME_PROP_COUNT, RecordToProps(r, props));
  }
}

// What the views need, made in the bench home and let go at the end: a
// state with the store's time database (filled with `records` records the
// first time), the settings, and an 800 x 600 view area. `more` also opens
// the registry and the pulldown list database.
class ViewBench {
 public:
  enum Extras { kTimeOnly, kWithPulldowns };

  template <class Make = TimeRecord (*)(int)>
  ViewBench(const std::string& home, int records, Extras more = kTimeOnly, Make&& make = DecadeRecord) {
    OpenObjectStore(home + "/data/pennywhistle/pennywhistle.db");
    if (more == kWithPulldowns) {
      OpenRegistry(home + "/config/pennywhistle/registry.db");
      OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &state.ConfigDatabase);
    }
    OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &state.TimeDatabase);
    if (DatabaseRecordCount(state.TimeDatabase) < DWORD(records)) FillTimeDatabase(state.TimeDatabase, records, make);
    config_ = std::make_unique<PWHConfiguration>();
    state.Configuration = config_.get();
    state.AppMode = PWH_TIME_MODE;
    area_.resize(800, 600);
    area_.show();
    state.ViewArea = ToHwnd(&area_);
  }
  ~ViewBench() {
    DestroyCurrentView(state);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ViewArea = nullptr;
    state.Configuration = nullptr;
    config_.reset();
    state.TimeDatabase.Close();
    state.ConfigDatabase.Close();
    CloseRegistry();
    CloseObjectStore();
  }
  ViewBench(const ViewBench&) = delete;
  ViewBench& operator=(const ViewBench&) = delete;

  // What making and re-creating a view reads, with no owner window.
  ViewSources Sources() { return ViewSources{nullptr, state, state, *state.Configuration, state}; }

  AppState state;

 private:
  std::unique_ptr<PWHConfiguration> config_;
  QWidget area_;
};

// The whole of a benchmark program: a private home (removed at the end), the
// application, and body(home) between the benchmark library's start and end.
template <class Body>
int RunBenchProgram(int argc, char** argv, const char* name, Body&& body) {
  const std::string home = MakeBenchHome(name);
  if (home.empty()) return 1;
  {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    body(home);
    benchmark::Shutdown();
  }
  std::filesystem::remove_all(home);
  return 0;
}

}  // namespace pw::bench
