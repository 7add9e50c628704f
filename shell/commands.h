// The commands of the main window that act on records, modes and views:
// which record they act on, what they ask first, which record operation they
// run, and the view they make anew afterwards with the record acted on
// current again. They reach the user through the host port and the views
// through a ViewPort, so they run the same under the GUI and in tests.
#pragma once

#include <functional>
#include <string_view>

#include "shell/app_state.h"
#include "views/view_port.h"

namespace pw {

// The dialogs the commands open; each returns IDOK when the user confirmed.
// `time` and `expense` are the entry dialogs on the working records (the
// time entry dialog's mode, PWH_TIME_ENTRY_..., or the expense dialog's
// form); `find` is the selection dialog of the current mode, which puts what
// it matched into the list it is given.
struct CommandDialogs {
  std::function<int(int mode)> time;
  std::function<int(int form)> expense;
  std::function<int(RecordPositionList* list)> find;
};

class Commands {
 public:
  Commands(AppState& state, ViewPort& views, CommandDialogs dialogs)
      : state_(state), views_(views), dialogs_(std::move(dialogs)) {}

  // File > New.
  void NewRecord();
  void NewSubsequentRecord();
  // Edit.
  void Properties();
  void Copy();
  void DeleteSelected();
  void DeleteMultiple();
  void MarkSelectedBilled();
  void MarkSelectedReimbursed();
  void MarkMultipleBilled();
  void MarkMultipleReimbursed();

  // Find: the records the selection dialog matches, shown in the view shown
  // made anew; the date tabs keep the tab last applied. The Report view has
  // no records to select from: it says so.
  void Find();
  // The quick filter's text changed: the records of the date tab or Find
  // result holding it are shown, in the view shown made anew.
  void QuickFilter(std::u16string_view typed);
  // Exit: the column widths kept, then the program's clean-up.
  void Exit(const std::function<void()>& cleanUp);

  // Mode switch to PWH_TIME_MODE or PWH_EXPENSE_MODE.
  void SwitchMode(int mode);
  // View switch to the List, Tree or Mixed view; nothing when that view is
  // shown. The selected record stays selected.
  void SwitchView(ShownView view);
  // The reaction to a newly selected date tab.
  void DateTabChanged();
  // ApplyDateTab, then the view shown made anew.
  bool RefreshView();
  // Makes the record with object id oid (in the current database) current in
  // the view shown; false when the view does not show it.
  bool ShowRecord(CEOID oid);

 private:
  struct SelectedMark;
  struct MultipleCommand;
  void BeginNewTimeRecord(bool subsequent);
  void BeginNewExpenseRecord();
  void MarkSelected(const SelectedMark& mark);
  void RunOnMultiple(const MultipleCommand& command);
  // Refreshes the view and makes the record with object id oid current.
  void RefreshShowing(CEOID oid);
  CEOID SelectedOid();
  const Settings& settings() const;

  AppState& state_;
  ViewPort& views_;
  CommandDialogs dialogs_;
};

}  // namespace pw
