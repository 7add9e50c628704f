// "Pulldown Properties": one tab per pulldown list category, in the category
// table's order, on which the user lists, adds and deletes values. Every
// change goes to the configuration database at once.
#pragma once

#include <QWidget>

#include "dialogs/gui/dialog_support.h"

#include "platform/types.h"

class QLineEdit;
class QListWidget;
class QTabWidget;

namespace pw {

// One page: the edit box for a new value, "Add", "Delete" and the sorted
// list of the category's values (filled when the page is first shown).
class PulldownPage final : public QWidget {
  Q_OBJECT

 public:
  PulldownPage(QWidget* parent, int categoryId, const EntryContext& context);

  int categoryId() const { return categoryId_; }
  QLineEdit* newValue() const { return edit_; }
  QListWidget* values() const { return list_; }
  bool filled() const { return filled_; }

  // Reads the category's values into the list, once.
  void fill();
  void add();
  void deleteSelected();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Puts a value in its sorted place (letter case ignored, as a sorted list box does).
  void insertSorted(const QString& text);

  int categoryId_;
  const EntryContext context_;
  QLineEdit* edit_ = nullptr;
  QListWidget* list_ = nullptr;
  bool filled_ = false;
};

class PulldownPropertiesDialog final : public PwDialog {
  Q_OBJECT

 public:
  // The pages work on the pulldown lists; the settings say whether adding and
  // deleting values ask first.
  PulldownPropertiesDialog(QWidget* owner, DatabaseHandle& pulldowns, const Settings& settings);

  QTabWidget* pages() const { return tabs_; }
  PulldownPage* page(int index) const;

 private:
  QTabWidget* tabs_ = nullptr;
};

// Runs the editor modally over owner (the main window).
void ShowPulldownProperties(HWND owner, DatabaseHandle& pulldowns, const Settings& settings);

}  // namespace pw
