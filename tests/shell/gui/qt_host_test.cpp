#include "shell/gui/qt_host.h"

#include <QAbstractButton>
#include <QAction>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "modal_poller.h"
#include "shell_fixture.h"

namespace pw::test {
namespace {

struct BoxCase {
  const char* name;
  unsigned type;
  QMessageBox::Icon icon;
  bool owned;
  QMessageBox::StandardButton press;  // NoButton: press Escape
  int expected;
};

class QtHostMessageBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(QtHostMessageBoxTest, ShowsTextTitleIconAndButtons) {
  const BoxCase& c = GetParam();
  const bool question = (c.type & MB_BUTTONMASK) == MB_YESNO;
  QWidget owner;
  // Rich-text look-alikes and line breaks stay exactly as given.
  const std::u16string text = u"Delete <b>selected</b> record ?\n\nSecond line";
  bool shown = false;
  WhenModalAppears<QMessageBox>([&](QMessageBox* box) {
    shown = true;
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->windowTitle(), "Delete Record");
    EXPECT_EQ(box->text(), QString::fromStdU16String(text));
    EXPECT_EQ(box->parentWidget(), c.owned ? &owner : nullptr);
    QStringList buttons;
    for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
    buttons.sort();
    EXPECT_EQ(buttons, question ? QStringList({"No", "Yes"}) : QStringList({"OK"}));
    EXPECT_TRUE(!question || box->standardButton(box->defaultButton()) == QMessageBox::No);
    c.press == QMessageBox::NoButton ? QTest::keyClick(box, Qt::Key_Escape) : box->button(c.press)->click();
  });
  EXPECT_EQ(QtHost().MessageBox(c.owned ? ToHwnd(&owner) : nullptr, text, u"Delete Record", c.type), c.expected);
  EXPECT_TRUE(shown);
}

INSTANTIATE_TEST_SUITE_P(
    QtHost, QtHostMessageBoxTest,
    testing::Values(
        BoxCase{"Information", MB_OK | MB_ICONINFORMATION, QMessageBox::Information, true, QMessageBox::Ok, IDOK},
        BoxCase{"ErrorWithoutOwnerEscape", MB_OK | MB_ICONERROR, QMessageBox::Critical, false, QMessageBox::NoButton,
                IDOK},
        BoxCase{"QuestionYes", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, QMessageBox::Question, true,
                QMessageBox::Yes, IDYES},
        BoxCase{"WarningEscapeIsNo", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, QMessageBox::Warning, true,
                QMessageBox::NoButton, IDNO}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST_F(ShellTest, QtHostDrivesTheMainWindow) {
  ASSERT_TRUE(StartUp());
  PwMainWindow* window = Window();
  // Selecting a tab from code is not a tab change: no view is re-created.
  const auto* list = State().ListViewWindow;
  qtHost.SelectDateTab(4);
  EXPECT_EQ(qtHost.SelectedDateTab(), 4);
  EXPECT_EQ(State().ListViewWindow, list);

  qtHost.CheckMenuItem(IDM_COPY, true);  // any item can carry a check
  EXPECT_TRUE(window->menuAction(IDM_COPY)->isChecked());
  qtHost.EnableMenuItem(IDM_COPY, false);
  EXPECT_FALSE(window->menuAction(IDM_COPY)->isEnabled());
  // The tool button of the same command is not a menu item.
  EXPECT_TRUE(window->toolButtons()[1]->isEnabled());

  // A progress bar beside the status parts while an operation runs; a step paints when 100 ms have passed.
  qtHost.BeginProgress(u"deleting records...", 2000);
  auto* bar = window->statusBar()->findChild<QProgressBar*>("ProgressStatus");
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  QTest::qWait(110);
  qtHost.StepProgress(1000);
  EXPECT_EQ(bar->value(), bar->maximum() / 2);
  qtHost.EndProgress();
  EXPECT_EQ(window->statusBar()->findChild<QProgressBar*>(), nullptr);

  // Without a window there is nothing to act on.
  program.CleanUp();
  EXPECT_EQ(qtHost.SelectedDateTab(), -1);
  qtHost.SetStatusText(0, u"Time");
  qtHost.CheckMenuItem(IDM_MODE_TIME, true);
}

}  // namespace
}  // namespace pw::test
