// Shared set-up of the GUI benchmarks: a private home for the store and the
// settings, and the process's peak memory.
#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QtGlobal>
#include <cstdlib>
#include <filesystem>
#include <string>

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

}  // namespace pw::bench
