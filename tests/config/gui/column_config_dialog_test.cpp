#include <QAbstractItemModel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "config/column_dialog.h"
#include "config/configuration.h"
#include "config/gui/column_config_dialog.h"
#include "shell/gui/commands.h"
#include "shell/gui/modal_poller.h"
#include "shell/gui/shell_fixture.h"
#include "views/gui/list_view.h"

// Readable failures: texts rather than their bytes.
static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace pw::test {
namespace {

QStringList Headers(QTableView* list) {
  QStringList headers;
  if (!list) return headers;
  for (int c = 1; c < list->model()->columnCount(); ++c) headers << list->model()->headerData(c, Qt::Horizontal).toString();
  return headers;
}

QStringList Lines(QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

void Choose(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << text.toStdString();
  list->setCurrentItem(found.first());
}

// --- Columns -------------------------------------------------------------------

struct ColumnsCase {
  const char* label;
  int mode;
  bool ok;        // OK, or Escape
  QStringList headers;
};

const ColumnsCase kColumnsCases[] = {
    {"TimeOk", PWH_TIME_MODE, true,
     {"Hours", "Date", "Project", "Start", "End", "Rate", "Subproject", "Task", "Ccy", "Amount", "B", "B'd", "N"}},
    {"TimeEscapeKeepsTheChanges", PWH_TIME_MODE, false,
     {"Hours", "Date", "Project", "Start", "End", "Rate", "Subproject", "Task", "Ccy", "Amount", "B", "B'd", "N"}},
    {"ExpenseOk", PWH_EXPENSE_MODE, true,
     {"Amount", "Date", "Project", "Description", "Mileage", "Miles", "Rate", "Payment", "Currency", "B", "B'd", "R",
      "R'd", "R't", "N"}},
};

class ColumnsCommandTest : public ShellTest, public testing::WithParamInterface<ColumnsCase> {};

TEST_P(ColumnsCommandTest, KeyboardEditsReachTheListAndTheRegistry) {
  const ColumnsCase& c = GetParam();
  AddTimeRecords({u"03/14/2024"});
  ASSERT_TRUE(StartUp());
  if (c.mode == PWH_EXPENSE_MODE) SwitchMode(PWH_EXPENSE_MODE);
  bool seen = false;
  WhenModalAppears<ColumnConfigDialog>([&](ColumnConfigDialog* d) {
    seen = true;
    ActivateForKeys(d);
    EXPECT_EQ(d->windowTitle(), "Column Configuration");
    EXPECT_TRUE(Lines(d->hiddenList()).isEmpty());
    // Hide "Client" with Ctrl+Left, then move "Date" down with Ctrl+Down.
    Choose(d->visibleList(), "Client");
    QTest::keyClick(d->visibleList(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Lines(d->hiddenList()), QStringList{"Client"});
    d->visibleList()->setCurrentRow(0);
    QTest::keyClick(d->visibleList(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(d->visibleList()->currentRow(), 1) << "the moved column stays chosen";
    QTest::keyClick(d, c.ok ? Qt::Key_Return : Qt::Key_Escape);
  });
  SendCommand(IDM_COLUMNS);
  EXPECT_TRUE(seen);
  EXPECT_EQ(Headers(ListViewWindow), c.headers);
  Blob inMemory, stored;
  std::size_t length = 0;
  Configuration->columns().Serialize(&inMemory);
  ASSERT_TRUE(Configuration->ReadRegistryKey(u"RuntimeColumnInfo", &stored, &length, true));
  EXPECT_EQ(stored, inMemory) << "written when the dialog closed";
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Endings, ColumnsCommandTest, testing::ValuesIn(kColumnsCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ShellTest, ColumnDialogButtonsNeedAChoiceAndShowAtTheRightEnd) {
  ASSERT_TRUE(StartUp());
  ColumnConfigDialog d(nullptr, Configuration->columns(), ColumnRange::Time);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  for (int id : {IDC_COLUMNS_SHOW, IDC_COLUMNS_HIDE, IDC_COLUMNS_UP, IDC_COLUMNS_DOWN})
    d.findChild<QPushButton*>(QString::number(id))->click();
  ASSERT_EQ(host.messages.size(), 4u);
  EXPECT_EQ(host.messages[0].text, u"Please choose a column from the left pane.");
  EXPECT_EQ(host.messages[3].text, u"Please choose a column from the right pane.");
  EXPECT_EQ(host.messages[3].owner, static_cast<HWND>(static_cast<QWidget*>(&d)));

  Choose(d.visibleList(), "Date");
  d.hideSelected();
  Choose(d.visibleList(), "Task");
  const QPoint task = d.visibleList()->visualItemRect(d.visibleList()->currentItem()).center();
  QTest::mouseClick(d.visibleList()->viewport(), Qt::LeftButton, {}, task);
  QTest::mouseDClick(d.visibleList()->viewport(), Qt::LeftButton, {}, task);
  EXPECT_EQ(Lines(d.hiddenList()), (QStringList{"Date", "Task"}));
  Choose(d.hiddenList(), "Date");
  d.showSelected();
  EXPECT_EQ(d.visibleList()->currentItem()->text(), "Date");
  EXPECT_EQ(d.visibleList()->currentRow(), d.visibleList()->count() - 1);
  EXPECT_EQ(Lines(d.hiddenList()), QStringList{"Task"});
}

}  // namespace
}  // namespace pw::test
