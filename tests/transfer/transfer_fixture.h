// The store with its three databases and a configuration, the framing reset
// to its defaults, and files in a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "config/configuration.h"
#include "storage/store_fixture.h"
#include "transfer/delimited_format.h"

namespace pw::test {

class TransferTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    ASSERT_TRUE(OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &ConfigDatabase));
    config_ = std::make_unique<PWHConfiguration>();
    Configuration = config_.get();
    TransferFormat = DelimitedFormat{};
    ImportIntoPulldowns = 0;
    static int serial = 0;
    folder_ = TemporaryHome() + "/files-" + std::to_string(++serial);
    ASSERT_EQ(system(("mkdir -p '" + folder_ + "'").c_str()), 0);
  }
  void TearDown() override {
    Configuration = nullptr;
    config_.reset();
    TransferFormat = DelimitedFormat{};
    ImportIntoPulldowns = 0;
    StoreTest::TearDown();
  }


 public:
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Files in the folder, temporary ones included.
  std::string Listing() const {
    std::string out;
    FILE* p = popen(("ls -A '" + folder_ + "'").c_str(), "r");
    char buf[256];
    while (p && fgets(buf, sizeof buf, p)) out += buf;
    if (p) pclose(p);
    return out;
  }


 protected:
  std::unique_ptr<PWHConfiguration> config_;
  std::string folder_;
};

}  // namespace pw::test
