// The "Pennywhistle Configuration" dialog: date and time forms, the six
// confirmation switches, and the default time and expense records with
// their "active" switches.
#pragma once

#include <array>

#include "config/app_config.h"
#include "dialogs/gui/dialog_support.h"

class QAbstractButton;
class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace pw {

class AppConfigDialog final : public PwDialog {
  Q_OBJECT

 public:
  // The default-record buttons load the default into the working record and
  // run its editor (an entry dialog) on it.
  AppConfigDialog(QWidget* owner, Settings& settings, TimeRecord& workingTime, ExpenseRecord& workingExpense,
                  DefaultRecordEditor timeEditor, DefaultRecordEditor expenseEditor,
                  const QString& awayUnavailable = {});

  // The choices as the controls show them now.
  AppConfigChoices choices() const;
  // True once a default record was replaced (it stays replaced after cancel).
  bool defaultReplaced() const { return defaultReplaced_; }

  void accept() override;

 private:
  void editDefaultTime();
  void editDefaultExpense();

  Settings& settings_;
  TimeRecord& workingTime_;
  ExpenseRecord& workingExpense_;
  DefaultRecordEditor timeEditor_;
  DefaultRecordEditor expenseEditor_;
  QRadioButton* european_ = nullptr;
  QRadioButton* army_ = nullptr;
  std::array<QCheckBox*, PWH_CONFIRMATION_COUNT> confirm_{};
  QCheckBox* timeActive_ = nullptr;
  QCheckBox* expenseActive_ = nullptr;
  QSpinBox* awayMinutes_ = nullptr;
  bool defaultReplaced_ = false;
};

// Runs the dialog modally over owner; IDOK or IDCANCEL. On OK the choices
// are in the settings. *defaultReplaced tells whether a default record was
// replaced meanwhile (whatever the ending). A non-empty awayUnavailable
// greys the "away" setting and says why.
int RunAppConfigDialog(HWND owner, Settings& settings, TimeRecord& workingTime, ExpenseRecord& workingExpense,
                       const DefaultRecordEditor& timeEditor, const DefaultRecordEditor& expenseEditor,
                       bool* defaultReplaced = nullptr, const QString& awayUnavailable = {});

}  // namespace pw
