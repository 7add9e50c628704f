#include "views/list_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/fixed_text.h"

namespace pw {
namespace {

constexpr ListCellFormat kAmerican{false, false};
constexpr ListCellFormat kEuropean{true, true};

// The texts of the entries first to last, apart by "|", and their icons.
template <class Record, class Cell>
std::pair<std::u16string, std::vector<int>> Cells(const Record& r, Cell cell, int first, int last,
                                                  const ListCellFormat& format = kAmerican) {
  std::pair<std::u16string, std::vector<int>> out;
  for (int entry = first; entry <= last; ++entry) {
    const ListCell c = cell(r, entry, format);
    out.first += c.text + (entry < last ? u"|" : u"");
    out.second.push_back(c.icon);
  }
  return out;
}

TEST(ListCellsTest, EveryTimeEntry) {
  TimeRecord r;
  r.startHour = 9, r.startMinute = 5, r.endHour = 1, r.endMinute = 30, r.endPm = true, r.billable = 1;
  CopyText(r.duration, u"07:45"), CopyText(r.date, u"12/31/2000");
  CopyText(r.client, u"Acme"), CopyText(r.project, u"Web"), CopyText(r.rate, u"25");
  CopyText(r.subproject, u"Shop"), CopyText(r.task, u"Code"), CopyText(r.currency, u"USD");
  CopyText(r.amount, u"193.75"), CopyText(r.notes, u"call back");
  const int none = PWH_ICON_NONE, check = PWH_ICON_CHECK, cross = PWH_ICON_CROSS;
  // Entry 14 and on are an expense's.
  EXPECT_EQ(Cells(r, TimeRecordCell, 0, 14),
            std::pair(std::u16string(u"12/31/2000|7.75|Acme|Web|09:05 AM|01:30 PM|25|Shop|Code|USD|193.75||||"),
                      std::vector<int>{none, none, none, none, none, none, none, none, none, none, none, check, cross,
                                       PWH_ICON_NOTE, none}));
  EXPECT_EQ(Cells(r, TimeRecordCell, 4, 5, kEuropean).first, u"09:05|13:30");
  EXPECT_EQ(TimeRecordCell(r, 0, kEuropean).text, u"31.12.2000");
  // A new record left blank: no times, no note.
  EXPECT_EQ(Cells(TimeRecord{}, TimeRecordCell, 4, 5).first, u"--:--|--:--");
  EXPECT_EQ(TimeRecordCell(TimeRecord{}, 13, kAmerican).icon, cross);
}

TEST(ListCellsTest, EveryExpenseEntry) {
  ExpenseRecord r;
  CopyText(r.date, u"03/07/2001"), CopyText(r.amount, u"37.20"), CopyText(r.client, u"Acme");
  CopyText(r.project, u"Visit"), CopyText(r.description, u"Drive"), CopyText(r.miles, u"120");
  CopyText(r.mileageRate, u"0.31"), CopyText(r.paymentType, u"Card"), CopyText(r.currency, u"EUR");
  r.billable = r.reimbursed = r.receipt = r.mileage = true;
  const int none = PWH_ICON_NONE, check = PWH_ICON_CHECK, cross = PWH_ICON_CROSS;
  // Entries 13 and 30 are not an expense's.
  EXPECT_EQ(Cells(r, ExpenseRecordCell, 13, 30),
            std::pair(std::u16string(u"|03/07/2001|37.20|Acme|Visit|Drive||120|0.31|Card|EUR|||||||"),
                      std::vector<int>{none, none, none, none, none, none, check, none, none, none, none, check, cross,
                                       cross, check, check, cross, none}));
  EXPECT_EQ(ExpenseRecordCell(r, 14, kEuropean).text, u"07.03.2001");
  // Miles and rate only show for a mileage expense.
  r.mileage = false;
  EXPECT_EQ(Cells(r, ExpenseRecordCell, 19, 21), std::pair(std::u16string(u"||"), std::vector<int>{cross, none, none}));
  CopyText(r.notes, u"x");
  EXPECT_EQ(ExpenseRecordCell(r, 29, kAmerican).icon, PWH_ICON_NOTE);
}

TEST(ListCellsTest, RowToPosition) {
  RecordPositionList list, empty;
  list.Append(2), list.Append(5);
  struct { int mode; const RecordPositionList& list; int row; std::int64_t position; } const cases[]{
      {PWH_ALL_REC_MODE, list, 7, 7},    {PWH_SELECT_REC_MODE, list, 1, 5}, {PWH_SELECT_REC_MODE, list, 2, -1},
      {PWH_SELECT_REC_MODE, empty, 0, -1}, {PWH_ALL_REC_MODE, list, -1, -1}, {3, list, 0, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RowToPosition(c.row, c.mode, c.list), c.position) << "mode " << c.mode << " row " << c.row;
}

// The row made current after a rebuild, for the record that was current.
TEST(ListCellsTest, RowNearestToPosition) {
  RecordPositionList list, empty;
  for (RecordPosition p : {2u, 5u, 9u, 12u}) list.Append(p);
  struct { const char* what; int mode; const RecordPositionList& list; int rows; std::int64_t position; int row; } const
      cases[]{
          {"all: the same row", PWH_ALL_REC_MODE, empty, 10, 4, 4},
          {"all: the last one was deleted", PWH_ALL_REC_MODE, empty, 4, 4, 3},
          {"all: nothing shown", PWH_ALL_REC_MODE, empty, 0, 0, -1},
          {"nothing was current", PWH_ALL_REC_MODE, empty, 10, -1, -1},
          {"selected: still shown", PWH_SELECT_REC_MODE, list, 4, 9, 2},
          {"selected: nearer the later", PWH_SELECT_REC_MODE, list, 4, 8, 2},
          {"selected: nearer the earlier", PWH_SELECT_REC_MODE, list, 4, 6, 1},
          {"selected: a tie goes to the later", PWH_SELECT_REC_MODE, list, 4, 7, 2},
          {"selected: before the first", PWH_SELECT_REC_MODE, list, 4, 0, 0},
          {"selected: past the last", PWH_SELECT_REC_MODE, list, 4, 40, 3},
          {"selected: only the rows shown count", PWH_SELECT_REC_MODE, list, 2, 12, 1},
          {"selected: none shown", PWH_SELECT_REC_MODE, empty, 3, 5, -1},
          {"unknown mode", 3, list, 4, 5, -1},
      };
  for (const auto& c : cases) EXPECT_EQ(RowNearestToPosition(c.position, c.rows, c.mode, c.list), c.row) << c.what;
}

}  // namespace
}  // namespace pw
