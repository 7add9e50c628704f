// The host port on Qt: message boxes, the status line, the date tabs and the
// menu items of the main window.
#pragma once

#include "platform/host_port.h"

class QWidget;

namespace pw {

// Owner windows travel through the non-GUI code as HWND values.
inline HWND ToHwnd(QWidget* widget) { return static_cast<void*>(widget); }
inline QWidget* FromHwnd(HWND window) { return static_cast<QWidget*>(window); }

class QtHost : public HostPort {
 public:
  // Modal box owned by owner (no parent when null). Yes/No questions have No
  // as their default and escape button.
  int MessageBox(HWND owner, std::u16string_view text, std::u16string_view title,
                 unsigned type) override;
  // The rest act on the main window; without one they do nothing (no tab
  // selected).
  void SetStatusText(int part, std::u16string_view text) override;
  int SelectedDateTab() override;
  void SelectDateTab(int index) override;
  void CheckMenuItem(unsigned commandId, bool checked) override;
  void EnableMenuItem(unsigned commandId, bool enabled) override;
};

}  // namespace pw
