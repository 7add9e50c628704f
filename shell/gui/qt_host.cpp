#include "shell/gui/qt_host.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>

#include "shell/gui/main_window.h"

namespace pw {

namespace {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

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
  const bool question = (type & MB_BUTTONMASK) == MB_YESNO;
  QMessageBox box(IconOf(type), ToQString(title), ToQString(text),
                  question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, FromHwnd(owner));
  box.setTextFormat(Qt::PlainText);
  if (question) {
    // Anything but an explicit Yes cancels: No is the default and Escape.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  }
  box.exec();
  if (!question) return IDOK;
  return box.clickedButton() == box.button(QMessageBox::Yes) ? IDYES : IDNO;
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

}  // namespace pw
