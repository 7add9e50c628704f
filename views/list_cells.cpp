#include "views/list_cells.h"

#include <algorithm>

#include "text/fixed_text.h"
#include "storage/record_times.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {

namespace {

ListCell TextCell(std::u16string_view text) { return ListCell{std::u16string(text), PWH_ICON_NONE}; }

ListCell FlagCell(bool set) { return ListCell{{}, set ? PWH_ICON_CHECK : PWH_ICON_CROSS}; }

ListCell NoteCell(const char16_t* notes) { return ListCell{{}, notes[0] != 0 ? PWH_ICON_NOTE : PWH_ICON_CROSS}; }

// Dates are stored as month/day/year; the European setting shows them as
// day.month.year (and unreadable dates as the conversion's fallback text).
ListCell DateCell(std::u16string_view stored, const ListCellFormat& format) {
  if (!format.europeanDates) return TextCell(stored);
  ListCell cell;
  AmericanToEuropeanDate(stored, &cell.text);
  return cell;
}

ListCell TimeCell(const TimeRecord& record, int which, const ListCellFormat& format) {
  ListCell cell;
  FormatRecordTime(&cell.text, record, which, PWH_BLANK_AS_DASHES, format.twentyFourHour);
  return cell;
}

}  // namespace

ListCell TimeRecordCell(const TimeRecord& r, int entry, const ListCellFormat& format) {
  switch (entry) {
    case 0: return DateCell(TextOf(r.date), format);
    case 1: return TextCell(TimeTextToDecimalText(TextOf(r.duration)));
    case 2: return TextCell(TextOf(r.client));
    case 3: return TextCell(TextOf(r.project));
    case 4: return TimeCell(r, PWH_START_TIME, format);
    case 5: return TimeCell(r, PWH_END_TIME, format);
    case 6: return TextCell(TextOf(r.rate));
    case 7: return TextCell(TextOf(r.subproject));
    case 8: return TextCell(TextOf(r.task));
    case 9: return TextCell(TextOf(r.currency));
    case 10: return TextCell(TextOf(r.amount));
    case 11: return FlagCell(r.billable == 1);
    case 12: return FlagCell(r.billed == 1);
    case 13: return NoteCell(r.notes);
    default: return ListCell{};
  }
}

ListCell RunningRecordCell(const TimeRecord& r, int entry, const ListCellFormat& format, const SYSTEMTIME& now) {
  if (entry == 5) return TextCell(PWH_NO_DURATION);
  if (entry != 1) return TimeRecordCell(r, entry, format);
  return TextCell(RunningHoursText(r, now));
}

ListCell ExpenseRecordCell(const ExpenseRecord& r, int entry, const ListCellFormat& format) {
  switch (entry) {
    case 14: return DateCell(TextOf(r.date), format);
    case 15: return TextCell(TextOf(r.amount));
    case 16: return TextCell(TextOf(r.client));
    case 17: return TextCell(TextOf(r.project));
    case 18: return TextCell(TextOf(r.description));
    case 19: return FlagCell(r.mileage);
    // Miles and rate only mean something for a mileage expense.
    case 20: return TextCell(r.mileage ? TextOf(r.miles) : std::u16string_view());
    case 21: return TextCell(r.mileage ? TextOf(r.mileageRate) : std::u16string_view());
    case 22: return TextCell(TextOf(r.paymentType));
    case 23: return TextCell(TextOf(r.currency));
    case 24: return FlagCell(r.billable);
    case 25: return FlagCell(r.billed);
    case 26: return FlagCell(r.reimbursable);
    case 27: return FlagCell(r.reimbursed);
    case 28: return FlagCell(r.receipt);
    case 29: return NoteCell(r.notes);
    default: return ListCell{};
  }
}

std::vector<int> ShownColumnEntries(const ColumnModel& columns, ColumnRange range) {
  const int first = FirstColumnOf(range);
  const int last = LastColumnOf(range);
  // entryAt[p] is the shown entry holding position p (-1 when none).
  int entryAt[PWH_COLUMN_COUNT + 2];
  for (int& e : entryAt) e = -1;
  for (int i = first; i <= last; ++i) {
    const ColumnInfo c = columns.GetColumn(i);
    if (c.visible && !c.empty() && c.position >= 1 && c.position <= std::uint32_t(last - first + 1) &&
        entryAt[c.position] < 0) {
      entryAt[c.position] = i;
    }
  }
  std::vector<int> entries;
  for (int p = 1; entryAt[p] >= 0; ++p) entries.push_back(entryAt[p]);
  return entries;
}

std::int64_t RowToPosition(int row, int recordSetMode, const RecordPositionList& list) {
  if (row < 0) return -1;
  if (recordSetMode == PWH_ALL_REC_MODE) return row;
  if (recordSetMode == PWH_SELECT_REC_MODE) {
    return static_cast<std::size_t>(row) < list.count() ? std::int64_t(list.at(row)) : -1;
  }
  return -1;
}

int RowNearestToPosition(std::int64_t position, int rowCount, int recordSetMode, const RecordPositionList& list) {
  if (position < 0 || rowCount <= 0) return -1;
  if (recordSetMode == PWH_ALL_REC_MODE) return int(std::min<std::int64_t>(position, rowCount - 1));
  if (recordSetMode != PWH_SELECT_REC_MODE) return -1;
  const auto first = list.begin();
  const auto last = first + std::min<std::ptrdiff_t>(rowCount, std::ptrdiff_t(list.count()));
  if (first == last) return -1;
  // The shown positions rise with the rows: the nearest is at the first
  // position not below the old one, or just before it.
  auto at = std::lower_bound(first, last, RecordPosition(position));
  if (at == last || (at != first && position - std::int64_t(*(at - 1)) < std::int64_t(*at) - position)) --at;
  return int(at - first);
}

}  // namespace pw
