// The store with its three databases and a configuration, the framing reset
// to its defaults, and files in a folder of the test's own.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "storage/store_fixture.h"
#include "text/format.h"
#include "transfer/delimited_format.h"
#include "transfer/transfer_file.h"

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

// Sample records: full ones, and texts beyond Latin-1.
inline TimeRecord WorkedDay() {
  TimeRecord r = Time(u"04/12/1999", u"Acme, Inc.", 1);
  r.startHour = 9, r.startMinute = 5, r.endHour = 5, r.endMinute = 30, r.endPm = true;
  CopyText(r.duration, u"8:25"), CopyText(r.project, u"Web"), CopyText(r.rate, u"120.00");
  CopyText(r.subproject, u"Design"), CopyText(r.task, u"Layout"), CopyText(r.currency, u"USD");
  CopyText(r.amount, u"1010.00"), CopyText(r.notes, u"Line one\nl\u00e9gal");
  return r;
}

inline ExpenseRecord Drive() {
  ExpenseRecord r = Expense(u"04/13/1999");
  CopyText(r.project, u"Web"), CopyText(r.description, u"Fuel"), CopyText(r.miles, u"12.5");
  CopyText(r.mileageRate, u"0.31"), CopyText(r.paymentType, u"Card"), CopyText(r.currency, u"EUR");
  CopyText(r.amount, u"3.88");
  r.mileage = r.billable = r.reimbursable = r.receipt = true;
  return r;
}

inline ExpenseRecord Taxi() {
  ExpenseRecord r = Expense(u"04/14/1999", u"\u5ba2\u6237");
  CopyText(r.description, u"Taxi \U0001F695"), CopyText(r.amount, u"20"), CopyText(r.notes, u"x");
  return r;
}

class TransferTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    OpenPulldownsAndSettings();
    static int serial = 0;
    folder_ = TemporaryHome() + "/files-" + std::to_string(++serial);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    state.TransferFormat = DelimitedFormat{};
    state.ImportIntoPulldowns = 0;
    StoreTest::TearDown();
  }

  // What the transfers take from the settings, as the program passes it.
  TransferOptions Options() const {
    return {state.TransferFormat, Configuration->europeanDates(), Configuration->europeanTimes(), state.ImportIntoPulldowns == 1};
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  // How many files the folder holds, temporary ones included.
  int FileCount() const { return int(std::distance(std::filesystem::directory_iterator(folder_), {})); }

  std::string folder_;
};

}  // namespace pw::test
