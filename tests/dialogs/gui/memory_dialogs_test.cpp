#include "dialogs/gui/memory_dialogs.h"

#include <QLabel>

#include <memory>

#include "dialogs/gui/entry_fixture.h"
#include "platform/command_ids.h"

namespace pw::test {
namespace {

const MemoryLines kLines = FormatMemoryLines({.dwMemoryLoad = 75, .dwTotalPhys = 16u << 20, .dwAvailPhys = 4u << 20});

// Both show each memory line on its label and their pictures, at a fixed
// size; Escape ends them with cancel.
TEST(MemoryDialogsTest, BothShowTheMemoryAndEscapeCancels) {
  const std::pair<QDialog* (*)(QWidget*, const MemoryLines&), std::vector<int>> dialogs[] = {
      {&CreateAboutDialog, {IDI_PROGRAM}}, {&CreateStartupDialog, {IDI_PROGRAM, IDB_STARTUP_BANNER}}};
  for (const auto& [create, pictures] : dialogs) {
    std::unique_ptr<QDialog> dialog(create(nullptr, kLines));
    SCOPED_TRACE(dialog->objectName().toStdString());
    EXPECT_EQ(Control<QLabel>(dialog.get(), kLines[0].controlId)->text(), QString::fromStdU16String(kLines[0].text));
    for (int id : pictures) {
      auto* picture = FindControl<QLabel>(dialog.get(), id);
      EXPECT_TRUE(picture && !picture->pixmap().isNull()) << id;
    }
    dialog->show();
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL);
  }
}

// The start-up choice is made with the mouse, the button's letter, or Enter for "Time".
TEST(MemoryDialogsTest, StartupDialogEndsWithTheChoiceMade) {
  const std::tuple<int, Qt::Key, Qt::KeyboardModifiers> cases[] = {  // Qt::Key_unknown: a mouse click
      {1056, Qt::Key_unknown, {}}, {1055, Qt::Key_T, Qt::AltModifier}, {1056, Qt::Key_E, Qt::AltModifier},
      {1057, Qt::Key_X, Qt::AltModifier}, {1055, Qt::Key_Return, {}}};
  for (const auto& [id, key, modifiers] : cases) {
    std::unique_ptr<QDialog> dialog(CreateStartupDialog(nullptr, kLines));
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    dialog->show();
    if (key == Qt::Key_unknown) {
      QTest::mouseClick(Control<QPushButton>(dialog.get(), id), Qt::LeftButton);
    } else {
      ActivateForKeys(dialog.get());
      QTest::keyClick(dialog.get(), key, modifiers);
      // A button's letter clicks it visibly: the click lands a moment later.
      EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000));
    }
    EXPECT_EQ(dialog->result(), id) << key;
  }
}

}  // namespace
}  // namespace pw::test
