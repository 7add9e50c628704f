#include "shell/gui/timer_ui.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QToolBar>

#include <algorithm>

#include "config/configuration.h"
#include "dialogs/gui/memory_dialogs.h"
#include "platform/host_port.h"
#include "shell/gui/main_window.h"
#include "shell/gui/program.h"
#include "views/gui/list_view.h"
#include "views/gui/tree_node_view.h"
#include "views/gui/mixed_view.h"

namespace pw {

namespace {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

// How often the desktop's idle time is read while a timer runs.
constexpr int kIdlePollMilliseconds = 30 * 1000;

// The program's icon with a red dot in its lower right corner: a timer runs.
QIcon RunningIcon() {
  static const QIcon icon = [] {
    QIcon running;
    for (int size : {16, 22, 32, 48, 64}) {
      QPixmap picture = ProgramIcon().pixmap(size, size);
      QPainter painter(&picture);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setPen(QPen(Qt::white, std::max(1, size / 16)));
      painter.setBrush(QColor(0xd0, 0x20, 0x20));
      const int dot = size / 2;
      painter.drawEllipse(size - dot - 1, size - dot - 1, dot, dot);
      painter.end();
      running.addPixmap(picture);
    }
    return running;
  }();
  return icon;
}

// The timer commands' tool buttons: the icon theme's picture, else the style's.
struct TimerButton {
  UINT commandId;
  const char* themeIcon;
  QStyle::StandardPixmap picture;
};
constexpr TimerButton kTimerButtons[] = {
    {IDM_START_TIMER, "media-playback-start", QStyle::SP_MediaPlay},
    {IDM_STOP_TIMER, "media-playback-stop", QStyle::SP_MediaStop},
    {IDM_STOP_AND_START_NEXT, "media-skip-forward", QStyle::SP_MediaSkipForward},
};

}  // namespace

TimerUi::TimerUi(Program& program, TimerCommands& timer, IdleSource& idle,
                 std::function<void(const SYSTEMTIME&)> away)
    : program_(program), timer_(timer), idle_(idle), away_(std::move(away)) {
  minute_.setSingleShot(true);
  connect(&minute_, &QTimer::timeout, this, &TimerUi::MinuteTick);
  idlePoll_.setInterval(kIdlePollMilliseconds);
  connect(&idlePoll_, &QTimer::timeout, this, &TimerUi::PollIdle);
  timer_.SetDisplay(this);
}

TimerUi::~TimerUi() {
  timer_.SetDisplay(nullptr);
  Detach();
}

void TimerUi::Attach(PwMainWindow* window) {
  window_ = window;
  // The menu items carry the shortcuts; the tool buttons are the same items.
  if (QToolBar* tools = window->toolBar()) {
    tools->addSeparator();
    for (const TimerButton& button : kTimerButtons) {
      QAction* action = window->menuAction(button.commandId);
      if (!action) continue;
      action->setIcon(QIcon::fromTheme(QString::fromLatin1(button.themeIcon), window->style()->standardIcon(button.picture)));
      action->setIconVisibleInMenu(false);
      tools->addAction(action);
    }
  }
  // Where the desktop has no tray, nothing changes.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  tray_ = new QSystemTrayIcon(ProgramIcon(), this);
  tray_->setObjectName(QStringLiteral("TimerTray"));
  trayMenu_ = new QMenu;
  AddTrayMenuItem("Start &Timer", [this] { program_.Run(IDM_START_TIMER); }, IDM_START_TIMER);
  AddTrayMenuItem("Sto&p Timer", [this] { program_.Run(IDM_STOP_TIMER); }, IDM_STOP_TIMER);
  AddTrayMenuItem("Stop an&d Start Next", [this] { program_.Run(IDM_STOP_AND_START_NEXT); }, IDM_STOP_AND_START_NEXT);
  trayMenu_->addSeparator();
  AddTrayMenuItem("Show &window", [this] {
    if (window_) window_->BringToFront();
  });
  AddTrayMenuItem("E&xit", [this] { program_.Run(IDM_EXIT); });
  tray_->setContextMenu(trayMenu_);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    OnTrayActivated(int(reason));
  });
  tray_->setToolTip(QStringLiteral("Pennywhistle"));
  tray_->show();
}

