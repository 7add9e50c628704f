#include "storage/record_times.h"

#include "platform/clock.h"
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
  const bool pm = now.wHour > 12;
  const int hour = pm ? now.wHour - 12 : now.wHour;
  if (which == PWH_START_TIME) {
    record.startHour = hour;
    record.startMinute = now.wMinute;
    record.startPm = pm;
  } else if (which == PWH_END_TIME) {
    record.endHour = hour;
    record.endMinute = now.wMinute;
    record.endPm = pm;
  }
  return true;
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

}  // namespace pw
