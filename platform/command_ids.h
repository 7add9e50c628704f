// The main window's vocabulary: the command identifiers of the menus and
// tool buttons, the identifiers of the menu bar's popups and of our own
// resources. Plain values, shared by the GUI and the code that sets menu
// item states through the host.
#pragma once

#include <cstdint>

namespace pw {

using UINT = unsigned;

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
  IDM_UNDO = 40110,
  IDM_REDO = 40111,
  // The running timer.
  IDM_START_TIMER = 40121,
  IDM_STOP_TIMER = 40122,
  IDM_STOP_AND_START_NEXT = 40123,
  IDM_PRINT_REPORT = 40124,
  IDM_SAVE_REPORT_PDF = 40125,
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
