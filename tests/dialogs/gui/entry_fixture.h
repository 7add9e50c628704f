// A fresh store with an open pulldown list database, plain settings, the scripted
// host, a clock at 03/14/2024 10:30, and a dialog's controls by their ids.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/gui/dialog_support.h"
#include "platform/gui/control_names.h"
#include "platform/clock.h"
#include "shell/gui/modal_poller.h"
#include "storage/pulldowns.h"
#include "storage/record_store.h"
#include "support/scripted_host.h"
#include "support/temp_home.h"
#include "text/fixed_text.h"

namespace pw::test {

// Shortcuts and mnemonics reach only the active window.
inline QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

template <class W>
W* Control(QWidget* dialog, int id) {
  auto* w = FindControl<W>(dialog, id);
  EXPECT_NE(w, nullptr) << "control " << id;
  return w;
}

class EntryDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    ASSERT_TRUE(OpenObjectStore(TemporaryHome() + "/entry-" + std::to_string(++serial) + ".db"));
    ASSERT_TRUE(OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &pulldowns));
    SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 10, .wMinute = 30});
  }
  void TearDown() override {
    dialog.reset();
    SetLocalTimeOverride(std::nullopt);
    pulldowns.Close();
    CloseObjectStore();
  }

  void AddValue(int category, std::u16string_view text) {
    ASSERT_TRUE(AddNewPulldownItem(nullptr, text, pulldowns, category));
  }
  // Shows the dialog; the test owns it from here on.
  void Show(QDialog* d) { dialog.reset(d), d->show(); }
  template <class W>
  W* Get(int id) { return Control<W>(dialog.get(), id); }
  QComboBox* Box(int id) { return Get<QComboBox>(id); }
  QString Text(int id) { return Box(id)->currentText(); }
  // Types over a box's text, as the user does.
  void Type(int id, const QString& text) {
    // Typed as a user does: the box has the focus and hands the keys on.
    Box(id)->setFocus();
    Box(id)->lineEdit()->selectAll();
    QTest::keyClicks(Box(id), text);
  }

  ScriptedHost host;
  DatabaseHandle pulldowns;
  Settings settings;
  EntryContext context{pulldowns, settings};
  std::unique_ptr<QDialog> dialog;
};

}  // namespace pw::test
