// What the record list shows: the text and icon of each cell of a time or
// expense record, and which record a row of the list stands for.
//
// Cells are addressed by column-model entry: 0 to 13 are the time columns
// (Date, Hours, Client, Project, Start, End, Rate, Subproject, Task, Ccy,
// Amount, B, B'd, N), 14 to 29 the expense columns (Date, Amount, Client,
// Project, Description, Mileage, Miles, Rate, Payment, Currency, B, B'd, R,
// R'd, R't, N). A cell has either a text or an icon of the list's image strip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/column_model.h"
#include "config/settings.h"
#include "platform/clock.h"
#include "selection/selection.h"
#include "storage/record_store.h"
#include "storage/records.h"

namespace pw {

// Images of the cell icon strip, in strip order.
enum : int {
  PWH_ICON_NONE = -1,
  PWH_ICON_CHECK = 0,  // a yes/no field that is set
  PWH_ICON_CROSS = 1,  // a yes/no field that is not set; no note
  PWH_ICON_NOTE = 2,   // a record with a note
};

struct ListCell {
  std::u16string text;
  int icon = PWH_ICON_NONE;
};

// The display settings that change cell texts.
struct ListCellFormat {
  bool europeanDates = false;   // dates as day.month.year
  bool twentyFourHour = false;  // start and end on the 24-hour clock
};

// The forms the settings choose.
inline ListCellFormat ListCellFormatOf(const Settings& settings) {
  return ListCellFormat{settings.europeanDates(), settings.europeanTimes()};
}

// The cell of a time record for entry 0..13, of an expense record for entry
// 14..29. An entry outside the record's range gives an empty cell.
ListCell TimeRecordCell(const TimeRecord& record, int entry, const ListCellFormat& format);
ListCell ExpenseRecordCell(const ExpenseRecord& record, int entry, const ListCellFormat& format);
// The cell of the record whose timer runs: Hours (1) the hours from its start
// until now ("%.2f"), End (5) "--:--", the rest as TimeRecordCell has them.
ListCell RunningRecordCell(const TimeRecord& record, int entry, const ListCellFormat& format, const SYSTEMTIME& now);

// The column-model entries of the shown columns of a range, leftmost first:
// the entry at display position 1, 2, 3, ... up to the first position that
// no shown entry holds.
std::vector<int> ShownColumnEntries(const ColumnModel& columns, ColumnRange range);

// The position of the record that row `row` of the list shows: the row
// itself in PWH_ALL_REC_MODE, the row-th entry of `list` in
// PWH_SELECT_REC_MODE. -1 for a negative row, a row past the end of the
// list, or an unknown mode.
std::int64_t RowToPosition(int row, int recordSetMode, const RecordPositionList& list);

// The row to make current when the list is built again and the record at
// `position` was current before: the row that shows it, else the row whose
// record is nearest to it (the later one on a tie, which is where the record
// after a deleted one now sits). `rowCount` rows are shown, as RowToPosition
// maps them. -1 for an empty list, a negative position or an unknown mode.
int RowNearestToPosition(std::int64_t position, int rowCount, int recordSetMode, const RecordPositionList& list);

}  // namespace pw
