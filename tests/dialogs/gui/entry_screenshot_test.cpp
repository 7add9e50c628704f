// Grabs the time entry dialog with a morning's work and the 12-hour time
// picker. With PWH_SCREENSHOT_DIR set the pictures are saved there:
//   PWH_SCREENSHOT_DIR=$PWD/docs build/test/tests/pwh_gui_tests --gtest_filter='*EntryScreenshot*'
#include <QImage>
#include <QPixmap>
#include <QToolButton>
#include <gtest/gtest.h>

#include "dialogs/gui/entry_fixture.h"
#include "dialogs/gui/time_entry_dialog.h"
#include "dialogs/gui/time_pickers.h"
#include "dialogs/time_picker.h"
#include "text/time_text.h"

namespace pw::test {
namespace {

void Save(QWidget* window, const char* name) {
  window->adjustSize();
  QTest::qWait(50);
  const QImage shot = window->grab().toImage();
  EXPECT_FALSE(shot.isNull()) << name;
  const QByteArray folder = qgetenv("PWH_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(shot.save(QString::fromLocal8Bit(folder) + "/" + name)) << name;
  }
}

TEST_F(EntryDialogTest, EntryScreenshotsOfTheTimeEntryDialogAndPicker) {
  for (auto v : {u"Acme Corp", u"Birch & Co", u"City Library"}) AddValue(PWH_PULLDOWN_CLIENT, v);
  for (auto v : {u"Website", u"Shop"}) AddValue(PWH_PULLDOWN_PROJECT, v);
  TimeRecord r;
  CopyText(r.date, u"03/14/2024"), CopyText(r.duration, u"01:30"), CopyText(r.client, u"Acme Corp");
  CopyText(r.project, u"Shop"), CopyText(r.subproject, u"Checkout"), CopyText(r.task, u"Review");
  CopyText(r.rate, u"85"), CopyText(r.currency, u"USD"), CopyText(r.amount, u"127.50");
  r.startHour = 8, r.startMinute = 45, r.endHour = 10, r.endMinute = 15;
  r.billable = 1;
  Save(Show(CreateTimeEntryDialog(nullptr, r, PWH_TIME_ENTRY_EDIT)), "time_entry.png");

  QDialog* picker = Show(CreateTimePicker(nullptr, r, PWH_START_TIME, true, false));
  for (int id : {1034, 1046, int(IDC_PICK_AM)}) Get<QToolButton>(id)->click();
  Save(picker, "time_picker_12.png");
}

}  // namespace
}  // namespace pw::test
