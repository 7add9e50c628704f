// The store with its three databases and a configuration, the framing reset
// to its defaults, and files in a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "storage/store_fixture.h"
#include "text/format.h"
#include "transfer/delimited_format.h"

namespace pw::test {

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
inline std::string ReadFile(const std::string& path) {
  std::stringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

// Every field of a record on one line, so that a failed comparison shows the
// field that differs.
inline std::u16string Dump(const TimeRecord& r) {
  return Format(u"%s|%d:%02d %d|%d:%02d %d|%s|%s|%s|%s|%s|%s|%s|%s|%d %d|%s", TextOf(r.date), r.startHour,
                r.startMinute, int(r.startPm), r.endHour, r.endMinute, int(r.endPm), TextOf(r.duration),
                TextOf(r.client), TextOf(r.project), TextOf(r.rate), TextOf(r.subproject), TextOf(r.task),
                TextOf(r.currency), TextOf(r.amount), r.billable, r.billed, TextOf(r.notes));
}
inline std::u16string Dump(const ExpenseRecord& r) {
  return Format(u"%s|%s|%s|%s|%d %s|%s|%s|%s|%s|%d%d%d%d%d|%s", TextOf(r.date), TextOf(r.client),
                TextOf(r.project), TextOf(r.description), int(r.mileage), TextOf(r.miles), TextOf(r.mileageRate),
                TextOf(r.paymentType), TextOf(r.currency), TextOf(r.amount), int(r.billable), int(r.billed),
                int(r.reimbursable), int(r.reimbursed), int(r.receipt), TextOf(r.notes));
}

class TransferTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    OpenPickListsAndSettings();
    static int serial = 0;
    folder_ = TemporaryHome() + "/files-" + std::to_string(++serial);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    TransferFormat = DelimitedFormat{};
    ImportIntoPulldowns = 0;
    StoreTest::TearDown();
  }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  // Files in the folder, temporary ones included.
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string folder_;
};

}  // namespace pw::test
