// The views as the commands see them (views/view_port.h), over the view
// view slots: which view is shown, its selected record, making a view anew.
#pragma once

#include <cstdint>
#include <functional>

#include "config/settings.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "storage/record_databases.h"
#include "views/gui/view_sources.h"
#include "views/view_port.h"
#include "views/view_slots.h"

namespace pw {

class ListWindow;

class GuiViewPort final : public ViewPort {
 public:
  // The owner window and the settings object are asked for at each use:
  // they are made after the rest of the state and go before it. Without a
  // settings object the views are made with the default columns and forms
  // and column widths are not kept.
  GuiViewPort(ViewSlots& viewSlots, RecordDatabases& databases, RecordSelection& selection,
              std::function<HWND()> owner, std::function<Settings*()> settings);

  ShownView Shown() const override;
  std::int64_t SelectedRecordPosition() override;
  std::int64_t ShownRecordPosition() override;
  int SelectedRow() override;
  bool CreateView(ShownView view) override;
  bool ReplaceListRows(const ShownTotals& totals) override;
  bool ShowRecord(RecordPosition position) override;
  void MakeRowCurrent(int row) override;
  void StoreColumnWidths() override;
  void ClearMixedCard() override;
  bool RecordChanged(RecordPosition position) override;

  // What RecreateListView and RecreateTreeView take, as of now.
  ViewSources Sources();

 private:
  HWND Owner() const { return owner_ ? owner_() : nullptr; }
  // The list of the List view, else of the Mixed view; null for the others.
  ListWindow* ShownList() const;

  ViewSlots& viewSlots_;
  RecordDatabases& databases_;
  RecordSelection& selection_;
  std::function<HWND()> owner_;
  std::function<Settings*()> settings_;
  Settings defaults_;
};

}  // namespace pw
