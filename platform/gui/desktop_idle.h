// The desktop's idle time: on X11 from the XScreenSaver extension; other
// desktops (Wayland, offscreen) do not tell it, and say why.
#pragma once

#include "platform/idle_source.h"

namespace pw {

class DesktopIdleSource final : public IdleSource {
 public:
  // Looks for the extension once; needs the QGuiApplication.
  DesktopIdleSource();
  long long IdleMilliseconds() override;
  std::u16string Unavailable() const override { return unavailable_; }

 private:
  void* display_ = nullptr;  // the X11 Display, null when there is no idle time to read
  std::u16string unavailable_;
};

}  // namespace pw
