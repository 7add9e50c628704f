// The two record kinds, their cleared state, the "n/a" filling of new
// records, and their mapping to and from the store's property lists.
#pragma once

#include <cstdint>

#include "platform/object_store.h"

namespace pw {

// Array sizes, terminator included.
inline constexpr int PWH_TEXT_LIMIT = 255;
inline constexpr int PWH_DATE_LIMIT = 16;
inline constexpr int PWH_DURATION_LIMIT = 6;
inline constexpr int PWH_NOTES_LIMIT = 2048;

struct TimeRecord {
  std::int32_t startHour = 0;
  std::int32_t startMinute = 0;
  bool startPm = false;
  std::int32_t endHour = 0;
  std::int32_t endMinute = 0;
  bool endPm = false;
  char16_t duration[PWH_DURATION_LIMIT] = {};
  char16_t date[PWH_DATE_LIMIT] = {};
  char16_t client[PWH_TEXT_LIMIT] = {};
  char16_t project[PWH_TEXT_LIMIT] = {};
  char16_t rate[PWH_TEXT_LIMIT] = {};
  char16_t subproject[PWH_TEXT_LIMIT] = {};
  char16_t task[PWH_TEXT_LIMIT] = {};
  char16_t currency[PWH_TEXT_LIMIT] = {};
  char16_t amount[PWH_TEXT_LIMIT] = {};
  std::int32_t billable = 0;
  std::int32_t billed = 0;
  char16_t notes[PWH_NOTES_LIMIT] = {};
};

struct ExpenseRecord {
  char16_t date[PWH_DATE_LIMIT] = {};
  char16_t client[PWH_TEXT_LIMIT] = {};
  char16_t project[PWH_TEXT_LIMIT] = {};
  char16_t description[PWH_TEXT_LIMIT] = {};
  bool mileage = false;
  char16_t miles[PWH_TEXT_LIMIT] = {};
  char16_t mileageRate[PWH_TEXT_LIMIT] = {};
  char16_t paymentType[PWH_TEXT_LIMIT] = {};
  char16_t currency[PWH_TEXT_LIMIT] = {};
  char16_t amount[PWH_TEXT_LIMIT] = {};
  bool billable = false;
  bool billed = false;
  bool reimbursable = false;
  bool reimbursed = false;
  bool receipt = false;
  char16_t notes[PWH_NOTES_LIMIT] = {};
};

// Property ids (the high word of a property identifier).
enum : WORD {
  PWH_TIME_START_HOUR = 18, PWH_TIME_START_MINUTE = 19, PWH_TIME_START_PM = 20,
  PWH_TIME_END_HOUR = 21, PWH_TIME_END_MINUTE = 22, PWH_TIME_END_PM = 23,
  PWH_TIME_CLIENT = 24, PWH_TIME_PROJECT = 25, PWH_TIME_SUBPROJECT = 32, PWH_TIME_TASK = 33,
  PWH_TIME_RATE = 34, PWH_TIME_BILLABLE = 35, PWH_TIME_BILLED = 36, PWH_TIME_DURATION = 37,
  PWH_TIME_DATE = 38, PWH_TIME_NOTES = 39, PWH_TIME_CURRENCY = 72, PWH_TIME_AMOUNT = 73,

  PWH_EXP_DATE = 40, PWH_EXP_CLIENT = 41, PWH_EXP_PROJECT = 48, PWH_EXP_DESCRIPTION = 49,
  PWH_EXP_MILEAGE = 50, PWH_EXP_MILES = 51, PWH_EXP_MILEAGE_RATE = 52, PWH_EXP_PAYMENT_TYPE = 53,
  PWH_EXP_CURRENCY = 54, PWH_EXP_AMOUNT = 55, PWH_EXP_BILLABLE = 56, PWH_EXP_BILLED = 57,
  PWH_EXP_REIMBURSABLE = 64, PWH_EXP_REIMBURSED = 65, PWH_EXP_RECEIPT = 66, PWH_EXP_NOTES = 67,
};

// The sort properties of the two record databases.
inline constexpr CEPROPID PWH_TIME_DATE_PROPID = MakePropId(PWH_TIME_DATE, CEVT_LPWSTR);     // 0x0026001F
inline constexpr CEPROPID PWH_EXPENSE_DATE_PROPID = MakePropId(PWH_EXP_DATE, CEVT_LPWSTR);   // 0x0028001F

inline constexpr WORD PWH_TIME_PROP_COUNT = 18;
inline constexpr WORD PWH_EXPENSE_PROP_COUNT = 16;

void ClearRecord(TimeRecord& record);
void ClearRecord(ExpenseRecord& record);

// Empty texts of a just-entered new record become "n/a" (date and notes of a
// time record, and notes of an expense record, stay as they are).
void FillEmptyTexts(TimeRecord& record);
void FillEmptyTexts(ExpenseRecord& record);

// Fills props (18 / 16 slots) in the stored order and returns it; null props
// does nothing and returns null. Text properties point into the record.
CEPROPVAL* RecordToProps(const TimeRecord& record, CEPROPVAL* props);
CEPROPVAL* RecordToProps(const ExpenseRecord& record, CEPROPVAL* props);

// Sets the fields of a cleared record from a property list. Unknown ids are
// skipped, booleans read as 0/1, texts cut to their field. False for null props.
bool PropsToRecord(const CEPROPVAL* props, WORD count, TimeRecord& record);
bool PropsToRecord(const CEPROPVAL* props, WORD count, ExpenseRecord& record);

}  // namespace pw