void TimerUi::AddTrayMenuItem(const char* text, std::function<void()> run, unsigned commandId) {
  QAction* action = trayMenu_->addAction(QString::fromLatin1(text));
  if (commandId) action->setData(commandId);
  // Queued: the command may destroy the tray (Exit) while its menu is still busy.
  connect(action, &QAction::triggered, this, std::move(run), Qt::QueuedConnection);
}

void TimerUi::Detach() {
  minute_.stop();
  idlePoll_.stop();
  if (tray_) tray_->hide();
  delete tray_;
  tray_ = nullptr;
  delete trayMenu_;
  trayMenu_ = nullptr;
  window_ = nullptr;
}

void TimerUi::OnTrayActivated(int reason) {
  if (reason != QSystemTrayIcon::Trigger || !window_) return;
  // A click shows the window, or hides it when it is shown in front.
  if (window_->isVisible() && !window_->isMinimized() && window_->isActiveWindow())
    window_->hide();
  else
    window_->BringToFront();
}

void TimerUi::ShowTimer(std::u16string_view elapsed, std::u16string_view summary) {
  const bool running = !summary.empty();
  if (window_) {
    QString title = QString::fromUtf16(PWH_WINDOW_CLASS);
    if (running) title += QStringLiteral(" - ") + ToQString(elapsed);
    window_->setWindowTitle(title);
  }
  // Start needs time mode; Stop needs a timer.
  HostPort& host = Host();
  host.EnableMenuItem(IDM_START_TIMER, program_.state().TimeMode());
  host.EnableMenuItem(IDM_STOP_TIMER, running);
  host.EnableMenuItem(IDM_STOP_AND_START_NEXT, running && program_.state().TimeMode());
  if (tray_) {
    tray_->setIcon(running ? RunningIcon() : ProgramIcon());
    tray_->setToolTip(running ? QStringLiteral("Pennywhistle: ") + ToQString(summary) : QStringLiteral("Pennywhistle"));
    for (QAction* action : trayMenu_->actions()) {
      if (!action->data().isValid()) continue;
      if (QAction* item = window_ ? window_->menuAction(action->data().toUInt()) : nullptr)
        action->setEnabled(item->isEnabled());
    }
  }
  // While a timer runs: a tick at each new minute, and the idle time read.
  if (!running) {
    minute_.stop();
    idlePoll_.stop();
    watch_.Reset();
    return;
  }
  if (!minute_.isActive()) ArmMinuteTick();
  const PWHConfiguration* config = program_.state().Configuration;
  const bool watchIdle = config && config->AwayMinutes > 0 && idle_.Unavailable().empty();
  if (watchIdle && !idlePoll_.isActive()) idlePoll_.start();
  if (!watchIdle) idlePoll_.stop();
}

void TimerUi::ArmMinuteTick() {
  const SYSTEMTIME now = GetLocalTime();
  minute_.start((60 - now.wSecond) * 1000 - now.wMilliseconds + 50);
}

void TimerUi::MinuteTick() {
  // The texts come from what the timer already holds, and the lists repaint
  // their rows shown: no record is walked.
  timer_.Show();
  const AppState& state = program_.state();
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(state.ListViewWindow),
                                  static_cast<QAbstractItemView*>(state.MixedListWindow),
                                  static_cast<QAbstractItemView*>(state.TreeViewWindow)})
    if (view) view->viewport()->update();
  PaintMixedCard(state);
  if (timer_.Running()) ArmMinuteTick();
}

void TimerUi::PollIdle() {
  const PWHConfiguration* config = program_.state().Configuration;
  if (asking_ || !config || !timer_.Running()) return;
  const auto since = watch_.Poll(idle_.IdleMilliseconds(), GetLocalTime(), config->AwayMinutes);
  if (!since) return;
  asking_ = true;
  away_(*since);
  asking_ = false;
}

}  // namespace pw
