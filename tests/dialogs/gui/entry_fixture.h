// A fresh store with an open configuration database, a configuration object,
// a scripted host and a clock standing at 03/14/2024 10:30 for the entry
// dialogs, and helpers to show a dialog and reach its controls by their ids.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
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
#include "text/fixed_text.h"

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
    ClearRecord(WorkingExpenseRecord);
    SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 10, .wMinute = 30});
  }
  void TearDown() override {
    dialog.reset();
    SetLocalTimeOverride(std::nullopt);
    ClearRecord(WorkingTimeRecord);
    ClearRecord(WorkingExpenseRecord);
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

  // Shows the dialog; the test owns it from here on.
  QDialog* Show(QDialog* d) {
    dialog.reset(d);
    d->show();
    return d;
  }
  template <class W>
  W* Get(int id) { return Control<W>(dialog.get(), id); }
  QComboBox* Box(int id) { return Get<QComboBox>(id); }
  QString Text(int id) { return Box(id)->currentText(); }
  // Types over a box's text, as the user does.
  void Type(int id, const QString& text) {
    QLineEdit* edit = Box(id)->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  ScriptedHost host;
  std::unique_ptr<PWHConfiguration> config_;
  std::unique_ptr<QDialog> dialog;
  std::string path_;
};

}  // namespace pw::test
