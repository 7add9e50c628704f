// What every dialog of the data entry dialogs shares: the bold and italic
// font variants, the dialog that ends with 1 (OK) or 2 (cancel), the row of
// "OK" and "cancel" buttons, pulldown list combo boxes filled from the
// configuration database, and the note editor.
//
// Controls carry their control id as object name ("1056"), so that callers
// and tests find them by id.
#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <string_view>

#include "config/settings.h"
#include "platform/object_store.h"
#include "platform/types.h"
#include "storage/records.h"

class QComboBox;
class QDialogButtonBox;
class QPushButton;
class QWidget;

namespace pw {

inline QString QTextOf(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}
inline std::u16string U16TextOf(const QString& text) { return text.toStdU16String(); }

// Owner windows travel through the non-GUI code as HWND values.
inline HWND HwndOf(QWidget* widget) { return widget; }

// What every entry dialog reads besides its record: the configuration
// database that holds the pulldown lists, and the settings (date and time forms,
// whether to ask before a new pulldown list value is added).
struct EntryContext {
  DatabaseHandle& pulldowns;
  const Settings& settings;
};

// Reads the widget's current font, changes only its weight to 700 (bold) or
// sets its italic flag, and gives it back to the widget.
void SetBoldFont(QWidget* widget);
void SetItalicFont(QWidget* widget);

// A modal dialog of this program: accept() ends it with IDOK, reject()
// (Escape, the "cancel" button, the window's close button) with IDCANCEL.
// Dialogs with work to do on OK or cancel override accept() or reject() and
// call the base when done.
class PwDialog : public QDialog {
 public:
  explicit PwDialog(QWidget* owner);
  void accept() override;
  void reject() override;
};

// Runs the dialog modally, deletes it and returns its result.
int RunModal(QDialog* dialog);

// The "OK" button (control 1, the default: Enter) and the bold "cancel"
// button (control 2, also Escape), wired to accept() and reject().
QDialogButtonBox* CreateOkCancelButtons(QDialog* dialog);

// A push button named by its control id that never takes Enter from the
// dialog's default button.
QPushButton* CreateDialogButton(const QString& text, int controlId, QWidget* parent, const QString& name = {});

// An editable pulldown list box: values sorted, nothing typed ever added to
// the list, at most maxLength characters. Typing at the end completes inline
// to the first value that starts with the typed text, ignoring case, shown
// as listed; text typed past every value keeps its case.
QComboBox* CreatePulldownBox(int controlId, const QString& name, QWidget* parent,
                             int maxLength = PWH_TEXT_LIMIT - 1);
// Adds the category's values of the configuration database pulldowns to the
// box, kept sorted; the box is not emptied and its text is kept. False after
// a read error (reported to the user by the pulldown list walk).
bool FillPulldownBox(HWND owner, DatabaseHandle& pulldowns, QComboBox* box, int categoryId);
std::u16string PulldownText(const QComboBox* box);
// Makes a pulldown box a number box (rate, amount, mileage): under a locale
// whose decimal separator is a comma, a typed comma enters a decimal point.
void MakeNumberBox(QComboBox* box);
void SetPulldownText(QComboBox* box, std::u16string_view text);

// The note editor: a modal plain-text editor over owner that edits notes in
// place. It keeps at most PWH_NOTES_LIMIT - 1 characters: typing or pasting
// past that is cut, and the editor says so. Returns IDOK when the note was
// taken, IDCANCEL when it was left as it was.
int EditNote(HWND owner, char16_t (&notes)[PWH_NOTES_LIMIT]);

// The note editor's dialog, for callers and tests that drive it themselves.
QDialog* CreateNoteEditor(QWidget* owner, char16_t (&notes)[PWH_NOTES_LIMIT]);

}  // namespace pw
