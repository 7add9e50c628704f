// The commands of the main window that act on records, modes and views:
// which record they act on, what they ask first, which record operation they
// run, and the view they make anew afterwards with the record acted on
// current again. They reach the user through the host port and the views
// through a ViewPort, so they run the same under the GUI and in tests.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

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
  // Undo and Redo: the latest step of the current database taken back, or
  // the step undone last done again; the view made anew with a record of
  // the step current. Nothing in the Report view.
  void Undo();
  void Redo();
  // The Undo (Redo) menu item's text, "&Undo" alone or naming its step
  // ("&Undo Delete 3 Records"); *enabled says whether it can run: there is a
  // step, and the Report view is not shown.
  std::u16string UndoMenuText(bool undo, bool* enabled);
  // Keeps the records a command outside these added to the current database
  // (an import) as one step, named by verb and their count ("Import 3
  // Records").
  void KeepAdded(std::u16string_view verb, const std::vector<CEOID>& oids);

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
  // Each returns the new record's object id, 0 when none was stored.
  CEOID BeginNewTimeRecord(bool subsequent);
  CEOID BeginNewExpenseRecord();
  // Keeps what recorder saw change in the current database as a step.
  void Keep(std::u16string name, StepRecorder& recorder);
  void UndoOrRedo(bool undo);
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
