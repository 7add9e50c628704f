#include "transfer/gui/format_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "shell/gui/modal_poller.h"
#include "support/scripted_host.h"
#include "transfer/delimited_format.h"

namespace pw::test {
namespace {

QString Q(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

// What the user does in one list: pick an entry or type over the text.
struct ListAction {
  enum { None, Pick, Type } kind = None;
  QString text;
};

struct DialogCase {
  const char* name;
  int mode;
  ListAction qualifier, field, record;
  bool tick;
  DelimitedFormat format;        // read back after the actions
  QStringList shown;             // the three lists' texts
  int result;                    // of OK
  std::u16string message;        // shown by OK, empty for none
  std::uint8_t intoPulldowns;    // after OK (starts at 7)
};

class FormatDialogTest : public ::testing::TestWithParam<DialogCase> {
 protected:
  void SetUp() override {
    TransferFormat = {u";", u";", u";"};  // left by an earlier run: every opening starts afresh
    ImportIntoPulldowns = 7;
  }
  void TearDown() override {
    TransferFormat = {};
    ImportIntoPulldowns = 0;
  }
  static void Act(QComboBox* box, const ListAction& action) {
    if (action.kind == ListAction::Pick) {
      box->setCurrentIndex(box->findText(action.text));
    } else if (action.kind == ListAction::Type) {
      box->lineEdit()->selectAll();
      if (action.text.isEmpty()) QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
      else QTest::keyClicks(box->lineEdit(), action.text);
    }
  }
  ScriptedHost host;
};

TEST_P(FormatDialogTest, ReadsTheListsBackAndChecksThemOnOk) {
  const DialogCase& c = GetParam();
  FormatDialog dialog(nullptr, c.mode);
  auto* qualifier = dialog.findChild<QComboBox*>("1037");
  auto* field = dialog.findChild<QComboBox*>("1038");
  auto* record = dialog.findChild<QComboBox*>("1040");
  auto* tick = dialog.findChild<QCheckBox*>("1041");
  auto* preview = dialog.findChild<QLabel*>("1039");
  ASSERT_TRUE(qualifier && field && record && tick && preview);
  EXPECT_FALSE(tick->isChecked());
  EXPECT_EQ(tick->isEnabled(), c.mode == PWH_IMPORT_FORMAT);

  Act(qualifier, c.qualifier), Act(field, c.field), Act(record, c.record);
  if (c.tick && tick->isEnabled()) tick->setChecked(true);
  EXPECT_EQ(std::tie(TransferFormat.qualifier, TransferFormat.fieldDelimiter, TransferFormat.recordDelimiter),
            std::tie(c.format.qualifier, c.format.fieldDelimiter, c.format.recordDelimiter));
  EXPECT_EQ(QStringList({qualifier->currentText(), field->currentText(), record->currentText()}), c.shown);
  EXPECT_EQ(preview->text(), Q(FormatPreview(c.format)));

  dialog.accept();
  EXPECT_EQ(dialog.result(), c.result);
  if (c.message.empty()) {
    EXPECT_TRUE(host.messages.empty());
  } else {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, c.message);
    EXPECT_EQ(host.messages[0].title, u"Format Selection");
    EXPECT_EQ(host.messages[0].type, MB_OK | MB_ICONINFORMATION);
  }
  EXPECT_EQ(ImportIntoPulldowns, c.intoPulldowns);
}

const ListAction kNone{};
const QString kQuote = QStringLiteral("\"");

INSTANTIATE_TEST_SUITE_P(
    Actions, FormatDialogTest,
    ::testing::Values(
        DialogCase{"defaults_export", PWH_EXPORT_FORMAT, kNone, kNone, kNone, true, {}, {kQuote, ",", "{newline}"}, 1, u"", 7},
        DialogCase{"defaults_import", PWH_IMPORT_FORMAT, kNone, kNone, kNone, false, {}, {kQuote, ",", "{newline}"}, 1, u"", 0},
        DialogCase{"import_ticked", PWH_IMPORT_FORMAT, kNone, kNone, kNone, true, {}, {kQuote, ",", "{newline}"}, 1, u"", 1},
        DialogCase{"tab_picked", PWH_EXPORT_FORMAT, kNone, {ListAction::Pick, "{tab}"}, kNone, false,
                   {u"\"", u"\t", u"\n"}, {kQuote, "{tab}", "{newline}"}, 1, u"", 7},
        DialogCase{"apostrophe_and_semicolon", PWH_IMPORT_FORMAT, {ListAction::Pick, "'"}, {ListAction::Pick, ";"}, kNone, false,
                   {u"'", u";", u"\n"}, {"'", ";", "{newline}"}, 1, u"", 0},
        DialogCase{"typed_record_delimiter", PWH_EXPORT_FORMAT, kNone, kNone, {ListAction::Type, "#"}, false,
                   {u"\"", u",", u"#"}, {kQuote, ",", "#"}, 1, u"", 7},
        DialogCase{"typed_text_cut_to_one", PWH_EXPORT_FORMAT, {ListAction::Type, "|x"}, kNone, kNone, false,
                   {u"|", u",", u"\n"}, {"|", ",", "{newline}"}, 1, u"", 7},
        DialogCase{"empty_qualifier_accepted", PWH_EXPORT_FORMAT, {ListAction::Type, ""}, kNone, kNone, false,
                   {u"", u",", u"\n"}, {"", ",", "{newline}"}, 1, u"", 7},
        DialogCase{"both_empty_refused", PWH_IMPORT_FORMAT, {ListAction::Type, ""}, {ListAction::Type, ""}, kNone, true,
                   {u"", u"", u"\n"}, {"", "", "{newline}"}, 2,
                   u"You have to specify a non-empty field qualifier or a non-empty field delimiter, so that PWH "
                   u"fields can be distinguished.", 7},
        DialogCase{"empty_record_delimiter_refused", PWH_IMPORT_FORMAT, kNone, kNone, {ListAction::Type, ""}, false,
                   {u"\"", u",", u""}, {kQuote, ",", ""}, 2,
                   u"You have to specify a non-empty record delimiter, so that multiple PWH records can be "
                   u"distinguished.", 7}),
    [](const auto& info) { return info.param.name; });

TEST(FormatDialogLooksTest, TitlesSortedListsAndKeys) {
  ScriptedHost host;
  FormatDialog exporting(nullptr, PWH_EXPORT_FORMAT);
  FormatDialog importing(nullptr, PWH_IMPORT_FORMAT);
  EXPECT_EQ(exporting.windowTitle(), "Export Format Selection");
  EXPECT_EQ(importing.windowTitle(), "Import Format Selection");
  QStringList entries;
  for (const char* id : {"1037", "1038", "1040"}) {
    auto* box = exporting.findChild<QComboBox*>(id);
    for (int i = 0; i < box->count(); ++i) entries << box->itemText(i);
  }
  EXPECT_EQ(entries, QStringList({"\"", "'", ",", ";", "{tab}", "{newline}"}));
  // Escape is cancel.
  exporting.show();
  QTest::keyClick(&exporting, Qt::Key_Escape);
  EXPECT_EQ(exporting.result(), 2);
}

// Shown at its natural size with a larger font nothing is cut. With
// PWH_FORMAT_SCREENSHOT set the picture is saved there:
//   PWH_FORMAT_SCREENSHOT=$PWD/docs/format-dialog.png build/test/tests/pwh_gui_tests --gtest_filter='*FormatDialogLooks*'
TEST(FormatDialogLooksTest, PreviewFitsAtALargerFont) {
  ScriptedHost host;
  FormatDialog dialog(nullptr, PWH_IMPORT_FORMAT);
  QFont font = dialog.font();
  font.setPointSizeF(font.pointSizeF() * 1.5);
  dialog.setFont(font);
  auto* field = dialog.findChild<QComboBox*>("1038");
  field->setCurrentIndex(field->findText("{tab}"));
  dialog.show();
  auto* preview = dialog.findChild<QLabel*>("1039");
  const QSize needed = preview->fontMetrics().size(0, preview->text());
  EXPECT_GE(preview->contentsRect().width(), needed.width());
  EXPECT_GE(preview->contentsRect().height(), needed.height());
  if (const QByteArray path = qgetenv("PWH_FORMAT_SCREENSHOT"); !path.isEmpty()) {
    dialog.setFont(QFont());
    dialog.adjustSize();
    EXPECT_TRUE(dialog.grab().save(QString::fromLocal8Bit(path)));
  }
}

}  // namespace
}  // namespace pw::test
