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
#include "storage/pulldowns.h"
#include "views/gui/list_view.h"

namespace pw::test {
namespace {

struct Work {
  const char16_t *date, *duration, *client, *project, *task, *rate;
  int billable, billed;
  const char16_t* note;
};

const Work kWeek[] = {
    {u"03/08/2024", u"02:30", u"Acme Corp", u"Website", u"Design", u"85", 1, 1, u""},
    {u"03/08/2024", u"03:15", u"Birch & Co", u"Payroll", u"Support", u"70", 1, 1, u"Year-end figures"},
    {u"03/11/2024", u"03:30", u"Acme Corp", u"Website", u"Development", u"85", 1, 0, u""},
    {u"03/11/2024", u"03:30", u"City Library", u"Catalogue", u"Development", u"60", 1, 0, u"New search page"},
    {u"03/12/2024", u"00:45", u"Internal", u"Admin", u"Invoices", u"0", 0, 0, u""},
    {u"03/12/2024", u"03:00", u"Birch & Co", u"Payroll", u"Meeting", u"70", 1, 0, u""},
    {u"03/13/2024", u"03:30", u"Acme Corp", u"Website", u"Development", u"85", 1, 0, u"Checkout flow"},
    {u"03/13/2024", u"--:--", u"City Library", u"Catalogue", u"Testing", u"60", 1, 0, u""},
    {u"03/14/2024", u"01:30", u"Acme Corp", u"Website", u"Design", u"85", 1, 0, u""},
};

void Save(const QPixmap& picture, const char* name) {
  const QByteArray folder = qgetenv("PWH_REPORT_SCREENSHOTS");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(picture.save(QString::fromUtf8(folder) + "/" + name));
  }
}

TEST_F(ShellTest, ReportScreenshotOfAWeek) {
  ASSERT_TRUE(StartUp());
  for (const Work& w : kWeek) {
    TimeRecord r;
    CopyText(r.date, w.date), CopyText(r.duration, w.duration), CopyText(r.client, w.client);
    CopyText(r.project, w.project), CopyText(r.subproject, u"n/a"), CopyText(r.task, w.task);
    CopyText(r.rate, w.rate), CopyText(r.currency, u"USD"), CopyText(r.notes, w.note);
    r.billable = w.billable, r.billed = w.billed;
    ASSERT_TRUE(AddNewRecord(nullptr, TimeDatabase, r));
  }
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
