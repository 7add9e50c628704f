// A fresh store with an open configuration database, a configuration object
// and a scripted host for the entry dialogs, and helpers to reach a dialog's
// controls by their ids.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "platform/clock.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "shell/globals.h"
#include "storage/pulldowns.h"
#include "storage/record_store.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"

namespace pw::test {

class EntryDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    path_ = TemporaryHome() + "/entry-" + std::to_string(++serial);
    // Each test has its own settings: the configuration writes them back when destroyed.
    ASSERT_TRUE(OpenRegistry(path_ + "-registry.db"));
    ASSERT_TRUE(OpenObjectStore(path_ + ".db"));
    ASSERT_TRUE(OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &ConfigDatabase));
    config_ = std::make_unique<PWHConfiguration>();
    Configuration = config_.get();
    ClearRecord(WorkingTimeRecord);
  }
  void TearDown() override {
    SetLocalTimeOverride(std::nullopt);
    ClearRecord(WorkingTimeRecord);
    Configuration = nullptr;
    config_.reset();
    ConfigDatabase.Close();
    CloseObjectStore();
    CloseRegistry();
  }

  static void AddValue(int category, std::u16string_view text) {
    ASSERT_TRUE(AddNewPulldownItem(nullptr, text, ConfigDatabase, category));
  }
  static std::vector<std::u16string> Values(int category) {
    std::vector<std::u16string> out;
    InitPulldown(nullptr, ConfigDatabase, [&](std::u16string_view t) { out.emplace_back(t); }, category);
    return out;
  }

  template <class W>
  static W* Control(QWidget* dialog, int id) {
    auto* w = dialog->findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << "control " << id;
    return w;
  }

  ScriptedHost host;
  std::unique_ptr<PWHConfiguration> config_;
  std::string path_;
};

}  // namespace pw::test
