#include "views/list_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/fixed_text.h"

namespace pw {
namespace {

constexpr ListCellFormat kAmerican{false, false};
constexpr ListCellFormat kEuropean{true, true};

TimeRecord SampleTimeRecord() {
  TimeRecord r;
  r.startHour = 9, r.startMinute = 5, r.startPm = false;
  r.endHour = 1, r.endMinute = 30, r.endPm = true;
  CopyText(r.duration, u"07:45");
  CopyText(r.date, u"12/31/2000");
  CopyText(r.client, u"Acme");
  CopyText(r.project, u"Web shop");
  CopyText(r.rate, u"25");
  CopyText(r.subproject, u"Checkout");
  CopyText(r.task, u"Design");
  CopyText(r.currency, u"USD");
  CopyText(r.amount, u"193.75");
  r.billable = 1;
  r.billed = 0;
  CopyText(r.notes, u"call back");
  return r;
}

ExpenseRecord SampleExpenseRecord(bool mileage) {
  ExpenseRecord r;
  CopyText(r.date, u"03/07/2001");
  CopyText(r.client, u"Acme");
  CopyText(r.project, u"Visit");
  CopyText(r.description, u"Drive to site");
  r.mileage = mileage;
  CopyText(r.miles, u"120");
  CopyText(r.mileageRate, u"0.31");
  CopyText(r.paymentType, u"Card");
  CopyText(r.currency, u"EUR");
  CopyText(r.amount, u"37.20");
  r.billable = true;
  r.billed = false;
  r.reimbursable = false;
  r.reimbursed = true;
  r.receipt = true;
  return r;
}

struct CellCase {
  const char* what;
  int entry;
  ListCellFormat format;
  std::u16string text;
  int icon;
};

void PrintTo(const CellCase& c, std::ostream* os) { *os << c.what; }

// --- Time records --------------------------------------------------------

class TimeCellTest : public testing::TestWithParam<CellCase> {};

TEST_P(TimeCellTest, ShowsTheEntrysField) {
  const CellCase& c = GetParam();
  const ListCell cell = TimeRecordCell(SampleTimeRecord(), c.entry, c.format);
  EXPECT_EQ(cell.text, c.text);
  EXPECT_EQ(cell.icon, c.icon);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEntry, TimeCellTest,
    testing::Values(
        CellCase{"date", 0, kAmerican, u"12/31/2000", PWH_ICON_NONE},
        CellCase{"european date", 0, kEuropean, u"31.12.2000", PWH_ICON_NONE},
        CellCase{"hours", 1, kAmerican, u"7.75", PWH_ICON_NONE},
        CellCase{"client", 2, kAmerican, u"Acme", PWH_ICON_NONE},
        CellCase{"project", 3, kAmerican, u"Web shop", PWH_ICON_NONE},
        CellCase{"start", 4, kAmerican, u"09:05 AM", PWH_ICON_NONE},
        CellCase{"start 24h", 4, kEuropean, u"09:05", PWH_ICON_NONE},
        CellCase{"end", 5, kAmerican, u"01:30 PM", PWH_ICON_NONE},
        CellCase{"end 24h", 5, kEuropean, u"13:30", PWH_ICON_NONE},
        CellCase{"rate", 6, kAmerican, u"25", PWH_ICON_NONE},
        CellCase{"subproject", 7, kAmerican, u"Checkout", PWH_ICON_NONE},
        CellCase{"task", 8, kAmerican, u"Design", PWH_ICON_NONE},
        CellCase{"currency", 9, kAmerican, u"USD", PWH_ICON_NONE},
        CellCase{"amount", 10, kAmerican, u"193.75", PWH_ICON_NONE},
        CellCase{"billable", 11, kAmerican, u"", PWH_ICON_CHECK},
        CellCase{"billed", 12, kAmerican, u"", PWH_ICON_CROSS},
        CellCase{"note", 13, kAmerican, u"", PWH_ICON_NOTE},
        CellCase{"an expense entry", 14, kAmerican, u"", PWH_ICON_NONE},
        CellCase{"no entry", -1, kAmerican, u"", PWH_ICON_NONE}));

// A record as a new, untouched one is stored: no times, no note, "n/a" texts.
TEST(TimeCellTest, BlankRecordShowsDashesAndCrosses) {
  TimeRecord r;
  CopyText(r.duration, u"--:--");
  CopyText(r.date, u"n/a");
  for (const ListCellFormat& format : {kAmerican, kEuropean}) {
    SCOPED_TRACE(format.europeanDates ? "european" : "american");
    EXPECT_EQ(TimeRecordCell(r, 4, format).text, u"--:--");
    EXPECT_EQ(TimeRecordCell(r, 5, format).text, u"--:--");
    EXPECT_EQ(TimeRecordCell(r, 1, format).text, u"--:--");  // hours that cannot be read stay as stored
    EXPECT_EQ(TimeRecordCell(r, 11, format).icon, PWH_ICON_CROSS);
    EXPECT_EQ(TimeRecordCell(r, 12, format).icon, PWH_ICON_CROSS);
    EXPECT_EQ(TimeRecordCell(r, 13, format).icon, PWH_ICON_CROSS);
  }
  EXPECT_EQ(TimeRecordCell(r, 0, kAmerican).text, u"n/a");
  EXPECT_EQ(TimeRecordCell(r, 0, kEuropean).text, u"00/00/0000");
}

// Only the start and end both at zero count as "no times": midnight to
// one o'clock is a real time.
TEST(TimeCellTest, MidnightStartIsATime) {
  TimeRecord r;
  r.endHour = 1;
  EXPECT_EQ(TimeRecordCell(r, 4, kAmerican).text, u"12:00 AM");
  EXPECT_EQ(TimeRecordCell(r, 5, kEuropean).text, u"01:00");
}

// --- Expense records -----------------------------------------------------

struct ExpenseCellCase {
  CellCase cell;
  bool mileage;
};

void PrintTo(const ExpenseCellCase& c, std::ostream* os) { *os << c.cell.what; }

class ExpenseCellTest : public testing::TestWithParam<ExpenseCellCase> {};

TEST_P(ExpenseCellTest, ShowsTheEntrysField) {
  const ExpenseCellCase& c = GetParam();
  const ListCell cell = ExpenseRecordCell(SampleExpenseRecord(c.mileage), c.cell.entry, c.cell.format);
  EXPECT_EQ(cell.text, c.cell.text);
  EXPECT_EQ(cell.icon, c.cell.icon);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEntry, ExpenseCellTest,
    testing::Values(
        ExpenseCellCase{{"date", 14, kAmerican, u"03/07/2001", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"european date", 14, kEuropean, u"07.03.2001", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"amount", 15, kAmerican, u"37.20", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"client", 16, kAmerican, u"Acme", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"project", 17, kAmerican, u"Visit", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"description", 18, kAmerican, u"Drive to site", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"mileage", 19, kAmerican, u"", PWH_ICON_CHECK}, true},
        ExpenseCellCase{{"miles", 20, kAmerican, u"120", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"mileage rate", 21, kAmerican, u"0.31", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"no mileage", 19, kAmerican, u"", PWH_ICON_CROSS}, false},
        ExpenseCellCase{{"miles without mileage", 20, kAmerican, u"", PWH_ICON_NONE}, false},
        ExpenseCellCase{{"rate without mileage", 21, kAmerican, u"", PWH_ICON_NONE}, false},
        ExpenseCellCase{{"payment", 22, kAmerican, u"Card", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"currency", 23, kAmerican, u"EUR", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"billable", 24, kAmerican, u"", PWH_ICON_CHECK}, true},
        ExpenseCellCase{{"billed", 25, kAmerican, u"", PWH_ICON_CROSS}, true},
        ExpenseCellCase{{"reimbursable", 26, kAmerican, u"", PWH_ICON_CROSS}, true},
        ExpenseCellCase{{"reimbursed", 27, kAmerican, u"", PWH_ICON_CHECK}, true},
        ExpenseCellCase{{"receipt", 28, kAmerican, u"", PWH_ICON_CHECK}, true},
        ExpenseCellCase{{"no note", 29, kAmerican, u"", PWH_ICON_CROSS}, true},
        ExpenseCellCase{{"a time entry", 13, kAmerican, u"", PWH_ICON_NONE}, true},
        ExpenseCellCase{{"past the table", 30, kAmerican, u"", PWH_ICON_NONE}, true}));

TEST(ExpenseCellTest, NoteSheetForANote) {
  ExpenseRecord r = SampleExpenseRecord(false);
  CopyText(r.notes, u"x");
  EXPECT_EQ(ExpenseRecordCell(r, 29, kAmerican).icon, PWH_ICON_NOTE);
}

// --- Columns and rows ----------------------------------------------------

TEST(ShownColumnEntriesTest, FollowTheDisplayOrder) {
  ColumnModel columns;
  std::vector<int> time;
  for (int i = 0; i <= 13; ++i) time.push_back(i);
  EXPECT_EQ(ShownColumnEntries(columns, ColumnRange::Time), time);
  EXPECT_EQ(ShownColumnEntries(columns, ColumnRange::Expense).size(), 16u);

  // Hide "Client" (position 3) and move "Task" to the front.
  ASSERT_TRUE(columns.UpdateColumnByName(ColumnRange::Time, u"Client", 60, 3, 0));
  for (std::uint32_t p = columns.GetColumn(8).position; p > 1; --p) {
    ASSERT_TRUE(columns.MoveColumnUp(ColumnRange::Time, p));
  }
  EXPECT_EQ(ShownColumnEntries(columns, ColumnRange::Time),
            (std::vector<int>{8, 0, 1, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13}));
  // The expense range is untouched.
  EXPECT_EQ(ShownColumnEntries(columns, ColumnRange::Expense).front(), 14);
}

TEST(ShownColumnEntriesTest, NothingShownGivesNoColumns) {
  ColumnModel columns;
  for (int i = 14; i <= 29; ++i) {
    const ColumnInfo c = columns.GetColumn(i);
    ASSERT_TRUE(columns.UpdateColumnByName(ColumnRange::Expense, c.text(), c.width, 0, 0));
  }
  EXPECT_TRUE(ShownColumnEntries(columns, ColumnRange::Expense).empty());
  EXPECT_EQ(ShownColumnEntries(columns, ColumnRange::Time).size(), 14u);
}

struct RowCase {
  const char* what;
  int mode;
  std::vector<RecordPosition> list;
  int row;
  std::int64_t position;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.what; }

class RowToPositionTest : public testing::TestWithParam<RowCase> {};

TEST_P(RowToPositionTest, MapsRowToRecord) {
  const RowCase& c = GetParam();
  RecordPositionList list;
  for (RecordPosition p : c.list) ASSERT_TRUE(list.Append(p));
  EXPECT_EQ(RowToPosition(c.row, c.mode, list), c.position);
}

INSTANTIATE_TEST_SUITE_P(
    BothModes, RowToPositionTest,
    testing::Values(RowCase{"all: row is position", PWH_ALL_REC_MODE, {2, 5}, 7, 7},
                    RowCase{"all: first row", PWH_ALL_REC_MODE, {}, 0, 0},
                    RowCase{"select: first entry", PWH_SELECT_REC_MODE, {2, 5}, 0, 2},
                    RowCase{"select: second entry", PWH_SELECT_REC_MODE, {2, 5}, 1, 5},
                    RowCase{"select: past the list", PWH_SELECT_REC_MODE, {2, 5}, 2, -1},
                    RowCase{"select: empty list", PWH_SELECT_REC_MODE, {}, 0, -1},
                    RowCase{"no selection mark", PWH_ALL_REC_MODE, {}, -1, -1},
                    RowCase{"unknown mode", 3, {2, 5}, 0, -1}));

}  // namespace
}  // namespace pw
