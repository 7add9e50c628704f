#include "platform/gui/desktop_idle.h"

#include <QGuiApplication>

// The X11 headers define words (None, Bool, Status) that Qt's headers use:
// they come last.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace pw {

DesktopIdleSource::DesktopIdleSource() {
  const QString platform = QGuiApplication::platformName();
  if (platform != QLatin1String("xcb")) {
    unavailable_ = platform.startsWith(QLatin1String("wayland"))
                       ? u"Not available: a Wayland desktop does not tell programs how long you have been away."
                       : u"Not available: this desktop does not tell programs how long you have been away.";
    return;
  }
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  int event = 0, error = 0;
  if (!display || !XScreenSaverQueryExtension(display, &event, &error)) {
    unavailable_ = u"Not available: the X server has no XScreenSaver extension to tell how long you have been away.";
    return;
  }
  display_ = display;
}

long long DesktopIdleSource::IdleMilliseconds() {
  if (!display_) return -1;
  Display* display = static_cast<Display*>(display_);
  XScreenSaverInfo* info = XScreenSaverAllocInfo();
  if (!info) return -1;
  long long idle = -1;
  if (XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) idle = static_cast<long long>(info->idle);
  XFree(info);
  return idle;
}

}  // namespace pw
