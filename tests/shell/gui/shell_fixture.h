// The real main window on a fresh store and registry per test, with a Qt
// host that records message boxes (answering them from a queue) and status
// texts while still writing the real status line, tabs and menus.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "shell/globals.h"
#include "shell/gui/main_window.h"
#include "shell/gui/qt_host.h"
#include "shell/gui/startup.h"
#include "storage/record_operations.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"

namespace pw::test {

class RecordingQtHost : public QtHost {
 public:
  int MessageBox(HWND owner, std::u16string_view text, std::u16string_view title, unsigned type) override {
    messages.push_back({owner, std::u16string(text), std::u16string(title), type});
    if (!answers.empty()) {
      const int answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return (type & MB_BUTTONMASK) == MB_YESNO ? IDNO : IDOK;
  }
  void SetStatusText(int part, std::u16string_view text) override {
    status[part].emplace_back(text);
    QtHost::SetStatusText(part, text);
  }

  std::vector<RecordedMessage> messages;
  std::deque<int> answers;
  std::map<int, std::vector<std::u16string>> status;
};

// 14 March 2024, 10:30.
inline SYSTEMTIME FixedNow() {
  SYSTEMTIME now;
  now.wYear = 2024;
  now.wMonth = 3;
  now.wDay = 14;
  now.wHour = 10;
  now.wMinute = 30;
  return now;
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = TemporaryHome() + "/shell-" + std::to_string(++serial);
    std::filesystem::create_directories(folder_);
    ASSERT_TRUE(OpenObjectStore(folder_ + "/store.db"));
    ASSERT_TRUE(OpenRegistry(folder_ + "/registry.db"));
    SetHost(&host);
    SetLocalTimeOverride(FixedNow());
  }

  void TearDown() override {
    CleanUp();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetHost(nullptr);
    SetLocalTimeOverride(std::nullopt);
    CloseObjectStore();
    CloseRegistry();
  }

  // Adds time records dated as given, before the program starts.
  static void AddTimeRecords(std::initializer_list<const char16_t*> dates) {
    DatabaseHandle db;
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db));
    for (const char16_t* date : dates) {
      TimeRecord record;
      CopyText(record.date, date);
      CopyText(record.client, u"Acme");
      ASSERT_TRUE(AddNewRecord(nullptr, db, record));
    }
  }

  static void AddExpenseRecords(std::initializer_list<const char16_t*> dates) {
    DatabaseHandle db;
    ASSERT_TRUE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &db));
    for (const char16_t* date : dates) {
      ExpenseRecord record;
      CopyText(record.date, date);
      CopyText(record.amount, u"12.50");
      ASSERT_TRUE(AddNewExpenseRecord(nullptr, db, record));
    }
  }

  // The activity texts (status part 1) written so far.
  const std::vector<std::u16string>& Activity() { return host.status[PWH_STATUS_ACTIVITY]; }

  RecordingQtHost host;
  std::string folder_;
};

}  // namespace pw::test
