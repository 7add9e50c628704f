// The running timer on the desktop: the window title and the status part
// (through the core), the tool buttons, the tray icon with its menu, the
// minute tick that keeps the elapsed time and the timer's row current, and
// the poll of the desktop's idle time that asks the user on return.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

#include "platform/idle_source.h"
#include "shell/timer.h"

class QMenu;
class QSystemTrayIcon;

namespace pw {

class PwMainWindow;
class Program;

class TimerUi final : public QObject, public TimerDisplay {
  Q_OBJECT

 public:
  // away runs when the user is back after an absence (AskAfterAway through
  // the program, so that the window is repainted afterwards).
  TimerUi(Program& program, TimerCommands& timer, IdleSource& idle,
          std::function<void(const SYSTEMTIME&)> away);
  ~TimerUi() override;

  // The tool buttons and the tray icon for the main window; Detach removes
  // the tray icon before the window goes.
  void Attach(PwMainWindow* window);
  void Detach();

  void ShowTimer(std::u16string_view elapsed, std::u16string_view summary) override;
  QSystemTrayIcon* trayIcon() const { return tray_; }

 private:
  void ArmMinuteTick();
  void MinuteTick();
  void PollIdle();
  void OnTrayActivated(int reason);
  void AddTrayMenuItem(const char* text, std::function<void()> run, unsigned commandId = 0);

  Program& program_;
  TimerCommands& timer_;
  IdleSource& idle_;
  std::function<void(const SYSTEMTIME&)> away_;
  QPointer<PwMainWindow> window_;
  QSystemTrayIcon* tray_ = nullptr;
  QMenu* trayMenu_ = nullptr;
  QTimer minute_;
  QTimer idlePoll_;
  AwayWatch watch_;
  bool asking_ = false;
};

}  // namespace pw
