#include "selection/gui/find_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/gui/dialog_support.h"
#include "platform/clock.h"
#include "platform/error_codes.h"
#include "platform/gui/control_names.h"
#include "platform/host_port.h"
#include "selection/find_dialogs.h"
#include "platform/gui/hwnd.h"
#include "storage/pulldowns.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {

namespace {

// A three-state box that steps as the handheld's did: unchecked, checked,
// either, unchecked again.
class ThreeStateBox final : public QCheckBox {
 public:
  ThreeStateBox(const QString& text, int controlId, QWidget* parent) : QCheckBox(text, parent) {
    NameControl(this, controlId, NameFromLabel(text, QStringLiteral("Check")));
    setTristate(true);
  }
  int tri() const {
    switch (checkState()) {
      case Qt::Checked: return PWH_TRI_YES;
      case Qt::Unchecked: return PWH_TRI_NO;
      default: return PWH_TRI_EITHER;
    }
  }
  void setTri(int tri) {
    setCheckState(tri == PWH_TRI_YES ? Qt::Checked : tri == PWH_TRI_NO ? Qt::Unchecked : Qt::PartiallyChecked);
  }

 protected:
  void nextCheckState() override {
    setTri(tri() == PWH_TRI_NO ? PWH_TRI_YES : tri() == PWH_TRI_YES ? PWH_TRI_EITHER : PWH_TRI_NO);
  }
};

// A follow-up box (billed, reimbursed) can only be chosen while its
// partner (billable, reimbursable) is checked, however the partner changed
// (a click, a key, an accessibility client).
void PairBoxes(ThreeStateBox* partner, ThreeStateBox* followUp) {
  QObject::connect(partner, &QCheckBox::stateChanged, followUp, [partner, followUp] {
    const FollowUpBox state = FollowPartner(partner->tri());
    followUp->setTri(state.tri);
    followUp->setEnabled(state.enabled);
  });
}

QDate Today() {
  const SYSTEMTIME now = GetLocalTime();
  return QDate(now.wYear, now.wMonth, now.wDay);
}

QDateEdit* CreateDatePicker(int controlId, bool europeanDates, QWidget* parent) {
  auto* picker = new QDateEdit(parent);
  NameControl(picker, controlId, controlId == IDC_FIND_FROM ? QStringLiteral("FromDateBox") : QStringLiteral("ToDateBox"));
  picker->setCalendarPopup(true);
  // The picker shows the year in full: four digits.
  QString format = QTextOf(DatePickerFormat(europeanDates));
  if (!format.contains(QStringLiteral("yyyy"))) format.replace(QStringLiteral("yyy"), QStringLiteral("yyyy"));
  picker->setDisplayFormat(format);
  picker->setDate(Today());
  return picker;
}

// The text-criterion boxes offer "--any--" with the category's values and
// start on "--any--".
QComboBox* CreateCriterionBox(HWND owner, DatabaseHandle& configDb, int controlId, int categoryId,
                              QWidget* parent) {
  QComboBox* box = CreatePulldownBox(
      controlId, NameFromLabel(QTextOf(FindPulldownCategory(categoryId)->word), QStringLiteral("Box")), parent);
  box->addItem(QTextOf(PWH_ANY));
  FillPulldownBox(owner, configDb, box, categoryId);
  box->setCurrentIndex(box->findText(QTextOf(PWH_ANY), Qt::MatchExactly | Qt::MatchCaseSensitive));
  return box;
}

QComboBox* CreateChoiceBox(int controlId, const QString& name, std::initializer_list<std::u16string_view> choices,
                           QWidget* parent) {
  QComboBox* box = CreatePulldownBox(controlId, name, parent);
  for (std::u16string_view choice : choices) box->addItem(QTextOf(choice));
  box->setCurrentIndex(box->findText(QTextOf(PWH_ANY), Qt::MatchExactly | Qt::MatchCaseSensitive));
  return box;
}

// What the dialogs share: the fields grid, the date pickers, the button row.
class SelectionDialog : public PwDialog {
 public:
  SelectionDialog(QWidget* owner, const QString& title, RecordDatabases& databases, bool europeanDates,
                  RecordPositionList* list)
      : PwDialog(owner), owner_(ToHwnd(owner)), databases_(databases), europeanDates_(europeanDates), list_(list) {
    setWindowTitle(title);
    grid_ = new QGridLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid_);
    layout->addStretch(1);
    layout->addWidget(CreateOkCancelButtons(this));
    from_ = CreateDatePicker(IDC_FIND_FROM, europeanDates, this);
    to_ = CreateDatePicker(IDC_FIND_TO, europeanDates, this);
  }

