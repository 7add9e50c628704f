// Totals of the records a view shows, for the status line and the Tree's
// group nodes: time records give their hours and billable amount, expense
// records their amount and reimbursable amount. The numbers are read and
// added as the report does (views/report_summary.h), in float, record by
// record in the order shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/object_store.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "storage/record_numbers.h"
#include "views/report_summary.h"

namespace pw {

struct ShownTotals {
  bool time = true;
  std::int32_t records = 0;
  float hours = 0.0f;           // time: every record's hours
  float billableAmount = 0.0f;  // time: hours x rate of the billable records
  float amount = 0.0f;          // expense: every record's amount
  float reimbursable = 0.0f;    // expense: the amount of the reimbursable records
};

class TotalsCounter {
 public:
  explicit TotalsCounter(int appMode) { totals_.time = appMode != PWH_EXPENSE_MODE; }

  // Adds one record from its fields as stored. Each returns what the record
  // adds to a Tree group: its hours, or its amount.
  float AddTime(std::u16string_view duration, std::u16string_view rate, std::int32_t billable);
  float AddExpense(std::u16string_view amount, bool reimbursable);
  // Adds one record of the counter's mode from its properties.
  float Add(const PropertyBuffer& props);
  // Adds one record's share as read before (storage/record_numbers.h).
  float Add(const TotalsShare& share);

  // Called before the first record is added: keeps what each record adds,
  // so that Replace can count one of them anew without reading the others.
  void KeepTerms() { keepTerms_ = totals_.records == 0; }
  // The record added index-th (0: the first) replaced by props: the totals
  // are added up again in the same order, to exactly what adding every
  // record anew gives. False when the terms were not kept or there is no
  // such record.
  bool Replace(std::size_t index, const PropertyBuffer& props);

  const ShownTotals& totals() const { return totals_; }

 private:
  ShownTotals totals_;
  void AddToTotals(const TotalsShare& share);

  TotalsShareReader reader_;
  bool keepTerms_ = false;
  std::vector<TotalsShare> terms_;
};

// The totals of the records the quick filter shows (selection/quick_filter.h),
// added from the shares it kept when it read their texts, in the order shown:
// the same numbers as a walk of those records gives. False when it keeps
// none for the records of appMode (its texts are not read).
bool QuickFilterTotals(const RecordSelection& selection, int appMode, ShownTotals* totals);

// The totals part of the status line: "12.50 h, 625.00 billable" (time) or
// "120.00 amount, 80.00 reimbursable" (expense), numbers "%.2f". When a
// filter or a Find result narrows the records, it begins "n of m shown; ".
std::u16string TotalsStatusText(const ShownTotals& totals, std::int64_t unnarrowedCount);
// Writes that text into the totals part of the status line; the count of
// records without the narrowing comes from the selection.
void ShowTotals(const ShownTotals& totals, const RecordSelection& selection, DatabaseHandle& db);

// A Tree group's label: its text and its total, "%.2f".
std::u16string GroupLabelWithTotal(std::u16string_view text, float total);

}  // namespace pw
