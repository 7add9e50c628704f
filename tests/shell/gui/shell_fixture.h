// The real program on a fresh store and registry per test. Messages go to
// the scripted host (questions answered from its queue, No when it is
// empty); status texts, tabs and menus reach the real main window too.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "shell/gui/modal_poller.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "shell/gui/main_window.h"
#include "shell/gui/program.h"
#include "storage/record_operations.h"
#include "storage/record_store.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"

namespace pw::test {

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = NewTestFolder("shell");
    ASSERT_TRUE(OpenObjectStore(folder_ + "/store.db"));
    ASSERT_TRUE(OpenRegistry(folder_ + "/registry.db"));
    host.forward = &qtHost;
    SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 10, .wMinute = 30});
  }

  void TearDown() override {
    program.CleanUp();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetLocalTimeOverride(std::nullopt);
    CloseObjectStore();
    CloseRegistry();
  }

  bool StartUp() { return program.StartUp(); }
  PwMainWindow* Window() { return program.window(); }
  AppState& State() { return program.state(); }

  // Adds records dated as given, before the program starts.
  static void AddTimeRecords(std::initializer_list<const char16_t*> dates) {
    DatabaseHandle db;
    ASSERT_TRUE(OpenTimeDatabase(nullptr, PWH_TIME_DB_NAME, &db));
    for (const char16_t* date : dates) {
      TimeRecord record;
      CopyText(record.date, date);
      ASSERT_TRUE(AddNewRecord(nullptr, db, record));
    }
  }

  QtHost qtHost;
  ScriptedHost host;
  Program program{qtHost};
  std::string folder_;
};

}  // namespace pw::test
