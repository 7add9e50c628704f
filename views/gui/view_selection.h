// The record selected in the view shown: what the commands that act on one
// record (Properties, Copy, Delete Selected, Mark Selected, New Subsequent
// Record) act on, and how a view is made to show a record selected again.
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "views/view_slots.h"

namespace pw {

// The position of the record selected in the view shown, or -1:
// - List or Mixed view: the selected row's record; -1 without a message
//   when no row is selected;
// - Tree view: the selected leaf's record; "No records available." when no
//   item is selected, "Please select a record first." when a group is;
// - no such view (the Report view): "Please select a record first.".
// The messages are owned by owner.
std::int64_t SelectedRecordPosition(HWND owner, const ViewSlots& viewSlots);

// The same without any message: -1 whenever there is no selected record.
std::int64_t ShownRecordPosition(const ViewSlots& viewSlots);

// Selects the record at `position` in the view shown (and scrolls to it);
// false when the view does not show it.
bool SelectShownRecord(const ViewSlots& viewSlots, std::int64_t position);

}  // namespace pw
