#include "dialogs/gui/dialog_support.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "dialogs/gui/entry_fixture.h"

namespace pw::test {
namespace {

// A dialog with a pick-list box and a note button, as the entry dialogs have
// them, and the button row.
struct SampleDialog {
  SampleDialog() : dialog(new PwDialog(nullptr)) {
    box = CreatePickListBox(1056, dialog.get());
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

// Enter ends the dialog with OK from any control, Escape with cancel.
TEST_F(DialogSupportTest, EnterIsOkAndEscapeIsCancel) {
  const std::tuple<bool, Qt::Key, int> cases[] = {  // focus in the box, key, result
      {true, Qt::Key_Return, IDOK}, {false, Qt::Key_Return, IDOK}, {false, Qt::Key_Escape, IDCANCEL}};
  for (const auto& [inBox, key, result] : cases) {
    SampleDialog s;
    QWidget* focus = inBox ? static_cast<QWidget*>(s.box->lineEdit()) : s.other;
    focus->setFocus();
    QTest::keyClick(focus, key);
    EXPECT_EQ(s.dialog->result(), result) << inBox << " " << key;
    EXPECT_TRUE(s.dialog->isHidden());
  }
}

TEST_F(DialogSupportTest, ButtonRowHasOkAndABoldCancel) {
  SampleDialog s;
  auto* ok = Control<QPushButton>(s.dialog.get(), IDOK);
  auto* cancel = Control<QPushButton>(s.dialog.get(), IDCANCEL);
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(cancel->text(), "cancel");
  EXPECT_EQ(cancel->font().weight(), QFont::Bold);
  cancel->click();
  EXPECT_EQ(s.dialog->result(), IDCANCEL);
}

TEST_F(DialogSupportTest, PickListFillsSortedSelectsNothingAndKeepsTheText) {
  for (auto v : {u"zeta", u"Acme", u"beta", u"acme"}) AddValue(PWH_PULLDOWN_CLIENT, v);
  AddValue(PWH_PULLDOWN_PROJECT, u"Other");
  SampleDialog s;
  SetPickListText(s.box, u"typed");
  EXPECT_TRUE(FillPickListBox(nullptr, s.box, PWH_PULLDOWN_CLIENT));
  QStringList items;
  for (int i = 0; i < s.box->count(); ++i) items << s.box->itemText(i);
  EXPECT_EQ(items, (QStringList{"Acme", "acme", "beta", "zeta"}));
  EXPECT_EQ(s.box->currentIndex(), -1);
  EXPECT_EQ(PickListText(s.box), u"typed");
}

// Typed text stays exactly as typed: no inline completion, no case-blind
// match against the values, nothing added to the list on Enter.
TEST_F(DialogSupportTest, PickListKeepsWhatWasTyped) {
  AddValue(PWH_PULLDOWN_CLIENT, u"Acme");
  AddValue(PWH_PULLDOWN_CLIENT, u"Acme Widgets");
  const std::pair<QString, Qt::Key> cases[] = {  // Qt::Key_unknown: no key after the text
      {"acme", Qt::Key_unknown}, {"Ac", Qt::Key_unknown}, {"ACME", Qt::Key_Return}, {"Newco", Qt::Key_Tab}};
  for (const auto& [typed, finish] : cases) {
    SampleDialog s;
    FillPickListBox(nullptr, s.box, PWH_PULLDOWN_CLIENT);
    s.box->lineEdit()->setFocus();
    QTest::keyClicks(s.box->lineEdit(), typed);
    if (finish != Qt::Key_unknown) QTest::keyClick(s.box->lineEdit(), finish);
    s.other->setFocus();  // focus leaves the box
    EXPECT_EQ(QString::fromStdU16String(PickListText(s.box)), typed);
    EXPECT_EQ(s.box->count(), 2);
  }
}

TEST_F(DialogSupportTest, PickListRefusesMoreThanTheFieldHolds) {
  SampleDialog s;
  SetPickListText(s.box, std::u16string(300, u'x'));
  EXPECT_EQ(PickListText(s.box).size(), std::size_t(PWH_TEXT_LIMIT - 1));
  s.box->lineEdit()->setFocus();
  s.box->lineEdit()->end(false);
  QTest::keyClicks(s.box->lineEdit(), "yz");
  EXPECT_EQ(PickListText(s.box), std::u16string(PWH_TEXT_LIMIT - 1, u'x'));
}

// The note editor: OK takes the text, cancel leaves the note as it was, and
// a note never grows past 2047 characters.
TEST(NoteEditorTest, EditsInPlaceWithinTheLimit) {
  const std::u16string full(PWH_NOTES_LIMIT - 1, u'n');
  const struct {
    const char* name;
    std::u16string before;
    QString typed, pasted;  // typed, then pasted, at the end
    bool ok;
    std::u16string after;
    bool told;  // the editor says something was cut
  } cases[] = {
      {"typed and taken", u"met ", "Bob", "", true, u"met Bob", false},
      {"line breaks kept", u"", "a\rb", "", true, u"a\nb", false},
      {"cancel leaves it", u"old", "new", "", false, u"old", false},
      {"a full note refuses typing", full, "x", "", true, full, true},
      {"a paste is cut to fit", full.substr(3), "", "abcdef", true, full.substr(3) + u"abc", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char16_t notes[PWH_NOTES_LIMIT];
    CopyText(notes, c.before);
    std::unique_ptr<QDialog> editor(CreateNoteEditor(nullptr, notes));
    editor->show();
    auto* text = editor->findChild<QPlainTextEdit*>("NoteText");
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(text, c.typed);
    if (!c.pasted.isEmpty()) {
      QApplication::clipboard()->setText(c.pasted);
      text->paste();
    }
    if (c.ok) {
      editor->findChild<QPushButton*>("1")->click();
    } else {
      QTest::keyClick(editor.get(), Qt::Key_Escape);
    }
    EXPECT_EQ(editor->result(), c.ok ? IDOK : IDCANCEL);
    EXPECT_EQ(TextOf(notes), c.after);
    EXPECT_EQ(!editor->findChild<QLabel*>("NoteNotice")->isHidden(), c.told);
  }
}

}  // namespace
}  // namespace pw::test
