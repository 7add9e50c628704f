// The real main window on a fresh store and registry per test, with a Qt
// host that records message boxes (answering questions from a queue, No when
// it is empty) and status texts while still writing the real status line,
// tabs and menus.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>

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

// Key presses reach shortcuts and mnemonics only in the active window. The
// main window may take the activation back late once the start-up choice
// closed: let that happen first, then activate window.
inline void ActivateForKeys(QWidget* window) {
  QTest::qWait(50);
  window->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

class RecordingQtHost : public QtHost {
 public:
  int MessageBox(HWND owner, std::u16string_view text, std::u16string_view title, unsigned type) override {
    messages.push_back({owner, std::u16string(text), std::u16string(title), type});
    if ((type & MB_BUTTONMASK) != MB_YESNO) return IDOK;
    if (answers.empty()) return IDNO;
    const int reply = answers.front();
    answers.pop_front();
    return reply;
  }
  void SetStatusText(int part, std::u16string_view text) override {
    status[part].emplace_back(text);
    QtHost::SetStatusText(part, text);
  }

  std::vector<RecordedMessage> messages;
  std::deque<int> answers;  // answers of the next questions; No when empty
  std::map<int, std::vector<std::u16string>> status;
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = TemporaryHome() + "/shell-" + std::to_string(++serial);
    std::filesystem::create_directories(folder_);
    ASSERT_TRUE(OpenObjectStore(folder_ + "/store.db"));
    ASSERT_TRUE(OpenRegistry(folder_ + "/registry.db"));
    SetHost(&host);
    SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 10, .wMinute = 30});
  }

  void TearDown() override {
    CleanUp();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetHost(nullptr);
    SetLocalTimeOverride(std::nullopt);
    CloseObjectStore();
    CloseRegistry();
  }

  // Adds records dated as given, before the program starts.
  static void AddTimeRecords(std::initializer_list<const char16_t*> dates) {
    DatabaseHandle db;
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db));
    for (const char16_t* date : dates) ASSERT_TRUE(AddNewRecord(nullptr, db, Dated<TimeRecord>(date)));
  }
  static void AddExpenseRecords(std::initializer_list<const char16_t*> dates) {
    DatabaseHandle db;
    ASSERT_TRUE(OpenExpenseDatabase(nullptr, PWH_EXPENSE_DB_NAME, &db));
    for (const char16_t* date : dates) ASSERT_TRUE(AddNewExpenseRecord(nullptr, db, Dated<ExpenseRecord>(date)));
  }
  template <class Record>
  static Record Dated(const char16_t* date) {
    Record record;
    CopyText(record.date, date);
    return record;
  }

  // The activity texts (status part 1) written so far.
  const std::vector<std::u16string>& Activity() { return host.status[PWH_STATUS_ACTIVITY]; }

  RecordingQtHost host;
  std::string folder_;
};

}  // namespace pw::test
