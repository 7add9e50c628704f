// What the views are made from and where they are kept: the parts of the
// program's state that making, loading and re-creating a view reads.
#pragma once

#include "config/settings.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "storage/record_databases.h"
#include "views/view_slots.h"

namespace pw {

struct ViewSources {
  HWND owner;                   // owner of the messages; may be null
  RecordDatabases& databases;   // the mode and its database
  RecordSelection& selection;   // which records are shown
  Settings& settings;           // the columns and the date and time forms
  ViewSlots& viewSlots;         // the view area and the views made in it
};

}  // namespace pw
