// The fields of the two record kinds, each listed once: its property id, its
// member, how it is stored, and the pulldown list that an import feeds from it.
// The property list, the stored default records, the report and the import
// all walk these tables.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <type_traits>

#include "storage/pulldowns.h"
#include "storage/records.h"
#include "text/fixed_text.h"

namespace pw {

// How a field is kept. The type and a text's limit follow from the member.
enum class FieldType : std::uint8_t {
  Number,  // std::int32_t: a 16-bit integer property, kept as stored (a 5 stays 5)
  Flag,    // bool: a 16-bit integer property, 0 or 1 (any other value reads as 1)
  Text,    // char16_t[limit], terminator included: a text property cut to the field
};

template <class Record>
struct RecordField {
  WORD id;
  FieldType type;
  std::size_t limit;  // array size of a text, terminator included; 0 otherwise
  int pulldown;       // pulldown list category offered the field's value, 0 for none
  std::uint8_t blob;  // place in the stored default record (its fields follow the members' order)
  std::int32_t Record::*number = nullptr;
  bool Record::*flag = nullptr;
  std::span<char16_t> (*text)(Record&) = nullptr;
};

template <class>
struct MemberOf;
template <class R, class T>
struct MemberOf<T R::*> {
  using Record = R;
  using Type = T;
};

// One row of a table; the member's type gives the field's type and a text's limit.
template <auto Member>
constexpr auto Field(WORD id, std::uint8_t blob, int pulldown = 0) {
  using R = typename MemberOf<decltype(Member)>::Record;
  using T = typename MemberOf<decltype(Member)>::Type;
  RecordField<R> f{id, FieldType::Number, 0, pulldown, blob};
  if constexpr (std::is_same_v<T, std::int32_t>) {
    f.number = Member;
  } else if constexpr (std::is_same_v<T, bool>) {
    f.type = FieldType::Flag;
    f.flag = Member;
  } else {
    static_assert(std::is_same_v<std::remove_extent_t<T>, char16_t>, "a field is a number, a flag or a text");
    f.type = FieldType::Text;
    f.limit = std::extent_v<T>;
    f.text = [](R& r) { return std::span<char16_t>(r.*Member); };
  }
  return f;
}

// In the order of the record's property list.
inline constexpr std::array kTimeFields{
    Field<&TimeRecord::startHour>(PWH_TIME_START_HOUR, 0),
    Field<&TimeRecord::startMinute>(PWH_TIME_START_MINUTE, 1),
    Field<&TimeRecord::startPm>(PWH_TIME_START_PM, 2),
    Field<&TimeRecord::endHour>(PWH_TIME_END_HOUR, 3),
    Field<&TimeRecord::endMinute>(PWH_TIME_END_MINUTE, 4),
    Field<&TimeRecord::endPm>(PWH_TIME_END_PM, 5),
    Field<&TimeRecord::client>(PWH_TIME_CLIENT, 8, PWH_PULLDOWN_CLIENT),
    Field<&TimeRecord::project>(PWH_TIME_PROJECT, 9, PWH_PULLDOWN_PROJECT),
    Field<&TimeRecord::rate>(PWH_TIME_RATE, 10, PWH_PULLDOWN_TIME_RATE),
    Field<&TimeRecord::subproject>(PWH_TIME_SUBPROJECT, 11, PWH_PULLDOWN_SUBPROJECT),
    Field<&TimeRecord::task>(PWH_TIME_TASK, 12, PWH_PULLDOWN_TASK),
    Field<&TimeRecord::currency>(PWH_TIME_CURRENCY, 13, PWH_PULLDOWN_CURRENCY),
    Field<&TimeRecord::amount>(PWH_TIME_AMOUNT, 14, PWH_PULLDOWN_AMOUNT),
    Field<&TimeRecord::billable>(PWH_TIME_BILLABLE, 15),
    Field<&TimeRecord::billed>(PWH_TIME_BILLED, 16),
    Field<&TimeRecord::duration>(PWH_TIME_DURATION, 6),
    Field<&TimeRecord::date>(PWH_TIME_DATE, 7),
    Field<&TimeRecord::notes>(PWH_TIME_NOTES, 17),
};

inline constexpr std::array kExpenseFields{
    Field<&ExpenseRecord::date>(PWH_EXP_DATE, 0),
    Field<&ExpenseRecord::client>(PWH_EXP_CLIENT, 1, PWH_PULLDOWN_CLIENT),
    Field<&ExpenseRecord::project>(PWH_EXP_PROJECT, 2, PWH_PULLDOWN_PROJECT),
    Field<&ExpenseRecord::description>(PWH_EXP_DESCRIPTION, 3, PWH_PULLDOWN_DESCRIPTION),
    Field<&ExpenseRecord::mileage>(PWH_EXP_MILEAGE, 4),
    Field<&ExpenseRecord::miles>(PWH_EXP_MILES, 5, PWH_PULLDOWN_MILEAGE),
    Field<&ExpenseRecord::mileageRate>(PWH_EXP_MILEAGE_RATE, 6, PWH_PULLDOWN_MILEAGE_RATE),
    Field<&ExpenseRecord::paymentType>(PWH_EXP_PAYMENT_TYPE, 7, PWH_PULLDOWN_PAYMENT),
    Field<&ExpenseRecord::currency>(PWH_EXP_CURRENCY, 8, PWH_PULLDOWN_CURRENCY),
    Field<&ExpenseRecord::amount>(PWH_EXP_AMOUNT, 9, PWH_PULLDOWN_AMOUNT),
    Field<&ExpenseRecord::billable>(PWH_EXP_BILLABLE, 10),
    Field<&ExpenseRecord::billed>(PWH_EXP_BILLED, 11),
    Field<&ExpenseRecord::reimbursable>(PWH_EXP_REIMBURSABLE, 12),
    Field<&ExpenseRecord::reimbursed>(PWH_EXP_REIMBURSED, 13),
    Field<&ExpenseRecord::receipt>(PWH_EXP_RECEIPT, 14),
    Field<&ExpenseRecord::notes>(PWH_EXP_NOTES, 15),
};

static_assert(kTimeFields.size() == PWH_TIME_PROP_COUNT && kExpenseFields.size() == PWH_EXPENSE_PROP_COUNT);

template <class Record>
constexpr const auto& FieldsOf() {
  if constexpr (std::is_same_v<Record, TimeRecord>) return kTimeFields;
  else return kExpenseFields;
}

// Table positions in the stored default record's order; every place is taken once.
template <class Record>
inline constexpr auto kBlobOrder = [] {
  constexpr auto& fields = FieldsOf<Record>();
  std::array<std::size_t, fields.size()> order;
  order.fill(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (order.at(fields[i].blob) != fields.size()) throw "two fields share a place in the stored default record";
    order[fields[i].blob] = i;
  }
  return order;
}();

// The field of a property id, or null.
template <class Record>
const RecordField<Record>* FindField(WORD id) {
  static constexpr auto kIndex = [] {
    std::array<std::int8_t, 128> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < FieldsOf<Record>().size(); ++i) index.at(FieldsOf<Record>()[i].id) = std::int8_t(i);
    return index;
  }();
  return id < kIndex.size() && kIndex[id] >= 0 ? &FieldsOf<Record>()[kIndex[id]] : nullptr;
}

