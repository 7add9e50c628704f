// Makes the README's pictures: the main window over a week of work (List,
// Tree, Mixed and Report views) and the dialogs, written as PNG files into
// the folder given as the only argument:
//   build/test/pwh_screenshots docs
// The program runs on a store and registry of its own in a temporary folder,
// with the clock on Thursday 03/14/2024 10:30 and Qt's texts in English (US).
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "config/gui/app_config.h"
#include "config/gui/column_dialog.h"
#include "dialogs/gui/expense_entry.h"
#include "dialogs/gui/pulldown_properties.h"
#include "dialogs/gui/time_entry.h"
#include "dialogs/gui/time_picker.h"
#include "dialogs/time_picker.h"
#include "platform/gui/control_names.h"
#include "platform/clock.h"
#include "platform/host_port.h"
#include "platform/object_store.h"
#include "platform/registry.h"
#include "selection/gui/find_dialogs.h"
#include "shell/gui/main_window.h"
#include "shell/gui/program.h"
#include "storage/pulldowns.h"
#include "storage/record_operations.h"
#include "text/format.h"
#include "text/time_text.h"
#include "transfer/gui/format_dialog.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_model.h"
#include "views/gui/tree_node_view.h"
#include "views/gui/tree_view.h"
#include "views/gui/view_selection.h"
#include "week_of_work.h"

namespace pw::screenshots {
namespace {

// Nobody answers: messages go to the terminal, OK for notes, No for questions.
class SilentHost : public QtHost {
 public:
  int MessageBox(HWND, std::u16string_view text, std::u16string_view title, unsigned type) override {
    std::fprintf(stderr, "%s: %s\n", QString::fromStdU16String(std::u16string(title)).toLocal8Bit().constData(),
                 QString::fromStdU16String(std::u16string(text)).toLocal8Bit().constData());
    return (type & MB_BUTTONMASK) == MB_YESNO ? IDNO : IDOK;
  }
};

// The program started on a fresh store and registry in its own folder, its
// main window shown at 1024 x 700.
class Session {
 public:
  Session(SilentHost& host, const QString& folder) : program_(host) {
    QDir().mkpath(folder);
    ok_ = OpenObjectStore((folder + "/store.db").toStdString()) && OpenRegistry((folder + "/registry.db").toStdString()) &&
          program_.StartUp();
    if (ok_) program_.window()->resize(1024, 700);
  }
  ~Session() {
    program_.CleanUp();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CloseObjectStore();
    CloseRegistry();
  }
  bool ok() const { return ok_; }
  Program& program() { return program_; }
  AppState& state() { return program_.state(); }
  PwMainWindow* window() { return program_.window(); }
  bool AddPulldownItems(int category, std::initializer_list<const char16_t*> texts) {
    for (const char16_t* text : texts)
      if (!AddNewPulldownItem(nullptr, text, state().ConfigDatabase, category)) return false;
    return true;
  }
  // Shows the week in the "7 days" tab.
  bool ShowTheWeek(const std::function<void(TimeRecord&)>& adjust = {}) {
    if (!PutAWeekOfWork(state().TimeDatabase, adjust)) return false;
    window()->dateTabs()->setCurrentIndex(1);
    return true;
  }

 private:
  Program program_;
  bool ok_ = false;
};

// Lets the windows lay out and paint.
void Settle(int milliseconds = 100) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class Saver {
 public:
  explicit Saver(QString folder) : folder_(std::move(folder)) {}
  void Save(QWidget* widget, const char* name) {
    Settle();
    if (widget->grab().save(folder_ + "/" + name)) {
      std::printf("%s/%s\n", folder_.toLocal8Bit().constData(), name);
    } else {
      std::fprintf(stderr, "could not write %s/%s\n", folder_.toLocal8Bit().constData(), name);
      failed_ = true;
    }
  }
  // Shows the dialog at its natural size, saves its picture and deletes it.
  void SaveDialog(QDialog* made, const char* name) {
    std::unique_ptr<QDialog> dialog(made);
    dialog->show();
    dialog->adjustSize();
    Save(dialog.get(), name);
  }
  bool failed() const { return failed_; }

 private:
  QString folder_;
  bool failed_ = false;
};

// Accepts the next modal dialog once it shows (the selection dialog run by
// View > Report).
void AcceptNextModalDialog() {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      timer->deleteLater();
      dialog->accept();
    }
  });
  timer->start(10);
}

