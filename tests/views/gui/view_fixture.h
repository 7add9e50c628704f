// A store with both record databases, default settings, a 640 x 480 view
// area (not shown yet) and the views over the fixture's state; every view is
// torn down at the end.
#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "config/settings.h"
#include "storage/store_fixture.h"
#include "text/format.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_node_view.h"
#include "views/gui/view_port.h"

namespace pw::test {

class ViewTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    OpenRecordDatabases();
    area_.resize(640, 480);
    state.ViewArea = &area_;
    RecordSetMode = PWH_ALL_REC_MODE;
  }
  void TearDown() override {
    DestroyCurrentView(state);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ViewArea = nullptr;
    StoreTest::TearDown();
  }
  ViewSources Sources() { return views.Sources(); }

  Settings settings;
  QWidget area_;
  GuiViewPort views{state, state, state, [] { return HWND(nullptr); }, [this] { return &settings; }};
  ListWindow*& ListViewWindow = state.ListViewWindow;
  ListWindow*& MixedListWindow = state.MixedListWindow;
  ListWindow*& ReportListWindow = state.ReportListWindow;
  TreeNodeView*& TreeViewWindow = state.TreeViewWindow;
};

}  // namespace pw::test
