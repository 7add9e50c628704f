// The host port on Qt: message boxes, the status line, the date tabs and the
// menu items of the main window.
#pragma once

#include <QElapsedTimer>
#include <QPointer>

#include "platform/gui/hwnd.h"
#include "platform/host_port.h"

class QProgressBar;

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
  // A progress bar at the right of the status line's parts. Steps repaint
  // the window at most every 100 ms, handling the window system's paint
  // events but no user input, timers or sockets, so that nothing else runs
  // inside the operation and the window never looks frozen.
  void BeginProgress(std::u16string_view text, long total) override;
  void StepProgress(long done) override;
  void EndProgress() override;

  // The main window the status line, tabs and menus are on; null for none.
  void SetWindow(PwMainWindow* window);
  PwMainWindow* window() const;

 private:
  // Paints the window now (and the bar at its value).
  void PaintProgress();

  QPointer<PwMainWindow> window_;
  QPointer<QProgressBar> progress_;
  long progressTotal_ = 0;
  QElapsedTimer sincePaint_;
};

}  // namespace pw
