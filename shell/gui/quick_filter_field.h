// The quick filter field of the tool bar ("Filter", Ctrl+K) and the totals
// part of the status line. Typing narrows the records shown (the core's
// quick filter, through Commands::QuickFilter); Escape clears the field and
// returns to the view. The field is highlighted while the records shown are
// narrowed by it or by a Find.
#pragma once

#include <QLineEdit>

class QLabel;
class QMainWindow;
class QStatusBar;
class QToolBar;

namespace pw {

class Program;

class QuickFilterField final : public QLineEdit {
 public:
  QuickFilterField(Program& program, QWidget* parent);
  // Highlighted or not, as the program's selection is narrowed or not.
  void ShowNarrowing();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // The texts to search are read on the way in, so that keys are quick.
  void focusInEvent(QFocusEvent* event) override;

 private:
  void FocusView();
  Program& program_;
};

// Adds the field at the end of the tool bar, reached with Ctrl+K anywhere in
// the window.
QuickFilterField* AddQuickFilter(Program& program, QMainWindow* window, QToolBar* tools);
// Adds the totals part at the right of the status line.
QLabel* AddTotalsPart(QStatusBar* bar);

}  // namespace pw
