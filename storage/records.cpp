#include "storage/records.h"

#include <string_view>

#include "text/fixed_text.h"

namespace pw {
namespace {

constexpr std::u16string_view kNotAvailable = u"n/a";

template <std::size_t N>
void FillIfEmpty(char16_t (&field)[N]) {
  if (IsEmptyText(field)) CopyText(field, kNotAvailable);
}

void SetInt(CEPROPVAL& p, WORD id, std::int32_t value) {
  p = CEPROPVAL{};
  p.propid = MakePropId(id, CEVT_I2);
  p.val.iVal = static_cast<std::int16_t>(value);
}

void SetBool(CEPROPVAL& p, WORD id, bool value) { SetInt(p, id, value ? 1 : 0); }

void SetText(CEPROPVAL& p, WORD id, const char16_t* text) {
  p = CEPROPVAL{};
  p.propid = MakePropId(id, CEVT_LPWSTR);
  p.val.lpwstr = text;
}

// A property read from the store, checked against the type its id needs.
// A property of the wrong type is skipped, as an unknown id is.
bool IsInt(const CEPROPVAL& p) { return PropTypeOf(p.propid) == CEVT_I2; }
bool IsText(const CEPROPVAL& p) { return PropTypeOf(p.propid) == CEVT_LPWSTR; }

template <std::size_t N>
void ReadText(const CEPROPVAL& p, char16_t (&field)[N]) {
  if (IsText(p)) CopyText(field, TextOf(p.val.lpwstr));
}

void ReadInt(const CEPROPVAL& p, std::int32_t& field) {
  if (IsInt(p)) field = p.val.iVal;
}

void ReadFlag(const CEPROPVAL& p, bool& field) {
  if (IsInt(p)) field = p.val.iVal != 0;
}

}  // namespace

void ClearRecord(TimeRecord& record) { record = TimeRecord{}; }

void ClearRecord(ExpenseRecord& record) { record = ExpenseRecord{}; }

void FillEmptyTexts(TimeRecord& record) {
  FillIfEmpty(record.duration);
  FillIfEmpty(record.client);
  FillIfEmpty(record.project);
  FillIfEmpty(record.rate);
  FillIfEmpty(record.subproject);
  FillIfEmpty(record.task);
  FillIfEmpty(record.amount);
  FillIfEmpty(record.currency);
}

void FillEmptyTexts(ExpenseRecord& record) {
  FillIfEmpty(record.date);
  FillIfEmpty(record.client);
  FillIfEmpty(record.project);
  FillIfEmpty(record.description);
  FillIfEmpty(record.paymentType);
  FillIfEmpty(record.currency);
  FillIfEmpty(record.miles);
  FillIfEmpty(record.mileageRate);
  FillIfEmpty(record.amount);
}

CEPROPVAL* RecordToProps(const TimeRecord& r, CEPROPVAL* props) {
  if (props == nullptr) return nullptr;
  CEPROPVAL* p = props;
  SetInt(*p++, PWH_TIME_START_HOUR, r.startHour);
  SetInt(*p++, PWH_TIME_START_MINUTE, r.startMinute);
  SetBool(*p++, PWH_TIME_START_PM, r.startPm);
  SetInt(*p++, PWH_TIME_END_HOUR, r.endHour);
  SetInt(*p++, PWH_TIME_END_MINUTE, r.endMinute);
  SetBool(*p++, PWH_TIME_END_PM, r.endPm);
  SetText(*p++, PWH_TIME_CLIENT, r.client);
  SetText(*p++, PWH_TIME_PROJECT, r.project);
  SetText(*p++, PWH_TIME_RATE, r.rate);
  SetText(*p++, PWH_TIME_SUBPROJECT, r.subproject);
  SetText(*p++, PWH_TIME_TASK, r.task);
  SetText(*p++, PWH_TIME_CURRENCY, r.currency);
  SetText(*p++, PWH_TIME_AMOUNT, r.amount);
  // Kept as stored: another writer's 5 stays 5 (the program tests for 1).
  SetInt(*p++, PWH_TIME_BILLABLE, r.billable);
  SetInt(*p++, PWH_TIME_BILLED, r.billed);
  SetText(*p++, PWH_TIME_DURATION, r.duration);
  SetText(*p++, PWH_TIME_DATE, r.date);
  SetText(*p++, PWH_TIME_NOTES, r.notes);
  return props;
}

CEPROPVAL* RecordToProps(const ExpenseRecord& r, CEPROPVAL* props) {
  if (props == nullptr) return nullptr;
  CEPROPVAL* p = props;
  SetText(*p++, PWH_EXP_DATE, r.date);
  SetText(*p++, PWH_EXP_CLIENT, r.client);
  SetText(*p++, PWH_EXP_PROJECT, r.project);
  SetText(*p++, PWH_EXP_DESCRIPTION, r.description);
  SetBool(*p++, PWH_EXP_MILEAGE, r.mileage);
  SetText(*p++, PWH_EXP_MILES, r.miles);
  SetText(*p++, PWH_EXP_MILEAGE_RATE, r.mileageRate);
  SetText(*p++, PWH_EXP_PAYMENT_TYPE, r.paymentType);
  SetText(*p++, PWH_EXP_CURRENCY, r.currency);
  SetText(*p++, PWH_EXP_AMOUNT, r.amount);
  SetBool(*p++, PWH_EXP_BILLABLE, r.billable);
  SetBool(*p++, PWH_EXP_BILLED, r.billed);
  SetBool(*p++, PWH_EXP_REIMBURSABLE, r.reimbursable);
  SetBool(*p++, PWH_EXP_REIMBURSED, r.reimbursed);
  SetBool(*p++, PWH_EXP_RECEIPT, r.receipt);
  SetText(*p++, PWH_EXP_NOTES, r.notes);
  return props;
}

bool PropsToRecord(const CEPROPVAL* props, WORD count, TimeRecord& r) {
  if (props == nullptr) return false;
  for (WORD i = 0; i < count; ++i) {
    const CEPROPVAL& p = props[i];
    switch (PropIdOf(p.propid)) {
      case PWH_TIME_START_HOUR: ReadInt(p, r.startHour); break;
      case PWH_TIME_START_MINUTE: ReadInt(p, r.startMinute); break;
      case PWH_TIME_START_PM: ReadFlag(p, r.startPm); break;
      case PWH_TIME_END_HOUR: ReadInt(p, r.endHour); break;
      case PWH_TIME_END_MINUTE: ReadInt(p, r.endMinute); break;
      case PWH_TIME_END_PM: ReadFlag(p, r.endPm); break;
      case PWH_TIME_CLIENT: ReadText(p, r.client); break;
      case PWH_TIME_PROJECT: ReadText(p, r.project); break;
      case PWH_TIME_RATE: ReadText(p, r.rate); break;
      case PWH_TIME_SUBPROJECT: ReadText(p, r.subproject); break;
      case PWH_TIME_TASK: ReadText(p, r.task); break;
      case PWH_TIME_CURRENCY: ReadText(p, r.currency); break;
      case PWH_TIME_AMOUNT: ReadText(p, r.amount); break;
      case PWH_TIME_BILLABLE: ReadInt(p, r.billable); break;
      case PWH_TIME_BILLED: ReadInt(p, r.billed); break;
      case PWH_TIME_DURATION: ReadText(p, r.duration); break;
      case PWH_TIME_DATE: ReadText(p, r.date); break;
      case PWH_TIME_NOTES: ReadText(p, r.notes); break;
      default: break;  // not a time record property
    }
  }
  return true;
}

bool PropsToRecord(const CEPROPVAL* props, WORD count, ExpenseRecord& r) {
  if (props == nullptr) return false;
  for (WORD i = 0; i < count; ++i) {
    const CEPROPVAL& p = props[i];
    switch (PropIdOf(p.propid)) {
      case PWH_EXP_DATE: ReadText(p, r.date); break;
      case PWH_EXP_CLIENT: ReadText(p, r.client); break;
      case PWH_EXP_PROJECT: ReadText(p, r.project); break;
      case PWH_EXP_DESCRIPTION: ReadText(p, r.description); break;
      case PWH_EXP_MILEAGE: ReadFlag(p, r.mileage); break;
      case PWH_EXP_MILES: ReadText(p, r.miles); break;
      case PWH_EXP_MILEAGE_RATE: ReadText(p, r.mileageRate); break;
      case PWH_EXP_PAYMENT_TYPE: ReadText(p, r.paymentType); break;
      case PWH_EXP_CURRENCY: ReadText(p, r.currency); break;
      case PWH_EXP_AMOUNT: ReadText(p, r.amount); break;
      case PWH_EXP_BILLABLE: ReadFlag(p, r.billable); break;
      case PWH_EXP_BILLED: ReadFlag(p, r.billed); break;
      case PWH_EXP_REIMBURSABLE: ReadFlag(p, r.reimbursable); break;
      case PWH_EXP_REIMBURSED: ReadFlag(p, r.reimbursed); break;
      case PWH_EXP_RECEIPT: ReadFlag(p, r.receipt); break;
      case PWH_EXP_NOTES: ReadText(p, r.notes); break;
      default: break;  // not an expense record property
    }
  }
  return true;
}

}  // namespace pw
