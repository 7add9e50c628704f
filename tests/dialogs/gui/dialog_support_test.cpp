#include "dialogs/gui/dialog_support.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/gui/entry_fixture.h"
#include "text/fixed_text.h"

namespace pw::test {
namespace {

TEST(DialogFontTest, BoldAndItalicChangeOnlyTheirOwnAttribute) {
  QPushButton button("cancel");
  QFont start = button.font();
  start.setPointSize(13);
  start.setItalic(true);
  button.setFont(start);
  SetBoldFont(&button);
  EXPECT_EQ(button.font().weight(), QFont::Bold);
  EXPECT_EQ(button.font().pointSize(), 13);
  EXPECT_TRUE(button.font().italic());

  QPushButton duration("--:--");
  SetItalicFont(&duration);
  EXPECT_TRUE(duration.font().italic());
  EXPECT_EQ(duration.font().weight(), QPushButton().font().weight());
}

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

// Enter ends the dialog with OK from any control, Escape with cancel.
struct KeyCase {
  const char* name;
  int focus;  // 0 the pick-list box, 1 the Note button
  Qt::Key key;
  int result;
};

class DialogKeysTest : public EntryDialogTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeysTest, EnterIsOkAndEscapeIsCancel) {
  SampleDialog s;
  QWidget* focus = GetParam().focus == 0 ? static_cast<QWidget*>(s.box->lineEdit()) : s.other;
  focus->setFocus();
  QTest::keyClick(focus, GetParam().key);
  EXPECT_EQ(s.dialog->result(), GetParam().result);
  EXPECT_TRUE(s.dialog->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Keys, DialogKeysTest,
                         ::testing::Values(KeyCase{"EnterInABox", 0, Qt::Key_Return, IDOK},
                                           KeyCase{"EnterOnAButton", 1, Qt::Key_Return, IDOK},
                                           KeyCase{"EscapeInABox", 0, Qt::Key_Escape, IDCANCEL},
                                           KeyCase{"EscapeOnAButton", 1, Qt::Key_Escape, IDCANCEL}),
                         [](const auto& info) { return std::string(info.param.name); });

using PickListBoxTest = EntryDialogTest;

TEST_F(PickListBoxTest, ButtonRowHasOkAndABoldCancel) {
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

TEST_F(PickListBoxTest, FillsSortedSelectsNothingAndKeepsTheText) {
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
struct TypingCase {
  const char* name;
  QString typed;
  Qt::Key finish;  // Qt::Key_unknown: none
};

class PickListTypingTest : public EntryDialogTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(PickListTypingTest, KeepsWhatWasTyped) {
  AddValue(PWH_PULLDOWN_CLIENT, u"Acme");
  AddValue(PWH_PULLDOWN_CLIENT, u"Acme Widgets");
  SampleDialog s;
  FillPickListBox(nullptr, s.box, PWH_PULLDOWN_CLIENT);
  s.box->lineEdit()->setFocus();
  QTest::keyClicks(s.box->lineEdit(), GetParam().typed);
  if (GetParam().finish != Qt::Key_unknown) QTest::keyClick(s.box->lineEdit(), GetParam().finish);
  s.other->setFocus();  // focus leaves the box
  EXPECT_EQ(QString::fromStdU16String(PickListText(s.box)), GetParam().typed);
  EXPECT_EQ(s.box->count(), 2);
}

INSTANTIATE_TEST_SUITE_P(Typing, PickListTypingTest,
                         ::testing::Values(TypingCase{"LowerCaseOfAValue", "acme", Qt::Key_unknown},
                                           TypingCase{"PrefixOfAValue", "Ac", Qt::Key_unknown},
                                           TypingCase{"CapitalsThenEnter", "ACME", Qt::Key_Return},
                                           TypingCase{"NewValueThenTab", "Newco", Qt::Key_Tab}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PickListBoxTest, RefusesMoreThanTheFieldHolds) {
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
struct NoteCase {
  const char* name;
  std::u16string before;
  QString typed;     // typed at the end
  QString pasted;    // pasted at the end after typing
  bool ok;
  std::u16string after;
  bool told;  // the editor says something was cut
};

class NoteEditorTest : public ::testing::TestWithParam<NoteCase> {};

TEST_P(NoteEditorTest, EditsInPlaceWithinTheLimit) {
  const NoteCase& c = GetParam();
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

const std::u16string kFull(PWH_NOTES_LIMIT - 1, u'n');

INSTANTIATE_TEST_SUITE_P(
    Notes, NoteEditorTest,
    ::testing::Values(NoteCase{"TypedAndTaken", u"met ", "Bob", "", true, u"met Bob", false},
                      NoteCase{"LineBreaksKept", u"", "a\rb", "", true, u"a\nb", false},
                      NoteCase{"CancelLeavesIt", u"old", "new", "", false, u"old", false},
                      NoteCase{"FullNoteRefusesTyping", kFull, "x", "", true, kFull, true},
                      NoteCase{"PasteIsCutToFit", kFull.substr(3), "", "abcdef", true,
                               kFull.substr(3) + u"abc", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pw::test
