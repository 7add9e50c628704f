#include "selection/gui/find_dialogs.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QDateEdit>

#include <memory>
#include <tuple>

#include "shell/commands.h"
#include "shell/gui/modal_poller.h"
#include "dialogs/gui/entry_fixture.h"
#include "views/gui/view_fixture.h"

namespace pw::test {
namespace {

// A box's tri-state and whether it can be clicked, as "1", "0", "2", "-0".
std::string State(QCheckBox* box) {
  const int tri = box->checkState() == Qt::Checked ? 1 : box->checkState() == Qt::Unchecked ? 0 : 2;
  return (box->isEnabled() ? "" : "-") + std::to_string(tri);
}

// Today is 03/14/2024.
class FindDialogTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    ASSERT_TRUE(OpenConfigDatabase(nullptr, PWH_CONFIG_DB_NAME, &ConfigDatabase));
    SetLocalTimeOverride(SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 10, .wMinute = 30});
  }
  void TearDown() override {
    SetLocalTimeOverride(std::nullopt);
    ViewTest::TearDown();
  }
  std::unique_ptr<QDialog> Dialog(bool expense, RecordPositionList* list, bool european = false) {
    return std::unique_ptr<QDialog>((expense ? CreateExpenseSelectionDialog : CreateTimeSelectionDialog)(
        nullptr, state, european, list));
  }
  void AddTime(const char16_t* date, std::u16string_view client, int billable = 1) {
    Put(TimeDatabase, test::Time(date, client, billable));
  }
};

// Clicks on a partner box and its follow-up, with the states of both after each.
TEST_F(FindDialogTest, FollowUpBoxesCanOnlyBeChosenUnderACheckedPartner) {
  RecordPositionList list;
  const auto dialog = Dialog(true, &list);
  for (auto [partnerId, followUpId] : {std::pair{IDC_FIND_BILLABLE, IDC_FIND_BILLED},
                                       {IDC_FIND_REIMBURSABLE, IDC_FIND_REIMBURSED}}) {
    QCheckBox* partner = Control<QCheckBox>(dialog.get(), partnerId);
    QCheckBox* followUp = Control<QCheckBox>(dialog.get(), followUpId);
    EXPECT_EQ(State(partner) + State(followUp), "2-0");
    const std::pair<QCheckBox*, const char*> steps[] = {
        {partner, "0-0"}, {partner, "12"}, {followUp, "10"}, {followUp, "11"}, {partner, "2-0"}, {partner, "0-0"}};
    for (const auto& [clicked, after] : steps) {
      clicked->click();
      EXPECT_EQ(State(partner) + State(followUp), after);
    }
  }
}

// A screen reader names the seven boxes by their labels, not by the "--any--" they hold.
TEST_F(FindDialogTest, BoxesAreNamedByTheirLabels) {
  RecordPositionList list;
  const auto dialog = Dialog(false, &list);
  QStringList names;
  for (QComboBox* box : dialog->findChildren<QComboBox*>())
    names << QAccessible::queryAccessibleInterface(box->lineEdit())->text(QAccessible::Name);
  EXPECT_EQ(names, (QStringList{"Client", "Project", "Sub", "Task", "Currency", "Billable", "Billed"}));
}

// The boxes start on "--any--" and the dates on the month so far, in the
// date form asked for; what the boxes hold reaches the search; cancel leaves
// the list alone.
TEST_F(FindDialogTest, OkSearchesWithTheBoxesCancelLeavesTheList) {
  AddNewPulldownItem(nullptr, u"Acme", ConfigDatabase, PWH_PULLDOWN_CLIENT);
  AddTime(u"03/02/2024", u"Acme"), AddTime(u"03/03/2024", u"acme", 0), AddTime(u"03/04/2024", u"Acme", 0);
  AddTime(u"12/31/2000", u"Acme", 0), AddTime(u"12/30/2000", u"Acme", 0);
  RecordPositionList list;
  list.Append(99);
  const auto dialog = Dialog(false, &list, /*european=*/true);
  auto* client = Control<QComboBox>(dialog.get(), IDC_FIND_CLIENT);
  EXPECT_EQ(std::tuple(client->currentText(), client->count()), std::tuple("--any--", 2));
  EXPECT_EQ(Control<QDateEdit>(dialog.get(), IDC_FIND_FROM)->text(), "01.03.2024");
  EXPECT_EQ(Control<QDateEdit>(dialog.get(), IDC_FIND_TO)->text(), "14.03.2024");
  client->setEditText("Acme");
  Control<QComboBox>(dialog.get(), IDC_FIND_BILLABLE_CHOICE)->setEditText("not billable");
  Control<QDateEdit>(dialog.get(), IDC_FIND_FROM)->setDate(QDate(2000, 12, 31));
  dialog->reject();
  EXPECT_EQ(list.positions(), std::vector<RecordPosition>{99});
  dialog->accept();
  EXPECT_EQ(dialog->result(), IDOK);
  EXPECT_EQ(list.positions(), (std::vector<RecordPosition>{1, 4}));  // in calendar order
}

TEST_F(FindDialogTest, FindShowsTheMatchesInTheViewShown) {
  AddTime(u"03/14/2024", u"Acme"), AddTime(u"03/10/2024", u"Bolt"), AddTime(u"03/01/2024", u"Acme");
  ASSERT_TRUE(views.CreateView(ShownView::List));
  WhenModalAppears<QDialog>([](QDialog* dialog) {
    Control<QComboBox>(dialog, IDC_FIND_CLIENT)->setEditText("Acme");
    dialog->accept();
  });
  Commands commands(state, views, {{}, {}, [&](RecordPositionList* list) {
                                      return RunSelectionDialog(nullptr, state, false, list);
                                    }});
  commands.Find();
  EXPECT_EQ(RecordSetMode, PWH_SELECT_REC_MODE);
  ASSERT_NE(ListViewWindow, nullptr);
  EXPECT_EQ(ListViewWindow->model()->rowCount(), 2);

  WhenModalAppears<QDialog>([](QDialog* dialog) { dialog->reject(); });
  commands.Find();
  EXPECT_EQ(DisplayedRecordList.count(), 2u);  // cancel changes nothing
  // The Report view only says it has nothing to find in.
  DestroyCurrentView(state);
  ASSERT_TRUE(CreateMainListView(Sources(), &ReportListWindow, PWH_REPORT_VIEW));
  commands.Find();  // a dialog here would block until its deadline
  EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace pw::test