 protected:
  // A text criterion offering the category's pulldown list.
  QComboBox* CriterionBox(int controlId, int categoryId) {
    return CreateCriterionBox(owner_, databases_.ConfigDatabase, controlId, categoryId, this);
  }

  // A labelled row; the label's mnemonic leads to the field.
  void AddRow(const QString& label, QWidget* field, QWidget* beside = nullptr) {
    const int row = grid_->rowCount();
    auto* text = new QLabel(label, this);
    text->setBuddy(field);
    grid_->addWidget(text, row, 0);
    grid_->addWidget(field, row, 1);
    if (beside) grid_->addWidget(beside, row, 2);
  }

  // The search starts on the first day of the month the from picker shows.
  void StartOnFirstOfMonth(std::u16string_view warning) {
    SYSTEMTIME first;
    const std::u16string american = SearchDateText(U16TextOf(from_->text()), europeanDates_);
    QDate date;
    if (DateTextToSystemTime(owner_, american, &first)) date = QDate(first.wYear, first.wMonth, 1);
    if (date.isValid() && date >= from_->minimumDate() && date <= from_->maximumDate()) {
      from_->setDate(date);
      return;
    }
    MessageBoxW(owner_, Format(warning, long(ERROR_INVALID_PARAMETER)), u"Error", MB_OK | MB_ICONEXCLAMATION);
  }

  std::u16string FromText() const { return U16TextOf(from_->text()); }
  std::u16string ToText() const { return U16TextOf(to_->text()); }

  // The search itself, shown on the status line while it runs.
  template <class Search>
  void SearchAndClose(Search search) {
    ClearDisplayedRecordList(list_);
    SetStatusText(PWH_STATUS_ACTIVITY, u"searching...");
    search();
    SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
    PwDialog::accept();
  }

  HWND owner_;
  RecordDatabases& databases_;
  bool europeanDates_;
  QGridLayout* grid_ = nullptr;
  QDateEdit* from_ = nullptr;
  QDateEdit* to_ = nullptr;
  RecordPositionList* list_;
};

class TimeSelectionDialog final : public SelectionDialog {
 public:
  TimeSelectionDialog(QWidget* owner, RecordDatabases& databases, bool europeanDates, RecordPositionList* list)
      : SelectionDialog(owner, QStringLiteral("Record Selection"), databases, europeanDates, list) {
    client_ = CriterionBox(IDC_FIND_CLIENT, PWH_PULLDOWN_CLIENT);
    project_ = CriterionBox(IDC_FIND_PROJECT, PWH_PULLDOWN_PROJECT);
    subproject_ = CriterionBox(IDC_FIND_SUBPROJECT, PWH_PULLDOWN_SUBPROJECT);
    task_ = CriterionBox(IDC_FIND_TASK, PWH_PULLDOWN_TASK);
    currency_ = CriterionBox(IDC_FIND_CURRENCY, PWH_PULLDOWN_CURRENCY);
    billable_ = CreateChoiceBox(IDC_FIND_BILLABLE_CHOICE, QStringLiteral("BillableBox"),
                                {PWH_ANY, PWH_CHOICE_BILLABLE, PWH_CHOICE_NOT_BILLABLE}, this);
    billed_ = CreateChoiceBox(IDC_FIND_BILLED_CHOICE, QStringLiteral("BilledBox"),
                              {PWH_ANY, PWH_CHOICE_BILLED, PWH_CHOICE_NOT_BILLED}, this);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/101_32.png")).pixmap(20, 20));
    AddRow(QStringLiteral("&Client"), client_);
    AddRow(QStringLiteral("&Project"), project_);
    AddRow(QStringLiteral("&Sub"), subproject_);
    AddRow(QStringLiteral("&Task"), task_);
    AddRow(QStringLiteral("C&urrency"), currency_, icon);
    AddRow(QStringLiteral("&Billable"), billable_);
    AddRow(QStringLiteral("B&illed"), billed_);
    AddRow(QStringLiteral("&From/To"), from_, to_);
    StartOnFirstOfMonth(u"Warning: date box initialization failed: error code: [%ld]: defaulting to todays date.");
    client_->setFocus();
    NameFieldsByLabels(this);
  }

