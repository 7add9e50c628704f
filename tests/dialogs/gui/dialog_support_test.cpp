// What the entry dialogs share, and the pulldown list editor.
#include "dialogs/gui/dialog_support.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <tuple>

#include "dialogs/gui/entry_fixture.h"
#include "dialogs/gui/pulldown_properties.h"

namespace pw::test {
namespace {

// A pulldown list box, a note button and the button row, as in the entry dialogs.
struct SampleDialog {
  SampleDialog() : dialog(new PwDialog(nullptr)) {
    box = CreatePulldownBox(1056, QStringLiteral("ClientBox"), dialog.get());
    other = CreateDialogButton("Note", 1000, dialog.get());
    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(box);
    layout->addWidget(other);
    layout->addWidget(CreateOkCancelButtons(dialog.get()));
    dialog->show();
  }
  std::unique_ptr<PwDialog> dialog;
  QComboBox* box;
  QPushButton* other;
};

using DialogSupportTest = EntryDialogTest;

// Enter ends the dialog with OK even from another button, which never
// takes Enter; Escape ends it with cancel.
TEST_F(DialogSupportTest, EnterIsOkAndEscapeIsCancel) {
  for (const auto& [key, result] : {std::pair(Qt::Key_Return, IDOK), std::pair(Qt::Key_Escape, IDCANCEL)}) {
    SampleDialog s;
    EXPECT_TRUE(Control<QPushButton>(s.dialog.get(), IDCANCEL)->font().bold());
    s.other->setFocus();
    QTest::keyClick(s.other, key);
    EXPECT_EQ(s.dialog->result(), result) << key;
  }
}

// The box lists the category's values sorted; typing at the end completes inline, ignoring case, to
// the first value as listed; Backspace takes the completion back, and text past every value keeps its
// case. Enter adds nothing to the list.
TEST_F(DialogSupportTest, PulldownIsSortedAndCompletesInline) {
  for (auto v : {u"Acme Widgets", u"beta", u"Acme"}) AddValue(PWH_PULLDOWN_CLIENT, v);
  const std::tuple<QString, Qt::Key, QString> cases[] = {{"Ac", Qt::Key_Tab, "Acme"},
                                                         {"acme w", Qt::Key_Return, "Acme Widgets"},
                                                         {"Ac\b", Qt::Key_Tab, "Ac"},
                                                         {"BX", Qt::Key_Tab, "BX"}};
  for (const auto& [typed, finish, expected] : cases) {
    SCOPED_TRACE(typed.toStdString());
    SampleDialog s;
    EXPECT_TRUE(FillPulldownBox(nullptr, pulldowns, s.box, PWH_PULLDOWN_CLIENT));
    EXPECT_EQ(std::tuple(s.box->itemText(0), s.box->itemText(2), s.box->currentIndex()),
              std::tuple("Acme", "beta", -1));
    s.box->lineEdit()->setFocus();
    QTest::keyClicks(s.box->lineEdit(), typed);
    QTest::keyClick(s.box->lineEdit(), finish);
    EXPECT_EQ(QString::fromStdU16String(PulldownText(s.box)), expected);
    EXPECT_EQ(s.box->count(), 3);
  }
}

// The note editor: OK takes the text, Escape leaves the note as it was, and
// a paste past the limit is cut, with a notice.
TEST(NoteEditorTest, EditsInPlaceWithinTheLimit) {
  const std::u16string nearlyFull(PWH_NOTES_LIMIT - 4, u'n');
  const std::tuple<std::u16string, QString, bool, std::u16string, bool> cases[] = {
      // before, pasted, OK, after, notice shown
      {u"met ", "Bob", true, u"met Bob", false},
      {u"old", "new", false, u"old", false},
      {nearlyFull, "abcdef", true, nearlyFull + u"abc", true},
  };
  for (const auto& [before, pasted, ok, after, told] : cases) {
    char16_t notes[PWH_NOTES_LIMIT];
    CopyText(notes, before);
    std::unique_ptr<QDialog> editor(CreateNoteEditor(nullptr, notes));
    editor->show();
    auto* text = editor->findChild<QPlainTextEdit*>("NoteText");
    ASSERT_NE(text, nullptr);
    text->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(pasted);
    text->paste();
    ok ? FindControl<QPushButton>(editor.get(), IDOK)->click() : QTest::keyClick(editor.get(), Qt::Key_Escape);
    EXPECT_EQ(editor->result(), ok ? IDOK : IDCANCEL);
    EXPECT_EQ(TextOf(notes), after);
    EXPECT_EQ(!editor->findChild<QLabel*>("NoteNotice")->isHidden(), told);
  }
}

// Ctrl+PgDown / Ctrl+PgUp step through the pages (wrapping), each filled
// when first shown; Enter in the edit box adds the value in its sorted place
// without closing the editor; Del removes the chosen line.
TEST_F(EntryDialogTest, PulldownEditorKeys) {
  for (const char16_t* v : {u"zulu", u"Alpha", u"beta"}) AddValue(PWH_PULLDOWN_CLIENT, v);
  AddValue(PWH_PULLDOWN_PROJECT, u"Web");
  settings.set(PWH_CONFIRM_ADD_PULLDOWN_ITEM, false);
  settings.set(PWH_CONFIRM_DELETE_PULLDOWN_ITEM, false);
  auto* d = new PulldownPropertiesDialog(nullptr, pulldowns, settings);
  Show(d);
  ActivateForKeys(d);
  EXPECT_FALSE(d->page(1)->filled());
  const auto pageKey = [d](Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : d, key, Qt::ControlModifier);
  };
  pageKey(Qt::Key_PageDown);
  EXPECT_EQ(Lines(d->page(1)->values()), QStringList{"Web"});
  pageKey(Qt::Key_PageUp);
  pageKey(Qt::Key_PageUp);
  EXPECT_EQ(d->pages()->currentIndex(), d->pages()->count() - 1);
  pageKey(Qt::Key_PageDown);

  PulldownPage* page = d->page(0);
  QTest::keyClicks(page->newValue(), "Bravo");
  QTest::keyClick(page->newValue(), Qt::Key_Return);
  EXPECT_EQ(d->result(), 0);
  EXPECT_EQ(Lines(page->values()), (QStringList{"Alpha", "beta", "Bravo", "zulu"}));
  EXPECT_EQ(page->values()->currentItem()->text(), "Bravo");
  page->values()->setCurrentRow(0);
  QTest::keyClick(page->values(), Qt::Key_Delete);
  EXPECT_EQ(Lines(page->values()), (QStringList{"beta", "Bravo", "zulu"}));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace pw::test
