#include "selection/gui/find_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QPushButton>
#include <QTableView>

#include <memory>

#include "config/configuration.h"
#include "shell/gui/modal_poller.h"
#include "shell/gui/shell_fixture.h"
#include "storage/pulldowns.h"
#include "views/gui/list_view.h"

namespace pw::test {
namespace {

template <class W>
W* Child(QWidget* dialog, int id) {
  W* w = dialog->findChild<W*>(QString::number(id));
  EXPECT_NE(w, nullptr) << id;
  return w;
}

QStringList Items(QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

// A box's tri-state and whether it can be clicked, as "1", "0", "2", "-0".
std::string State(QCheckBox* box) {
  const int tri = box->checkState() == Qt::Checked ? 1 : box->checkState() == Qt::Unchecked ? 0 : 2;
  return (box->isEnabled() ? "" : "-") + std::to_string(tri);
}

class FindDialogTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(StartUp());
  }
  static void AddTime(const char16_t* date, std::u16string_view client, int billable = 1) {
    TimeRecord r = Dated<TimeRecord>(date);
    CopyText(r.client, client);
    r.billable = billable;
    ASSERT_TRUE(AddNewRecord(nullptr, TimeDatabase, r));
  }
  std::unique_ptr<QDialog> Time(RecordPositionList* list) {
    return std::unique_ptr<QDialog>(CreateTimeSelectionDialog(MainWindowWidget(), list));
  }
  std::unique_ptr<QDialog> Expense(RecordPositionList* list) {
    return std::unique_ptr<QDialog>(CreateExpenseSelectionDialog(MainWindowWidget(), list));
  }
};

TEST_F(FindDialogTest, BoxesStartOnAnyAndDatesOnTheMonthSoFar) {
  for (const char16_t* client : {u"Zeta", u"acme", u"Acme"}) AddNewPulldownItem(nullptr, client, ConfigDatabase, PWH_PULLDOWN_CLIENT);
  AddNewPulldownItem(nullptr, u"EUR", ConfigDatabase, PWH_PULLDOWN_CURRENCY);
  for (bool european : {false, true}) {
    SCOPED_TRACE(european);
    Configuration->UseEuropeanDateFormat = european;
    RecordPositionList list;
    const auto dialog = Time(&list);
    EXPECT_EQ(dialog->windowTitle(), "Record Selection");
    for (int id : {IDC_FIND_CLIENT, IDC_FIND_PROJECT, IDC_FIND_SUBPROJECT, IDC_FIND_TASK, IDC_FIND_CURRENCY,
                   IDC_FIND_BILLABLE_CHOICE, IDC_FIND_BILLED_CHOICE})
      EXPECT_EQ(Child<QComboBox>(dialog.get(), id)->currentText(), "--any--") << id;
    EXPECT_EQ(Items(Child<QComboBox>(dialog.get(), IDC_FIND_CLIENT)), (QStringList{"--any--", "Acme", "acme", "Zeta"}));
    EXPECT_EQ(Items(Child<QComboBox>(dialog.get(), IDC_FIND_CURRENCY)), (QStringList{"--any--", "EUR"}));
    EXPECT_EQ(Items(Child<QComboBox>(dialog.get(), IDC_FIND_BILLED_CHOICE)),
              (QStringList{"--any--", "billed", "not billed"}));
    EXPECT_EQ(Child<QDateEdit>(dialog.get(), IDC_FIND_FROM)->text(), european ? "01.03.2024" : "03/01/2024");
    EXPECT_EQ(Child<QDateEdit>(dialog.get(), IDC_FIND_TO)->text(), european ? "14.03.2024" : "03/14/2024");
    EXPECT_TRUE(Child<QPushButton>(dialog.get(), IDCANCEL)->font().bold());

    const auto expense = Expense(&list);
    EXPECT_EQ(expense->windowTitle(), "Expense Record Selection");
    EXPECT_EQ(Items(Child<QComboBox>(expense.get(), IDC_FIND_COMPARISON)), (QStringList{"<", "=", ">"}));
    EXPECT_EQ(Child<QComboBox>(expense.get(), IDC_FIND_COMPARISON)->currentText(), "=");
    EXPECT_EQ(Child<QComboBox>(expense.get(), IDC_FIND_AMOUNT)->currentText(), "--any--");
    EXPECT_EQ(Child<QDateEdit>(expense.get(), IDC_FIND_FROM)->text(), european ? "01.03.2024" : "03/01/2024");
  }
}

// Clicks on a partner box and its follow-up, with the states of both after each.
TEST_F(FindDialogTest, FollowUpBoxesCanOnlyBeChosenUnderACheckedPartner) {
  RecordPositionList list;
  const auto dialog = Expense(&list);
  for (auto [partnerId, followUpId] : {std::pair{IDC_FIND_BILLABLE, IDC_FIND_BILLED},
                                       {IDC_FIND_REIMBURSABLE, IDC_FIND_REIMBURSED}}) {
    QCheckBox* partner = Child<QCheckBox>(dialog.get(), partnerId);
    QCheckBox* followUp = Child<QCheckBox>(dialog.get(), followUpId);
    EXPECT_EQ(State(partner) + State(followUp), "2-0");
    const std::pair<QCheckBox*, const char*> steps[] = {
        {partner, "0-0"}, {partner, "12"}, {followUp, "10"}, {followUp, "11"}, {partner, "2-0"}, {partner, "0-0"}};
    for (const auto& [clicked, after] : steps) {
      clicked->click();
      EXPECT_EQ(State(partner) + State(followUp), after);
    }
  }
  for (int id : {IDC_FIND_MILEAGE, IDC_FIND_RECEIPT}) EXPECT_EQ(State(Child<QCheckBox>(dialog.get(), id)), "2");
}

TEST_F(FindDialogTest, OkSearchesCancelLeavesTheList) {
  for (auto [date, client, billable] : {std::tuple(u"03/02/2024", u"Acme", 1), {u"03/03/2024", u"acme", 1},
                                        {u"03/04/2024", u"Acme", 0}, {u"12/31/2000", u"Acme", 0}, {u"02/28/2024", u"Acme", 0}})
    AddTime(date, client, billable);
  const struct {
    const char* client;
    const char* billable;
    QDate from;  // invalid: as the dialog starts
    bool european;
    std::vector<RecordPosition> want;
  } cases[] = {
      {"--any--", "--any--", {}, false, {1, 2, 3}},  // the month so far, in date text order
      {"Acme", "--any--", {}, false, {1, 3}},
      {"Acme", "not billable", {}, false, {3}},
      {"--any--", "--any--", QDate(2000, 12, 31), true, {0, 1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.client);
    Configuration->UseEuropeanDateFormat = c.european;
    RecordPositionList list;
    list.Append(99);
    const auto dialog = Time(&list);
    Child<QComboBox>(dialog.get(), IDC_FIND_CLIENT)->setEditText(c.client);
    Child<QComboBox>(dialog.get(), IDC_FIND_BILLABLE_CHOICE)->setEditText(c.billable);
    if (c.from.isValid()) Child<QDateEdit>(dialog.get(), IDC_FIND_FROM)->setDate(c.from);
    dialog->reject();
    EXPECT_EQ(list.positions(), std::vector<RecordPosition>{99});
    dialog->accept();
    EXPECT_EQ(dialog->result(), IDOK);
    EXPECT_EQ(list.positions(), c.want);
  }
  EXPECT_EQ(Activity().back(), u"idle");
  EXPECT_NE(std::find(Activity().begin(), Activity().end(), u"searching..."), Activity().end());
}

TEST_F(FindDialogTest, ExpenseAmountAndFlags) {
  const struct {
    const char16_t* amount;
    bool billable, billed;
  } records[] = {{u"10.5", true, true}, {u"n/a", true, false}, {u"9", false, true}, {u"0", false, false}};
  for (const auto& r : records) {
    ExpenseRecord e = Dated<ExpenseRecord>(u"03/05/2024");
    CopyText(e.amount, r.amount);
    e.billable = r.billable, e.billed = r.billed;
    ASSERT_TRUE(AddNewExpenseRecord(nullptr, ExpenseDatabase, e));
  }
  const struct {
    const char* amount;
    const char* comparison;
    int billableClicks, billedClicks;
    std::vector<RecordPosition> want;
  } cases[] = {
      {"--any--", ">", 0, 0, {0, 1, 2, 3}},
      {"10", ">", 0, 0, {0}},
      {"-1", "<", 0, 0, {0, 1, 2, 3}},  // -1 is no amount criterion
      {"--any--", "=", 1, 0, {2, 3}},   // billable unchecked: not billable, billed not consulted
      {"--any--", "=", 2, 2, {0}},      // billable checked, billed checked
      {"--any--", "=", 2, 1, {1}},      // billable checked, billed unchecked
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.amount) + c.comparison + std::to_string(c.billableClicks));
    RecordPositionList list;
    const auto dialog = Expense(&list);
    Child<QComboBox>(dialog.get(), IDC_FIND_AMOUNT)->setEditText(c.amount);
    Child<QComboBox>(dialog.get(), IDC_FIND_COMPARISON)->setCurrentText(c.comparison);
    for (int i = 0; i < c.billableClicks; ++i) Child<QCheckBox>(dialog.get(), IDC_FIND_BILLABLE)->click();
    for (int i = 0; i < c.billedClicks; ++i) Child<QCheckBox>(dialog.get(), IDC_FIND_BILLED)->click();
    dialog->accept();
    EXPECT_EQ(list.positions(), c.want);
  }
}

