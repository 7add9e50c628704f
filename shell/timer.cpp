#include "shell/timer.h"

#include <algorithm>

#include "config/configuration.h"
#include "dialogs/time_entry.h"
#include "platform/error_codes.h"
#include "platform/host_port.h"
#include "storage/record_operations.h"
#include "storage/record_times.h"
#include "text/date_time.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {

namespace {

constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
constexpr long kMinutesPerDay = 24 * 60;

long FloorDiv(long a, long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// The record's start as a minute number; its date read as today's when it
// does not read as a date.
long StartMinute(const TimeRecord& record, const SYSTEMTIME& today) {
  DateTimeValue date;
  const long day = date.ParseDate(TextOf(record.date)) ? DayNumber(date.year, date.month, date.day)
                                                        : DayNumber(today.wYear, today.wMonth, today.wDay);
  return day * kMinutesPerDay + (record.startHour + (record.startPm ? 12 : 0)) * 60 + record.startMinute;
}

// The position of the record with object id oid in db; false when it is not there.
bool PositionOfOid(DatabaseHandle& db, CEOID oid, DWORD* position) {
  const bool found = oid != 0 && CeSeekDatabase(db, CEDB_SEEK_CEOID, oid, position) != 0;
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  return found;
}

}  // namespace

long MinuteNumber(const SYSTEMTIME& time) {
  return long(DayNumber(time.wYear, time.wMonth, time.wDay)) * kMinutesPerDay + time.wHour * 60 + time.wMinute;
}

SYSTEMTIME FromMinuteNumber(long minutes) {
  // The civil date of a day number (the inverse of DayNumber).
  const long days = FloorDiv(minutes, kMinutesPerDay) + 719468;
  const long minute = minutes - FloorDiv(minutes, kMinutesPerDay) * kMinutesPerDay;
  const long era = FloorDiv(days, 146097);
  const long dayOfEra = days - era * 146097;
  const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long mp = (5 * dayOfYear + 2) / 153;
  const long month = mp < 10 ? mp + 3 : mp - 9;
  SYSTEMTIME t;
  t.wYear = WORD(yearOfEra + era * 400 + (month <= 2));
  t.wMonth = WORD(month);
  t.wDay = WORD(dayOfYear - (153 * mp + 2) / 5 + 1);
  t.wHour = WORD(minute / 60);
  t.wMinute = WORD(minute % 60);
  return t;
}

// --- Start and stop ----------------------------------------------------------

template <class Change>
CEOID TimerCommands::AsStep(std::u16string_view name, Change change) {
  Refresh();
  const CEOID before = running_;
  StepRecorder step(state_.TimeDatabase);
  const CEOID oid = change(step);
  Keep(std::u16string(name), step, before);
  return oid;
}

CEOID TimerCommands::Start() {
  if (!state_.TimeMode()) return 0;
  return AsStep(u"Start Timer", [this](StepRecorder& step) { return StartNew(step); });
}

CEOID TimerCommands::Stop() { return StopAt(GetLocalTime()); }

CEOID TimerCommands::StopAt(const SYSTEMTIME& when) {
  return AsStep(u"Stop Timer", [&](StepRecorder& step) { return EndAt(when, step); });
}

CEOID TimerCommands::StopAndStartNext() { return StopThenStart(GetLocalTime()); }

CEOID TimerCommands::StopThenStart(const SYSTEMTIME& when) {
  // The next record is begun only after a stop; a cancelled one leaves the
  // stop a step of its own name all the same.
  return AsStep(u"Stop and Start Next",
                [&](StepRecorder& step) { return EndAt(when, step) ? StartNew(step) : CEOID(0); });
}

CEOID TimerCommands::StartNew(StepRecorder& step) {
  if (!state_.TimeMode()) return 0;
  const HWND owner = state_.MainWindow;
  Refresh();
  if (running_) {
    // One timer at a time.
    if (MessageBoxW(owner, Format(u"A timer is running: %s.\n\nStop it and start a new one?", Summary()),
                    u"Start Timer", kQuestion) != IDYES)
      return 0;
    if (!EndAt(GetLocalTime(), step)) return 0;
  }
  TimeRecord& working = state_.WorkingTimeRecord;
  ClearRecord(working);
  const Settings* s = state_.Configuration;
  const bool fromDefault =
      s && s->defaultTimeRecordActive() && DeserializeTimeRecord(s->defaultTimeRecordBlob(), working);
  if (!fromDefault) ClearRecord(working);
  std::u16string today;
  TodayText(&today);
  CopyText(working.date, today);
  // The dialog opens starting now, on today's date.
  SetRecordTimeNow(working, PWH_START_TIME);
  if (dialogs_.time(fromDefault ? PWH_TIME_ENTRY_TIMER_FROM_DEFAULT : PWH_TIME_ENTRY_TIMER) != IDOK) return 0;
  // No end yet: the duration and, where a rate will give it, the amount
  // come when the timer stops.
  working.endHour = working.endMinute = 0;
  working.endPm = false;
  CopyText(working.duration, PWH_NO_DURATION);
  float rate = 0;
  if (ScanFloat(TextOf(working.rate), &rate) == 1 && rate != 0) CopyText(working.amount, u"");
  FillEmptyTexts(working);
  CEOID oid = 0;
  if (!AddNewRecord(owner, state_.TimeDatabase, working, &oid) || !oid) return 0;
  step.Added(oid);
  Remember(oid);
  Refresh();
  if (!pw::RefreshView(state_, state_, views_) || !state_.TimeMode()) return oid;
  DWORD position = 0;
  if (PositionOfOid(state_.TimeDatabase, oid, &position)) views_.ShowRecord(position);
  return oid;
}

CEOID TimerCommands::EndAt(const SYSTEMTIME& when, StepRecorder& step) {
  Refresh();
  const CEOID oid = running_;
  DatabaseHandle& db = state_.TimeDatabase;
  DWORD position = 0;
  if (!oid || !PositionOfOid(db, oid, &position)) return 0;
  const HWND owner = state_.MainWindow;
  TimeRecord record;
  if (!LoadPWHRecord(owner, db, RecordPosition(position), &record)) return 0;
  const TimeRecord before = record;

  const long start = StartMinute(record, when);
  long end = std::max(MinuteNumber(when), start);
  int endHour = when.wHour, endMinute = when.wMinute;
  if (FloorDiv(end, kMinutesPerDay) > FloorDiv(start, kMinutesPerDay)) {
    std::u16string date(TextOf(record.date));
    if (state_.Configuration && state_.Configuration->europeanDates()) AmericanToEuropeanDate(TextOf(record.date), &date);
    const std::u16string question =
        Format(u"The timer (%s) started on %s and ran past midnight.\n\nEnd it at midnight of %s?\n\n"
               u"No ends it at %s.",
               Summary(), date, date, TimeText(FromMinuteNumber(end)));
    if (MessageBoxW(owner, question, u"Stop Timer", kQuestion) == IDYES) {
      end = (FloorDiv(start, kMinutesPerDay) + 1) * kMinutesPerDay;
      endHour = endMinute = 0;
    }
  }
  EndRecordAt(record, endHour, endMinute, int(end - start));
  step.Watch(oid);
  // A record that cannot be stored keeps running: nothing is lost.
  if (!UpdateRecord(owner, db, RecordPosition(position), record)) return 0;
  Remember(0);
  Refresh();
  // Its date and so its position stay: where the records shown stay the
  // same, only its row and the totals are shown anew. A time record changes
  // nothing in the expense views.
  if (state_.TimeMode()) RefreshChangedRecord(state_, state_, views_, RecordPosition(position), before, record);
  return oid;
}

void TimerCommands::AskAfterAway(const SYSTEMTIME& since) {
  Refresh();
  if (!running_) return;
  const std::u16string at = TimeText(since);
  const std::u16string question =
      Format(u"You have been away since %s while the timer ran (%s).\n\n"
             u"Yes: stop the timer at %s and start a new record now.\n"
             u"No: stop the timer at %s.\nCancel: keep the time.",
             at, Summary(), at, at);
  const int answer = MessageBoxW(state_.MainWindow, question, u"Timer",
                                 MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3);
  if (answer == IDYES) StopThenStart(since);
  else if (answer == IDNO) StopAt(since);
}

void TimerCommands::Keep(std::u16string name, StepRecorder& step, CEOID before) {
  state_.Undo.Keep(PWH_TIME_MODE, std::move(name), step, RunningTimer{before, running_});
}

// --- What runs ---------------------------------------------------------------

void TimerCommands::Remember(CEOID oid) {
  PWHConfiguration* config = state_.Configuration;
  if (!config || config->RunningTimerOid == oid) return;
  config->RunningTimerOid = oid;
  config->storeRunningTimer();
}

void TimerCommands::Refresh() {
  const CEOID oid = state_.Configuration ? state_.Configuration->RunningTimerOid : 0;
  DatabaseHandle& db = state_.TimeDatabase;
  running_ = 0;
  if (oid && db.IsOpen()) {
    PropertyBuffer buffer;
    const bool found = CeSeekDatabase(db, CEDB_SEEK_CEOID, oid, nullptr) != 0;
    const bool gone = !found && GetLastError() == ERROR_FILE_NOT_FOUND;
    const bool read = found && CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) != 0;
    CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
    ClearRecord(record_);
    if (read) PropsToRecord(buffer.data(), buffer.size(), record_);
    if (read && IsOpenRecord(record_)) running_ = oid;
    // Deleted, or edited to have an end: the timer is gone. A record that
    // merely cannot be read now stays remembered.
    else if (gone || read) Remember(0);
  }
  state_.RunningTimeRecord = running_;
  Show();
}

