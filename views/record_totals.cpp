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

float TotalsCounter::AddTime(std::u16string_view duration, std::u16string_view rate, std::int32_t billable) {
  const TimeRecordNumbers n = ReadTimeRecordNumbers(rates_, durations_, rate, duration, billable);
  ++totals_.records;
  totals_.hours += n.hours;
  if (billable == 1) totals_.billableAmount += n.hours * n.rate;
  return n.hours;
}

float TotalsCounter::AddExpense(std::u16string_view amount, bool reimbursable) {
  const ExpenseRecordNumbers n = ReadExpenseRecordNumbers(amounts_, amount);
  ++totals_.records;
  totals_.amount += n.amount;
  if (reimbursable) totals_.reimbursable += n.amount;
  return n.amount;
}

float TotalsCounter::Add(const PropertyBuffer& props) {
  // A missing property counts as empty text or 0, as in a cleared record.
  std::u16string_view first, second;
  std::int32_t flag = 0;
  if (totals_.time) {
    ReadFieldProps<TimeRecord>(props.data(), props.size(), [&](const RecordField<TimeRecord>& f, const FieldValue& v) {
      if (f.id == PWH_TIME_DURATION) first = v.text;
      else if (f.id == PWH_TIME_RATE) second = v.text;
      else flag = v.number;
    }, &kTimeTotalFields);
    return AddTime(first, second, flag);
  }
  ReadFieldProps<ExpenseRecord>(props.data(), props.size(),
                                [&](const RecordField<ExpenseRecord>& f, const FieldValue& v) {
                                  if (f.id == PWH_EXP_AMOUNT) first = v.text;
                                  else flag = v.number;
                                },
                                &kExpenseTotalFields);
  return AddExpense(first, flag != 0);
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
