// What the commands ask of the views: which one is shown, which record is
// selected in it, making a view anew from the current database and making a
// record current again. The GUI implements it over the view windows; tests
// implement it with a table of rows.
#pragma once

#include <cstdint>

#include "selection/selection.h"
#include "storage/record_databases.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "views/record_totals.h"

namespace pw {

enum class ShownView { None, List, Tree, Mixed, Report };

class ViewPort {
 public:
  virtual ~ViewPort() = default;

  virtual ShownView Shown() const = 0;
  // The position of the record selected in the view shown, or -1 (a Tree
  // view or the Report view says why; a list says nothing).
  virtual std::int64_t SelectedRecordPosition() = 0;
  // The same without any message.
  virtual std::int64_t ShownRecordPosition() = 0;
  // The selected row of the List or Mixed view's list, -1 when none.
  virtual int SelectedRow() = 0;
  // Destroys the view shown and makes `view` (List, Tree or Mixed) from the
  // current database and the displayed records; false when that failed.
  virtual bool CreateView(ShownView view) = 0;
  // The List view shown keeps its window and shows the displayed records as
  // its rows now, with these totals; the records themselves are unchanged.
  // Its current record stays current while shown, else the first row is.
  // False when no List view is shown: the caller makes the view anew.
  virtual bool ReplaceListRows(const ShownTotals&) { return false; }
  // Makes the record at position current in the view shown and scrolls it
  // into sight; false when the view does not show it.
  virtual bool ShowRecord(RecordPosition position) = 0;
  // Makes a row of the List or Mixed view's list current (the last one when
  // row is past the end); nothing for an empty list.
  virtual void MakeRowCurrent(int row) = 0;
  // Copies the List (else the Mixed) view's column widths into the settings.
  virtual void StoreColumnWidths() = 0;
  // Draws an empty card in the Mixed view.
  virtual void ClearMixedCard() = 0;
  // The record at position (in the current database) changed in place and
  // the records shown stay the same: its row (and the Mixed card) shows it
  // anew and the totals are counted again, nothing else is read. False when
  // the view shown cannot do that: it is then made anew.
  virtual bool RecordChanged(RecordPosition) { return false; }
};

// ApplyDateTab, then the view shown made anew; false when that failed or
// no List, Tree or Mixed view is shown.
bool RefreshView(RecordSelection& selection, RecordDatabases& databases, ViewPort& views);

// Whether RefreshView would show the same records after a time record
// changed from `before` to `after`: its date is kept, the tab selected on the
// tab control (selectedTab) is the one applied and would give the same range
// today, no Find result is shown (applying the tab ends it), and the texts
// the quick filter reads are kept.
bool ShownRecordsKept(const RecordSelection& selection, int selectedTab, const TimeRecord& before,
                      const TimeRecord& after);
// After a command changed the time record at `position` from `before` to
// `after` in the current database, where it stands (its date, and so its
// position, kept): when the records shown stay the same,
// only its row and the totals are shown anew in the List or Mixed view, else
// the view is made anew as RefreshView does; then the record is made current.
// False when the view shown does not show it.
bool RefreshChangedRecord(RecordSelection& selection, RecordDatabases& databases, ViewPort& views,
                          RecordPosition position, const TimeRecord& before, const TimeRecord& after);

}  // namespace pw
