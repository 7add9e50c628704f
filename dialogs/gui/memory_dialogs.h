// The About dialog and the start-up dialog: the program's pictures, a few
// lines about it, and the machine's memory lines.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "dialogs/memory_dialogs.h"
#include "platform/types.h"

class QDialog;
class QWidget;

namespace pw {

// Icon 101, 16 and 32 pixels.
QIcon ProgramIcon();
// Bitmap 131, the start-up dialog's banner.
QPixmap StartupBanner();

// The first line of the About text.
inline constexpr const char* PWH_ABOUT_FIRST_LINE = "Pennywhistle 2000 R6a";

// Dialog 105 "About Pennywhistle" over owner. Ends with 1 (OK) or 2 (cancel).
// Its memory line labels are named by their control ids ("1000" ...).
QDialog* CreateAboutDialog(QWidget* owner, const MemoryLines& lines);
// Shows it modally with this machine's memory lines now; returns its result.
int ShowAboutDialog(HWND owner);

// Dialog 130 (no title bar) over owner with buttons "Time" (1055),
// "Expense" (1056) and "Exit" (1057), each ending it with its id; Escape
// ends it with 2.
QDialog* CreateStartupDialog(QWidget* owner, const MemoryLines& lines);
int ShowStartupDialog(HWND owner);

}  // namespace pw
