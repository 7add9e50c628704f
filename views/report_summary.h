// The summaries behind the Report view: totals of hours (time records) or
// amounts (expense records), the detailed totals per client, project and the
// rest of an entry's key, counts of records whose numbers are unusable, and
// the note lines.
//
// Detailed totals keep the order in which their keys first appear; an index
// of hashed keys finds the entry of a record without walking the list, so a
// summary of many records stays linear in their number.
#pragma once

#include <cstddef>
#include <functional>
#include <cstdint>
#include <climits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/object_store.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "storage/record_numbers.h"
#include "views/report_charts.h"

namespace pw {

// One detailed total of a time summary. Two records share an entry only
// when client, project, subproject and task are equal unit for unit, their
// billable flags are equal and their rates are equal as floats.
struct TimeSummaryEntry {
  std::u16string client, project, subproject, task;
  std::int32_t billable = 0;
  float hours = 0.0f;
  float amount = 0.0f;  // rate x hours for a billable entry, else 0
  float rate = 0.0f;
};

// One detailed total of an expense summary, keyed by client, project,
// description and the billable flag.
struct ExpenseSummaryEntry {
  std::u16string client, project, description;
  bool billable = false;
  float amount = 0.0f;
};

// The index of an ordered entry list: the first entry of each key hash, and
// for every entry the next one with the same hash (kNoEntry ends a chain).
struct SummaryIndex {
  static constexpr std::uint32_t kNoEntry = UINT32_MAX;
  std::unordered_map<std::size_t, std::uint32_t> first;
  std::vector<std::uint32_t> next;
};

struct TimeSummary {
  std::vector<TimeSummaryEntry> entries;  // in order of first appearance
  std::vector<std::u16string> notes;      // one per record with a note, in walk order
  std::int32_t recordCount = 0;
  std::int32_t billableRecordCount = 0;
  float totalHours = 0.0f;
  float billableHours = 0.0f;
  float billableAmount = 0.0f;
  std::int32_t undefinedDurationCount = 0;
  std::int32_t invalidDurationCount = 0;
  std::int32_t undefinedRateCount = 0;
  std::int32_t invalidRateCount = 0;
  std::int32_t unbilledCount = 0;
  SummaryIndex index;
  NumberScans rates, durations;
  MonthTally months;  // hours by calendar month, for the chart
};

struct ExpenseSummary {
  std::vector<ExpenseSummaryEntry> entries;
  std::vector<std::u16string> notes;
  std::int32_t recordCount = 0;
  std::int32_t billableRecordCount = 0;
  float totalAmount = 0.0f;
  float billableAmount = 0.0f;
  std::int32_t undefinedAmountCount = 0;
  std::int32_t invalidAmountCount = 0;
  std::int32_t unbilledCount = 0;
  SummaryIndex index;
  NumberScans amounts;
  MonthTally months;  // amounts by calendar month, for the chart
};

// Adds the hours to the entry with the same key, or appends a new entry.
// A billable entry's (billable == 1) amount is then its rate x its hours.
void AddTimeSummaryEntry(TimeSummary* summary, std::u16string_view client, std::u16string_view project,
                         std::u16string_view subproject, std::u16string_view task, std::int32_t billable,
                         float hours, float rate);
// Adds the amount to the entry with the same key, or appends a new entry.
void AddExpenseSummaryEntry(ExpenseSummary* summary, std::u16string_view client, std::u16string_view project,
                            std::u16string_view description, bool billable, float amount);

// The note line of a record: date: "note". The date is shown day first
// when europeanDates is set.
std::u16string SummaryNoteLine(std::u16string_view date, std::u16string_view note, bool europeanDates);
void AddSummaryNote(std::vector<std::u16string>* notes, std::u16string_view date, std::u16string_view note,
                    bool europeanDates);

// What one time record adds to a summary; the texts are the record's
// fields as stored.
struct TimeFieldsForSummary {
  std::u16string_view date, client, project, subproject, task, rate, duration, notes;
  std::int32_t billable = 0;
  std::int32_t billed = 0;
};
struct ExpenseFieldsForSummary {
  std::u16string_view date, client, project, description, amount, notes;
  bool billable = false;
  bool billed = false;
};
void SummarizeTimeRecord(TimeSummary* summary, const TimeFieldsForSummary& record, bool europeanDates);
void SummarizeExpenseRecord(ExpenseSummary* summary, const ExpenseFieldsForSummary& record, bool europeanDates);

// Summarises the records at the positions of list, in list order, from the
// database. A position without a record ends the walk. A record that cannot
// be read is reported (owned by owner) and ends the walk with false; the
// summary then holds the records before it. Note dates are day.month.year
// with europeanDates.
bool SummarizeTimeRecords(HWND owner, DatabaseHandle& db, const RecordPositionList& list, bool europeanDates,
                          TimeSummary* summary);
bool SummarizeExpenseRecords(HWND owner, DatabaseHandle& db, const RecordPositionList& list, bool europeanDates,
                             ExpenseSummary* summary);

}  // namespace pw