void TimerCommands::Show() {
  const std::u16string summary = Summary();
  SetStatusText(PWH_STATUS_TIMER, summary);
  if (display_) display_->ShowTimer(ElapsedText(), summary);
}

int TimerCommands::ElapsedMinutes() const {
  if (!running_) return 0;
  const SYSTEMTIME now = GetLocalTime();
  return int(std::max(0L, MinuteNumber(now) - StartMinute(record_, now)));
}

std::u16string TimerCommands::ElapsedText() const {
  if (!running_) return {};
  const int minutes = ElapsedMinutes();
  return Format(u"%d:%02d", minutes / 60, minutes % 60);
}

std::u16string TimerCommands::Summary() const {
  if (!running_) return {};
  return Format(u"%s / %s %s", TextOf(record_.client), TextOf(record_.project), ElapsedText());
}

std::u16string TimerCommands::TimeText(const SYSTEMTIME& time) const {
  if (state_.Configuration && state_.Configuration->europeanTimes()) return Format(u"%02d:%02d", time.wHour, time.wMinute);
  const bool pm = time.wHour >= 12;
  return TwelveHourText(pm ? time.wHour - 12 : time.wHour, time.wMinute, pm);
}

// --- Away --------------------------------------------------------------------

std::optional<SYSTEMTIME> AwayWatch::Poll(long long idleMilliseconds, const SYSTEMTIME& now, int minutes) {
  if (minutes <= 0 || idleMilliseconds < 0) {
    awaySince_.reset();
    return std::nullopt;
  }
  const long idleMinutes = long(idleMilliseconds / 60000);
  if (idleMinutes >= minutes) {
    if (!awaySince_) awaySince_ = MinuteNumber(now) - idleMinutes;
    return std::nullopt;
  }
  if (!awaySince_) return std::nullopt;
  const long since = *awaySince_;
  awaySince_.reset();
  return FromMinuteNumber(since);
}

}  // namespace pw
