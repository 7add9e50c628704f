#include "dialogs/gui/dialog_support.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

#include "dialogs/text_limit.h"
#include "platform/gui/control_names.h"
#include "platform/host_port.h"
#include "storage/pulldowns.h"
#include "text/fixed_text.h"

namespace pw {

void SetBoldFont(QWidget* widget) {
  QFont font = widget->font();
  font.setWeight(QFont::Bold);  // 700
  widget->setFont(font);
}

void SetItalicFont(QWidget* widget) {
  QFont font = widget->font();
  font.setItalic(true);
  widget->setFont(font);
}

PwDialog::PwDialog(QWidget* owner) : QDialog(owner) {}
void PwDialog::accept() { done(IDOK); }
void PwDialog::reject() { done(IDCANCEL); }

int RunModal(QDialog* dialog) {
  QPointer<QDialog> guard(dialog);
  const int result = dialog->exec();
  delete guard.data();
  return result;
}

QDialogButtonBox* CreateOkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  NameControl(ok, IDOK, QStringLiteral("OkButton"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("cancel"), QDialogButtonBox::RejectRole);
  NameControl(cancel, IDCANCEL, QStringLiteral("CancelButton"));
  SetBoldFont(cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QPushButton* CreateDialogButton(const QString& text, int controlId, QWidget* parent, const QString& name) {
  auto* button = new QPushButton(text, parent);
  NameControl(button, controlId, name.isEmpty() ? NameFromLabel(text, QStringLiteral("Button")) : name);
  button->setAutoDefault(false);
  return button;
}

namespace {

// What typing into a pulldown box does beyond the line edit's own editing.
//
// Inline completion: a character typed at the end of the text completes it
// to the first listed value that starts with what was typed, ignoring case;
// the value is shown as listed, its completed part selected, so that typing
// on replaces it and Backspace removes it. Characters typed past any listed
// value keep the case they were typed in.
//
// In a number box under a locale whose decimal separator is a comma, a
// typed comma enters a decimal point: stored numbers keep the point.
constexpr char kNumberBox[] = "numberBox";

class PulldownTyping final : public QObject {
 public:
  explicit PulldownTyping(QComboBox* box) : QObject(box), box_(box), edit_(box->lineEdit()) {
    // Keys reach the line edit directly, or through the box when the box has
    // the focus (it hands them on without the line edit's filters).
    edit_->installEventFilter(this);
    box_->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) { Edited(text); });
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // Only a key typed at the end completes; a key that follows a completion
    // goes on from what the user typed, in the case it was typed in.
    const int length = int(edit_->text().size());
    const bool toEnd = edit_->hasSelectedText() ? edit_->selectionEnd() == length : edit_->cursorPosition() == length;
    typingAtEnd_ = !key->text().isEmpty() && key->text().at(0).isPrint() && toEnd;
    const int from = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
    afterCompletion_ = typingAtEnd_ && edit_->text() == completed_ && from == int(typed_.size());
    if (box_->property(kNumberBox).toBool() && key->text() == QStringLiteral(",") &&
        QLocale().decimalPoint() == QStringLiteral(",")) {
      edit_->insert(QStringLiteral("."));
      return true;
    }
    return false;
  }

 private:
  void Edited(const QString& text) {
    const bool complete = typingAtEnd_;
    typingAtEnd_ = false;
    if (!complete) {
      typed_ = completed_ = QString();
      return;
    }
    const QString typed = afterCompletion_ ? typed_ + text.mid(typed_.size()) : text;
    const int match = typed.isEmpty() ? -1 : box_->findText(typed, Qt::MatchStartsWith);
    typed_ = typed;
    completed_ = match >= 0 ? box_->itemText(match) : typed;
    if (completed_ != text) edit_->setText(completed_);
    if (completed_.size() > typed.size()) edit_->setSelection(int(typed.size()), int(completed_.size() - typed.size()));
  }

  QComboBox* box_;
  QLineEdit* edit_;
  bool typingAtEnd_ = false, afterCompletion_ = false;
  QString typed_;      // what the user typed, in the case typed
  QString completed_;  // the text shown after it
};

}  // namespace

void MakeNumberBox(QComboBox* box) { box->setProperty(kNumberBox, true); }

QComboBox* CreatePulldownBox(int controlId, const QString& name, QWidget* parent, int maxLength) {
  InstallAccessibleNames();
  auto* box = new QComboBox(parent);
  NameControl(box, controlId, name);
  box->setEditable(true);
  // The box completes by itself (PulldownTyping): Qt's completer would keep
  // the typed case, making a value the list does not hold.
  box->setCompleter(nullptr);
  new PulldownTyping(box);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->lineEdit()->setMaxLength(maxLength);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  box->setMinimumContentsLength(12);
  return box;
}

bool FillPulldownBox(HWND owner, DatabaseHandle& pulldowns, QComboBox* box, int categoryId) {
  QStringList values;
  values.reserve(box->count());
  for (int i = 0; i < box->count(); ++i) values << box->itemText(i);
  const bool whole = InitPulldown(
      owner, pulldowns, [&values](std::u16string_view text) { values << QTextOf(text); },
      categoryId);
  // Sorted as a sorted list box sorts: ignoring case, and by case among equals.
  std::stable_sort(values.begin(), values.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  const QString text = box->currentText();
  box->clear();
  box->addItems(values);
  // Filling selects nothing: the box keeps the text it had.
  box->setCurrentIndex(-1);
  box->setEditText(text);
  return whole;
}

std::u16string PulldownText(const QComboBox* box) { return U16TextOf(box->currentText()); }

void SetPulldownText(QComboBox* box, std::u16string_view text) { box->setEditText(QTextOf(text)); }

namespace {

constexpr int kNoteMax = PWH_NOTES_LIMIT - 1;

class NoteEditor final : public PwDialog {
 public:
  NoteEditor(QWidget* owner, char16_t (&notes)[PWH_NOTES_LIMIT]) : PwDialog(owner), notes_(notes) {
    setObjectName(QStringLiteral("NoteEditor"));
    setWindowTitle(QStringLiteral("Note"));
    editor_ = new QPlainTextEdit(this);
    editor_->setObjectName(QStringLiteral("NoteText"));
    editor_->setTabChangesFocus(true);
    QString text = QTextOf(TextOf(notes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    editor_->setPlainText(text);
    editor_->moveCursor(QTextCursor::End);
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("NoteNotice"));
    notice_->setWordWrap(true);
    notice_->hide();
    connect(editor_, &QPlainTextEdit::textChanged, this, [this] { keepWithinLimit(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_, 1);
    layout->addWidget(notice_);
    layout->addWidget(CreateOkCancelButtons(this));
    resize(420, 300);
    editor_->setFocus();
  }

  void accept() override {
    CopyText(notes_, U16TextOf(editor_->toPlainText()));
    PwDialog::accept();
  }

 private:
  // A typed or pasted text that makes the note too long loses what does not
  // fit, and the user is told.
  void keepWithinLimit() {
    if (editor_->document()->characterCount() - 1 <= kNoteMax) return;
    const std::u16string text = U16TextOf(editor_->toPlainText());
    QTextCursor cursor = editor_->textCursor();
    const TextCut cut = CutToLimit(text, std::size_t(cursor.position()), kNoteMax);
    cursor.setPosition(int(cut.from));
    cursor.setPosition(int(cut.from + cut.count), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    editor_->setTextCursor(cursor);
    notice_->setText(QStringLiteral("A note holds at most %1 characters: the text past that was not taken.")
                         .arg(kNoteMax));
    notice_->show();
  }

  char16_t (&notes_)[PWH_NOTES_LIMIT];
  QPlainTextEdit* editor_;
  QLabel* notice_;
};

}  // namespace

QDialog* CreateNoteEditor(QWidget* owner, char16_t (&notes)[PWH_NOTES_LIMIT]) {
  return new NoteEditor(owner, notes);
}

int EditNote(HWND owner, char16_t (&notes)[PWH_NOTES_LIMIT]) {
  return RunModal(CreateNoteEditor(static_cast<QWidget*>(owner), notes));
}

}  // namespace pw
