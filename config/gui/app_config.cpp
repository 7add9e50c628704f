#include "config/gui/app_config.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <type_traits>

#include "platform/gui/control_names.h"
#include "platform/gui/hwnd.h"
#include "platform/host_port.h"

namespace pw {

namespace {

// Labels of the confirmation boxes 1041..1046, with their mnemonics.
constexpr const char* kConfirmLabels[PWH_CONFIRMATION_COUNT] = {
    "c&opy", "&delete", "mark &billed", "mark re&imbursed", "add &pulldown item", "delete pu&lldown item"};

template <class Widget>
Widget* Control(QWidget* parent, int id, const char* text) {
  auto* w = new Widget(QString::fromUtf8(text), parent);
  const char* kind = std::is_same_v<Widget, QRadioButton> ? "Choice" : "Check";
  NameControl(w, id, NameFromLabel(QString::fromUtf8(text), QString::fromLatin1(kind)));
  return w;
}

// A pair of exclusive radio buttons after a label; the first is chosen unless second is.
QHBoxLayout* RadioPair(QWidget* parent, const char* label, QRadioButton* first, QRadioButton* second, bool secondChosen) {
  auto* group = new QButtonGroup(parent);
  group->addButton(first);
  group->addButton(second);
  (secondChosen ? second : first)->setChecked(true);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QString::fromUtf8(label), parent));
  row->addWidget(first);
  row->addWidget(second);
  row->addStretch();
  return row;
}

}  // namespace