constexpr WORD PropTypeOf(FieldType type) { return type == FieldType::Text ? CEVT_LPWSTR : CEVT_I2; }

// A text field's whole array, and its text (to its terminator).
template <class Record>
std::span<const char16_t> FieldArray(const RecordField<Record>& f, const Record& r) {
  return f.text(const_cast<Record&>(r));  // only read
}
template <class Record>
std::u16string_view FieldText(const RecordField<Record>& f, const Record& r) {
  return TextOf(FieldArray(f, r));
}
// A number, or a flag as 0 or 1.
template <class Record>
std::int32_t FieldNumber(const RecordField<Record>& f, const Record& r) {
  return f.type == FieldType::Number ? r.*f.number : (r.*f.flag ? 1 : 0);
}

// A value read from a property for a field: a text already cut to the field
// (pointing into the property), or a number (a flag's as 0 or 1).
struct FieldValue {
  std::u16string_view text;
  std::int32_t number = 0;
};

// Sets the field of r: a text is copied into it, a flag is set when the number is not 0.
template <class Record>
void SetField(const RecordField<Record>& f, Record& r, const FieldValue& v) {
  switch (f.type) {
    case FieldType::Number: r.*f.number = v.number; break;
    case FieldType::Flag: r.*f.flag = v.number != 0; break;
    case FieldType::Text: CopyText(f.text(r), v.text); break;
  }
}

// Calls take(field, value) for each property that is a field of Record, in
// list order. A property of an unknown id, or of another type than its
// field's, is skipped.
// A set of property ids, for reading only some fields.
using FieldIdSet = PropertyIdSet;
constexpr FieldIdSet FieldIds(std::initializer_list<WORD> ids) {
  FieldIdSet set{};
  for (WORD id : ids) set.at(id) = true;
  return set;
}

// The value of property p for field f (of the same type).
template <class Record>
FieldValue FieldValueOf(const RecordField<Record>& f, const CEPROPVAL& p) {
  FieldValue v;
  if (f.type == FieldType::Text) {
    const std::u16string_view text = TextOf(p.val.lpwstr);
    v.text = text.substr(0, CutLength(text, f.limit - 1));
  } else {
    v.number = f.type == FieldType::Flag ? (p.val.iVal != 0 ? 1 : 0) : p.val.iVal;
  }
  return v;
}

template <class Record, class Take>
void ReadFieldProps(const CEPROPVAL* props, WORD count, Take take, const FieldIdSet* only = nullptr) {
  for (WORD i = 0; i < count; ++i) {
    const CEPROPVAL& p = props[i];
    const WORD id = PropIdOf(p.propid);
    if (only && (id >= only->size() || !(*only)[id])) continue;
    const RecordField<Record>* f = FindField<Record>(id);
    if (f == nullptr || PropTypeOf(p.propid) != PropTypeOf(f->type)) continue;
    take(*f, FieldValueOf(*f, p));
  }
}

// The value of one field of a stored record: false when the record lacks it
// (or holds it with another type). A record as the program writes it keeps
// the table's order, so the property is looked for at the field's place in
// the table first and searched for only when it is not there.
template <class Record>
bool ReadOneField(const CEPROPVAL* props, WORD count, WORD id, FieldValue* value) {
  const RecordField<Record>* f = FindField<Record>(id);
  if (f == nullptr || props == nullptr) return false;
  const std::size_t place = std::size_t(f - FieldsOf<Record>().data());
  const CEPROPVAL* found = nullptr;
  if (place < count && PropIdOf(props[place].propid) == id) {
    found = &props[place];
  } else {
    // Later properties win, as when the list is read in order.
    for (WORD i = count; i-- > 0 && !found;)
      if (PropIdOf(props[i].propid) == id) found = &props[i];
  }
  if (found == nullptr || PropTypeOf(found->propid) != PropTypeOf(f->type)) return false;
  *value = FieldValueOf(*f, *found);
  return true;
}

}  // namespace pw
