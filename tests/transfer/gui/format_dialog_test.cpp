#include "transfer/gui/format_dialog.h"
#include "platform/gui/control_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

#include "support/scripted_host.h"
#include "transfer/delimited_format.h"

namespace pw::test {
namespace {

struct DialogCase {
  const char* name;
  int mode;
  const char *qualifier, *field, *record;  // picked when listed, else typed over; null: untouched
  bool tick;
  DelimitedFormat format;      // read back
  int result;                  // of OK; 2 after a message
  std::uint8_t intoPulldowns;  // after OK (starts at 7)
};

class FormatDialogTest : public ::testing::TestWithParam<DialogCase> {
 protected:
  static void Act(QComboBox* box, const char* text) {
    if (!text) return;
    if (const int i = box->findText(text); i >= 0) return box->setCurrentIndex(i);
    box->lineEdit()->selectAll();
    if (*text) QTest::keyClicks(box->lineEdit(), text);
    else QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
  }
  ScriptedHost host;
  // Left by an earlier run: every opening starts afresh.
  TransferSettings transfer{{u";", u";", u";"}, 7};
};

TEST_P(FormatDialogTest, ReadsTheListsBackAndChecksThemOnOk) {
  const DialogCase& c = GetParam();
  FormatDialog dialog(nullptr, transfer, c.mode);
  auto* tick = FindControl<QCheckBox>(&dialog, 1041);
  auto* preview = FindControl<QLabel>(&dialog, 1039);
  EXPECT_EQ(tick->isEnabled(), c.mode == PWH_IMPORT_FORMAT);
  Act(FindControl<QComboBox>(&dialog, 1037), c.qualifier);
  Act(FindControl<QComboBox>(&dialog, 1038), c.field);
  Act(FindControl<QComboBox>(&dialog, 1040), c.record);
  if (c.tick && tick->isEnabled()) tick->setChecked(true);
  const DelimitedFormat& f = transfer.TransferFormat;
  EXPECT_EQ(std::tie(f.qualifier, f.fieldDelimiter, f.recordDelimiter),
            std::tie(c.format.qualifier, c.format.fieldDelimiter, c.format.recordDelimiter));
  EXPECT_EQ(preview->text().toStdU16String(), FormatPreview(c.format));

  dialog.accept();
  EXPECT_EQ(dialog.result(), c.result);
  EXPECT_EQ(host.messages.size(), c.result == 1 ? 0u : 1u);
  EXPECT_EQ(transfer.ImportIntoPulldowns, c.intoPulldowns);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, FormatDialogTest,
    ::testing::Values(
        DialogCase{"import_ticked", PWH_IMPORT_FORMAT, nullptr, nullptr, nullptr, true, {}, 1, 1},
        DialogCase{"tab_picked", PWH_EXPORT_FORMAT, nullptr, "{tab}", nullptr, true, {u"\"", u"\t", u"\n"}, 1, 7},
        DialogCase{"typed_text_cut_to_one", PWH_EXPORT_FORMAT, "|x", nullptr, "#", false, {u"|", u",", u"#"}, 1, 7},
        DialogCase{"both_empty_refused", PWH_IMPORT_FORMAT, "", "", nullptr, true, {u"", u"", u"\n"}, 2, 7}),
    [](const auto& info) { return info.param.name; });

// Escape cancels; at a larger font the preview is not cut.
TEST(FormatDialogLooksTest, EscapeCancelsAndThePreviewFitsAtALargerFont) {
  ScriptedHost host;
  TransferSettings transfer;
  FormatDialog dialog(nullptr, transfer, PWH_IMPORT_FORMAT);
  QFont font = dialog.font();
  font.setPointSizeF(font.pointSizeF() * 1.5);
  dialog.setFont(font);
  auto* field = FindControl<QComboBox>(&dialog, 1038);
  field->setCurrentIndex(field->findText("{tab}"));
  dialog.show();
  auto* preview = FindControl<QLabel>(&dialog, 1039);
  const QSize needed = preview->fontMetrics().size(0, preview->text());
  EXPECT_GE(preview->contentsRect().width(), needed.width());
  EXPECT_GE(preview->contentsRect().height(), needed.height());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), 2);
}

}  // namespace
}  // namespace pw::test
