#include "config/gui/column_dialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "config/column_dialog.h"
#include "platform/gui/control_names.h"
#include "platform/host_port.h"
#include "platform/gui/hwnd.h"

namespace pw {

namespace {

QListWidget* ColumnList(QWidget* parent, int id, const QString& name) {
  auto* list = new QListWidget(parent);
  NameControl(list, id, name);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

QPushButton* Button(QWidget* parent, int id, const QString& text, const QKeySequence& key, const QString& tip) {
  QPushButton* button = CreateDialogButton(text, id, parent);
  button->setToolTip(QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText)));
  auto* shortcut = new QAction(button);
  shortcut->setShortcut(key);
  QObject::connect(shortcut, &QAction::triggered, button, &QPushButton::click);
  parent->addAction(shortcut);
  return button;
}

void Select(QListWidget* list, int row) {
  if (row >= 0 && row < list->count()) {
    list->setCurrentRow(row);
  } else {
    list->clearSelection();
    list->setCurrentRow(-1);
  }
}

}  // namespace

ColumnConfigDialog::ColumnConfigDialog(QWidget* owner, ColumnModel& model, ColumnRange range)
    : PwDialog(owner), model_(model), range_(range) {
  NameControl(this, IDD_COLUMN_CONFIG, QStringLiteral("ColumnConfigurationDialog"));
  setWindowTitle(QStringLiteral("Column Configuration"));

  hidden_ = ColumnList(this, IDC_COLUMNS_HIDDEN, QStringLiteral("HiddenColumnsList"));
  visible_ = ColumnList(this, IDC_COLUMNS_VISIBLE, QStringLiteral("ShownColumnsList"));
  auto* hiddenLabel = new QLabel(QStringLiteral("&Hidden"), this);
  hiddenLabel->setBuddy(hidden_);
  auto* visibleLabel = new QLabel(QStringLiteral("&Visible"), this);
  visibleLabel->setBuddy(visible_);

  auto* show = Button(this, IDC_COLUMNS_SHOW, QStringLiteral(">>"), QKeySequence(Qt::CTRL | Qt::Key_Right),
                      QStringLiteral("Show the column chosen on the left"));
  auto* hide = Button(this, IDC_COLUMNS_HIDE, QStringLiteral("<<"), QKeySequence(Qt::CTRL | Qt::Key_Left),
                      QStringLiteral("Hide the column chosen on the right"));
  auto* up = Button(this, IDC_COLUMNS_UP, QStringLiteral("&Up"), QKeySequence(Qt::CTRL | Qt::Key_Up),
                    QStringLiteral("Move the column left"));
  auto* down = Button(this, IDC_COLUMNS_DOWN, QStringLiteral("&Down"), QKeySequence(Qt::CTRL | Qt::Key_Down),
                      QStringLiteral("Move the column right"));
  connect(show, &QPushButton::clicked, this, &ColumnConfigDialog::showSelected);
  connect(hide, &QPushButton::clicked, this, &ColumnConfigDialog::hideSelected);
  connect(up, &QPushButton::clicked, this, &ColumnConfigDialog::moveSelectedUp);
  connect(down, &QPushButton::clicked, this, &ColumnConfigDialog::moveSelectedDown);
  // A double click moves a column to the other side.
  connect(hidden_, &QListWidget::itemDoubleClicked, this, &ColumnConfigDialog::showSelected);
  connect(visible_, &QListWidget::itemDoubleClicked, this, &ColumnConfigDialog::hideSelected);

  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {show, hide}) buttons->addWidget(b);
  buttons->addSpacing(fontMetrics().height());
  for (QPushButton* b : {up, down}) buttons->addWidget(b);
  buttons->addStretch();

  auto* grid = new QGridLayout;
  grid->addWidget(hiddenLabel, 0, 0);
  grid->addWidget(visibleLabel, 0, 2);
  grid->addWidget(hidden_, 1, 0);
  grid->addLayout(buttons, 1, 1);
  grid->addWidget(visible_, 1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(CreateOkCancelButtons(this));

  setTabOrder(hidden_, show);
  setTabOrder(show, hide);
  setTabOrder(hide, up);
  setTabOrder(up, down);
  setTabOrder(down, visible_);
  refill();
  visible_->setFocus();
}

void ColumnConfigDialog::refill() {
  const ColumnLists lists = ColumnDialogLists(model_, range_);
  hidden_->clear();
  visible_->clear();
  for (const auto& name : lists.hidden) hidden_->addItem(QTextOf(name));
  for (const auto& name : lists.visible) visible_->addItem(QTextOf(name));
}

void ColumnConfigDialog::showSelected() {
  const QListWidgetItem* item = hidden_->currentItem();
  const std::u16string name = item && item->isSelected() ? U16TextOf(item->text()) : std::u16string();
  if (!ShowHiddenColumn(self(), model_, range_, item && item->isSelected() ? &name : nullptr)) return;
  const int row = hidden_->currentRow();
  refill();
  // The column just shown stays chosen, now at the right end; the left
  // list keeps its place for the next one.
  Select(visible_, visible_->count() - 1);
  Select(hidden_, std::min(row, hidden_->count() - 1));
}

void ColumnConfigDialog::hideSelected() {
  const QListWidgetItem* item = visible_->currentItem();
  const int line = item && item->isSelected() ? visible_->currentRow() : -1;
  const QString name = item ? item->text() : QString();
  if (!HideVisibleColumn(self(), model_, range_, line)) return;
  refill();
  const auto found = hidden_->findItems(name, Qt::MatchExactly);
  if (!found.isEmpty()) hidden_->setCurrentItem(found.first());
  Select(visible_, std::min(line, visible_->count() - 1));
}

void ColumnConfigDialog::moveSelectedUp() {
  const QListWidgetItem* item = visible_->currentItem();
  const int line = item && item->isSelected() ? visible_->currentRow() : -1;
  const int next = MoveVisibleColumnUp(self(), model_, range_, line);
  if (line < 0) return;
  refill();
  Select(visible_, next);
}

void ColumnConfigDialog::moveSelectedDown() {
  const QListWidgetItem* item = visible_->currentItem();
  const int line = item && item->isSelected() ? visible_->currentRow() : -1;
  const int next = MoveVisibleColumnDown(self(), model_, range_, line);
  if (line < 0) return;
  refill();
  Select(visible_, next);
}

int RunColumnConfigDialog(HWND owner, ColumnModel& model, ColumnRange range) {
  return RunModal(new ColumnConfigDialog(FromHwnd(owner), model, range)) == IDOK ? IDOK : IDCANCEL;
}

}  // namespace pw