  void accept() override {
    const TimeFindForm form{PulldownText(client_), PulldownText(project_), PulldownText(subproject_),
                            PulldownText(task_),   PulldownText(currency_), PulldownText(billable_),
                            PulldownText(billed_), FromText(),              ToText()};
    const TimeSelectionCriteria criteria = TimeCriteriaFromForm(form, europeanDates_);
    SearchAndClose([&] { MatchTimeRecords(list_, databases_.TimeDatabase, criteria); });
  }

 private:
  QComboBox *client_, *project_, *subproject_, *task_, *currency_, *billable_, *billed_;
};

class ExpenseSelectionDialog final : public SelectionDialog {
 public:
  ExpenseSelectionDialog(QWidget* owner, RecordDatabases& databases, bool europeanDates, RecordPositionList* list)
      : SelectionDialog(owner, QStringLiteral("Expense Record Selection"), databases, europeanDates, list) {
    client_ = CriterionBox(IDC_FIND_CLIENT, PWH_PULLDOWN_CLIENT);
    project_ = CriterionBox(IDC_FIND_PROJECT, PWH_PULLDOWN_PROJECT);
    description_ = CriterionBox(IDC_FIND_DESCRIPTION, PWH_PULLDOWN_DESCRIPTION);
    payment_ = CriterionBox(IDC_FIND_PAYMENT, PWH_PULLDOWN_PAYMENT);
    amount_ = CriterionBox(IDC_FIND_AMOUNT, PWH_PULLDOWN_AMOUNT);
    currency_ = CriterionBox(IDC_FIND_EXPENSE_CURRENCY, PWH_PULLDOWN_CURRENCY);
    // Sorted, as the list shows them: "<", "=", ">".
    comparison_ = new QComboBox(this);
    NameControl(comparison_, IDC_FIND_COMPARISON, QStringLiteral("ComparisonBox"));
    for (std::u16string_view text : {PWH_COMPARE_LESS, PWH_COMPARE_EQUAL, PWH_COMPARE_GREATER})
      comparison_->addItem(QTextOf(text));
    comparison_->setCurrentText(QTextOf(PWH_COMPARE_EQUAL));

    mileage_ = new ThreeStateBox(QStringLiteral("&mileage"), IDC_FIND_MILEAGE, this);
    billable_ = new ThreeStateBox(QStringLiteral("&billable"), IDC_FIND_BILLABLE, this);
    billed_ = new ThreeStateBox(QStringLiteral("b&illed"), IDC_FIND_BILLED, this);
    reimbursable_ = new ThreeStateBox(QStringLiteral("&reimbursable"), IDC_FIND_REIMBURSABLE, this);
    reimbursed_ = new ThreeStateBox(QStringLiteral("r&eimbursed"), IDC_FIND_REIMBURSED, this);
    receipt_ = new ThreeStateBox(QStringLiteral("recei&pt"), IDC_FIND_RECEIPT, this);
    for (ThreeStateBox* box : {mileage_, billable_, reimbursable_, receipt_}) box->setTri(PWH_TRI_EITHER);
    for (ThreeStateBox* box : {billed_, reimbursed_}) {
      box->setTri(PWH_TRI_NO);
      box->setEnabled(false);
    }
    PairBoxes(billable_, billed_);
    PairBoxes(reimbursable_, reimbursed_);

    auto* amountRow = new QHBoxLayout;
    amountRow->setContentsMargins(0, 0, 0, 0);
    amountRow->addWidget(comparison_);
    amountRow->addWidget(amount_, 1);
    auto* amountField = new QWidget(this);
    amountField->setLayout(amountRow);
    amountField->setFocusProxy(comparison_);

    AddRow(QStringLiteral("&Client"), client_);
    AddRow(QStringLiteral("Pro&ject"), project_);
    AddRow(QStringLiteral("&Desc"), description_);
    AddRow(QStringLiteral("Pa&yment"), payment_);
    AddRow(QStringLiteral("&Amount"), amountField);
    AddRow(QStringLiteral("C&urrency"), currency_);
    AddRow(QStringLiteral("&From"), from_);
    AddRow(QStringLiteral("&To"), to_);
    auto* flags = new QGridLayout;
    ThreeStateBox* const order[] = {mileage_, billable_, billed_, reimbursable_, reimbursed_, receipt_};
    for (int i = 0; i < 6; ++i) flags->addWidget(order[i], i % 3, i / 3);
    grid_->addLayout(flags, grid_->rowCount(), 1, 1, 2);
    StartOnFirstOfMonth(u"error: start date box initialization failed: error code: (%ld). Defaulting to todays date.");
    client_->setFocus();
    NameFieldsByLabels(this);
  }

