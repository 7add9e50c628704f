#include "transfer/gui/transfer_commands.h"

#include <QStandardPaths>
#include <QTableView>
#include <gtest/gtest.h>

#include "selection/selection.h"
#include "shell/gui/commands.h"
#include "shell/gui/modal_poller.h"
#include "shell/gui/shell_fixture.h"
#include "shell/window_messages.h"
#include "transfer/gui/format_dialog.h"
#include "transfer/transfer_fixture.h"
#include "views/gui/list_view.h"

namespace pw::test {
namespace {

class TransferCommandTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    SetFileChooser([this](QWidget*, bool save, const QString& start) {
      starts_ << QString(save ? "save " : "open ") + start;
      return chosen_;
    });
  }
  void TearDown() override {
    SetFileChooser({});
    ShellTest::TearDown();
  }
  // Runs a command whose format dialog the user leaves with OK (or cancel).
  void Run(UINT command, bool ok = true) {
    WhenModalAppears<FormatDialog>([ok](FormatDialog* dialog) { ok ? dialog->accept() : dialog->reject(); });
    DispatchCommand(MainWindow, command, 0);
  }
  int Rows() { return ListViewWindow ? ListViewWindow->model()->rowCount() : -1; }

  QStringList starts_;
  QString chosen_;
};

TEST_F(TransferCommandTest, ExportThenImportThroughTheMenuRefreshesTheView) {
  AddTimeRecords({u"03/12/2024", u"03/13/2024", u"03/14/2024"});
  ASSERT_TRUE(StartUp());
  SelectAllTab();
  RefreshView();
  ASSERT_EQ(Rows(), 3);
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  chosen_ = QString::fromStdString(folder_ + "/time.csv");
  Run(IDM_EXPORT_DATABASE);
  ASSERT_EQ(starts_, QStringList({"save " + documents + "/PWH Time DB Export.csv"}));
  ASSERT_FALSE(host.messages.empty());
  EXPECT_NE(host.messages.back().text.find(u"Exported 3 record(s)"), std::u16string::npos);

  // Records without times or with an empty rate do not import back; give
  // the file times and a rate.
  std::string file = ReadFile(folder_ + "/time.csv");
  const std::string blank = "\"--:--\",\"--:--\",\"\",\"\",\"\",\"\"";
  for (std::size_t at; (at = file.find(blank)) != std::string::npos;)
    file.replace(at, blank.size(), "\"09:00 AM\",\"10:00 AM\",\"1\",\"\",\"\",\"n/a\"");
  WriteFile(folder_ + "/time.csv", file);

  host.messages.clear();
  Run(IDM_IMPORT_DATABASE);
  EXPECT_EQ(starts_.back(), "open " + documents);
  ASSERT_EQ(host.messages.size(), 2u);  // the header line, then the outcome
  EXPECT_NE(host.messages.back().text.find(u"Imported 3 record(s)"), std::u16string::npos);
  EXPECT_EQ(Rows(), 6);
}

TEST_F(TransferCommandTest, CancellingTheFormatDialogOrTheChooserDoesNothing) {
  ASSERT_TRUE(StartUp());
  Run(IDM_EXPORT_PULLDOWNS, false);
  EXPECT_TRUE(starts_.isEmpty());
  chosen_.clear();
  Run(IDM_IMPORT_PULLDOWNS);
  Run(IDM_EXPORT_PULLDOWNS);
  EXPECT_EQ(starts_.size(), 2);
  EXPECT_TRUE(starts_.back().endsWith("/PWH Pulldowns Export.csv"));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace pw::test
