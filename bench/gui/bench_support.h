// Shared set-up of the GUI benchmarks: a private home for the store and the
// settings, a realistic time record, and the process's peak memory.
#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QtGlobal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "storage/records.h"
#include "text/fixed_text.h"
#include "text/format.h"

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

}  // namespace pw::bench
