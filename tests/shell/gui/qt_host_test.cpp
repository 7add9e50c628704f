#include "shell/gui/qt_host.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "modal_poller.h"
#include "shell_fixture.h"

namespace pw::test {
namespace {

struct BoxCase {
  const char* name;
  unsigned type;
  QMessageBox::Icon icon;
  bool question;
  QMessageBox::StandardButton press;  // NoButton: press Escape
  int expected;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class QtHostMessageBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(QtHostMessageBoxTest, ShowsTextTitleIconAndButtons) {
  const BoxCase& c = GetParam();
  QWidget owner;
  QtHost host;
  // Rich-text look-alikes and line breaks stay exactly as given.
  const std::u16string text = u"Delete <b>selected</b> record ?\n\nSecond line";
  QMessageBox::Icon icon{};
  QStringList buttons;
  QString title, shown;
  QAbstractButton* defaultButton = nullptr;
  QMessageBox::StandardButton defaultKind = QMessageBox::NoButton;
  QWidget* parent = nullptr;
  WhenModalAppears<QMessageBox>([&](QMessageBox* box) {
    icon = box->icon();
    title = box->windowTitle();
    shown = box->text();
    parent = box->parentWidget();
    for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
    defaultButton = box->defaultButton();
    defaultKind = box->standardButton(defaultButton);
    if (c.press == QMessageBox::NoButton)
      QTest::keyClick(box, Qt::Key_Escape);
    else
      box->button(c.press)->click();
  });
  const int answer = host.MessageBox(ToHwnd(&owner), text, u"Delete Record", c.type);
  EXPECT_EQ(answer, c.expected);
  EXPECT_EQ(icon, c.icon);
  EXPECT_EQ(title, "Delete Record");
  EXPECT_EQ(shown, QString::fromStdU16String(text));
  EXPECT_EQ(parent, &owner);
  buttons.sort();
  EXPECT_EQ(buttons, c.question ? QStringList({"No", "Yes"}) : QStringList({"OK"}));
  if (c.question) {
    EXPECT_EQ(defaultKind, QMessageBox::No);
  }
}

INSTANTIATE_TEST_SUITE_P(
    QtHost, QtHostMessageBoxTest,
    testing::Values(
        BoxCase{"Information", MB_OK | MB_ICONINFORMATION, QMessageBox::Information, false, QMessageBox::Ok, IDOK},
        BoxCase{"Exclamation", MB_OK | MB_ICONEXCLAMATION, QMessageBox::Warning, false, QMessageBox::Ok, IDOK},
        BoxCase{"Error", MB_OK | MB_ICONERROR, QMessageBox::Critical, false, QMessageBox::NoButton, IDOK},
        BoxCase{"QuestionYes", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, QMessageBox::Question, true,
                QMessageBox::Yes, IDYES},
        BoxCase{"QuestionNo", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, QMessageBox::Question, true,
                QMessageBox::No, IDNO},
        // Escape is not a Yes.
        BoxCase{"QuestionEscape", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, QMessageBox::Warning, true,
                QMessageBox::NoButton, IDNO}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(QtHostTest, MessageBoxWithoutOwnerHasNoParent) {
  QtHost host;
  QWidget* parent = reinterpret_cast<QWidget*>(1);
  WhenModalAppears<QMessageBox>([&](QMessageBox* box) {
    parent = box->parentWidget();
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(host.MessageBox(nullptr, u"text", u"Error", MB_OK | MB_ICONSTOP), IDOK);
  EXPECT_EQ(parent, nullptr);
}

TEST_F(ShellTest, QtHostDrivesTheMainWindow) {
  ASSERT_TRUE(StartUp());
  PwMainWindow* window = MainWindowWidget();
  QtHost& qt = host;
  qt.SetStatusText(PWH_STATUS_ACTIVITY, u"exporting...");
  EXPECT_EQ(window->statusPart(1)->text(), "exporting...");

  // Selecting a tab from code is not a tab change: no view is re-created.
  const std::size_t before = Activity().size();
  qt.SelectDateTab(4);
  EXPECT_EQ(qt.SelectedDateTab(), 4);
  EXPECT_EQ(Activity().size(), before);

  qt.CheckMenuItem(IDM_COPY, true);  // any item can carry a check
  EXPECT_TRUE(window->menuAction(IDM_COPY)->isChecked());
  qt.EnableMenuItem(IDM_COPY, false);
  EXPECT_FALSE(window->menuAction(IDM_COPY)->isEnabled());
  // The tool button of the same command is not a menu item.
  EXPECT_TRUE(window->toolButtons()[1]->isEnabled());

  // Without a window there is nothing to act on.
  CleanUp();
  EXPECT_EQ(qt.SelectedDateTab(), -1);
  qt.SetStatusText(0, u"Time");
  qt.CheckMenuItem(IDM_MODE_TIME, true);
}

}  // namespace
}  // namespace pw::test