  void accept() override {
    ExpenseFindForm form;
    form.client = PulldownText(client_), form.project = PulldownText(project_);
    form.description = PulldownText(description_), form.paymentType = PulldownText(payment_);
    form.currency = PulldownText(currency_), form.amount = PulldownText(amount_);
    form.comparison = U16TextOf(comparison_->currentText());
    form.mileage = mileage_->tri(), form.billable = billable_->tri(), form.billed = billed_->tri();
    form.reimbursable = reimbursable_->tri(), form.reimbursed = reimbursed_->tri(), form.receipt = receipt_->tri();
    form.from = FromText(), form.to = ToText();
    const ExpenseSelectionCriteria criteria = ExpenseCriteriaFromForm(form, europeanDates_);
    SearchAndClose([&] { MatchExpenseRecords(list_, databases_.ExpenseDatabase, criteria); });
  }

 private:
  QComboBox *client_, *project_, *description_, *payment_, *amount_, *currency_, *comparison_;
  ThreeStateBox *mileage_, *billable_, *billed_, *reimbursable_, *reimbursed_, *receipt_;
};

}  // namespace

QDialog* CreateTimeSelectionDialog(QWidget* owner, RecordDatabases& databases, bool europeanDates,
                                   RecordPositionList* list) {
  return new TimeSelectionDialog(owner, databases, europeanDates, list);
}

QDialog* CreateExpenseSelectionDialog(QWidget* owner, RecordDatabases& databases, bool europeanDates,
                                      RecordPositionList* list) {
  return new ExpenseSelectionDialog(owner, databases, europeanDates, list);
}

int RunSelectionDialog(HWND owner, RecordDatabases& databases, bool europeanDates, RecordPositionList* list) {
  QWidget* parent = FromHwnd(owner);
  return RunModal(databases.AppMode == PWH_TIME_MODE
                      ? CreateTimeSelectionDialog(parent, databases, europeanDates, list)
                      : CreateExpenseSelectionDialog(parent, databases, europeanDates, list));
}

}  // namespace pw
