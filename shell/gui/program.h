// The running program: its state, the main window over it, the views as the
// commands see them, and the commands. Start-up, clean-up and the program's
// entry.
#pragma once

#include <QPointer>

#include <functional>
#include <map>
#include <memory>

#include "platform/command_ids.h"
#include "shell/app_state.h"
#include "shell/commands.h"
#include "shell/timer.h"
#include "shell/gui/qt_host.h"
#include "views/gui/report_print.h"
#include "views/gui/report_view.h"
#include "views/gui/view_port.h"

namespace pw {

class PwMainWindow;
class TimerUi;
class DesktopIdleSource;

class Program {
 public:
  // host is the Qt host installed for the program; its main window is set
  // by StartUp.
  explicit Program(QtHost& host);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Makes and shows the main window, creates the configuration, opens the
  // three databases, makes the date tabs, applies the selected tab, shows the
  // List view of time records and sets the menu checks. False when the
  // program must end (the reason has been shown). Whatever it made stays
  // until CleanUp.
  bool StartUp();
  // Acts on the start-up dialog's answer: Expense switches to expense mode,
  // Exit runs the Exit command; Time or a cancel leave things as they are.
  void ApplyStartupChoice(int choice);
  // Destroys the date tabs and the configuration (which stores it), closes
  // the databases, destroys the views, the menu bar and the main window
  // (which ends the event loop). Runs once per start-up, however the program
  // ends.
  void CleanUp();
  bool cleanedUp() const { return cleanedUp_; }
  // Set when the main window was destroyed: the event loop is then not
  // entered (or left at once).
  bool quitPosted() const { return quitPosted_; }

  // Runs the command of a menu item or tool button; nothing for an unknown
  // one. The main window is repainted afterwards.
  void Run(UINT commandId);
  // Whether a command identifier has a command.
  bool HasCommand(UINT commandId) const { return commands_.contains(commandId); }

  AppState& state() { return state_; }
  GuiViewPort& views() { return views_; }
  Commands& commands() { return commands_object_; }
  TimerCommands& timer() { return timer_; }
  TimerUi* timerUi() const { return timerUi_.get(); }
  PwMainWindow* window() const;

  // Where Save Report asks for its file; tests put their own chooser here.
  ReportFileChooser reportFileChooser = ChooseReportFile;
  ReportFileChooser reportPdfChooser = ChooseReportPdfFile;

 private:
  void BindCommands();
  void OnWindowDestroyed();

  QtHost& host_;
  AppState state_;
  GuiViewPort views_;
  Commands commands_object_;
  TimerCommands timer_;
  std::unique_ptr<DesktopIdleSource> idle_;
  std::unique_ptr<TimerUi> timerUi_;
  std::map<UINT, std::function<void()>> commands_;
  QPointer<PwMainWindow> window_;
  bool cleanedUp_ = true;
  bool quitPosted_ = false;
};

// The program: refuses a second instance (bringing the first one forward),
// starts up, shows the start-up dialog and runs the event loop. Returns 0.
int RunPennywhistle(int argc, char** argv);

}  // namespace pw
