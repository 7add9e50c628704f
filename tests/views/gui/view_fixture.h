// A store with both record databases, settings under a key of the test's
// own, and a 640 x 480 view area (not shown yet); every view is torn down at
// the end.
#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/configuration.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "storage/store_fixture.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace pw::test {

class ViewTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    static int serial = 0;
    configKey_ = Format(u"Software\\tests\\Views %d", ++serial);
    config_ = std::make_unique<PWHConfiguration>(configKey_.c_str());
    Configuration = config_.get();
    area_.resize(640, 480);
    ViewArea = &area_;
    RecordSetMode = PWH_ALL_REC_MODE;
  }

  void TearDown() override {
    DestroyCurrentView();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ViewArea = nullptr;
    Configuration = nullptr;
    StoreTest::TearDown();
  }

  std::u16string configKey_;
  std::unique_ptr<PWHConfiguration> config_;
  QWidget area_;
};

}  // namespace pw::test