// The three views over the week, then the dialogs on the same store.
bool MainWindowAndDialogs(SilentHost& host, const QString& folder, Saver& saver) {
  Session s(host, folder);
  if (!s.ok() || !s.ShowTheWeek()) return false;
  AppState& state = s.state();
  saver.Save(s.window(), "screenshot.png");

  // Two days opened to the records: the 11th whole, the 13th down to its clients.
  s.program().Run(IDM_VIEW_TREE);
  TreeNodeView* tree = state.TreeViewWindow;
  if (!tree) return false;
  const std::span<const TreeNodeId> top = tree->nodeModel()->nodes().Children(PWH_NO_TREE_NODE);
  const std::vector<TreeNodeId> days(top.begin(), top.end());  // opening a day makes its nodes
  if (days.size() < 4) return false;
  SelectTreeItem(tree, days[1]);
  s.program().Run(IDM_EXPAND_COLLAPSE_TREE);
  tree->setOpen(days[3], true);
  SelectShownRecord(state, 3);
  saver.Save(s.window(), "tree.png");

  s.program().Run(IDM_VIEW_MIXED);
  if (!state.MixedListWindow) return false;
  state.MixedListWindow->selectRow(3);
  saver.Save(s.window(), "mixed.png");

  if (!s.AddPulldownItems(PWH_PULLDOWN_CLIENT, {u"Acme Corp", u"Birch & Co", u"City Library", u"Internal"}) ||
      !s.AddPulldownItems(PWH_PULLDOWN_PROJECT, {u"Website", u"Shop"}) ||
      !s.AddPulldownItems(PWH_PULLDOWN_PAYMENT, {u"Company card"}) ||
      !s.AddPulldownItems(PWH_PULLDOWN_CURRENCY, {u"USD"}))
    return false;
  PWHConfiguration& settings = *state.Configuration;
  const EntryContext context{state.ConfigDatabase, settings};

  ExpenseRecord expense;
  CopyText(expense.date, u"03/12/2024"), CopyText(expense.client, u"Acme Corp"), CopyText(expense.project, u"Website");
  CopyText(expense.description, u"Client visit"), CopyText(expense.miles, u"120");
  CopyText(expense.mileageRate, u"0.31"), CopyText(expense.paymentType, u"Company card");
  CopyText(expense.currency, u"USD"), CopyText(expense.amount, u"37.20");
  expense.mileage = expense.billable = expense.reimbursable = expense.receipt = true;
  saver.SaveDialog(CreateExpenseEntryDialog(s.window(), expense, PWH_EXPENSE_ENTRY_EDIT, context), "expense-entry.png");

  TimeRecord time;
  CopyText(time.date, u"03/14/2024"), CopyText(time.duration, u"01:30"), CopyText(time.client, u"Acme Corp");
  CopyText(time.project, u"Shop"), CopyText(time.subproject, u"Checkout"), CopyText(time.task, u"Review");
  CopyText(time.rate, u"85"), CopyText(time.currency, u"USD"), CopyText(time.amount, u"127.50");
  time.startHour = 8, time.startMinute = 45, time.endHour = 10, time.endMinute = 15;
  time.billable = 1;
  saver.SaveDialog(CreateTimeEntryDialog(nullptr, time, PWH_TIME_ENTRY_EDIT, context), "time_entry.png");

  // 9:45 AM picked on the 12-hour clock.
  std::unique_ptr<QDialog> picker(CreateTimePicker(nullptr, time, PWH_START_TIME, true, false));
  picker->show();
  for (int id : {1034, 1046, int(IDC_PICK_AM)})
    if (auto* button = FindControl<QToolButton>(picker.get(), id)) button->click();
  saver.SaveDialog(picker.release(), "time_picker_12.png");

  {
    FormatDialog format(nullptr, state, PWH_IMPORT_FORMAT);
    auto* field = FindControl<QComboBox>(&format, IDC_FIELD_DELIMITER);
    if (field) field->setCurrentIndex(field->findText("{tab}"));
    format.show();
    format.adjustSize();
    saver.Save(&format, "format-dialog.png");
  }

  ColumnModel& columns = settings.columns();
  columns.UpdateColumnByName(ColumnRange::Time, u"Rate", 50, 0, 0);
  columns.UpdateColumnByName(ColumnRange::Time, u"Ccy", 45, 0, 0);
  const DefaultRecordEditor none = [](HWND, bool) { return IDCANCEL; };
  saver.SaveDialog(new ColumnConfigDialog(s.window(), columns, ColumnRange::Time), "columns.png");
  saver.SaveDialog(new AppConfigDialog(s.window(), settings, state.WorkingTimeRecord, state.WorkingExpenseRecord,
                                       none, none),
                   "application.png");
  saver.SaveDialog(new PulldownPropertiesDialog(s.window(), state.ConfigDatabase, settings), "pulldowns.png");
  return true;
}

