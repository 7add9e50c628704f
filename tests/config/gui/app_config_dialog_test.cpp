#include "config/gui/app_config_dialog.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QTableView>
#include <QTest>

#include "config/configuration.h"
#include "shell/gui/modal_poller.h"
#include "shell/gui/shell_fixture.h"
#include "shell/gui/commands.h"
#include "text/fixed_text.h"
#include "views/gui/list_view.h"

namespace pw::test {
namespace {

class AppConfigDialogTest : public ShellTest, public testing::WithParamInterface<bool> {};  // OK, or Escape

TEST_P(AppConfigDialogTest, ControlsShowTheSettingsAndOkKeepsTheChoices) {
  ASSERT_TRUE(StartUp());
  PWHConfiguration& config = *Configuration;
  config.confirmDelete() = 0;
  std::vector<bool> editing;
  const DefaultRecordEditor timeEditor = [&](HWND, bool e) {
    editing.push_back(e);
    CopyText(WorkingTimeRecord.client, u"Default client");
    return IDOK;
  };
  const DefaultRecordEditor expenseEditor = [&](HWND, bool) { return IDCANCEL; };
  bool replaced = false;
  WhenModalAppears<AppConfigDialog>([&](AppConfigDialog* d) {
    ActivateForKeys(d);
    EXPECT_EQ(d->windowTitle(), "Pennywhistle Configuration");
    auto box = [d](int id) { return d->findChild<QAbstractButton*>(QString::number(id)); };
    EXPECT_TRUE(box(IDC_CONFIG_AMERICAN)->isChecked());
    EXPECT_TRUE(box(IDC_CONFIG_AMPM)->isChecked());
    EXPECT_TRUE(box(IDC_CONFIG_CONFIRM_COPY)->isChecked());
    EXPECT_FALSE(box(IDC_CONFIG_CONFIRM_COPY + 1)->isChecked());
    // Alt+E chooses "European", Alt+R "Army"; each pair stays exclusive.
    QTest::keyClick(d, Qt::Key_E, Qt::AltModifier);
    QTest::keyClick(d, Qt::Key_R, Qt::AltModifier);
    // A mnemonic presses its button after a short animation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return box(IDC_CONFIG_ARMY)->isChecked(); }));
    EXPECT_TRUE(box(IDC_CONFIG_EUROPEAN)->isChecked());
    EXPECT_FALSE(box(IDC_CONFIG_AMERICAN)->isChecked());
    EXPECT_FALSE(box(IDC_CONFIG_AMPM)->isChecked());
    box(IDC_CONFIG_CONFIRM_COPY)->click();
    box(IDC_CONFIG_TIME_ACTIVE)->click();
    box(IDC_CONFIG_DEFAULT_TIME)->click();
    box(IDC_CONFIG_DEFAULT_TIME)->click();
    box(IDC_CONFIG_DEFAULT_EXPENSE)->click();
    QTest::keyClick(d, GetParam() ? Qt::Key_Return : Qt::Key_Escape);
  });
  const int result = RunAppConfigDialog(MainWindow, config, timeEditor, expenseEditor, &replaced);
  EXPECT_EQ(result, GetParam() ? IDOK : IDCANCEL);
  EXPECT_EQ(editing, (std::vector<bool>{false, true})) << "new at first, then editing the default made";
  EXPECT_TRUE(replaced);
  ASSERT_NE(config.defaultTimeRecordBlob(), nullptr) << "stays replaced, also after cancel";
  EXPECT_EQ(config.defaultExpenseRecordBlob(), nullptr);
  const std::uint8_t chosen = GetParam() ? 1 : 0;
  EXPECT_EQ(config.UseEuropeanDateFormat, chosen);
  EXPECT_EQ(config.UseEuropeanTimeFormat, chosen);
  EXPECT_EQ(config.confirmCopy(), 1 - chosen);
  EXPECT_EQ(config.defaultTimeRecordActive(), chosen);
  EXPECT_EQ(config.confirmDelete(), 0);
}

INSTANTIATE_TEST_SUITE_P(Endings, AppConfigDialogTest, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Ok" : "Escape"); });

// --- The Application command ---------------------------------------------------

struct CommandCase {
  const char* label;
  int button;           // the control the user clicks before OK
  bool recreated;       // the List view is made anew
  QString dateCell;     // the first row's date afterwards
};

const CommandCase kCommandCases[] = {
    {"DateFormRecreatesTheList", IDC_CONFIG_EUROPEAN, true, "14.03.2024"},
    {"TimeFormRecreatesTheList", IDC_CONFIG_ARMY, true, "03/14/2024"},
    {"ConfirmationAloneLeavesTheList", IDC_CONFIG_CONFIRM_COPY, false, "03/14/2024"},
};

class ApplicationCommandTest : public ShellTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(ApplicationCommandTest, OkStoresTheSettingsAndShowsANewForm) {
  const CommandCase& c = GetParam();
  AddTimeRecords({u"03/14/2024"});
  ASSERT_TRUE(StartUp());
  const QTableView* before = ListViewWindow;
  WhenModalAppears<AppConfigDialog>([&](AppConfigDialog* d) {
    d->findChild<QAbstractButton*>(QString::number(c.button))->click();
    QTest::keyClick(d, Qt::Key_Return);
  });
  SendCommand(IDM_APPLICATION_CONFIG);
  ASSERT_NE(ListViewWindow, nullptr);
  EXPECT_EQ(ListViewWindow != before, c.recreated);
  EXPECT_EQ(ListViewWindow->model()->index(0, 1).data().toString(), c.dateCell);

  // Written at once: a second configuration reads the choice back.
  Blob flags;
  std::size_t length = 0;
  ASSERT_TRUE(Configuration->ReadRegistryKey(u"BehaviorLogicBools", &flags, &length, true));
  EXPECT_EQ(flags[0], c.button == IDC_CONFIG_CONFIRM_COPY ? 0 : 1);
  Blob dates;
  ASSERT_TRUE(Configuration->ReadRegistryKey(u"UseEuropeanDateFormat", &dates, &length, true));
  EXPECT_EQ(dates[0], c.button == IDC_CONFIG_EUROPEAN ? 1 : 0);
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Choices, ApplicationCommandTest, testing::ValuesIn(kCommandCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace pw::test
