// Shows the three configuration dialogs at their natural size and grabs
// them. With PWH_SCREENSHOT_DIR set the pictures are saved there:
//   PWH_SCREENSHOT_DIR=$PWD/docs build/test/tests/pwh_gui_tests --gtest_filter='*ConfigurationDialogPictures*'
#include <QDialog>
#include <QImage>
#include <QLayout>
#include <QListWidget>
#include <QPixmap>
#include <QTest>

#include <functional>
#include <memory>

#include "config/configuration.h"
#include "config/gui/app_config_dialog.h"
#include "config/gui/column_config_dialog.h"
#include "dialogs/gui/pulldown_properties.h"
#include "shell/gui/shell_fixture.h"
#include "storage/pulldowns.h"

namespace pw::test {
namespace {

struct Picture {
  const char* file;
  std::function<QDialog*()> make;
};

TEST_F(ShellTest, ConfigurationDialogPictures) {
  ASSERT_TRUE(StartUp());
  for (const char16_t* client : {u"Acme Corp", u"Birch & Co", u"City Library", u"Internal"})
    ASSERT_TRUE(AddNewPulldownItem(nullptr, client, ConfigDatabase, PWH_PULLDOWN_CLIENT));
  ColumnModel& columns = Configuration->columns();
  columns.UpdateColumnByName(ColumnRange::Time, u"Rate", 50, 0, 0);
  columns.UpdateColumnByName(ColumnRange::Time, u"Ccy", 45, 0, 0);
  const DefaultRecordEditor none = [](HWND, bool) { return IDCANCEL; };

  const Picture pictures[] = {
      {"columns.png", [&] { return new ColumnConfigDialog(MainWindowWidget(), columns, ColumnRange::Time); }},
      {"application.png", [&] { return new AppConfigDialog(MainWindowWidget(), *Configuration, none, none); }},
      {"pulldowns.png", [&] { return new PulldownPropertiesDialog(MainWindowWidget()); }},
  };
  const QByteArray folder = qgetenv("PWH_SCREENSHOT_DIR");
  for (const Picture& p : pictures) {
    std::unique_ptr<QDialog> dialog(p.make());
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    // Natural size: every control gets at least the room it asks for.
    const QSize wanted = dialog->layout()->minimumSize();
    EXPECT_GE(dialog->width(), wanted.width()) << p.file;
    EXPECT_GE(dialog->height(), wanted.height()) << p.file;
    const QPixmap picture = dialog->grab();
    EXPECT_FALSE(picture.isNull());
    if (!folder.isEmpty()) {
      EXPECT_TRUE(picture.save(QString::fromLocal8Bit(folder) + "/" + p.file)) << p.file;
    }
  }
}

}  // namespace
}  // namespace pw::test
