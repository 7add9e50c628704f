// Windows travel through the non-GUI code as HWND values: the GUI hands out
// its widgets that way and turns them back into widgets.
#pragma once

#include "platform/types.h"

class QWidget;

namespace pw {

inline HWND ToHwnd(QWidget* widget) { return static_cast<void*>(widget); }
inline QWidget* FromHwnd(HWND window) { return static_cast<QWidget*>(window); }

}  // namespace pw
