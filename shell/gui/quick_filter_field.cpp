#include "shell/gui/quick_filter_field.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include "selection/quick_filter.h"
#include "shell/gui/program.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_node_view.h"

namespace pw {

namespace {

constexpr int kFieldWidthInCharacters = 18;
// The field's background while a filter or a Find narrows the records.
const QColor kNarrowedBackground(255, 244, 176);

}  // namespace

QuickFilterField::QuickFilterField(Program& program, QWidget* parent) : QLineEdit(parent), program_(program) {
  setObjectName(QStringLiteral("QuickFilter"));
  setPlaceholderText(QStringLiteral("Filter"));
  setAccessibleName(QStringLiteral("Filter"));
  setToolTip(QStringLiteral("Filter (Ctrl+K)"));
  setClearButtonEnabled(true);
  setMaximumWidth(fontMetrics().averageCharWidth() * kFieldWidthInCharacters);
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    // The view made anew takes the focus; typing goes on here.
    const bool typing = hasFocus();
    program_.commands().QuickFilter(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                        std::size_t(text.size())));
    if (typing) setFocus(Qt::OtherFocusReason);
    ShowNarrowing();
  });
}

void QuickFilterField::ShowNarrowing() {
  QPalette colours = palette();
  const bool narrowed = NarrowingInForce(program_.state());
  colours.setColor(QPalette::Base, narrowed ? kNarrowedBackground : QPalette().color(QPalette::Base));
  setPalette(colours);
}

void QuickFilterField::FocusView() {
  const AppState& s = program_.state();
  if (s.ListViewWindow) s.ListViewWindow->setFocus(Qt::OtherFocusReason);
  else if (s.MixedListWindow) s.MixedListWindow->setFocus(Qt::OtherFocusReason);
  else if (s.TreeViewWindow) s.TreeViewWindow->setFocus(Qt::OtherFocusReason);
  else if (s.ReportListWindow) s.ReportListWindow->setFocus(Qt::OtherFocusReason);
}

void QuickFilterField::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    clear();
    FocusView();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void QuickFilterField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  AppState& s = program_.state();
  if (s.Configuration && (s.ListViewWindow || s.MixedListWindow || s.TreeViewWindow)) PrepareQuickFilter(s, s);
}

QuickFilterField* AddQuickFilter(Program& program, QMainWindow* window, QToolBar* tools) {
  auto* field = new QuickFilterField(program, tools);
  tools->addSeparator();
  tools->addWidget(field);
  auto* reach = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), window);
  QObject::connect(reach, &QShortcut::activated, field, [field] {
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
  });
  return field;
}

QLabel* AddTotalsPart(QStatusBar* bar) {
  auto* part = new QLabel(bar);
  part->setObjectName(QStringLiteral("TotalsStatus"));
  part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  part->setIndent(3);
  bar->addPermanentWidget(part);
  return part;
}

}  // namespace pw
