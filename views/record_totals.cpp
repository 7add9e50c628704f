#include "views/record_totals.h"

#include "platform/host_port.h"
#include "selection/quick_filter.h"
#include "storage/record_fields.h"
#include "text/format.h"

namespace pw {

namespace {

constexpr FieldIdSet kTimeTotalFields = FieldIds({PWH_TIME_DURATION, PWH_TIME_RATE, PWH_TIME_BILLABLE});
constexpr FieldIdSet kExpenseTotalFields = FieldIds({PWH_EXP_AMOUNT, PWH_EXP_REIMBURSABLE});

}  // namespace

TotalsCounter::Term TotalsCounter::TimeTerm(std::u16string_view duration, std::u16string_view rate,
                                             std::int32_t billable) {
  const TimeRecordNumbers n = ReadTimeRecordNumbers(rates_, durations_, rate, duration, billable);
  return {n.hours, n.hours * n.rate, billable == 1};
}

TotalsCounter::Term TotalsCounter::ExpenseTerm(std::u16string_view amount, bool reimbursable) {
  return {ReadExpenseRecordNumbers(amounts_, amount).amount, 0.0f, reimbursable};
}

TotalsCounter::Term TotalsCounter::TermOf(const PropertyBuffer& props) {
  // A missing property counts as empty text or 0, as in a cleared record.
  std::u16string_view first, second;
  std::int32_t flag = 0;
  if (totals_.time) {
    ReadFieldProps<TimeRecord>(props.data(), props.size(), [&](const RecordField<TimeRecord>& f, const FieldValue& v) {
      if (f.id == PWH_TIME_DURATION) first = v.text;
      else if (f.id == PWH_TIME_RATE) second = v.text;
      else flag = v.number;
    }, &kTimeTotalFields);
    return TimeTerm(first, second, flag);
  }
  ReadFieldProps<ExpenseRecord>(props.data(), props.size(),
                                [&](const RecordField<ExpenseRecord>& f, const FieldValue& v) {
                                  if (f.id == PWH_EXP_AMOUNT) first = v.text;
                                  else flag = v.number;
                                },
                                &kExpenseTotalFields);
  return ExpenseTerm(first, flag != 0);
}

void TotalsCounter::AddToTotals(const Term& t) {
  ++totals_.records;
  if (totals_.time) {
    totals_.hours += t.value;
    if (t.flag) totals_.billableAmount += t.product;
  } else {
    totals_.amount += t.value;
    if (t.flag) totals_.reimbursable += t.value;
  }
}

float TotalsCounter::Count(const Term& term) {
  if (keepTerms_) terms_.push_back(term);
  AddToTotals(term);
  return term.value;
}

float TotalsCounter::AddTime(std::u16string_view duration, std::u16string_view rate, std::int32_t billable) {
  return Count(TimeTerm(duration, rate, billable));
}

float TotalsCounter::AddExpense(std::u16string_view amount, bool reimbursable) {
  return Count(ExpenseTerm(amount, reimbursable));
}

float TotalsCounter::Add(const PropertyBuffer& props) { return Count(TermOf(props)); }

bool TotalsCounter::Replace(std::size_t index, const PropertyBuffer& props) {
  if (!keepTerms_ || index >= terms_.size()) return false;
  terms_[index] = TermOf(props);
  // Float sums depend on their order: every term is added again.
  totals_ = ShownTotals{.time = totals_.time};
  for (const Term& t : terms_) AddToTotals(t);
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
