#include "shell/gui/startup.h"

#include <QApplication>
#include <QSocketNotifier>

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
#include "shell/globals.h"
#include "shell/gui/main_window.h"
#include "shell/gui/qt_host.h"
#include "shell/gui/single_instance.h"
#include "storage/record_store.h"
#include "text/format.h"
#include "views/gui/list_view.h"

namespace pw {

namespace {

bool cleanedUp = true;

// Termination signals end the program through Exit, so that the settings are
// stored: the handler only writes a byte, the event loop does the rest.
int signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void ExitOnTerminationSignals(QObject* owner) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [notifier] {
    char byte;
    [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
    notifier->setEnabled(false);
    if (MainWindowWidget()) SendCommand(IDM_EXIT);
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

bool StartUp() {
  cleanedUp = false;
  QuitPosted = false;
  AppMode = PWH_TIME_MODE;

  // The window, frame and title bar included, fills the screen it opens on,
  // leaving room for an on-screen keyboard. It is painted before anything is
  // opened, so that each step below shows in the status line as it runs.
  auto* window = new PwMainWindow();
  MainWindow = ToHwnd(window);
  window->setWindowIcon(ProgramIcon());
  window->FitToScreen();
  window->ShowNow();

  SetStatusText(PWH_STATUS_ACTIVITY, u"reading PWH configuration...");
  Configuration = new (std::nothrow) PWHConfiguration(PWH_REGISTRY_KEY);
  SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
  if (!Configuration) return false;

  SetStatusText(PWH_STATUS_ACTIVITY, u"opening time db...");
  if (!OpenTimeDatabase(MainWindow, PWH_TIME_DB_NAME, &TimeDatabase)) return false;
  SetStatusText(PWH_STATUS_ACTIVITY, u"opening config db...");
  if (!OpenConfigDatabase(MainWindow, PWH_CONFIG_DB_NAME, &ConfigDatabase)) return false;
  SetStatusText(PWH_STATUS_ACTIVITY, u"opening expense db...");
  if (!OpenExpenseDatabase(MainWindow, PWH_EXPENSE_DB_NAME, &ExpenseDatabase)) return false;

  if (!window->CreateDateTabs()) return false;
  // The new tabs have "Today" selected: the first view shows today's records.
  ApplyDateTab();
  if (!RecreateListView(MainWindow, &ListViewWindow, TimeDatabase, PWH_LIST_VIEW)) return false;

  HostPort& host = Host();
  host.CheckMenuItem(IDM_MODE_TIME, true);
  host.CheckMenuItem(IDM_MODE_EXPENSE, false);
  host.CheckMenuItem(IDM_VIEW_LIST, true);
  for (UINT other : {IDM_VIEW_TREE, IDM_VIEW_MIXED, IDM_VIEW_REPORT}) host.CheckMenuItem(other, false);
  return true;
}

void ApplyStartupChoice(int choice) {
  if (!MainWindowWidget()) return;  // the program is already ending
  if (choice == IDC_STARTUP_EXPENSE)
    SendCommand(IDM_MODE_EXPENSE);
  else if (choice == IDC_STARTUP_EXIT)
    SendCommand(IDM_EXIT);
}

void CleanUp() {
  if (cleanedUp) return;
  cleanedUp = true;
  PwMainWindow* window = MainWindowWidget();
  if (window) window->DestroyDateTabs();
  // Destroying the configuration stores it in the registry.
  delete Configuration;
  Configuration = nullptr;
  CloseDatabase(TimeDatabase);
  CloseDatabase(ConfigDatabase);
  CloseDatabase(ExpenseDatabase);
  DestroyCurrentView();
  ClearDisplayedRecordList(&DisplayedRecordList);
  if (window) {
    window->DestroyMenuBar();
    window->DestroyWindow();
  }
  MainWindow = nullptr;
}

bool CleanedUp() { return cleanedUp; }

int RunPennywhistle(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pennywhistle"));
  // The launcher entry installed with the program: desktops take its icon and name for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pennywhistle.Pennywhistle"));
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(ProgramIcon());

  SingleInstanceGuard guard(SingleInstanceGuard::DefaultServerName());
  if (!guard.Acquire()) return 0;
  QObject::connect(&guard, &SingleInstanceGuard::raiseRequested, [] {
    if (PwMainWindow* window = MainWindowWidget()) window->BringToFront();
  });

  QtHost host;
  SetHost(&host);
  // No running instance answered; one that does not listen (another runtime
  // folder, or hung) may still hold the store: it is never opened twice.
  StoreLock storeLock;
  if (!LockStore(storeLock)) {
    SetHost(nullptr);
    return 0;
  }
  ExitOnTerminationSignals(&app);
  QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { CleanUp(); });

  if (StartUp()) {
    ApplyStartupChoice(ShowStartupDialog(MainWindow));
    if (!QuitPosted) QApplication::exec();
  }
  CleanUp();
  // The main window was handed to deleteLater; delete it now.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SetHost(nullptr);
  CloseObjectStore();
  CloseRegistry();
  return 0;
}

}  // namespace pw
