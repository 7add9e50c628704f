#include "storage/records.h"

#include <string_view>

#include "storage/record_fields.h"
#include "text/fixed_text.h"

namespace pw {
namespace {

constexpr std::u16string_view kNotAvailable = u"n/a";

template <std::size_t N>
void FillIfEmpty(char16_t (&field)[N]) {
  if (IsEmptyText(field)) CopyText(field, kNotAvailable);
}

template <class Record>
CEPROPVAL* ToProps(const Record& r, CEPROPVAL* props) {
  if (props == nullptr) return nullptr;
  CEPROPVAL* p = props;
  for (const RecordField<Record>& f : FieldsOf<Record>()) {
    *p = CEPROPVAL{};
    p->propid = MakePropId(f.id, PropTypeOf(f.type));
    if (f.type == FieldType::Text) p->val.lpwstr = FieldText(f, r).data();
    else p->val.iVal = static_cast<std::int16_t>(FieldNumber(f, r));
    ++p;
  }
  return props;
}

template <class Record>
bool FromProps(const CEPROPVAL* props, WORD count, Record& r) {
  if (props == nullptr) return false;
  ReadFieldProps<Record>(props, count, [&](const RecordField<Record>& f, const FieldValue& v) { SetField(f, r, v); });
  return true;
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

CEPROPVAL* RecordToProps(const TimeRecord& r, CEPROPVAL* props) { return ToProps(r, props); }
CEPROPVAL* RecordToProps(const ExpenseRecord& r, CEPROPVAL* props) { return ToProps(r, props); }

bool PropsToRecord(const CEPROPVAL* props, WORD count, TimeRecord& r) { return FromProps(props, count, r); }
bool PropsToRecord(const CEPROPVAL* props, WORD count, ExpenseRecord& r) { return FromProps(props, count, r); }

}  // namespace pw
