#include "dialogs/time_picker.h"

#include "platform/error_codes.h"
#include "platform/host_port.h"
#include "text/date_time.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {
namespace {

std::vector<PickerButton> MakeButtons(bool twentyFourHour) {
  std::vector<PickerButton> buttons;
  for (int i = 0; i < 12; ++i) {
    const int hour = twentyFourHour || i != 0 ? i : 12;
    buttons.push_back({IDC_PICK_HOUR_FIRST + i, Format(u"%02d", hour), PickerGroup::Hour});
  }
  if (twentyFourHour) {
    for (int i = 0; i < 12; ++i) {
      buttons.push_back({IDC_PICK_PM_HOUR_FIRST + i, Format(u"%02d", 12 + i), PickerGroup::Hour});
    }
  }
  for (int i = 0; i < 12; ++i) {
    buttons.push_back({IDC_PICK_MINUTE_FIRST + i, Format(u"%02d", 5 * i), PickerGroup::Minute});
  }
  if (!twentyFourHour) {
    buttons.push_back({IDC_PICK_AM, u"AM", PickerGroup::AmPm});
    buttons.push_back({IDC_PICK_PM, u"PM", PickerGroup::AmPm});
  }
  return buttons;
}

bool InRange(int id, int first) { return id >= first && id < first + 12; }

}  // namespace

RecordTime GetRecordTime(const TimeRecord& record, int which) {
  if (which == PWH_START_TIME) return {record.startHour, record.startMinute, record.startPm};
  return {record.endHour, record.endMinute, record.endPm};
}

void SetRecordTime(TimeRecord& record, int which, const RecordTime& time) {
  if (which == PWH_START_TIME) {
    record.startHour = time.hour, record.startMinute = time.minute, record.startPm = time.pm;
  } else {
    record.endHour = time.hour, record.endMinute = time.minute, record.endPm = time.pm;
  }
}

const std::vector<PickerButton>& PickerButtons(bool twentyFourHour) {
  static const std::vector<PickerButton> twelve = MakeButtons(false);
  static const std::vector<PickerButton> twentyFour = MakeButtons(true);
  return twentyFourHour ? twentyFour : twelve;
}

bool PressPickerButton(int id, bool twentyFourHour, RecordTime* time) {
  if (InRange(id, IDC_PICK_MINUTE_FIRST)) {
    time->minute = (id - IDC_PICK_MINUTE_FIRST) * 5;
  } else if (InRange(id, IDC_PICK_HOUR_FIRST)) {
    time->hour = id - IDC_PICK_HOUR_FIRST;
    if (twentyFourHour) time->pm = false;
  } else if (twentyFourHour && InRange(id, IDC_PICK_PM_HOUR_FIRST)) {
    time->hour = id - IDC_PICK_PM_HOUR_FIRST;
    time->pm = true;
  } else if (!twentyFourHour && (id == IDC_PICK_AM || id == IDC_PICK_PM)) {
    time->pm = id == IDC_PICK_PM;
  } else {
    return false;
  }
  return true;
}

std::u16string PickerTitle(int which, const RecordTime& time, bool twentyFourHour) {
  const char16_t* name = which == PWH_START_TIME ? u"Start" : u"End";
  const int hourOfDay = time.hour + (time.pm ? 12 : 0);
  if (twentyFourHour) return Format(u"%s Time: %02d:%02d", name, hourOfDay, time.minute);
  // Twelve o'clock reads 12 whichever way it is stored; hour 12 with PM
  // clear is noon.
  int hour = time.hour == 0 ? 12 : time.hour;
  bool pm = time.pm;
  if (hourOfDay >= 0 && hourOfDay < 24) {
    hour = hourOfDay % 12 == 0 ? 12 : hourOfDay % 12;
    pm = hourOfDay >= 12;
  }
  return Format(u"%s Time: %02d:%02d %s", name, hour, time.minute, pm ? u"PM" : u"AM");
}

SYSTEMTIME TimeBoxValue(const RecordTime& time) {
  SYSTEMTIME t;
  t.wYear = 2000, t.wMonth = 1, t.wDay = 1, t.wDayOfWeek = 1;
  t.wHour = WORD(time.hour + (time.pm ? 12 : 0));
  t.wMinute = WORD(time.minute);
  t.wSecond = 5, t.wMilliseconds = 5;
  return t;
}

void ShowTimeBoxRefused(HWND owner) {
  MessageBoxW(owner,
              Format(u"Error: time picker initialization failed: error code: [%ld]: defaulting to "
                     u"current time.",
                     long(GetLastError())),
              u"Error", MB_OK | MB_ICONEXCLAMATION);
}

bool ReadTimeBoxText(HWND owner, std::u16string_view text, bool twentyFourHour, RecordTime* time) {
  DateTimeValue value;
  if (value.ParseTime(text, twentyFourHour ? PWH_TWENTY_FOUR_HOUR_TEXT : PWH_TWELVE_HOUR_TEXT)) {
    *time = {value.hour, value.minute, value.pm != 0};
    return true;
  }
  const std::u16string message =
      twentyFourHour
          ? Format(u"Warning: Windows CE time box initialization failed: locale: [locale_european], "
                   u"time: [%s], code: code: [%ld].",
                   text, long(GetLastError()))
          : Format(u"Warning: Windows CE time box initialization failed: locale: [locale_american], "
                   u"time: [%s], code: [%ld].",
                   text, long(GetLastError()));
  MessageBoxW(owner, message, u"PWH Warning", MB_OK | MB_ICONINFORMATION);
  return false;
}

const std::array<std::u16string, 24>& DurationHourEntries() {
  static const std::array<std::u16string, 24> entries = [] {
    std::array<std::u16string, 24> e;
    for (int h = 0; h < 24; ++h) e[h] = h == 1 ? u"1 hour" : Format(u"%d hours", h);
    return e;
  }();
  return entries;
}

const std::array<std::u16string, 12>& DurationMinuteEntries() {
  static const std::array<std::u16string, 12> entries = [] {
    std::array<std::u16string, 12> e;
    for (int i = 0; i < 12; ++i) e[i] = Format(u"%d minutes", 5 * i);
    return e;
  }();
  return entries;
}

std::u16string DurationSummaryText(std::u16string_view hours, std::u16string_view minutes) {
  return Format(u"%s, %s", hours, minutes);
}

std::u16string DurationEntryText(int hoursIndex, int minutesIndex) {
  return Format(u"%02d:%02d", hoursIndex, minutesIndex * 5);
}

}  // namespace pw
