#include "shell/gui/program.h"

#include <QAction>
#include <QApplication>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <new>
#include <sys/socket.h>
#include <unistd.h>

#include "config/configuration.h"
#include "dialogs/gui/memory_dialogs.h"
#include "platform/host_port.h"
#include "platform/code_page.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "platform/store_lock.h"
#include "selection/selection.h"
#include "shell/gui/main_window.h"
#include "shell/gui/single_instance.h"
#include "shell/gui/timer_ui.h"
#include "platform/gui/desktop_idle.h"
#include "storage/record_store.h"
#include "text/format.h"
#include "transfer/import_note.h"
#include "config/gui/config_commands.h"
#include "dialogs/gui/expense_entry.h"
#include "dialogs/gui/time_entry.h"
#include "selection/gui/find_dialogs.h"
#include "transfer/gui/transfer_commands.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_view.h"

namespace pw {

namespace {

// The write end of the pipe through which a termination signal reaches the
// event loop. A signal handler can reach nothing but a variable like this.
volatile int signalPipeWriteEnd = -1;

// Termination signals end the program through Exit, so that the settings are
// stored: the handler only writes a byte, the event loop does the rest.
void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipeWriteEnd, &byte, 1);
}

void ExitOnTerminationSignals(QObject* owner, Program& program) {
  int signalPipe[2] = {-1, -1};
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
  signalPipeWriteEnd = signalPipe[1];
  const int readEnd = signalPipe[0];
  auto* notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [notifier, readEnd, &program] {
    char byte;
    [[maybe_unused]] const ssize_t got = ::read(readEnd, &byte, 1);
    notifier->setEnabled(false);
    if (program.window()) program.Run(IDM_EXIT);
    QCoreApplication::exit(0);
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

// Takes the store's lock; false, with the reason shown, when it cannot.
bool LockStore(StoreLock& lock) {
  const std::string store = DefaultObjectStorePath();
  const StoreLock::Result result = lock.Acquire(StoreLockPath(store));
  if (result == StoreLock::Result::Locked) return true;
  const std::u16string file = Utf8ToWide(store);
  if (result == StoreLock::Result::InUse) {
    MessageBoxW(nullptr,
                Format(u"Pennywhistle cannot start: its data is in use by another process.\n\n\"%s\"\n\n"
                       u"Close the other Pennywhistle and start again.",
                       file),
                u"Pennywhistle Startup", MB_OK | MB_ICONEXCLAMATION);
  } else {
    const int error = errno;
    MessageBoxW(nullptr,
                Format(u"Pennywhistle cannot start: it cannot lock its data.\n\n\"%s\"\n\n%s",
                       file, Utf8ToWide(std::strerror(error))),
                u"Pennywhistle Startup", MB_OK | MB_ICONEXCLAMATION);
  }
  return false;
}

}  // namespace

Program::Program(QtHost& host)
    : host_(host),
      views_(state_, state_, state_, [this] { return state_.MainWindow; },
             [this]() -> Settings* { return state_.Configuration; }),
      commands_object_(state_, views_,
                       CommandDialogs{[this](int mode) {
                                      return TimeEntryDialog(state_.MainWindow, mode, state_.WorkingTimeRecord,
                                                             EntryContext{state_.ConfigDatabase, *state_.Configuration});
                                    },
                                    [this](int form) {
                                      return ExpenseEntryDialog(state_.MainWindow, form, state_.WorkingExpenseRecord,
                                                                EntryContext{state_.ConfigDatabase, *state_.Configuration});
                                    },
                                    [this](RecordPositionList* list) {
                                      return RunSelectionDialog(state_.MainWindow, state_,
                                                                state_.Configuration->europeanDates(), list);
                                    }}),
      timer_(state_, views_,
             CommandDialogs{[this](int mode) {
               return TimeEntryDialog(state_.MainWindow, mode, state_.WorkingTimeRecord,
                                      EntryContext{state_.ConfigDatabase, *state_.Configuration});
             },
                            {},
                            {}}) {
  BindCommands();
}

Program::~Program() {
  CleanUp();
  timerUi_.reset();
  // The main window was handed to deleteLater; delete it now.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Program::BindCommands() {
  AppState& s = state_;
  Commands& c = commands_object_;
  GuiViewPort& v = views_;
  commands_ = {
      {IDM_COLUMNS, [&] { RunColumnsCommand(s.MainWindow, *s.Configuration, s.AppMode, v); }},
      {IDM_PULLDOWNS, [&] { RunPulldownsCommand(s.MainWindow, s.ConfigDatabase, *s.Configuration); }},
      {IDM_EXIT, [this] { commands_object_.Exit([this] { CleanUp(); }); }},
      {IDM_MODE_TIME, [&c] { c.SwitchMode(PWH_TIME_MODE); }},
      {IDM_MODE_EXPENSE, [&c] { c.SwitchMode(PWH_EXPENSE_MODE); }},
      {IDM_ABOUT, [&s] { ShowAboutDialog(s.MainWindow); }},
      {IDM_NEW_SUBSEQUENT_RECORD, [&c] { c.NewSubsequentRecord(); }},
      {IDM_NEW_RECORD, [&c] { c.NewRecord(); }},
      {IDM_START_TIMER, [this] { timer_.Start(); }},
      {IDM_STOP_TIMER, [this] { timer_.Stop(); }},
      {IDM_STOP_AND_START_NEXT, [this] { timer_.StopAndStartNext(); }},
      {IDM_DELETE_SELECTED, [&c] { c.DeleteSelected(); }},
      {IDM_DELETE_MULTIPLE, [&c] { c.DeleteMultiple(); }},
      {IDM_MARK_SELECTED_BILLED, [&c] { c.MarkSelectedBilled(); }},
      {IDM_MARK_MULTIPLE_BILLED, [&c] { c.MarkMultipleBilled(); }},
      {IDM_MARK_SELECTED_REIMBURSED, [&c] { c.MarkSelectedReimbursed(); }},
      {IDM_MARK_MULTIPLE_REIMBURSED, [&c] { c.MarkMultipleReimbursed(); }},
      {IDM_APPLICATION_CONFIG,
       [&] {
         RunApplicationCommand(s.MainWindow, *s.Configuration, s.ConfigDatabase, s.WorkingTimeRecord,
                               s.WorkingExpenseRecord, v, idle_ ? idle_->Unavailable() : std::u16string());
       }},
      {IDM_FIND, [&c] { c.Find(); }},
      {IDM_COPY, [&c] { c.Copy(); }},
      {IDM_PROPERTIES, [&c] { c.Properties(); }},
      {IDM_VIEW_TREE, [&c] { c.SwitchView(ShownView::Tree); }},
      {IDM_VIEW_LIST, [&c] { c.SwitchView(ShownView::List); }},
      {IDM_VIEW_MIXED, [&c] { c.SwitchView(ShownView::Mixed); }},
      {IDM_VIEW_REPORT,
       [&] {
         ViewReport(v.Sources(), v, [&](RecordPositionList* list) {
           return RunSelectionDialog(s.MainWindow, s, s.Configuration->europeanDates(), list);
         });
       }},
      {IDM_IMPORT_DATABASE,
       [&] {
         std::vector<CEOID> added;
         ImportRecordsCommand(s.MainWindow, s, s, s, *s.Configuration, v, &added);
         c.KeepAdded(u"Import", added);
       }},
      {IDM_UNDO, [&c] { c.Undo(); }},
      {IDM_REDO, [&c] { c.Redo(); }},
      {IDM_EXPORT_DATABASE, [&s] { ExportRecordsCommand(s.MainWindow, s, s, s, *s.Configuration); }},
      {IDM_IMPORT_PULLDOWNS, [&s] { ImportPulldownsCommand(s.MainWindow, s.ConfigDatabase, s, *s.Configuration); }},
      {IDM_EXPORT_PULLDOWNS, [&s] { ExportPulldownsCommand(s.MainWindow, s.ConfigDatabase, s, *s.Configuration); }},
      {IDM_SAVE_REPORT, [this] { SaveReport(state_.MainWindow, state_, state_.AppMode, reportFileChooser); }},
      {IDM_SAVE_REPORT_PDF, [this] { SaveReportPdf(state_.MainWindow, state_, state_.AppMode, reportPdfChooser); }},
      {IDM_PRINT_REPORT, [&s] { PrintReport(s.MainWindow, s); }},
      {IDM_EXPAND_COLLAPSE_TREE, [&s] { ExpandCollapseTree(s.MainWindow, s.TreeViewWindow); }},
  };
}

PwMainWindow* Program::window() const { return window_.data(); }

void Program::Run(UINT commandId) {
  const auto found = commands_.find(commandId);
  if (found == commands_.end()) return;
  // Commands that need the settings or the databases wait for start-up.
  if (!state_.Configuration && commandId != IDM_EXIT && commandId != IDM_ABOUT) return;
  // Each widget the command changed repaints itself, once, when control
  // returns to the event loop; a repaint of the whole window on top cost a
  // second paint of a new view.
  found->second();
  // Any command may have started, stopped, edited or deleted the timer's record.
  if (state_.Configuration) timer_.Refresh();
  // After Exit there is no window left to repaint.
  if (PwMainWindow* main = window()) {
    // Any command may have added a step, taken one, or shown another database.
    for (const UINT item : {IDM_UNDO, IDM_REDO}) {
      bool enabled = false;
      const std::u16string text = commands_object_.UndoMenuText(item == IDM_UNDO, &enabled);
      if (QAction* action = main->menuAction(item)) {
        action->setText(QString::fromStdU16String(text));
        action->setEnabled(enabled);
      }
    }
    main->ShowNarrowing();
  }
}

bool Program::StartUp() {
  cleanedUp_ = false;
  quitPosted_ = false;
  state_.AppMode = PWH_TIME_MODE;

  // The window, frame and title bar included, fills the screen it opens on,
  // leaving room for an on-screen keyboard. It is painted before anything is
  // opened, so that each step below shows in the status line as it runs.
  auto* window = new PwMainWindow(*this);
  window_ = window;
  host_.SetWindow(window);
  state_.MainWindow = ToHwnd(window);
  state_.ViewArea = ToHwnd(window->viewArea());
  QObject::connect(window, &PwMainWindow::destroying, window, [this] { OnWindowDestroyed(); });
  window->setWindowIcon(ProgramIcon());
  window->FitToScreen();
  window->ShowNow();

  SetStatusText(PWH_STATUS_ACTIVITY, u"reading PWH configuration...");
  state_.Configuration = new (std::nothrow) PWHConfiguration(PWH_REGISTRY_KEY);
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  if (!state_.Configuration) return false;

  const HWND owner = state_.MainWindow;
  SetStatusText(PWH_STATUS_ACTIVITY, u"opening time db...");
  if (!OpenTimeDatabase(owner, PWH_TIME_DB_NAME, &state_.TimeDatabase)) return false;
  SetStatusText(PWH_STATUS_ACTIVITY, u"opening config db...");
  if (!OpenConfigDatabase(owner, PWH_CONFIG_DB_NAME, &state_.ConfigDatabase)) return false;
  SetStatusText(PWH_STATUS_ACTIVITY, u"opening expense db...");
  if (!OpenExpenseDatabase(owner, PWH_EXPENSE_DB_NAME, &state_.ExpenseDatabase)) return false;

  if (!window->CreateDateTabs()) return false;
  // The new tabs have "Today" selected: the first view shows today's records.
  ApplyDateTab(state_, state_);
  if (!views_.CreateView(ShownView::List)) return false;

  // A timer left running by the last run (an exit, a kill, a power cut) runs on.
  if (!idle_) idle_ = std::make_unique<DesktopIdleSource>();
  if (!timerUi_) {
    timerUi_ = std::make_unique<TimerUi>(*this, timer_, *idle_, [this](const SYSTEMTIME& since) {
      timer_.AskAfterAway(since);
      if (PwMainWindow* main = this->window()) main->Invalidate();
    });
  }
  timerUi_->Attach(window);
  timer_.Refresh();

  HostPort& host = Host();
  host.CheckMenuItem(IDM_MODE_TIME, true);
  host.CheckMenuItem(IDM_MODE_EXPENSE, false);
  host.CheckMenuItem(IDM_VIEW_LIST, true);
  for (UINT other : {IDM_VIEW_TREE, IDM_VIEW_MIXED, IDM_VIEW_REPORT}) host.CheckMenuItem(other, false);
  // An import that the last run did not live to finish: which file, how far.
  ReportUnfinishedImport(owner);
  return true;
}

void Program::ApplyStartupChoice(int choice) {
  if (!window()) return;  // the program is already ending
  if (choice == IDC_STARTUP_EXPENSE)
    Run(IDM_MODE_EXPENSE);
  else if (choice == IDC_STARTUP_EXIT)
    Run(IDM_EXIT);
}

void Program::OnWindowDestroyed() {
  quitPosted_ = true;
  // Ends the running event loop. Before the loop runs, quitPosted keeps it
  // from starting: exit() would also make every later dialog return at once.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

void Program::CleanUp() {
  if (cleanedUp_) return;
  cleanedUp_ = true;
  PwMainWindow* window = this->window();
  if (timerUi_) timerUi_->Detach();
  if (window) window->DestroyDateTabs();
  // Destroying the configuration stores it in the registry.
  delete state_.Configuration;
  state_.Configuration = nullptr;
  CloseDatabase(state_.TimeDatabase);
  CloseDatabase(state_.ConfigDatabase);
  CloseDatabase(state_.ExpenseDatabase);
  DestroyCurrentView(state_);
  state_.DisplayedRecordList.Clear();
  state_.Undo.Clear();
  if (window) {
    window->DestroyMenuBar();
    window->DestroyWindow();
  }
  window_ = nullptr;
  state_.MainWindow = nullptr;
  state_.ViewArea = nullptr;
  host_.SetWindow(nullptr);
}

int RunPennywhistle(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pennywhistle"));
  // The launcher entry installed with the program: desktops take its icon and name for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pennywhistle.Pennywhistle"));
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(ProgramIcon());

  QtHost host;
  Program program(host);
  SingleInstanceGuard guard(SingleInstanceGuard::DefaultServerName());
  if (!guard.Acquire()) return 0;
  QObject::connect(&guard, &SingleInstanceGuard::raiseRequested, [&program] {
    if (PwMainWindow* window = program.window()) window->BringToFront();
  });

  SetHost(&host);
  // No running instance answered; one that does not listen (another runtime
  // folder, or hung) may still hold the store: it is never opened twice.
  StoreLock storeLock;
  if (!LockStore(storeLock)) {
    SetHost(nullptr);
    return 0;
  }
  ExitOnTerminationSignals(&app, program);
  QObject::connect(&app, &QCoreApplication::aboutToQuit, [&program] { program.CleanUp(); });

  if (program.StartUp()) {
    program.ApplyStartupChoice(ShowStartupDialog(program.state().MainWindow));
    if (!program.quitPosted()) QApplication::exec();
  }
  program.CleanUp();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SetHost(nullptr);
  CloseObjectStore();
  CloseRegistry();
  return 0;
}

}  // namespace pw
