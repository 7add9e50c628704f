#include "views/record_totals.h"

#include "platform/host_port.h"
#include "selection/quick_filter.h"
#include "text/format.h"

namespace pw {

float TotalsCounter::Add(const TotalsShare& share) {
  if (keepTerms_) terms_.push_back(share);
  AddToTotals(share);
  return share.all;
}

void TotalsCounter::AddToTotals(const TotalsShare& share) {
  ++totals_.records;
  if (totals_.time) {
    totals_.hours += share.all;
    totals_.billableAmount += share.flagged;
  } else {
    totals_.amount += share.all;
    totals_.reimbursable += share.flagged;
  }
}

float TotalsCounter::AddTime(std::u16string_view duration, std::u16string_view rate, std::int32_t billable) {
  return Add(reader_.Time(duration, rate, billable));
}

float TotalsCounter::AddExpense(std::u16string_view amount, bool reimbursable) {
  return Add(reader_.Expense(amount, reimbursable));
}

float TotalsCounter::Add(const PropertyBuffer& props) { return Add(reader_.Read(totals_.time, props)); }

bool TotalsCounter::Replace(std::size_t index, const PropertyBuffer& props) {
  if (!keepTerms_ || index >= terms_.size()) return false;
  terms_[index] = reader_.Read(totals_.time, props);
  // Float sums depend on their order: every term is added again.
  totals_ = ShownTotals{.time = totals_.time};
  for (const TotalsShare& share : terms_) AddToTotals(share);
  return true;
}

bool QuickFilterTotals(const RecordSelection& selection, int appMode, ShownTotals* totals) {
  const QuickFilterState& f = selection.Filter;
  const bool time = appMode != PWH_EXPENSE_MODE;
  if (!f.textsReady || f.sharesTime != time || f.shares.size() + 1 != f.starts.size()) return false;
  if (!f.folded.empty() && f.lastNeedle != f.folded) return false;
  TotalsCounter counter(appMode);
  if (f.folded.empty()) {
    for (const TotalsShare& share : f.shares) counter.Add(share);
  } else {
    for (const std::uint32_t i : f.lastMatches) counter.Add(f.shares[i]);
  }
  *totals = counter.totals();
  return true;
}

std::u16string TotalsStatusText(const ShownTotals& t, std::int64_t unnarrowedCount) {
  std::u16string text;
  if (unnarrowedCount >= 0) text = Format(u"%d of %ld shown; ", int(t.records), long(unnarrowedCount));
  if (t.time) return text + Format(u"%.2f h, %.2f billable", t.hours, t.billableAmount);
  return text + Format(u"%.2f amount, %.2f reimbursable", t.amount, t.reimbursable);
}

void ShowTotals(const ShownTotals& totals, const RecordSelection& selection, DatabaseHandle& db) {
  SetStatusText(PWH_STATUS_TOTALS, TotalsStatusText(totals, NarrowingInForce(selection) ? UnnarrowedCount(selection, db) : -1));
}

std::u16string GroupLabelWithTotal(std::u16string_view text, float total) {
  return Format(u"%s  (%.2f)", text, total);
}

}  // namespace pw
