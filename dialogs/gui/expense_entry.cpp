#include "dialogs/gui/expense_entry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>
#include <type_traits>

#include "dialogs/gui/dialog_support.h"
#include "platform/error_codes.h"
#include "platform/gui/control_names.h"
#include "platform/gui/hwnd.h"
#include "platform/host_port.h"
#include "storage/pulldowns.h"
#include "text/fixed_text.h"
#include "text/date_time.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {

namespace {

// Control identifiers of dialog 123; each control's object name.
enum : int {
  IDD_EXPENSE_ENTRY = 123,
  IDC_NOTE = 1000,
  IDC_DATE = 1063,
  IDC_CLIENT = 1056,
  IDC_PROJECT = 1017,
  IDC_DESCRIPTION = 1058,
  IDC_MILEAGE = 1016,
  IDC_MILES = 1071,
  IDC_RATE_LABEL = 1018,
  IDC_MILEAGE_RATE = 1070,
  IDC_PAYMENT = 1061,
  IDC_CURRENCY = 1059,
  IDC_AMOUNT = 1060,
  IDC_BILLABLE = 1073,
  IDC_BILLED = 1024,
  IDC_REIMBURSABLE = 1022,
  IDC_REIMBURSED = 1025,
  IDC_RECEIPT = 1026,
};

// The number a box holds ("%f"); 0 when it does not scan.
float BoxNumber(const QComboBox* box) {
  float value = 0;
  if (ScanFloat(PulldownText(box), &value) != 1) value = 0;
  return value;
}

class ExpenseEntryWindow final : public PwDialog {
 public:
  ExpenseEntryWindow(QWidget* owner, ExpenseRecord& record, int form, const EntryContext& context)
      : PwDialog(owner), record_(record), form_(form), context_(context) {
    NameControl(this, IDD_EXPENSE_ENTRY, QStringLiteral("ExpenseEntryDialog"));
    setWindowTitle(QStringLiteral("Pennywhistle Expense"));
    Build();
    Fill();
    // After Fill: the flags it sets are the record's, not the user's. A flag
    // changed by a click, a key or an accessibility client acts the same.
    connect(mileage_, &QCheckBox::toggled, this, [this](bool on) { MileageClicked(on); });
    connect(billable_, &QCheckBox::toggled, this, [this](bool on) { Pair(billed_, on); });
    connect(reimbursable_, &QCheckBox::toggled, this, [this](bool on) { Pair(reimbursed_, on); });
    NameFieldsByLabels(this);
    NameFieldAfter(miles_, mileage_->text());  // labelled by the check box before it
  }

  void reject() override {
    // A new record the user gave up on is gone; an edited one is the
    // caller's to drop.
    if (form_ == PWH_EXPENSE_ENTRY_NEW) ClearRecord(record_);
    PwDialog::reject();
  }

  void accept() override {
    ReadControls();
    OfferNewValues();
    PwDialog::accept();
  }

 private:
  QComboBox* Combo(int id, int category) {
    const QString name = NameFromLabel(QTextOf(FindPulldownCategory(category)->word), QStringLiteral("Box"));
    QComboBox* box = CreatePulldownBox(id, name, this);
    FillPulldownBox(HwndOf(this), context_.pulldowns, box, category);
    return box;
  }

  QCheckBox* Check(int id, const char* text) {
    auto* box = new QCheckBox(QString::fromLatin1(text), this);
    NameControl(box, id, NameFromLabel(box->text(), QStringLiteral("Check")));
    return box;
  }

  QLabel* Label(const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->setBuddy(buddy);
    return label;
  }

