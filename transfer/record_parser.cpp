#include "transfer/record_parser.h"

#include <algorithm>
#include <string>

#include "config/configuration.h"
#include "platform/calendar_date.h"
#include "platform/host_port.h"
#include "storage/pulldowns.h"
#include "text/date_time.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "storage/record_times.h"
#include "text/time_text.h"
#include "transfer/tokenizer.h"

namespace pw {
namespace {

constexpr std::u16string_view kNotApplicable = u"n/a";

// Asks the question, unless a "to All" answer given before holds (*toAll).
bool Ask(std::u16string_view question, std::u16string_view subject, std::u16string_view title, int* toAll) {
  if (toAll && *toAll != 0) return *toAll == IDYES;
  const std::u16string text = std::u16string(question.substr(0, question.find(u'%'))) +
                              std::u16string(subject) +
                              std::u16string(question.substr(question.find(u'%') + 1));
  const int answer = MessageBoxW(nullptr, text, title, (toAll ? MB_YESNOALL : MB_YESNO) | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (toAll && answer == IDYESTOALL) *toAll = IDYES;
  if (toAll && answer == IDNOTOALL) *toAll = IDNO;
  return answer == IDYES || answer == IDYESTOALL;
}

// The date as stored (American), or empty when it is in neither form or the
// user declined to convert it.
std::u16string CheckDate(std::u16string_view date, bool european, int* toAll) {
  const bool american = IsAmericanDateText(date);
  const bool europeanForm = !american && IsEuropeanDateText(date);
  std::u16string out;
  if (!american && !europeanForm) return out;
  constexpr std::u16string_view kTitle = u"Date Format Problem";
  if (!european) {
    if (american) return std::u16string(date);
    if (Ask(u"You are currently using American date format, but imported date\n\n[%]\n\nseems to "
            u"be in European date format.\n\nWould you like to convert ?",
            date, kTitle, toAll))
      EuropeanToAmericanDate(date, &out);
    return out;
  }
  if (europeanForm) {
    EuropeanToAmericanDate(date, &out);
    return out;
  }
  if (Ask(u"You are currently using European date format, but imported date\n\n[%]\n\nseems to be "
          u"in American date format.\n\nWould you like to convert ?",
          date, kTitle, toAll))
    out = date;
  return out;
}

// The time as 12-hour text, or empty when it is invalid or not converted.
std::u16string CheckTime(std::u16string_view time, bool european, int* toAll) {
  const bool twelve = IsTwelveHourTimeText(time);
  const bool twentyFour = !twelve && IsTimeText(time);
  std::u16string out;
  if (!twelve && !twentyFour) return out;
  constexpr std::u16string_view kTitle = u"Time Format Problem";
  if (!european) {
    if (twelve) return std::u16string(time);
    if (Ask(u"You are currently using American time format, but imported time\n\n[%]\n\nseems to "
            u"be in European time format.\n\nWould you like to convert ?",
            time, kTitle, toAll))
      TwentyFourToTwelveHourTime(time, &out);
    return out;
  }
  if (twentyFour) {
    TwentyFourToTwelveHourTime(time, &out);
    return out;
  }
  if (Ask(u"You are currently using European time format, but imported time\n\n[%]\n\nseems to be "
          u"in American time format.\n\nWould you like to convert ?",
          time, kTitle, toAll))
    out = time;
  return out;
}

// Reads the date field into date; false when it is not a valid date.
template <std::size_t N>
bool ReadDate(std::u16string_view field, ImportTextForms forms, char16_t (&date)[N]) {
  DateTimeValue value;
  int month, day, year;
  // A date already in the form expected is read as it stands.
  if (!forms.europeanDates && ScanDateNumbers(field, &month, &day, &year)) {
    if (!value.SetDate(month, day, year)) return false;
  } else {
    const std::u16string checked = CheckDate(field, forms.europeanDates, forms.answers ? &forms.answers->dates : nullptr);
    if (checked.empty() || !value.ParseDate(checked)) return false;
  }
  if (value.year >= 0 && value.year <= 9999) {
    // FormatDate's "MM/DD/YYYY" (month and day are valid) without a string made for it.
    const auto digit = [](int n) { return char16_t(u'0' + n % 10); };
    const char16_t text[] = {digit(value.month / 10), digit(value.month), u'/',
                             digit(value.day / 10),   digit(value.day),   u'/',
                             digit(value.year / 1000), digit(value.year / 100), digit(value.year / 10), digit(value.year)};
    CopyText(date, std::u16string_view(text, std::size(text)));
    return true;
  }
  std::u16string text;
  value.FormatDate(&text);
  CopyText(date, text);
  return true;
}

// Reads a time field into hour, minute and pm; false (all three 0) when it is
// not a valid time. A valid midnight is set although its fields are 0 too.
bool ReadTime(std::u16string_view field, ImportTextForms forms, std::int32_t& hour, std::int32_t& minute,
              bool& pm) {
  DateTimeValue value;
  bool read;
  // A time already in the form expected is read as it stands (one that reads
  // is in that form; one that does not may be in the other).
  if (!forms.europeanTimes && value.ParseTime(field, PWH_TWELVE_HOUR_TEXT)) {
    read = true;
  } else if (forms.europeanTimes || !IsTwelveHourTimeText(field)) {
    const std::u16string checked = CheckTime(field, forms.europeanTimes, forms.answers ? &forms.answers->times : nullptr);
    read = !checked.empty() && value.ParseTime(checked, PWH_TWELVE_HOUR_TEXT);
  } else {
    read = false;  // in the form expected, but no valid time
  }
  if (!read) {
    hour = minute = 0, pm = false;
    return false;
  }
  hour = value.hour, minute = value.minute, pm = value.pm != 0;
  return true;
}

bool IsNumber(std::u16string_view text) {
  float value;
  return ScanFloat(text, &value) == 1;
}

// A number field as the program may store it: a number, "n/a" or nothing.
bool IsNumberOrNotApplicable(std::u16string_view text) {
  return text.empty() || text == kNotApplicable || IsNumber(text);
}

// Clears a record as ClearRecord does for everything that is read: its
// numbers and flags, and each text (a text ends at its first NUL), without
// writing the 9 KB of a record once per imported line.
void Reset(TimeRecord& r) {
  r.startHour = r.startMinute = r.endHour = r.endMinute = r.billable = r.billed = 0;
  r.startPm = r.endPm = false;
  for (char16_t* text : {r.duration, r.date, r.client, r.project, r.rate, r.subproject, r.task, r.currency, r.amount,
                         r.notes})
    text[0] = 0;
}

void Reset(ExpenseRecord& r) {
  r.mileage = r.billable = r.billed = r.reimbursable = r.reimbursed = r.receipt = false;
  for (char16_t* text : {r.date, r.client, r.project, r.description, r.miles, r.mileageRate, r.paymentType,
                         r.currency, r.amount, r.notes})
    text[0] = 0;
}

// CopyText without clearing the rest of the field: the text ends at its NUL.
template <std::size_t N>
void Put(char16_t (&field)[N], std::u16string_view text) {
  const std::size_t n = CutLength(text, N - 1);
  std::copy_n(text.data(), n, field);
  field[n] = 0;
}

int CountFields(ImportFields fields, std::size_t wanted) {
  if (fields.size() < wanted) return PWH_PARSE_TOO_FEW_FIELDS;
  if (fields.size() > wanted) return PWH_PARSE_TOO_MANY_FIELDS;
  return PWH_PARSE_OK;
}

}  // namespace

int ParseTimeFields(ImportFields f, ImportTextForms forms, TimeRecord* r) {
  Reset(*r);
  if (const int count = CountFields(f, 14)) return count;
  if (!ReadDate(f[0], forms, r->date)) return PWH_PARSE_BAD_DATE;
  const bool start = ReadTime(f[1], forms, r->startHour, r->startMinute, r->startPm);
  const bool end = ReadTime(f[2], forms, r->endHour, r->endMinute, r->endPm);
  if (IsNumber(f[3])) {
    if (!start || !end) {
      r->startHour = r->startMinute = r->endHour = r->endMinute = 0;
      r->startPm = r->endPm = false;
    }
    const std::u16string duration = DecimalHoursToTimeText(f[3]);
    Put(r->duration, std::u16string_view(duration).substr(0, CutLength(duration, 5)));
  } else {
    if (!start) return PWH_PARSE_NO_START;
    if (!end) return PWH_PARSE_NO_END;
    r->duration[0] = 0;
    FillRecordDuration(*r);
  }
  Put(r->client, f[4]);
  Put(r->project, f[5]);
  if (!IsNumberOrNotApplicable(f[6])) return PWH_PARSE_BAD_RATE;
  Put(r->rate, f[6]);
  Put(r->subproject, f[7]);
  Put(r->task, f[8]);
  Put(r->currency, f[9]);
  Put(r->amount, f[10]);
  r->billable = f[11] == u"yes";
  r->billed = f[12] == u"yes";
  Put(r->notes, f[13]);
  return PWH_PARSE_OK;
}

int ParseExpenseFields(ImportFields f, ImportTextForms forms, ExpenseRecord* r) {
  Reset(*r);
  if (const int count = CountFields(f, 15)) return count;
  if (!ReadDate(f[0], forms, r->date)) return PWH_PARSE_BAD_DATE;
  Put(r->client, f[1]);
  Put(r->project, f[2]);
  Put(r->description, f[3]);
  if (f[4] != u"not applicable") {
    r->mileage = true;
    if (!IsNumberOrNotApplicable(f[4])) return PWH_PARSE_BAD_MILES;
    Put(r->miles, f[4]);
    if (!IsNumberOrNotApplicable(f[5])) return PWH_PARSE_BAD_MILEAGE_RATE;
    Put(r->mileageRate, f[5]);
  }
  Put(r->paymentType, f[6]);
  Put(r->currency, f[7]);
  if (!IsNumberOrNotApplicable(f[8])) return PWH_PARSE_BAD_AMOUNT;
  Put(r->amount, f[8]);
  bool* flags[] = {&r->billable, &r->billed, &r->reimbursable, &r->reimbursed, &r->receipt};
  for (std::size_t i = 0; i < 5; ++i) *flags[i] = f[9 + i] == u"yes";
  Put(r->notes, f[14]);
  return PWH_PARSE_OK;
}

int ParsePulldownFields(ImportFields f, int* categoryId, std::u16string_view* text) {
  if (const int count = CountFields(f, 2)) return count;
  *categoryId = PulldownCategoryIdByName(f[0]);
  if (*categoryId == 0) return PWH_PARSE_UNKNOWN_CATEGORY;
  *text = f[1];
  return PWH_PARSE_OK;
}

}  // namespace pw
