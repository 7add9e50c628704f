// The commands that create, edit, copy, delete and mark records: which record
// they act on, what they ask first, which record operation they run, and the
// view they refresh afterwards, with the record acted on current again.
#pragma once

#include <cstdint>

#include "platform/object_store.h"
#include "platform/types.h"
#include "shell/window_messages.h"
#include "storage/record_store.h"

namespace pw {

// The position of the record selected in the view shown, or -1.
//  - List or Mixed view: the list's selected row (-1 without a message when
//    there is none), mapped to a position through DisplayedRecordList in
//    PWH_SELECT_REC_MODE.
//  - Tree view: TreeRecords.selectedRecord.
//  - No record view (the Report): "Please select a record first." and -1.
std::int64_t SelectedRecordPosition(HWND owner);

// What the Tree view supplies for the record commands; null until it does.
struct TreeRecordHooks {
  // The position of the selected leaf's record, or -1 after telling the
  // user why there is none.
  std::int64_t (*selectedRecord)(HWND owner) = nullptr;
  // Makes the leaf of the record at position current and visible; false
  // when the tree does not show it.
  bool (*showRecord)(RecordPosition position) = nullptr;
};
extern TreeRecordHooks TreeRecords;

// Makes the record with object id oid (in the current database) the current
// row of the view shown and scrolls it into view; false when the view does
// not show it.
bool ShowRecordInView(CEOID oid);

// The entry dialogs the commands open (IDOK / IDCANCEL). Tests put
// stand-ins here.
struct EntryDialogHooks {
  int (*time)(HWND owner, int mode);
  int (*expense)(HWND owner, int form);
};
extern EntryDialogHooks EntryDialogs;

// Handlers of the command table.
LRESULT OnNewRecord(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnNewSubsequentRecord(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnProperties(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnCopy(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnDeleteSelected(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnDeleteMultiple(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnMarkSelectedBilled(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnMarkSelectedReimbursed(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnMarkMultipleBilled(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OnMarkMultipleReimbursed(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pw