  void Build() {
    note_ = CreateDialogButton(QStringLiteral("&Note"), IDC_NOTE, this);
    SetBoldFont(note_);
    date_ = new QDateEdit(this);
    NameControl(date_, IDC_DATE, QStringLiteral("DateBox"));
    date_->setCalendarPopup(true);
    // The picker's form follows the date setting: 4-digit years, as the stored dates have them.
    date_->setDisplayFormat(context_.settings.europeanDates() ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM/dd/yyyy"));
    std::u16string today;
    TodayText(&today);
    date_->setDate(PickerDate(today));

    client_ = Combo(IDC_CLIENT, PWH_PULLDOWN_CLIENT);
    project_ = Combo(IDC_PROJECT, PWH_PULLDOWN_PROJECT);
    description_ = Combo(IDC_DESCRIPTION, PWH_PULLDOWN_DESCRIPTION);
    mileage_ = Check(IDC_MILEAGE, "&Miles:");
    mileage_->setLayoutDirection(Qt::RightToLeft);  // its text on the left
    miles_ = Combo(IDC_MILES, PWH_PULLDOWN_MILEAGE);
    mileageRate_ = Combo(IDC_MILEAGE_RATE, PWH_PULLDOWN_MILEAGE_RATE);
    rateLabel_ = Label("R&ate:", mileageRate_);
    NameControl(rateLabel_, IDC_RATE_LABEL, QStringLiteral("MileageRateLabel"));
    payment_ = Combo(IDC_PAYMENT, PWH_PULLDOWN_PAYMENT);
    currency_ = Combo(IDC_CURRENCY, PWH_PULLDOWN_CURRENCY);
    amount_ = Combo(IDC_AMOUNT, PWH_PULLDOWN_AMOUNT);
    for (QComboBox* box : {miles_, mileageRate_, amount_}) MakeNumberBox(box);
    billable_ = Check(IDC_BILLABLE, "&billable");
    billed_ = Check(IDC_BILLED, "bill&ed");
    reimbursable_ = Check(IDC_REIMBURSABLE, "&reimbursable");
    reimbursed_ = Check(IDC_REIMBURSED, "reimburse&d");
    receipt_ = Check(IDC_RECEIPT, "rece&ipt");
    for (QWidget* w : {static_cast<QWidget*>(miles_), static_cast<QWidget*>(mileageRate_),
                       static_cast<QWidget*>(rateLabel_), static_cast<QWidget*>(billed_),
                       static_cast<QWidget*>(reimbursed_)})
      w->setEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(date_, 1);
    top->addWidget(note_);

    auto* grid = new QGridLayout;
    int row = 0;
    const std::pair<const char*, QComboBox*> texts[] = {
        {"&Client:", client_}, {"Pro&ject:", project_}, {"De&scription:", description_}};
    for (const auto& [text, box] : texts) {
      grid->addWidget(Label(text, box), row, 0);
      grid->addWidget(box, row++, 1, 1, 3);
    }
    grid->addWidget(mileage_, row, 0);
    grid->addWidget(miles_, row, 1);
    grid->addWidget(rateLabel_, row, 2);
    grid->addWidget(mileageRate_, row++, 3);
    grid->addWidget(Label("&Payment:", payment_), row, 0);
    grid->addWidget(payment_, row, 1);
    grid->addWidget(Label("Cc&y:", currency_), row, 2);
    grid->addWidget(currency_, row++, 3);
    grid->addWidget(Label("Am&ount:", amount_), row, 0);
    grid->addWidget(amount_, row++, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* flags = new QGridLayout;
    flags->addWidget(billable_, 0, 0);
    flags->addWidget(billed_, 0, 1);
    flags->addWidget(receipt_, 0, 2);
    flags->addWidget(reimbursable_, 1, 0);
    flags->addWidget(reimbursed_, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid);
    layout->addLayout(flags);
    layout->addWidget(CreateOkCancelButtons(this));

    // Reading order for Tab.
    QWidget* order[] = {date_, note_, client_, project_, description_, mileage_, miles_, mileageRate_,
                        payment_, currency_, amount_, billable_, billed_, receipt_, reimbursable_, reimbursed_};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(note_, &QPushButton::clicked, this, [this] { EditNote(HwndOf(this), record_.notes); });
    for (QComboBox* box : {miles_, mileageRate_})
      connect(box, &QComboBox::currentTextChanged, this, [this] { ComputeMileageAmount(); });
    client_->setFocus();
  }

  // A flag that only counts when the first of its pair is set.
  static void Pair(QCheckBox* second, bool firstOn) {
    if (!firstOn) second->setChecked(false);
    second->setEnabled(firstOn);
  }

  void SetMileageControls(bool on) {
    miles_->setEnabled(on);
    mileageRate_->setEnabled(on);
    rateLabel_->setEnabled(on);
    amount_->setEnabled(!on);
  }

  void MileageClicked(bool on) {
    if (on) {
      SetMileageControls(true);
      SetPulldownText(amount_, u"0.00");
    } else {
      for (QComboBox* box : {miles_, mileageRate_, amount_}) SetPulldownText(box, u"");
      SetMileageControls(false);
    }
  }

  void ComputeMileageAmount() {
    if (!mileage_->isChecked()) return;
    const float amount = BoxNumber(miles_) * BoxNumber(mileageRate_);
    SetPulldownText(amount_, Format(u"%.2f", amount));
  }

  // A stored date the picker cannot show leaves it on today, with a warning.
  void ShowStoredDate(std::u16string_view text) {
    const QDate date = PickerDate(text);
    if (date.isValid()) {
      date_->setDate(date);
      return;
    }
    MessageBoxW(HwndOf(this),
                Format(u"Warning: Windows CE date box initialization failed: code: [%ld].\n\nDefaulting to todays date.",
                       long(ERROR_INVALID_PARAMETER)),
                u"Error", MB_OK | MB_ICONEXCLAMATION);
  }

  // The picker's date for a stored date text; invalid when the text is no date.
  QDate PickerDate(std::u16string_view text) {
    SYSTEMTIME day{};
    if (!DateTextToSystemTime(HwndOf(this), text, &day)) return QDate();
    return QDate(day.wYear, day.wMonth, day.wDay);
  }

  void Fill() {
    const ExpenseRecord& r = record_;
    if (form_ == PWH_EXPENSE_ENTRY_NEW) return;
    if (form_ == PWH_EXPENSE_ENTRY_EDIT) ShowStoredDate(TextOf(r.date));
    SetPulldownText(client_, TextOf(r.client));
    SetPulldownText(project_, TextOf(r.project));
    SetPulldownText(description_, TextOf(r.description));
    if (r.mileage) {
      SetMileageControls(true);
      mileage_->setChecked(true);
      SetPulldownText(miles_, TextOf(r.miles));
      SetPulldownText(mileageRate_, TextOf(r.mileageRate));
    }
    SetPulldownText(payment_, TextOf(r.paymentType));
    SetPulldownText(currency_, TextOf(r.currency));
    // The stored amount stands as stored, even where miles x rate would differ.
    SetPulldownText(amount_, TextOf(r.amount));
    if (r.billable) {
      billable_->setChecked(true);
      billed_->setEnabled(true);
      billed_->setChecked(r.billed);
    }
    if (r.reimbursable) {
      reimbursable_->setChecked(true);
      reimbursed_->setEnabled(true);
      reimbursed_->setChecked(r.reimbursed);
    }
    receipt_->setChecked(r.receipt);
  }

  void ReadControls() {
    ExpenseRecord& r = record_;
    // The picker's text, turned back into the stored American order.
    std::u16string date = U16TextOf(date_->text()).substr(0, 15);
    if (context_.settings.europeanDates()) EuropeanToAmericanDate(std::u16string(date), &date);
    CopyText(r.date, date);
    CopyText(r.client, PulldownText(client_));
    CopyText(r.project, PulldownText(project_));
    CopyText(r.description, PulldownText(description_));
    // Unchecked, the mileage fields keep what the record held.
    r.mileage = mileage_->isChecked();
    if (r.mileage) {
      CopyText(r.miles, PulldownText(miles_));
      CopyText(r.mileageRate, PulldownText(mileageRate_));
    }
    CopyText(r.paymentType, PulldownText(payment_));
    CopyText(r.currency, PulldownText(currency_));
    CopyText(r.amount, PulldownText(amount_));
    r.billable = billable_->isChecked();
    r.billed = billed_->isChecked();
    r.reimbursable = reimbursable_->isChecked();
    r.reimbursed = reimbursed_->isChecked();
    r.receipt = receipt_->isChecked();
  }

  // Every value not yet in its pulldown list is offered for adding, in this order.
  void OfferNewValues() {
    const ExpenseRecord& r = record_;
    const std::pair<const char16_t*, int> values[] = {
        {r.client, PWH_PULLDOWN_CLIENT},         {r.project, PWH_PULLDOWN_PROJECT},
        {r.description, PWH_PULLDOWN_DESCRIPTION}, {r.miles, PWH_PULLDOWN_MILEAGE},
        {r.mileageRate, PWH_PULLDOWN_MILEAGE_RATE}, {r.paymentType, PWH_PULLDOWN_PAYMENT},
        {r.currency, PWH_PULLDOWN_CURRENCY},     {r.amount, PWH_PULLDOWN_AMOUNT},
    };
    PulldownValue offered[std::extent_v<decltype(values)>];
    for (std::size_t i = 0; i < std::size(offered); ++i) offered[i] = {values[i].second, TextOf(values[i].first)};
    OfferNewPulldownValues(HwndOf(this), context_.pulldowns, offered, context_.settings.confirmAddPulldownItem());
  }

  ExpenseRecord& record_;
  const int form_;
  const EntryContext context_;
  QPushButton* note_ = nullptr;
  QDateEdit* date_ = nullptr;
  QComboBox *client_ = nullptr, *project_ = nullptr, *description_ = nullptr;
  QCheckBox* mileage_ = nullptr;
  QComboBox *miles_ = nullptr, *mileageRate_ = nullptr;
  QLabel* rateLabel_ = nullptr;
  QComboBox *payment_ = nullptr, *currency_ = nullptr, *amount_ = nullptr;
  QCheckBox *billable_ = nullptr, *billed_ = nullptr, *reimbursable_ = nullptr, *reimbursed_ = nullptr,
            *receipt_ = nullptr;
};

}  // namespace

QDialog* CreateExpenseEntryDialog(QWidget* owner, ExpenseRecord& record, int form, const EntryContext& context) {
  return new ExpenseEntryWindow(owner, record, form, context);
}

int ExpenseEntryDialog(HWND owner, int form, ExpenseRecord& record, const EntryContext& context) {
  return RunModal(CreateExpenseEntryDialog(FromHwnd(owner), record, form, context));
}

}  // namespace pw
