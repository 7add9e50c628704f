#include "storage/record_times.h"

#include <algorithm>

#include "platform/clock.h"
#include "text/date_time.h"
#include "text/fixed_text.h"
#include "text/format.h"

namespace pw {

namespace {

int MinuteOfDay(int hour, bool pm) { return (hour + (pm ? 12 : 0)) * 60; }

// The work time between the record's start and end, in minutes. A start in
// the afternoon and an end in the morning crossed midnight. False when no
// positive time can be worked out.
bool ElapsedMinutes(const TimeRecord& record, int* minutes) {
  const int start = MinuteOfDay(record.startHour, record.startPm) + record.startMinute;
  const int end = MinuteOfDay(record.endHour, record.endPm) + record.endMinute;
  int d = end - start;
  if (d <= 0 && record.startPm && !record.endPm) d += 24 * 60;
  if (d <= 0) return false;
  *minutes = d;
  return true;
}

bool NoTimesEntered(const TimeRecord& r) {
  return r.startHour == 0 && r.startMinute == 0 && !r.startPm && r.endHour == 0 &&
         r.endMinute == 0 && !r.endPm;
}

std::u16string ZeroTime(bool twentyFourHour) {
  return twentyFourHour ? Format(u"%02d:%02d", 0, 0) : Format(u"%02d:%02d %s", 0, 0, u"AM");
}

}  // namespace

bool SetRecordTimeNow(TimeRecord& record, int which) {
  const SYSTEMTIME now = GetLocalTime();
  SetRecordTime(record, which, now.wHour, now.wMinute);
  return true;
}

void SetRecordTime(TimeRecord& record, int which, int hourOfDay, int minute) {
  const bool pm = hourOfDay > 12;
  const int hour = pm ? hourOfDay - 12 : hourOfDay;
  if (which == PWH_START_TIME) {
    record.startHour = hour;
    record.startMinute = minute;
    record.startPm = pm;
  } else if (which == PWH_END_TIME) {
    record.endHour = hour;
    record.endMinute = minute;
    record.endPm = pm;
  }
}

std::u16string* FormatRecordTime(std::u16string* out, const TimeRecord& record, int which,
                                 int blankStyle, bool twentyFourHour) {
  if (!out) return out;
  if (which == PWH_ZERO_TIME) {
    *out = ZeroTime(twentyFourHour);
    return out;
  }
  if (NoTimesEntered(record)) {
    *out = blankStyle == PWH_BLANK_AS_DASHES ? std::u16string(PWH_NO_DURATION) : ZeroTime(twentyFourHour);
    return out;
  }
  const bool start = which == PWH_START_TIME;
  const int hour = start ? record.startHour : record.endHour;
  const int minute = start ? record.startMinute : record.endMinute;
  const bool pm = start ? record.startPm : record.endPm;
  if (twentyFourHour)
    *out = Format(u"%02d:%02d", hour + (pm ? 12 : 0), minute);
  else
    *out = TwelveHourText(hour, minute, pm);
  return out;
}

bool FormatDurationSummary(std::u16string* out, const TimeRecord& record, int style) {
  if (!out || (style != PWH_SUMMARY_LONG && style != PWH_SUMMARY_SHORT)) return false;
  int hours, minutes;
  if (ScanTwoInts(TextOf(record.duration), "%d:%d", &hours, &minutes) != 2) {
    int elapsed;
    if (!ElapsedMinutes(record, &elapsed)) {
      *out = PWH_NO_DURATION;
      return true;
    }
    hours = elapsed / 60;
    minutes = elapsed % 60;
  }
  const std::u16string_view templ =
      style == PWH_SUMMARY_LONG ? u"%d hrs, %d mins (%.2f)" : u"%dh, %dm (%.2f)";
  *out = Format(templ, hours, minutes, DecimalHours(hours, minutes));
  return true;
}

bool FillRecordDuration(TimeRecord& record) {
  if (!IsEmptyText(record.duration)) return false;
  int elapsed;
  if (ElapsedMinutes(record, &elapsed))
    CopyText(record.duration, Format(u"%02d:%02d", elapsed / 60, elapsed % 60));
  else
    CopyText(record.duration, PWH_NO_DURATION);
  return true;
}

bool RecomputeRecordAmount(TimeRecord& record) {
  if (!record.billable) return true;
  float amount = 0.0f;
  float rate = 0.0f;
  if (ScanFloat(TextOf(record.amount), &amount) != 1) amount = 0.0f;
  if (ScanFloat(TextOf(record.rate), &rate) != 1) rate = 0.0f;
  const float hours = TimeTextToHours(TextOf(record.duration));
  if (hours == 0.0f) {
    CopyText(record.rate, u"");
    CopyText(record.amount, u"");
  } else if (rate != 0.0f) {
    const float newAmount = hours * rate;
    CopyText(record.amount, Format(u"%.2f", newAmount));
  } else if (amount != 0.0f) {
    const float newRate = amount / hours;
    CopyText(record.rate, Format(u"%.2f", newRate));
  }
  return true;
}

void EndRecordAt(TimeRecord& record, int hourOfDay, int minute, int workedMinutes) {
  SetRecordTime(record, PWH_END_TIME, hourOfDay, minute);
  record.duration[0] = 0;
  if (workedMinutes >= 0)
    CopyText(record.duration, Format(u"%02d:%02d", workedMinutes / 60, workedMinutes % 60));
  else
    FillRecordDuration(record);
  RecomputeRecordAmount(record);
}

void EndRecordNow(TimeRecord& record) {
  const SYSTEMTIME now = GetLocalTime();
  EndRecordAt(record, now.wHour, now.wMinute);
}

bool IsOpenRecord(const TimeRecord& record) { return TextOf(record.duration) == PWH_NO_DURATION; }

int DayNumber(int year, int month, int day) {
  // Days from the civil calendar (proleptic Gregorian), year starting in March.
  year -= month <= 2;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = year - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int MinutesSinceStart(const TimeRecord& record, const SYSTEMTIME& now) {
  DateTimeValue date;
  if (!date.ParseDate(TextOf(record.date))) return -1;
  const long days = long(DayNumber(now.wYear, now.wMonth, now.wDay)) - DayNumber(date.year, date.month, date.day);
  const long start = MinuteOfDay(record.startHour, record.startPm) + record.startMinute;
  const long minutes = days * 24 * 60 + now.wHour * 60 + now.wMinute - start;
  return minutes < 0 ? 0 : minutes > 0x7fffffffL ? 0x7fffffff : int(minutes);
}

std::u16string RunningHoursText(const TimeRecord& record, const SYSTEMTIME& now) {
  const int minutes = std::max(0, MinutesSinceStart(record, now));
  return Format(u"%.2f", DecimalHours(minutes / 60, minutes % 60));
}

}  // namespace pw
