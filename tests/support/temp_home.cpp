#include "support/temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

namespace pw::test {

namespace {
std::string home;
int folders = 0;  // made by NewTestFolder so far
}

void UseTemporaryHome() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pwh-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  home = pattern;
  const std::string data = home + "/data", config = home + "/config", runtime = home + "/runtime",
                    docs = home + "/home";
  for (const auto& d : {data, config, runtime, docs}) ::mkdir(d.c_str(), 0700);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  setenv("HOME", docs.c_str(), 1);
}

const std::string& TemporaryHome() { return home; }

std::string NewTestFolder(const std::string& name) {
  const std::string folder = home + "/" + name + "-" + std::to_string(++folders);
  std::filesystem::create_directories(folder);
  return folder;
}

void RemoveTemporaryHome() {
  if (home.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(home, ec);
  home.clear();
}

}  // namespace pw::test
