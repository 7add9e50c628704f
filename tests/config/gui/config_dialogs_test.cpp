#include <QAbstractButton>

#include <vector>

#include "config/column_dialog.h"
#include "config/gui/app_config.h"
#include "config/gui/column_dialog.h"
#include "dialogs/gui/entry_fixture.h"

namespace pw::test {
namespace {

// Alt+E and Alt+R choose "European" and "Army", each pair staying exclusive;
// the default-record buttons run their editors; Enter keeps the choices,
// Escape leaves the settings as they were.
class AppConfigDialogTest : public EntryDialogTest, public testing::WithParamInterface<bool> {};  // Enter or Escape

TEST_P(AppConfigDialogTest, KeysAndButtonsReachTheSettings) {
  std::vector<bool> ran;  // expense?
  const auto editor = [&](bool expense) -> DefaultRecordEditor {
    return [&ran, expense](HWND, bool) { return ran.push_back(expense), IDCANCEL; };
  };
  TimeRecord workingTime;
  ExpenseRecord workingExpense;
  auto* d = new AppConfigDialog(nullptr, settings, workingTime, workingExpense, editor(false), editor(true));
  Show(d);
  ActivateForKeys(d);
  QTest::keyClick(d, Qt::Key_E, Qt::AltModifier);
  QTest::keyClick(d, Qt::Key_R, Qt::AltModifier);
  const auto button = [this](int id) { return Get<QAbstractButton>(id); };
  // A mnemonic presses its button after a short animation.
  EXPECT_TRUE(QTest::qWaitFor([&] { return button(IDC_CONFIG_ARMY)->isChecked(); }));
  EXPECT_TRUE(button(IDC_CONFIG_EUROPEAN)->isChecked());
  EXPECT_FALSE(button(IDC_CONFIG_AMERICAN)->isChecked() || button(IDC_CONFIG_AMPM)->isChecked());
  for (int id : {IDC_CONFIG_CONFIRM_COPY, IDC_CONFIG_DEFAULT_TIME, IDC_CONFIG_DEFAULT_EXPENSE}) button(id)->click();
  QTest::keyClick(d, GetParam() ? Qt::Key_Return : Qt::Key_Escape);
  EXPECT_EQ(d->result(), GetParam() ? IDOK : IDCANCEL);
  EXPECT_EQ(ran, (std::vector<bool>{false, true}));
  EXPECT_EQ(settings.europeanDates() && settings.europeanTimes() && !settings.confirmCopy(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Endings, AppConfigDialogTest, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Enter" : "Escape"); });

void Choose(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << text.toStdString();
  list->setCurrentItem(found.first());
}

// Ctrl+Left hides, Ctrl+Right shows (at the end, still chosen), Ctrl+Down
// moves with the column staying chosen; a double click hides.
TEST_F(EntryDialogTest, ColumnDialogKeysAndDoubleClick) {
  ColumnModel model;
  auto* d = new ColumnConfigDialog(nullptr, model, ColumnRange::Time);
  Show(d);
  ActivateForKeys(d);
  Choose(d->visibleList(), "Client");
  QTest::keyClick(d->visibleList(), Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Lines(d->hiddenList()), QStringList{"Client"});
  d->visibleList()->setCurrentRow(0);
  QTest::keyClick(d->visibleList(), Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(d->visibleList()->currentRow(), 1);

  Choose(d->visibleList(), "Task");
  const QPoint task = d->visibleList()->visualItemRect(d->visibleList()->currentItem()).center();
  QTest::mouseClick(d->visibleList()->viewport(), Qt::LeftButton, {}, task);
  QTest::mouseDClick(d->visibleList()->viewport(), Qt::LeftButton, {}, task);
  EXPECT_EQ(Lines(d->hiddenList()), (QStringList{"Client", "Task"}));
  Choose(d->hiddenList(), "Client");
  QTest::keyClick(d->hiddenList(), Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(d->visibleList()->currentItem()->text(), "Client");
  EXPECT_EQ(d->visibleList()->currentRow(), d->visibleList()->count() - 1);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace pw::test