// The selection dialog, and the report of the whole week with one duration
// left out (the report notes it).
bool FindAndReport(SilentHost& host, const QString& folder, Saver& saver) {
  Session s(host, folder);
  if (!s.ok() || !s.AddPulldownItems(PWH_PULLDOWN_CLIENT, {u"Acme Corp", u"Birch & Co", u"City Library", u"Internal"}) ||
      !s.ShowTheWeek([](TimeRecord& r) {
        if (TextOf(r.task) == u"Testing") CopyText(r.duration, u"--:--");
      }))
    return false;
  AppState& state = s.state();
  RecordPositionList list;
  saver.SaveDialog(CreateTimeSelectionDialog(s.window(), state, state.Configuration->europeanDates(), &list),
                   "find_dialog.png");

  AcceptNextModalDialog();
  s.program().Run(IDM_VIEW_REPORT);
  if (!state.ReportListWindow) return false;
  saver.Save(s.window(), "report.png");
  return true;
}

// A timer running since 8:48 on the week's last day: its row's hours, the
// status part and the title read 1:42 at 10:30.
bool RunningTimer(SilentHost& host, const QString& folder, Saver& saver) {
  Session s(host, folder);
  if (!s.ok() || !s.ShowTheWeek()) return false;
  AppState& state = s.state();
  TimeRecord running;
  CopyText(running.date, u"03/14/2024"), CopyText(running.client, u"Acme Corp"), CopyText(running.project, u"Shop");
  CopyText(running.subproject, u"Checkout"), CopyText(running.task, u"Review"), CopyText(running.rate, u"85");
  CopyText(running.currency, u"USD"), CopyText(running.duration, PWH_NO_DURATION);
  running.startHour = 8, running.startMinute = 48, running.billable = 1;
  FillEmptyTexts(running);
  CEOID oid = 0;
  if (!AddNewRecord(nullptr, state.TimeDatabase, running, &oid)) return false;
  state.Configuration->RunningTimerOid = oid;
  s.program().commands().RefreshView();
  s.program().commands().ShowRecord(oid);
  s.program().timer().Refresh();
  saver.Save(s.window(), "timer.png");
  return true;
}

// Ten years in the "All" tab: the records in calendar order, whatever order
// they were entered in and however the dates sort as text.
bool CalendarOrder(SilentHost& host, const QString& folder, Saver& saver) {
  Session s(host, folder);
  if (!s.ok()) return false;
  const struct { const char16_t *date, *client, *project, *duration; } rows[] = {
      {u"03/13/2008", u"City Library", u"Catalogue", u"2:15"}, {u"07/14/2000", u"Acme Corp", u"Website", u"2:00"},
      {u"12/24/2003", u"Birch & Co", u"Shop", u"1:30"},        {u"09/27/2007", u"Acme Corp", u"Shop", u"2:45"},
      {u"10/19/1999", u"Internal", u"Planning", u"0:45"},      {u"12/24/2005", u"Birch & Co", u"Shop", u"2:00"},
      {u"01/05/2024", u"City Library", u"Catalogue", u"2:30"}, {u"02/29/2012", u"Acme Corp", u"Website", u"1:15"},
  };
  for (const auto& row : rows) {
    TimeRecord r;
    CopyText(r.date, row.date), CopyText(r.client, row.client), CopyText(r.project, row.project);
    CopyText(r.duration, row.duration), CopyText(r.rate, u"85"), CopyText(r.currency, u"USD");
    // From 9:00 AM for the duration, "h:mm".
    r.startHour = 9, r.endHour = 9 + (row.duration[0] - u'0'), r.endMinute = std::stoi(std::string(row.duration + 2, row.duration + 4));
    CopyText(r.amount, Format(u"%.2f", 85.0f * ((row.duration[0] - u'0') + r.endMinute / 60.0f)));
    r.billable = 1;
    FillEmptyTexts(r);
    if (!AddNewRecord(nullptr, s.state().TimeDatabase, r, nullptr)) return false;
  }
  s.window()->dateTabs()->setCurrentIndex(PWH_TAB_ALL);
  s.program().commands().RefreshView();
  saver.Save(s.window(), "calendar.png");
  return true;
}

}  // namespace
}  // namespace pw::screenshots

int main(int argc, char** argv) {
  using namespace pw::screenshots;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Data, settings and the runtime folder of this run only: the user's own stay untouched.
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  for (const char* part : {"data", "config", "runtime"})
    QDir(home.path()).mkdir(part, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  pw::SetLocalTimeOverride(pw::SYSTEMTIME{.wYear = 2024, .wMonth = 3, .wDay = 14, .wHour = 10, .wMinute = 30});

  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "cannot make %s\n", argv[1]);
    return 1;
  }
  SilentHost host;
  pw::SetHost(&host);
  Saver saver(folder);
  const bool made = MainWindowAndDialogs(host, home.path() + "/week", saver) &&
                    RunningTimer(host, home.path() + "/timer", saver) &&
                    CalendarOrder(host, home.path() + "/calendar", saver) &&
                    FindAndReport(host, home.path() + "/report", saver);
  pw::SetHost(nullptr);
  if (!made) std::fprintf(stderr, "the program did not reach every picture\n");
  return made && !saver.failed() ? 0 : 1;
}
