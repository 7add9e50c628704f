#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include "support/temp_home.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  pw::test::UseTemporaryHome();
  // Qt's texts (AM/PM, dialog buttons) in English whatever the environment;
  // the C library keeps the environment's locale, as for a user.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  int result;
  {
    QApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  pw::test::RemoveTemporaryHome();
  return result;
}
