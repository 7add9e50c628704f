#include "dialogs/gui/pulldown_properties.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/pulldown_properties.h"
#include "platform/gui/control_names.h"
#include "platform/host_port.h"
#include "platform/gui/hwnd.h"
#include "storage/pulldowns.h"

namespace pw {

namespace {

std::u16string_view View(const QString& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
}

bool SortsBefore(const QString& a, const QString& b) {
  const int folded = a.compare(b, Qt::CaseInsensitive);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

PulldownPage::PulldownPage(QWidget* parent, int categoryId, const EntryContext& context)
    : QWidget(parent), categoryId_(categoryId), context_(context) {
  NameControl(this, IDD_PULLDOWN_PAGE, QStringLiteral("PulldownPage"));
  edit_ = new QLineEdit(this);
  NameControl(edit_, IDC_PULLDOWN_NEW_VALUE, QStringLiteral("NewValueBox"));
  edit_->setMaxLength(int(PWH_PULLDOWN_VALUE_LIMIT));
  edit_->installEventFilter(this);
  QPushButton* addButton = CreateDialogButton(QStringLiteral("&Add"), IDC_PULLDOWN_ADD, this);
  QPushButton* deleteButton = CreateDialogButton(QStringLiteral("&Delete"), IDC_PULLDOWN_DELETE, this);
  list_ = new QListWidget(this);
  NameControl(list_, IDC_PULLDOWN_VALUES, QStringLiteral("ValuesList"));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setUniformItemSizes(true);
  list_->installEventFilter(this);
  connect(addButton, &QPushButton::clicked, this, &PulldownPage::add);
  connect(deleteButton, &QPushButton::clicked, this, &PulldownPage::deleteSelected);

  auto* layout = new QGridLayout(this);
  layout->addWidget(edit_, 0, 0);
  layout->addWidget(addButton, 0, 1);
  layout->addWidget(list_, 1, 0);
  auto* side = new QVBoxLayout;
  side->addWidget(deleteButton);
  side->addStretch();
  layout->addLayout(side, 1, 1);
  setFocusProxy(edit_);
}

void PulldownPage::fill() {
  if (filled_) return;
  filled_ = true;
  QStringList values;
  InitPulldownList(HwndOf(this), context_.pulldowns, [&values](std::u16string_view t) { values.append(QTextOf(t)); },
                   categoryId_);
  std::stable_sort(values.begin(), values.end(), SortsBefore);
  list_->addItems(values);
}

void PulldownPage::insertSorted(const QString& text) {
  int low = 0, high = list_->count();
  while (low < high) {
    const int mid = (low + high) / 2;
    if (SortsBefore(text, list_->item(mid)->text()))
      high = mid;
    else
      low = mid + 1;
  }
  list_->insertItem(low, text);
  list_->setCurrentRow(low);
}

void PulldownPage::add() {
  const QString text = edit_->text();
  switch (AddPulldownValue(HwndOf(this), context_.pulldowns, categoryId_, View(text),
                           context_.settings.confirmAddPulldownItem())) {
    case PulldownAdd::Added:
      insertSorted(text.left(int(PWH_PULLDOWN_VALUE_LIMIT)));
      edit_->clear();
      break;
    case PulldownAdd::Declined:
      edit_->clear();
      break;
    case PulldownAdd::Empty:
    case PulldownAdd::Listed:
      break;
  }
  edit_->setFocus();
}

void PulldownPage::deleteSelected() {
  const QListWidgetItem* item = list_->currentItem();
  const int row = item && item->isSelected() ? list_->currentRow() : -1;
  const QString text = row >= 0 ? item->text() : QString();
  const auto removeLine = [this, row] { delete list_->takeItem(row); };
  if (DeletePulldownValue(HwndOf(this), context_.pulldowns, categoryId_, row, View(text),
                          context_.settings.confirmDeletePulldownItem(), removeLine) == PulldownDelete::Removed &&
      list_->count() > 0)
    list_->setCurrentRow(std::min(row, list_->count() - 1));
}

bool PulldownPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Enter in a filled edit box adds the value rather than closing the editor.
    if (watched == edit_ && (key == Qt::Key_Return || key == Qt::Key_Enter) && !edit_->text().isEmpty()) {
      add();
      return true;
    }
    if (watched == list_ && key == Qt::Key_Delete) {
      deleteSelected();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

PulldownPropertiesDialog::PulldownPropertiesDialog(QWidget* owner, DatabaseHandle& pulldowns,
                                                   const Settings& settings)
    : PwDialog(owner) {
  setWindowTitle(QStringLiteral("Pulldown Properties"));
  tabs_ = new QTabWidget(this);
  for (int id : PulldownPageCategories)
    tabs_->addTab(new PulldownPage(tabs_, id, {pulldowns, settings}), QTextOf(FindPulldownCategory(id)->pageTitle));
  // Each page reads its values when it is first shown.
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (PulldownPage* p = page(index)) p->fill();
  });
  page(0)->fill();

  // Ctrl+PgUp / Ctrl+PgDown step through the pages, wherever the focus is.
  auto step = [this](int by) {
    const int n = tabs_->count();
    tabs_->setCurrentIndex((tabs_->currentIndex() + by + n) % n);
    tabs_->currentWidget()->setFocus();
  };
  auto* previous = new QAction(this);
  previous->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
  connect(previous, &QAction::triggered, this, [step] { step(-1); });
  auto* next = new QAction(this);
  next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
  connect(next, &QAction::triggered, this, [step] { step(1); });
  addAction(previous);
  addAction(next);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(CreateOkCancelButtons(this));
  tabs_->currentWidget()->setFocus();
}

PulldownPage* PulldownPropertiesDialog::page(int index) const {
  return qobject_cast<PulldownPage*>(tabs_->widget(index));
}

void ShowPulldownProperties(HWND owner, DatabaseHandle& pulldowns, const Settings& settings) {
  RunModal(new PulldownPropertiesDialog(FromHwnd(owner), pulldowns, settings));
}

}  // namespace pw
