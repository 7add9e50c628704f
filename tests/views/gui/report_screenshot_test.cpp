// Pictures of the time selection dialog and of a report over a week of work.
// With PWH_REPORT_SCREENSHOTS set to a folder they are saved there:
//   PWH_REPORT_SCREENSHOTS=$PWD/docs build/test/tests/pwh_gui_tests --gtest_filter='*ReportScreenshot*'
#include <QComboBox>
#include <QDialog>
#include <QPixmap>

#include <memory>

#include "selection/gui/find_dialogs.h"
#include "shell/gui/modal_poller.h"
#include "shell/gui/shell_fixture.h"
#include "shell/gui/week_of_work.h"
#include "storage/pulldowns.h"
#include "views/gui/list_view.h"

namespace pw::test {
namespace {

void Save(const QPixmap& picture, const char* name) {
  const QByteArray folder = qgetenv("PWH_REPORT_SCREENSHOTS");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(picture.save(QString::fromUtf8(folder) + "/" + name));
  }
}

TEST_F(ShellTest, ReportScreenshotOfAWeek) {
  ASSERT_TRUE(StartUp());
  // One duration left out, so that the report shows its note on that.
  PutAWeekOfWork(TimeDatabase, [](TimeRecord& r) {
    if (TextOf(r.task) == u"Testing") CopyText(r.duration, u"--:--");
  });
  for (const char16_t* client : {u"Acme Corp", u"Birch & Co", u"City Library", u"Internal"})
    AddNewPulldownItem(nullptr, client, ConfigDatabase, PWH_PULLDOWN_CLIENT);
  PwMainWindow* window = MainWindowWidget();
  window->resize(1024, 700);
  window->show();

  RecordPositionList list;
  const std::unique_ptr<QDialog> dialog(CreateTimeSelectionDialog(window, &list));
  dialog->show();
  const QPixmap find = dialog->grab();
  EXPECT_FALSE(find.isNull());
  Save(find, "find_dialog.png");

  WhenModalAppears<QDialog>([](QDialog* d) { d->accept(); });
  SendCommand(IDM_VIEW_REPORT);
  ASSERT_NE(ReportListWindow, nullptr);
  Save(window->grab(), "report.png");
}

}  // namespace
}  // namespace pw::test
