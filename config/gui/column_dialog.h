// The "Column Configuration" dialog: hides, shows and reorders the list
// columns of one record kind, working on the column model at once.
#pragma once

#include "dialogs/gui/dialog_support.h"

#include "config/column_model.h"
#include "platform/types.h"

class QListWidget;

namespace pw {

class ColumnConfigDialog final : public PwDialog {
  Q_OBJECT

 public:
  ColumnConfigDialog(QWidget* owner, ColumnModel& model, ColumnRange range);

  QListWidget* hiddenList() const { return hidden_; }
  QListWidget* visibleList() const { return visible_; }

  // The four buttons, as the user presses them.
  void showSelected();
  void hideSelected();
  void moveSelectedUp();
  void moveSelectedDown();

 private:
  // Empties and refills both lists from the model.
  void refill();
  HWND self() { return HwndOf(this); }

  ColumnModel& model_;
  ColumnRange range_;
  QListWidget* hidden_ = nullptr;
  QListWidget* visible_ = nullptr;
};

// Runs the dialog modally over owner on the configuration's columns of the
// range; IDOK or IDCANCEL. Changes stay either way.
int RunColumnConfigDialog(HWND owner, ColumnModel& model, ColumnRange range);

}  // namespace pw
