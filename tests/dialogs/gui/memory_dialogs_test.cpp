#include "dialogs/gui/memory_dialogs.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "platform/host_port.h"
#include "shell/window_messages.h"

namespace pw::test {
namespace {

MemoryLines SampleLines() {
  MEMORYSTATUS status;
  status.dwMemoryLoad = 75;
  status.dwTotalPhys = 16u << 20;
  status.dwAvailPhys = 4u << 20;
  return FormatMemoryLines(status);
}

// The memory line labels in screen order, found by their control ids.
QStringList MemoryLabels(QDialog* dialog) {
  QStringList texts;
  for (int id : {1000, 1001, 1002, 1004, 1005, 1006, 1003}) {
    auto* label = dialog->findChild<QLabel*>(QString::number(id));
    texts << (label ? label->text() : QString("<missing %1>").arg(id));
  }
  return texts;
}

const QStringList kSampleTexts = {"Memory Load: 75%",  "Physical Memory: 16384KB", "Free Physical Memory: 4096KB (25%)",
                                  "Paging File: 0KB",  "Free Paging File: 0KB",    "Virtual Memory: 0KB",
                                  "Free Virtual Memory: 0KB"};

TEST(MemoryDialogsTest, AboutShowsTheProgramAndTheMemory) {
  std::unique_ptr<QDialog> dialog(CreateAboutDialog(nullptr, SampleLines()));
  EXPECT_EQ(dialog->windowTitle(), "About Pennywhistle");
  auto* text = dialog->findChild<QLabel*>("AboutText");
  ASSERT_NE(text, nullptr);
  const QStringList lines = text->text().split('\n');
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(lines[0], "Pennywhistle 2000 R6a");
  EXPECT_EQ(MemoryLabels(dialog.get()), kSampleTexts);
  auto* icon = dialog->findChild<QLabel*>("101");
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());

  auto* ok = dialog->findChild<QPushButton*>();
  ASSERT_NE(ok, nullptr);
  ok->click();
  EXPECT_EQ(dialog->result(), IDOK);
}

TEST(MemoryDialogsTest, StartupDialogEndsWithTheButtonPressed) {
  const std::pair<const char*, int> buttons[] = {{"Time", 1055}, {"Expense", 1056}, {"Exit", 1057}};
  for (const auto& [text, id] : buttons) {
    std::unique_ptr<QDialog> dialog(CreateStartupDialog(nullptr, SampleLines()));
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(MemoryLabels(dialog.get()), kSampleTexts);
    auto* banner = dialog->findChild<QLabel*>("131");
    ASSERT_NE(banner, nullptr);
    EXPECT_FALSE(banner->pixmap().isNull());
    EXPECT_NE(dialog->findChild<QLabel*>("101"), nullptr);
    auto* button = dialog->findChild<QPushButton*>(QString::number(id));
    ASSERT_NE(button, nullptr) << text;
    EXPECT_EQ(button->text(), text);
    dialog->show();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), id) << text;
    EXPECT_FALSE(dialog->isVisible());
  }
}

TEST(MemoryDialogsTest, EscapeCancelsBothDialogsWithTwo) {
  for (auto* create : {&CreateAboutDialog, &CreateStartupDialog}) {
    std::unique_ptr<QDialog> dialog(create(nullptr, SampleLines()));
    dialog->show();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), IDCANCEL) << dialog->objectName().toStdString();
  }
}

}  // namespace
}  // namespace pw::test
