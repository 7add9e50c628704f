// The main window's vocabulary: window messages, notification codes, the
// command identifiers of the menus and tool buttons, and the identifiers of
// the menu bar's popups. Plain values, shared by the window procedure and by
// any code that sends the main window a command.
#pragma once

#include <cstdint>

namespace pw {

using UINT = unsigned;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Window messages routed by the window procedure.
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_COMMAND = 0x0111;

// Header of a WM_NOTIFY message (its LPARAM points at one).
struct NMHDR {
  void* hwndFrom = nullptr;
  std::uintptr_t idFrom = 0;
  int code = 0;
};

// A list notification: the row and its old and new state bits.
struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = -1;
  UINT uNewState = 0;
  UINT uOldState = 0;
};

inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;

inline constexpr int TCN_SELCHANGE = -551;
inline constexpr int LVN_ITEMACTIVATE = -114;
inline constexpr int LVN_ITEMCHANGED = -101;
inline constexpr int RBN_HEIGHTCHANGE = -831;

// The low 16 bits of a WM_COMMAND's WPARAM: the command identifier.
constexpr UINT LoWord(WPARAM value) { return UINT(value & 0xFFFF); }

// Command identifiers of the menu items and tool buttons.
enum : UINT {
  IDM_COPY = 101,
  IDM_DELETE_SELECTED = 102,
  IDM_PROPERTIES = 103,
  IDM_VIEW_LIST = 104,
  IDM_VIEW_TREE = 105,
  IDM_FIND = 114,
  IDM_EXIT = 40001,
  IDM_ABOUT = 40002,
  IDM_NEW_RECORD = 40003,
  IDM_VIEW_REPORT = 40004,
  IDM_EXPORT_DATABASE = 40006,
  IDM_VIEW_MIXED = 40007,
  IDM_IMPORT_DATABASE = 40008,
  IDM_PULLDOWNS = 40009,
  IDM_MODE_TIME = 40011,
  IDM_MODE_EXPENSE = 40012,
  IDM_COLUMNS = 40052,
  IDM_DELETE_MULTIPLE = 40053,
  IDM_MARK_SELECTED_BILLED = 40055,
  IDM_MARK_SELECTED_REIMBURSED = 40058,
  IDM_MARK_MULTIPLE_BILLED = 40064,
  IDM_MARK_MULTIPLE_REIMBURSED = 40065,
  IDM_APPLICATION_CONFIG = 40066,
  IDM_SAVE_REPORT = 40067,
  IDM_EXPAND_COLLAPSE_TREE = 40068,
  IDM_IMPORT_PULLDOWNS = 40069,
  IDM_EXPORT_PULLDOWNS = 40070,
  IDM_NEW_SUBSEQUENT_RECORD = 40072,
};

// The menu bar's buttons, by which its popups are found.
enum : UINT {
  IDM_MENU_EDIT = 40075,
  IDM_MENU_VIEW = 40078,
  IDM_MENU_MODE = 40081,
  IDM_MENU_FILE = 40087,
};

// Results of the start-up dialog.
enum : int { IDC_STARTUP_TIME = 1055, IDC_STARTUP_EXPENSE = 1056, IDC_STARTUP_EXIT = 1057 };

// Resource identifiers of our own pictures and dialogs.
enum : int {
  IDI_PROGRAM = 101,
  IDD_ABOUT = 105,
  IDD_STARTUP = 130,
  IDB_STARTUP_BANNER = 131,
};

// Class and title of the main window; also the key of the single-instance check.
inline constexpr const char16_t* PWH_WINDOW_CLASS = u"Pennywhistle 2000 R6";

}  // namespace pw