TEST_F(FindDialogTest, FindFromTheToolbarShowsTheMatchesUnderTheSameTab) {
  AddTime(u"03/14/2024", u"Acme");
  AddTime(u"03/10/2024", u"Bolt");
  AddTime(u"03/01/2024", u"Acme");
  SendCommand(IDM_VIEW_LIST);
  WhenModalAppears<QDialog>([](QDialog* dialog) {
    Child<QComboBox>(dialog, IDC_FIND_CLIENT)->setEditText("Acme");
    dialog->accept();
  });
  QAction* find = MainWindowWidget()->toolButtons()[3];
  ASSERT_EQ(find->data().toUInt(), IDM_FIND);
  find->trigger();
  EXPECT_EQ(RecordSetMode, PWH_SELECT_REC_MODE);
  EXPECT_EQ(DisplayedRecordList.positions(), (std::vector<RecordPosition>{0, 2}));
  ASSERT_NE(ListViewWindow, nullptr);
  EXPECT_EQ(ListViewWindow->model()->rowCount(), 2);
  EXPECT_EQ(MainWindowWidget()->dateTabs()->currentIndex(), 0);

  // Cancel changes nothing.
  QTableView* shown = ListViewWindow;
  WhenModalAppears<QDialog>([](QDialog* dialog) { dialog->reject(); });
  SendCommand(IDM_FIND);
  EXPECT_EQ(ListViewWindow, shown);
  EXPECT_EQ(DisplayedRecordList.count(), 2u);
}

TEST_F(FindDialogTest, FindUnderTheReportOnlySaysSo) {
  DestroyCurrentView();
  ASSERT_TRUE(CreateMainListView(&ReportListWindow, PWH_REPORT_VIEW));
  SendCommand(IDM_FIND);  // a dialog here would block the test until its deadline
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].title, host.messages[0].type),
            std::tuple(u"Please select other view type for record selection.", u"Record Selection",
                       MB_OK | MB_ICONINFORMATION));
}

}  // namespace
}  // namespace pw::test
