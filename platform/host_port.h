// The host: the one way non-GUI code reaches the user and the main window's
// controls. The GUI installs its Qt implementation at start-up; without one a
// console host prints messages and answers every question with No. Tests
// install a scripted host.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace pw {

// Message box type flags (buttons | icon | default button).
inline constexpr unsigned MB_OK = 0x00000000;
inline constexpr unsigned MB_YESNOCANCEL = 0x00000003;
inline constexpr unsigned MB_YESNO = 0x00000004;
// Ours: Yes, No, "Yes to All", "No to All" (for a run of like questions).
inline constexpr unsigned MB_YESNOALL = 0x00000007;
// Ours: OK and "Skip All" (for a run of like problem reports).
inline constexpr unsigned MB_OKSKIPALL = 0x00000008;
inline constexpr unsigned MB_ICONHAND = 0x00000010;  // stop / error
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x00000020;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x00000030;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONINFORMATION = 0x00000040;
inline constexpr unsigned MB_DEFBUTTON1 = 0x00000000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x00000100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x00000200;
inline constexpr unsigned MB_BUTTONMASK = 0x0000000F;
inline constexpr unsigned MB_ICONMASK = 0x000000F0;
inline constexpr unsigned MB_DEFMASK = 0x00000F00;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDYESTOALL = 10;
inline constexpr int IDNOTOALL = 11;
inline constexpr int IDSKIPALL = 12;

class HostPort {
 public:
  virtual ~HostPort() = default;

  // Shows a modal message box; returns IDOK, IDYES, IDNO or IDCANCEL
  // (MB_YESNOCANCEL: Cancel and Escape give IDCANCEL).
  virtual int MessageBox(HWND owner, std::u16string_view text, std::u16string_view title,
                         unsigned type) = 0;
  // Writes one part (0 mode, 1 activity, 2 record count) of the status line
  // and makes it visible at once.
  virtual void SetStatusText(int part, std::u16string_view text) = 0;

  // The date-range tab control: the selected tab (-1 when none) and selecting one.
  virtual int SelectedDateTab() = 0;
  virtual void SelectDateTab(int index) = 0;

  // Menu items of the menu bar, by command identifier.
  virtual void CheckMenuItem(unsigned commandId, bool checked) = 0;
  virtual void EnableMenuItem(unsigned commandId, bool enabled) = 0;

  // A progress bar in the status line for an operation over many records:
  // Begin shows it with a text and the number of steps, Step sets how many
  // are done (the host repaints at most every 100 ms and keeps the window
  // painted), End removes it. Hosts without a status line ignore them.
  virtual void BeginProgress(std::u16string_view /*text*/, long /*total*/) {}
  virtual void StepProgress(long /*done*/) {}
  virtual void EndProgress() {}
};

// The installed host (the console host when none is installed).
HostPort& Host();
// Installs a host; null restores the console host. The caller keeps ownership.
void SetHost(HostPort* host);

// Parts of the status line.
enum : int { PWH_STATUS_MODE = 0, PWH_STATUS_ACTIVITY = 1, PWH_STATUS_COUNT = 2 };
// The totals of the records shown (and "n of m shown" while they are narrowed).
inline constexpr int PWH_STATUS_TOTALS = 3;
// The running timer's part, at the right end of the status line.
inline constexpr int PWH_STATUS_TIMER = 4;

// Writes one part of the status line through the host, visible at once.
void SetStatusText(int part, std::u16string_view text);
// Writes n with "%2d" into the record-count part of the status line.
void ShowRecordCount(int n);

// Shortcut for Host().MessageBox.
int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view title, unsigned type);

}  // namespace pw