AppConfigDialog::AppConfigDialog(QWidget* owner, Settings& settings, TimeRecord& workingTime,
                                 ExpenseRecord& workingExpense, DefaultRecordEditor timeEditor,
                                 DefaultRecordEditor expenseEditor, const QString& awayUnavailable)
    : PwDialog(owner),
      settings_(settings),
      workingTime_(workingTime),
      workingExpense_(workingExpense),
      timeEditor_(std::move(timeEditor)),
      expenseEditor_(std::move(expenseEditor)) {
  NameControl(this, IDD_APP_CONFIG, QStringLiteral("ApplicationConfigurationDialog"));
  setWindowTitle(QStringLiteral("Pennywhistle Configuration"));
  const AppConfigChoices shown = ReadAppConfigChoices(settings);

  auto* american = Control<QRadioButton>(this, IDC_CONFIG_AMERICAN, "&American");
  european_ = Control<QRadioButton>(this, IDC_CONFIG_EUROPEAN, "&European");
  auto* ampm = Control<QRadioButton>(this, IDC_CONFIG_AMPM, "A&M/PM");
  army_ = Control<QRadioButton>(this, IDC_CONFIG_ARMY, "A&rmy");

  auto* confirmations = new QGroupBox(QStringLiteral("Confirmation Dialogs"), this);
  auto* confirmGrid = new QGridLayout(confirmations);
  for (int i = 0; i < PWH_CONFIRMATION_COUNT; ++i) {
    QCheckBox*& box = confirm_[std::size_t(i)];
    box = Control<QCheckBox>(confirmations, IDC_CONFIG_CONFIRM_COPY + i, kConfirmLabels[i]);
    box->setChecked(shown.confirm[std::size_t(i)]);
    confirmGrid->addWidget(box, i / 2, i % 2);
  }

  QPushButton* defaultTime = CreateDialogButton(QStringLiteral("Default &Time Record"), IDC_CONFIG_DEFAULT_TIME, this);
  QPushButton* defaultExpense =
      CreateDialogButton(QStringLiteral("Default E&xpense Record"), IDC_CONFIG_DEFAULT_EXPENSE, this);
  timeActive_ = Control<QCheckBox>(this, IDC_CONFIG_TIME_ACTIVE, "acti&ve");
  expenseActive_ = Control<QCheckBox>(this, IDC_CONFIG_EXPENSE_ACTIVE, "a&ctive");
  timeActive_->setChecked(shown.defaultTimeActive);
  expenseActive_->setChecked(shown.defaultExpenseActive);
  connect(defaultTime, &QPushButton::clicked, this, &AppConfigDialog::editDefaultTime);
  connect(defaultExpense, &QPushButton::clicked, this, &AppConfigDialog::editDefaultExpense);

  auto* defaults = new QGridLayout;
  defaults->addWidget(defaultTime, 0, 0);
  defaults->addWidget(timeActive_, 0, 1);
  defaults->addWidget(defaultExpense, 1, 0);
  defaults->addWidget(expenseActive_, 1, 1);
  defaults->setColumnStretch(2, 1);

  // "Ask when I am away for N minutes", greyed with the reason where the
  // desktop does not tell how long the user has been away.
  auto* awayLabel = new QLabel(QStringLiteral("Ask when I am a&way for"), this);
  awayMinutes_ = new QSpinBox(this);
  awayMinutes_->setRange(0, PWH_MAX_AWAY_MINUTES);
  awayMinutes_->setValue(shown.awayMinutes);
  awayMinutes_->setSpecialValueText(QStringLiteral("never"));
  NameControl(awayMinutes_, IDC_CONFIG_AWAY_MINUTES, QStringLiteral("AwayMinutesBox"));
  awayMinutes_->setAccessibleName(QStringLiteral("Ask when I am away for"));
  awayLabel->setBuddy(awayMinutes_);
  auto* minutesLabel = new QLabel(QStringLiteral("minutes"), this);
  auto* away = new QHBoxLayout;
  away->addWidget(awayLabel);
  away->addWidget(awayMinutes_);
  away->addWidget(minutesLabel);
  away->addStretch();
  QLabel* awayReason = nullptr;
  if (!awayUnavailable.isEmpty()) {
    for (QWidget* w : {static_cast<QWidget*>(awayLabel), static_cast<QWidget*>(awayMinutes_),
                       static_cast<QWidget*>(minutesLabel)})
      w->setEnabled(false);
    awayReason = new QLabel(awayUnavailable, this);
    awayReason->setObjectName(QStringLiteral("AwayUnavailable"));
    awayReason->setWordWrap(true);
    awayReason->setEnabled(false);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(RadioPair(this, "Date Format:", american, european_, shown.europeanDates));
  layout->addLayout(RadioPair(this, "Time Format:", ampm, army_, shown.armyTimes));
  layout->addWidget(confirmations);
  layout->addLayout(defaults);
  layout->addLayout(away);
  if (awayReason) layout->addWidget(awayReason);
  layout->addWidget(CreateOkCancelButtons(this));
  (shown.europeanDates ? european_ : american)->setFocus();
}

AppConfigChoices AppConfigDialog::choices() const {
  AppConfigChoices c;
  c.europeanDates = european_->isChecked();
  c.armyTimes = army_->isChecked();
  for (std::size_t i = 0; i < confirm_.size(); ++i) c.confirm[i] = confirm_[i]->isChecked();
  c.defaultTimeActive = timeActive_->isChecked();
  c.defaultExpenseActive = expenseActive_->isChecked();
  c.awayMinutes = awayMinutes_->value();
  return c;
}

void AppConfigDialog::editDefaultTime() {
  if (EditDefaultTimeRecord(HwndOf(this), settings_, workingTime_, timeEditor_)) defaultReplaced_ = true;
}

void AppConfigDialog::editDefaultExpense() {
  if (EditDefaultExpenseRecord(HwndOf(this), settings_, workingExpense_, expenseEditor_)) defaultReplaced_ = true;
}

void AppConfigDialog::accept() {
  ApplyAppConfigChoices(settings_, choices());
  PwDialog::accept();
}

int RunAppConfigDialog(HWND owner, Settings& settings, TimeRecord& workingTime, ExpenseRecord& workingExpense,
                       const DefaultRecordEditor& timeEditor, const DefaultRecordEditor& expenseEditor,
                       bool* defaultReplaced, const QString& awayUnavailable) {
  auto* dialog = new AppConfigDialog(FromHwnd(owner), settings, workingTime, workingExpense, timeEditor,
                                     expenseEditor, awayUnavailable);
  // The dialog tells whether a default was replaced before it is deleted.
  if (defaultReplaced)
    QObject::connect(dialog, &QDialog::finished, [dialog, defaultReplaced] { *defaultReplaced = dialog->defaultReplaced(); });
  return RunModal(dialog) == IDOK ? IDOK : IDCANCEL;
}

}  // namespace pw
