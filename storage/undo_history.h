// Undo and Redo of record changes while the program runs.
//
// A command that changes records notes, through a StepRecorder, the records
// it is about to change (or the ones it added) and hands the recorder to
// UndoHistory::Keep, which keeps each record as it was before and as it is
// after, byte for byte and under its object id. Undo writes the "before"
// images back as one grouped store operation (deleted records come back
// under their old object ids, so they keep their place in the sort order;
// added ones go; changed ones get their old properties), Redo the "after"
// images. Either one first checks that every record of the step is still
// exactly as the step left it, and refuses the step otherwise: a record
// changed since by something the history does not know of is never
// overwritten.
//
// Each record database (time, expense) has a history of its own, chosen by
// its AppMode value.
//
// A step that starts or stops a timer (a time record with no end yet whose
// object id the settings remember) keeps which record ran before and after
// it, so that Undo and Redo can tell which one runs again.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/object_store.h"
#include "platform/types.h"
#include "storage/record_databases.h"

namespace pw {

// One record in a step: its stored bytes before and after (no value: there
// was no record with that object id). Empty bytes: the record could not be
// read, so the step can neither write it back nor check it.
struct RecordChange {
  CEOID oid = 0;
  std::optional<std::string> before, after;
};

// Collects the records one command changes in one database.
class StepRecorder {
 public:
  explicit StepRecorder(DatabaseHandle& db) : db_(db) {}

  // Before the change: the record with this object id may change; it is
  // kept as it is now. A record watched twice keeps its first image.
  void Watch(CEOID oid);
  // Before the change: every record recordSetMode designates (every record,
  // or the positions of list).
  void WatchShown(int recordSetMode, const RecordPositionList& list);
  // After the change: a record the command added.
  void Added(CEOID oid);

  // Every watched or added record as it is now beside how it was; the ones
  // that did not change are left out. Leaves the database at position 0.
  std::vector<RecordChange> Finish();

 private:
  DatabaseHandle& db_;
  std::vector<RecordChange> changes_;
  std::unordered_map<CEOID, std::size_t> index_;  // object id -> entry of changes_
};

// The bytes of the record with this object id, no value when there is none;
// empty bytes when it cannot be read.
std::optional<std::string> RecordImage(DatabaseHandle& db, CEOID oid);

// The object id of the time record whose timer ran before and after a step
// (0: none).
struct RunningTimer {
  CEOID before = 0, after = 0;
};

class UndoHistory {
 public:
  // The step a command made in the database of appMode, named for the menu
  // ("Delete 3 Records"); nothing when it changed nothing. The steps undone
  // before it can no longer be redone. The oldest steps are let go when the
  // database's history holds more than a million records.
  // `timer`: the step started or stopped a timer.
  void Keep(int appMode, std::u16string name, StepRecorder& recorder, std::optional<RunningTimer> timer = {});
  void Keep(int appMode, std::u16string name, std::vector<RecordChange> changes,
            std::optional<RunningTimer> timer = {});

  // The name of the step Undo (Redo) would take, empty when there is none.
  std::u16string UndoName(int appMode) const;
  std::u16string RedoName(int appMode) const;

  // Takes back the latest step of db (whose AppMode value is appMode), or
  // does again the step undone last. A step whose records changed since is
  // refused with a message and dropped; a store failure is reported and
  // leaves the step where it was. *shown (when given) receives the object
  // id of a record of the step that is there afterwards, 0 when none;
  // *running (when given), for a step that started or stopped a timer, the
  // object id of the record whose timer runs afterwards (0: none), else no
  // value. True when the step was taken or done again.
  bool Undo(HWND owner, DatabaseHandle& db, int appMode, CEOID* shown = nullptr,
            std::optional<CEOID>* running = nullptr);
  bool Redo(HWND owner, DatabaseHandle& db, int appMode, CEOID* shown = nullptr,
            std::optional<CEOID>* running = nullptr);

  // Forgets every step of every database.
  void Clear() { histories_.clear(); }

 private:
  struct Step {
    std::u16string name;
    std::vector<RecordChange> changes;
    std::optional<RunningTimer> timer;
  };
  struct Stacks {
    std::vector<Step> undo, redo;
    std::size_t records = 0;
  };
  bool Move(HWND owner, DatabaseHandle& db, int appMode, bool undo, CEOID* shown, std::optional<CEOID>* running);

  std::map<int, Stacks> histories_;
};

// A step name with a record count: "Delete 1 Record", "Mark 3 Records Billed".
std::u16string CountedStepName(std::u16string_view verb, std::size_t count, std::u16string_view tail = {});

}  // namespace pw
