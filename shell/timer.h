// The running timer: a stored time record whose end is still open, its
// object id remembered in the settings the moment it starts, so that it runs
// on across an exit, a kill or a power cut. Start, Stop, Stop and Start Next,
// the question after the user was away, and the texts that show it running.
// Plain C++ over the application state, the host port, a ViewPort and the
// clock (platform/clock.h), so it runs the same under the GUI and in tests.
#pragma once

#include <optional>
#include <string>

#include "platform/clock.h"
#include "shell/app_state.h"
#include "shell/commands.h"
#include "views/view_port.h"

namespace pw {

// Where a running timer shows outside the status line: the window title and
// the tray icon. Empty texts: no timer runs.
class TimerDisplay {
 public:
  virtual ~TimerDisplay() = default;
  // elapsed: "1:42"; summary: "Acme Corp / Shop 1:42".
  virtual void ShowTimer(std::u16string_view elapsed, std::u16string_view summary) = 0;
};

// A minute count on one scale for every date (day number x 1440 + minute of
// the day), and back.
long MinuteNumber(const SYSTEMTIME& time);
SYSTEMTIME FromMinuteNumber(long minutes);

class TimerCommands {
 public:
  // dialogs.time is the time entry dialog on the working record.
  TimerCommands(AppState& state, ViewPort& views, CommandDialogs dialogs)
      : state_(state), views_(views), dialogs_(std::move(dialogs)) {}

  // Start Timer (time mode only): the time entry dialog for a new record
  // (from the default time record when that is active) starting now; OK
  // stores it with no end and remembers it. While a timer runs it first asks
  // whether to stop it. Returns the new record's object id, 0 when none.
  CEOID Start();
  // Stop Timer: the record ends now (at midnight of its own day, when it ran
  // past midnight and the user says so), duration and amount recomputed,
  // stored, and the timer forgotten. Returns the record's object id, 0 when
  // no timer ran or the record could not be stored (the timer then runs on).
  CEOID Stop();
  // The same, ending at `when` instead of now.
  CEOID StopAt(const SYSTEMTIME& when);
  // Stop and Start Next: Stop, then Start for the record that follows.
  // Returns the new record's object id.
  // Each of these is one step of the time database's undo history ("Start
  // Timer", "Stop Timer", "Stop and Start Next"), which keeps which record
  // ran before and after it.
  CEOID StopAndStartNext();
  // After the user was away from `since` until now: keep the time, stop the
  // timer at `since`, or stop it there and start a new record now.
  void AskAfterAway(const SYSTEMTIME& since);

  // Reads the remembered record once: a record deleted, or edited to have an
  // end, forgets the timer. Then shows the timer (status line and display).
  // Run at start-up and after every command.
  void Refresh();
  // Shows the timer from what Refresh read: no record is read.
  void Show();
  void SetDisplay(TimerDisplay* display) { display_ = display; }

  // The object id of the running timer's record, 0 when none runs.
  CEOID Running() const { return running_; }
  // Minutes the timer has run until now; "1:42"; "Acme Corp / Shop 1:42".
  // 0 and empty texts when none runs.
  int ElapsedMinutes() const;
  std::u16string ElapsedText() const;
  std::u16string Summary() const;

 private:
  // Remembers oid (0: none) in the settings, stored at once.
  void Remember(CEOID oid);
  // The time text of a moment as the settings show times.
  std::u16string TimeText(const SYSTEMTIME& time) const;
  // The commands' work, noting what they change in `step`.
  CEOID StartNew(StepRecorder& step);
  CEOID EndAt(const SYSTEMTIME& when, StepRecorder& step);
  CEOID StopThenStart(const SYSTEMTIME& when);
  // Keeps step as one step named `name`; before: the record that ran before it.
  void Keep(std::u16string name, StepRecorder& step, CEOID before);
  // Runs change(step) as one undo step of that name.
  template <class Change>
  CEOID AsStep(std::u16string_view name, Change change);

  AppState& state_;
  ViewPort& views_;
  CommandDialogs dialogs_;
  TimerDisplay* display_ = nullptr;
  CEOID running_ = 0;
  TimeRecord record_;  // the running record as Refresh read it
};

// Tells when the user came back after being away: fed the desktop's idle
// time on every poll, it gives the moment the user went away once they are
// back after an absence of at least `minutes` (0: never).
class AwayWatch {
 public:
  std::optional<SYSTEMTIME> Poll(long long idleMilliseconds, const SYSTEMTIME& now, int minutes);
  // Forgets an absence in progress (the timer stopped meanwhile).
  void Reset() { awaySince_.reset(); }

 private:
  std::optional<long> awaySince_;  // a minute number
};

}  // namespace pw
