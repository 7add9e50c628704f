#include "views/list_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/fixed_text.h"

namespace pw {
namespace {

constexpr ListCellFormat kAmerican{false, false};
constexpr ListCellFormat kEuropean{true, true};

struct CellCase { int entry; ListCellFormat format; std::u16string text; int icon; };

TEST(ListCellsTest, EveryTimeEntry) {
  TimeRecord r;
  r.startHour = 9, r.startMinute = 5, r.endHour = 1, r.endMinute = 30, r.endPm = true, r.billable = 1;
  CopyText(r.duration, u"07:45"), CopyText(r.date, u"12/31/2000");
  CopyText(r.client, u"Acme"), CopyText(r.project, u"Web"), CopyText(r.rate, u"25");
  CopyText(r.subproject, u"Shop"), CopyText(r.task, u"Code"), CopyText(r.currency, u"USD");
  CopyText(r.amount, u"193.75"), CopyText(r.notes, u"call back");
  const std::vector<CellCase> cases{
      {0, kAmerican, u"12/31/2000", -1}, {0, kEuropean, u"31.12.2000", -1}, {1, kAmerican, u"7.75", -1},
      {2, kAmerican, u"Acme", -1},       {3, kAmerican, u"Web", -1},        {4, kAmerican, u"09:05 AM", -1},
      {4, kEuropean, u"09:05", -1},      {5, kAmerican, u"01:30 PM", -1},   {5, kEuropean, u"13:30", -1},
      {6, kAmerican, u"25", -1},         {7, kAmerican, u"Shop", -1},       {8, kAmerican, u"Code", -1},
      {9, kAmerican, u"USD", -1},        {10, kAmerican, u"193.75", -1},    {11, kAmerican, u"", PWH_ICON_CHECK},
      {12, kAmerican, u"", PWH_ICON_CROSS}, {13, kAmerican, u"", PWH_ICON_NOTE},
      {14, kAmerican, u"", -1},  // an expense entry
  };
  for (const CellCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "entry " << c.entry << (c.format.europeanDates ? " european" : ""));
    const ListCell cell = TimeRecordCell(r, c.entry, c.format);
    EXPECT_EQ(std::pair(cell.text, cell.icon), std::pair(c.text, c.icon));
  }
}

// A new record left blank: no times, no note, "n/a" texts.
TEST(ListCellsTest, BlankTimeRecord) {
  TimeRecord r;
  CopyText(r.duration, u"--:--"), CopyText(r.date, u"n/a");
  for (const ListCellFormat& format : {kAmerican, kEuropean}) {
    for (int entry : {1, 4, 5}) EXPECT_EQ(TimeRecordCell(r, entry, format).text, u"--:--") << entry;
    EXPECT_EQ(TimeRecordCell(r, 13, format).icon, PWH_ICON_CROSS);
  }
  EXPECT_EQ(TimeRecordCell(r, 0, kEuropean).text, u"00/00/0000");
}

TEST(ListCellsTest, EveryExpenseEntry) {
  ExpenseRecord r;
  CopyText(r.date, u"03/07/2001"), CopyText(r.amount, u"37.20"), CopyText(r.client, u"Acme");
  CopyText(r.project, u"Visit"), CopyText(r.description, u"Drive"), CopyText(r.miles, u"120");
  CopyText(r.mileageRate, u"0.31"), CopyText(r.paymentType, u"Card"), CopyText(r.currency, u"EUR");
  r.billable = r.reimbursed = r.receipt = true;
  for (bool mileage : {true, false}) {
    r.mileage = mileage;
    const std::vector<CellCase> cases{
        {14, kAmerican, u"03/07/2001", -1}, {14, kEuropean, u"07.03.2001", -1}, {15, kAmerican, u"37.20", -1},
        {16, kAmerican, u"Acme", -1},       {17, kAmerican, u"Visit", -1},      {18, kAmerican, u"Drive", -1},
        {19, kAmerican, u"", mileage ? PWH_ICON_CHECK : PWH_ICON_CROSS},
        // Miles and rate only show for a mileage expense.
        {20, kAmerican, mileage ? u"120" : u"", -1}, {21, kAmerican, mileage ? u"0.31" : u"", -1},
        {22, kAmerican, u"Card", -1},         {23, kAmerican, u"EUR", -1},
        {24, kAmerican, u"", PWH_ICON_CHECK}, {25, kAmerican, u"", PWH_ICON_CROSS},
        {26, kAmerican, u"", PWH_ICON_CROSS}, {27, kAmerican, u"", PWH_ICON_CHECK},
        {28, kAmerican, u"", PWH_ICON_CHECK}, {29, kAmerican, u"", PWH_ICON_CROSS},
        {13, kAmerican, u"", -1}, {30, kAmerican, u"", -1},  // not expense entries
    };
    for (const CellCase& c : cases) {
      SCOPED_TRACE(testing::Message() << "entry " << c.entry << (mileage ? " mileage" : ""));
      const ListCell cell = ExpenseRecordCell(r, c.entry, c.format);
      EXPECT_EQ(std::pair(cell.text, cell.icon), std::pair(c.text, c.icon));
    }
  }
  CopyText(r.notes, u"x");
  EXPECT_EQ(ExpenseRecordCell(r, 29, kAmerican).icon, PWH_ICON_NOTE);
}

TEST(ListCellsTest, RowToPosition) {
  RecordPositionList list, empty;
  list.Append(2), list.Append(5);
  struct { int mode; const RecordPositionList& list; int row; std::int64_t position; } const cases[]{
      {PWH_ALL_REC_MODE, list, 7, 7},   {PWH_SELECT_REC_MODE, list, 0, 2}, {PWH_SELECT_REC_MODE, list, 1, 5},
      {PWH_SELECT_REC_MODE, list, 2, -1}, {PWH_SELECT_REC_MODE, empty, 0, -1}, {PWH_ALL_REC_MODE, list, -1, -1},
      {3, list, 0, -1},
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
