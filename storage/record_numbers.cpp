#include "storage/record_numbers.h"

#include <iterator>

#include "storage/record_fields.h"
#include "text/format.h"

namespace pw {

namespace {

// The float nearest to 1/60: minutes become hours in single precision.
constexpr float kHoursPerMinute = 0.016666668f;

float HoursOf(int hours, int minutes) { return float(minutes) * kHoursPerMinute + float(hours); }

void ScanDecimal(std::u16string_view text, ScannedNumber* out) { out->fields = ScanFloat(text, &out->value); }

void ScanDuration(std::u16string_view text, ScannedNumber* out) {
  out->fields = ScanTwoInts(text, "%d:%d", &out->hours, &out->minutes);
}

// A rate or an amount: "n/a" is undefined, text that does not scan is
// invalid. A plain decimal is cheaper to read again than to look up.
void ReadDecimal(NumberScans& scans, std::u16string_view text, float* value, bool* undefined, bool* invalid) {
  if (text == u"n/a") {
    *undefined = true;
  } else if (ScanPlainDecimal(text, value)) {
  } else if (const ScannedNumber& scanned = scans.Get(text, ScanDecimal); scanned.fields == 1) {
    *value = scanned.value;
  } else {
    *invalid = true;
  }
}

}  // namespace

TimeRecordNumbers ReadTimeRecordNumbers(NumberScans& rates, NumberScans& durations, std::u16string_view rate,
                                        std::u16string_view duration, std::int32_t billable) {
  TimeRecordNumbers n;
  if (billable == 1) ReadDecimal(rates, rate, &n.rate, &n.undefinedRate, &n.invalidRate);
  // An "h:mm" the program wrote is cheaper to read again than to look up.
  int hours = 0, minutes = 0;
  if (ScanPlainClock(duration, &hours, &minutes)) {
    n.hours = HoursOf(hours, minutes);
  } else if (duration == u"--:--" || duration == u"??:??") {
    n.undefinedDuration = true;
  } else if (const ScannedNumber& scanned = durations.Get(duration, ScanDuration); scanned.fields == 2) {
    n.hours = HoursOf(scanned.hours, scanned.minutes);
  } else {
    n.invalidDuration = true;
  }
  return n;
}

ExpenseRecordNumbers ReadExpenseRecordNumbers(NumberScans& amounts, std::u16string_view amount) {
  ExpenseRecordNumbers n;
  ReadDecimal(amounts, amount, &n.amount, &n.undefinedAmount, &n.invalidAmount);
  return n;
}

TotalsShare TotalsShareReader::Time(std::u16string_view duration, std::u16string_view rate, std::int32_t billable) {
  // What the program writes, read straight away; anything else as the report reads it.
  int hours = 0, minutes = 0;
  float plainRate = 0.0f;
  if (ScanPlainClock(duration, &hours, &minutes) && (billable != 1 || ScanPlainDecimal(rate, &plainRate))) {
    const float h = HoursOf(hours, minutes);
    return {h, billable == 1 ? h * plainRate : 0.0f};
  }
  const TimeRecordNumbers n = ReadTimeRecordNumbers(rates_, durations_, rate, duration, billable);
  return {n.hours, billable == 1 ? n.hours * n.rate : 0.0f};
}

TotalsShare TotalsShareReader::Expense(std::u16string_view amount, bool reimbursable) {
  const ExpenseRecordNumbers n = ReadExpenseRecordNumbers(amounts_, amount);
  return {n.amount, reimbursable ? n.amount : 0.0f};
}

namespace {

// A field of a stored record; a missing one reads as empty text or 0, as in
// a cleared record.
template <class Record>
FieldValue FieldOf(const PropertyBuffer& props, WORD id) {
  FieldValue v;
  ReadOneField<Record>(props.data(), props.size(), id, &v);
  return v;
}

}  // namespace

const PropertyIdSet& TotalsFields(bool time) {
  static constexpr FieldIdSet kTime = FieldIds({PWH_TIME_DURATION, PWH_TIME_RATE, PWH_TIME_BILLABLE});
  static constexpr FieldIdSet kExpense = FieldIds({PWH_EXP_AMOUNT, PWH_EXP_REIMBURSABLE});
  return time ? kTime : kExpense;
}

TotalsShare TotalsShareReader::Read(bool time, const PropertyBuffer& props) {
  if (time)
    return Time(FieldOf<TimeRecord>(props, PWH_TIME_DURATION).text, FieldOf<TimeRecord>(props, PWH_TIME_RATE).text,
                FieldOf<TimeRecord>(props, PWH_TIME_BILLABLE).number);
  return Expense(FieldOf<ExpenseRecord>(props, PWH_EXP_AMOUNT).text,
                 FieldOf<ExpenseRecord>(props, PWH_EXP_REIMBURSABLE).number != 0);
}

}  // namespace pw
