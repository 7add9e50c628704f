// The host port on Qt: message boxes, the status line, the date tabs and the
// menu items of the main window.
#pragma once

#include <QPointer>

#include "platform/gui/hwnd.h"
#include "platform/host_port.h"

namespace pw {

class PwMainWindow;

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

  // The main window the status line, tabs and menus are on; null for none.
  void SetWindow(PwMainWindow* window);
  PwMainWindow* window() const;

 private:
  QPointer<PwMainWindow> window_;
};

}  // namespace pw
