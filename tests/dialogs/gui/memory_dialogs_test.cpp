#include "dialogs/gui/memory_dialogs.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "platform/host_port.h"
#include "shell/gui/shell_fixture.h"
#include "shell/window_messages.h"

namespace pw::test {
namespace {

const MemoryLines kLines = FormatMemoryLines({.dwMemoryLoad = 75, .dwTotalPhys = 16u << 20, .dwAvailPhys = 4u << 20});

// Both show each memory line on the label of its control id, their pictures (the program's icon, the
// start-up banner); Escape ends them with IDCANCEL.
TEST(MemoryDialogsTest, BothShowTheMemoryAndEscapeCancels) {
  const std::pair<QDialog* (*)(QWidget*, const MemoryLines&), QStringList> dialogs[] = {
      {&CreateAboutDialog, {"101"}}, {&CreateStartupDialog, {"101", "131"}}};
  for (const auto& [create, pictures] : dialogs) {
    std::unique_ptr<QDialog> dialog(create(nullptr, kLines));
    SCOPED_TRACE(dialog->objectName().toStdString());
    for (const MemoryLine& line : kLines) {
      auto* label = dialog->findChild<QLabel*>(QString::number(line.controlId));
      EXPECT_EQ(label ? label->text() : "<missing>", QString::fromStdU16String(line.text)) << line.controlId;
    }
    for (const QString& name : pictures) {
      auto* picture = dialog->findChild<QLabel*>(name);
      EXPECT_TRUE(picture && !picture->pixmap().isNull()) << name.toStdString();
    }
    dialog->show();
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "a fixed size";
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL);
  }
}

TEST(MemoryDialogsTest, AboutShowsTheProgramAndEndsWithOk) {
  std::unique_ptr<QDialog> dialog(CreateAboutDialog(nullptr, kLines));
  EXPECT_EQ(dialog->windowTitle(), "About Pennywhistle");
  auto* text = dialog->findChild<QLabel*>("AboutText");
  auto* ok = dialog->findChild<QPushButton*>();
  ASSERT_TRUE(text && ok);
  EXPECT_EQ(text->text().count('\n'), 4);
  EXPECT_TRUE(text->text().startsWith("Pennywhistle 2000 R6a\n"));
  ok->click();
  EXPECT_EQ(dialog->result(), IDOK);
}

// The choice is made with the mouse, with the button's letter, or with Enter for Time.
TEST(MemoryDialogsTest, StartupDialogIsFramelessFixedAndEndsWithTheChoiceMade) {
  struct Case {
    const char* text;
    int id;
    Qt::Key key;  // Qt::Key_unknown: a mouse click
    Qt::KeyboardModifiers modifiers;
  } cases[] = {
      {"Time", 1055, Qt::Key_unknown, {}},    {"Expense", 1056, Qt::Key_unknown, {}},
      {"Exit", 1057, Qt::Key_unknown, {}},    {"Time", 1055, Qt::Key_T, Qt::AltModifier},
      {"Expense", 1056, Qt::Key_E, Qt::AltModifier}, {"Exit", 1057, Qt::Key_X, Qt::AltModifier},
      {"Time", 1055, Qt::Key_Return, {}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<QDialog> dialog(CreateStartupDialog(nullptr, kLines));
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    auto* button = dialog->findChild<QPushButton*>(QString::number(c.id));
    ASSERT_NE(button, nullptr) << c.text;
    EXPECT_EQ(button->text().remove('&'), c.text);
    dialog->show();
    if (c.key == Qt::Key_unknown) {
      QTest::mouseClick(button, Qt::LeftButton);
    } else {
      ActivateForKeys(dialog.get());
      QTest::keyClick(dialog.get(), c.key, c.modifiers);
      // A button's letter clicks it visibly: the click lands a moment later.
      for (int waited = 0; dialog->isVisible() && waited < 2000; waited += 20) QTest::qWait(20);
    }
    EXPECT_EQ(dialog->result(), c.id) << c.text << " key " << c.key;
    EXPECT_FALSE(dialog->isVisible());
  }
}

}  // namespace
}  // namespace pw::test
