#include "views/gui/report_view.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QStandardPaths>
#include <QTableView>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/code_page.h"
#include "selection/gui/find_dialogs.h"
#include "shell/gui/modal_poller.h"
#include "shell/gui/shell_fixture.h"
#include "views/gui/list_view.h"
#include "views/report_file.h"

namespace pw::test {
namespace {

void AddTimeRecord(std::u16string_view date, std::u16string_view client, std::u16string_view duration) {
  TimeRecord r;
  CopyText(r.date, date), CopyText(r.client, client), CopyText(r.project, u"Roof");
  CopyText(r.subproject, u"North"), CopyText(r.task, u"Survey"), CopyText(r.duration, duration);
  ASSERT_TRUE(AddNewRecord(nullptr, TimeDatabase, r));
}

// Answers the next selection dialog with this client, or cancels it.
void AnswerSelection(const char* client, bool ok = true) {
  WhenModalAppears<QDialog>([client, ok](QDialog* dialog) {
    dialog->findChild<QComboBox*>(QString::number(IDC_FIND_CLIENT))->setEditText(client);
    ok ? dialog->accept() : dialog->reject();
  });
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ReportViewTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(StartUp());
    window_ = MainWindowWidget();
    AddTimeRecord(u"03/02/2024", u"Acme", u"1:30");
    AddTimeRecord(u"03/03/2024", u"Bolt", u"0:45");
    AddTimeRecord(u"03/04/2024", u"Acme", u"0:30");
    SendCommand(IDM_VIEW_LIST);
  }
  void TearDown() override {
    SetReportFileChooser(nullptr);
    ShellTest::TearDown();
  }
  bool Enabled(UINT id) { return window_->menuAction(id)->isEnabled(); }
  bool Checked(UINT id) { return window_->menuAction(id)->isChecked(); }
  PwMainWindow* window_ = nullptr;
};

TEST_F(ReportViewTest, ReportShowsWhatTheDialogPicked) {
  AnswerSelection("Acme");
  window_->menuAction(IDM_VIEW_REPORT)->trigger();
  ASSERT_NE(ReportListWindow, nullptr);
  EXPECT_EQ(ListViewWindow, nullptr);
  EXPECT_TRUE(ReportListWindow->horizontalHeader()->isHidden());
  const std::vector<std::u16string> lines = GetReportLines(ReportListWindow);
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[0], u"Summarized records: 2.");
  EXPECT_EQ(lines[4], u"Total hours: 2.00.");
  EXPECT_EQ(lines[lines.size() - 4], u"Acme, Roof, North, Survey: 2.00 hours");
  EXPECT_EQ(window_->statusPart(2)->text(), " 2");
  const std::vector<std::u16string> steps(Activity().end() - 4, Activity().end());
  EXPECT_EQ(steps, (std::vector<std::u16string>{u"loading report view...", u"summarizing records...",
                                                u"loading report results...", u"idle"}));
  for (UINT id : {IDM_NEW_RECORD, IDM_NEW_SUBSEQUENT_RECORD, IDM_MODE_TIME, IDM_MODE_EXPENSE, IDM_EXPAND_COLLAPSE_TREE})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(IDM_SAVE_REPORT));
  EXPECT_TRUE(Checked(IDM_VIEW_REPORT));
  for (UINT id : {IDM_VIEW_LIST, IDM_VIEW_TREE, IDM_VIEW_MIXED}) EXPECT_FALSE(Checked(id)) << id;

  // A second report replaces the first.
  AnswerSelection("Bolt");
  SendCommand(IDM_VIEW_REPORT);
  EXPECT_EQ(GetReportLines(ReportListWindow)[0], u"Summarized records: 1.");

  // Back to the list: Save Report is grayed again and the menus come back.
  SendCommand(IDM_VIEW_LIST);
  EXPECT_TRUE(ReportListWindow == nullptr && ListViewWindow != nullptr);
  EXPECT_TRUE(Checked(IDM_VIEW_LIST) && !Checked(IDM_VIEW_REPORT));
  EXPECT_FALSE(Enabled(IDM_SAVE_REPORT) || Enabled(IDM_EXPAND_COLLAPSE_TREE));
  EXPECT_TRUE(Enabled(IDM_NEW_RECORD));
}

TEST_F(ReportViewTest, NothingPickedOrCancelledKeepsTheView) {
  QTableView* list = ListViewWindow;
  const std::vector<RecordPosition> shown = DisplayedRecordList.positions();
  AnswerSelection("Nobody");
  SendCommand(IDM_VIEW_REPORT);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].title, host.messages[0].type),
            std::tuple(u"No matching records for the summary.", u"PWH Report View", MB_OK | MB_ICONINFORMATION));
  AnswerSelection("Acme", /*ok=*/false);
  SendCommand(IDM_VIEW_REPORT);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(ListViewWindow, list);
  EXPECT_EQ(ReportListWindow, nullptr);
  // The rows still lead to their records.
  EXPECT_EQ(DisplayedRecordList.positions(), shown);
  EXPECT_FALSE(Enabled(IDM_SAVE_REPORT));
}

TEST_F(ReportViewTest, SaveWritesTheLinesAsShown) {
  SendCommand(IDM_SAVE_REPORT);  // no report: nothing at all
  EXPECT_TRUE(host.messages.empty());

  AnswerSelection("--any--");
  SendCommand(IDM_VIEW_REPORT);
  const std::string path = folder_ + "/saved report.doc";
  QString offered;
  SetReportFileChooser([&](QWidget*, const QString& start) {
    offered = start;
    return QString::fromStdString(path);
  });
  SendCommand(IDM_SAVE_REPORT);
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_EQ(offered, documents + "/PWH Time Report.doc");
  EXPECT_EQ(DefaultReportPath(PWH_EXPENSE_MODE), documents + "/PWH Expense Report.doc");
  EXPECT_EQ(Read(path), ReportFileBytes(GetReportLines(ReportListWindow)));
  EXPECT_EQ(Read(path).substr(0, 25), "Summarized records: 3.\r\nB");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Activity().end()[-2], u"saving report...");

  // Cancelling the file choice writes nothing.
  std::filesystem::remove(path);
  SetReportFileChooser([](QWidget*, const QString&) { return QString(); });
  SendCommand(IDM_SAVE_REPORT);
  EXPECT_FALSE(std::filesystem::exists(path));

  // An empty report list has nothing to save.
  DestroyCurrentView();
  ASSERT_TRUE(CreateMainListView(&ReportListWindow, PWH_REPORT_VIEW));
  SendCommand(IDM_SAVE_REPORT);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(std::tuple(host.messages[0].text, host.messages[0].title),
            std::tuple(u"No records in the summary, nothing to save.", u"PWH Report Save"));
}

}  // namespace
}  // namespace pw::test
