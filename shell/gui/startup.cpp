#include "shell/gui/startup.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>

#include <csignal>
#include <new>
#include <sys/socket.h>
#include <unistd.h>

#include "config/configuration.h"
#include "dialogs/gui/memory_dialogs.h"
#include "platform/host_port.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "selection/selection.h"
#include "shell/globals.h"
#include "shell/gui/main_window.h"
#include "shell/gui/qt_host.h"
#include "shell/gui/single_instance.h"
#include "storage/record_store.h"
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

}  // namespace

bool StartUp() {
  cleanedUp = false;
  QuitPosted = false;
  AppMode = PWH_TIME_MODE;

  // The window fills the screen it opens on, leaving room for an on-screen keyboard.
  auto* window = new PwMainWindow();
  MainWindow = ToHwnd(window);
  if (QScreen* screen = window->screen()) {
    const QRect desktop = screen->availableGeometry();
    window->resize(desktop.width(), desktop.height() - PWH_INPUT_PANEL_ALLOWANCE);
  }
  window->setWindowIcon(ProgramIcon());
  window->show();

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
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(ProgramIcon());

  SingleInstanceGuard guard(SingleInstanceGuard::DefaultServerName());
  if (!guard.Acquire()) return 0;
  QObject::connect(&guard, &SingleInstanceGuard::raiseRequested, [] {
    if (PwMainWindow* window = MainWindowWidget()) window->BringToFront();
  });

  QtHost host;
  SetHost(&host);
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
