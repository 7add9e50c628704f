#include "shell/gui/qt_host.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <algorithm>

#include "shell/gui/main_window.h"

namespace pw {

namespace {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

constexpr qint64 kProgressPaintMs = 100;
// The bar counts in at most this many steps, so that any total fits an int.
constexpr long kProgressSteps = 1000;

QMessageBox::Icon IconOf(unsigned type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

void QtHost::SetWindow(PwMainWindow* window) { window_ = window; }

PwMainWindow* QtHost::window() const { return window_.data(); }

int QtHost::MessageBox(HWND owner, std::u16string_view text, std::u16string_view title, unsigned type) {
  const unsigned buttons = type & MB_BUTTONMASK;
  QMessageBox box(IconOf(type), ToQString(title), ToQString(text), QMessageBox::NoButton,
                  FromHwnd(owner));
  box.setTextFormat(Qt::PlainText);
  if (buttons == MB_YESNO || buttons == MB_YESNOALL) {
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    QPushButton* yesAll = nullptr;
    QPushButton* noAll = nullptr;
    if (buttons == MB_YESNOALL) {
      yesAll = box.addButton(QObject::tr("Yes to &All"), QMessageBox::YesRole);
      noAll = box.addButton(QObject::tr("N&o to All"), QMessageBox::NoRole);
    }
    // Anything but an explicit Yes cancels: No is the default and Escape.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == yes) return IDYES;
    if (yesAll && clicked == yesAll) return IDYESTOALL;
    if (noAll && clicked == noAll) return IDNOTOALL;
    return IDNO;
  }
  if (buttons == MB_YESNOCANCEL) {
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton((type & MB_DEFMASK) == MB_DEFBUTTON2 ? no : (type & MB_DEFMASK) ? cancel : yes);
    box.setEscapeButton(cancel);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked == yes ? IDYES : clicked == no ? IDNO : IDCANCEL;
  }
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  QPushButton* skipAll =
      buttons == MB_OKSKIPALL ? box.addButton(QObject::tr("&Skip All"), QMessageBox::RejectRole)
                              : nullptr;
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return skipAll && box.clickedButton() == skipAll ? IDSKIPALL : IDOK;
}

void QtHost::SetStatusText(int part, std::u16string_view text) {
  if (PwMainWindow* window = window_.data()) window->SetStatusPartText(part, ToQString(text));
}

int QtHost::SelectedDateTab() {
  PwMainWindow* window = window_.data();
  QTabBar* tabs = window ? window->dateTabs() : nullptr;
  return tabs ? tabs->currentIndex() : -1;
}

void QtHost::SelectDateTab(int index) {
  PwMainWindow* window = window_.data();
  QTabBar* tabs = window ? window->dateTabs() : nullptr;
  if (!tabs) return;
  // Selecting a tab from code is not a tab change by the user.
  const QSignalBlocker quiet(tabs);
  tabs->setCurrentIndex(index);
}

void QtHost::CheckMenuItem(unsigned commandId, bool checked) {
  PwMainWindow* window = window_.data();
  QAction* action = window ? window->menuAction(commandId) : nullptr;
  if (!action) return;
  if (checked) action->setCheckable(true);
  action->setChecked(checked);
}

void QtHost::EnableMenuItem(unsigned commandId, bool enabled) {
  PwMainWindow* window = window_.data();
  QAction* action = window ? window->menuAction(commandId) : nullptr;
  if (action) action->setEnabled(enabled);
}

void QtHost::BeginProgress(std::u16string_view text, long total) {
  EndProgress();
  PwMainWindow* window = window_.data();
  if (!window) return;
  QStatusBar* bar = window->statusBar();
  auto* progress = new QProgressBar(bar);
  progress->setObjectName(QStringLiteral("ProgressStatus"));
  progress->setRange(0, int(std::clamp(total, 0L, kProgressSteps)));
  progress->setValue(0);
  progress->setAccessibleName(ToQString(text));
  progress->setFormat(ToQString(text) + QStringLiteral(" %p%"));
  // Beside the status parts, to the right edge of the line.
  int left = 0;
  for (int part = 0; part < 3; ++part)
    if (QWidget* label = window->statusPart(part)) left = std::max(left, label->geometry().right() + 1);
  progress->setGeometry(left, 0, std::max(bar->width() - left, 80), bar->height());
  progress->show();
  progress_ = progress;
  progressTotal_ = std::max(total, 1L);
  PaintProgress();
}

void QtHost::StepProgress(long done) {
  QProgressBar* progress = progress_.data();
  if (!progress || sincePaint_.elapsed() < kProgressPaintMs) return;
  const long steps = progress->maximum();
  progress->setValue(int(std::clamp(done, 0L, progressTotal_) * steps / progressTotal_));
  PaintProgress();
}

void QtHost::EndProgress() {
  delete progress_.data();
  progress_.clear();
}

void QtHost::PaintProgress() {
  PwMainWindow* window = window_.data();
  if (!window) return;
  // Exposes and paints the window system asks for (a message box just
  // closed over the window); user input, timers and sockets wait until the
  // operation is over.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                                  QEventLoop::X11ExcludeTimers);
  window->repaint();
  sincePaint_.start();
}

}  // namespace pw
