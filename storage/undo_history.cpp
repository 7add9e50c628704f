#include "storage/undo_history.h"

#include <algorithm>

#include "platform/host_port.h"
#include "platform/object_store_restore.h"
#include "text/format.h"

namespace pw {
namespace {

// Records between two progress reports.
constexpr std::size_t kProgressStep = 1024;
// Records a database's history keeps at most (some 400 bytes each), beyond
// those of its latest step.
constexpr std::size_t kMaxRecords = 1'000'000;

std::string BytesOf(const PropertyBuffer& buffer) { return EncodeProperties(buffer.data(), buffer.size()); }

// The current record of db as bytes; empty when it cannot be read.
std::string CurrentImage(DatabaseHandle& db, PropertyBuffer& buffer) {
  return CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) != 0 ? BytesOf(buffer) : std::string();
}

// Turns the record with object id oid from `from` into `to`. A record that
// changes is deleted and stored again under its object id, so that it is
// exactly its image, whatever properties it had. An image that could not be
// read is left as it is.
bool Rewrite(DatabaseHandle& db, CEOID oid, const std::optional<std::string>& from,
             const std::optional<std::string>& to, PropertyBuffer& buffer) {
  if (from == to || (to && to->empty())) return true;
  if (from && !CeDeleteRecord(db, oid)) return false;
  if (!to) return true;
  if (!buffer.Decode(*to)) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  return CeRestoreRecord(db, oid, buffer.size(), buffer.data()) != 0;
}

}  // namespace

std::optional<std::string> RecordImage(DatabaseHandle& db, CEOID oid) {
  if (oid == 0 || CeSeekDatabase(db, CEDB_SEEK_CEOID, oid, nullptr) == 0) return std::nullopt;
  PropertyBuffer buffer;
  return CurrentImage(db, buffer);
}

// --- Recording ---------------------------------------------------------------

void StepRecorder::Watch(CEOID oid) {
  if (oid == 0 || index_.contains(oid)) return;
  index_.emplace(oid, changes_.size());
  changes_.push_back({oid, RecordImage(db_, oid), std::nullopt});
}

void StepRecorder::WatchShown(int recordSetMode, const RecordPositionList& list) {
  PropertyBuffer buffer;
  auto watchAt = [&](DWORD position) {
    const CEOID oid = CeSeekDatabase(db_, CEDB_SEEK_BEGINNING, position, nullptr);
    if (oid == 0) return false;
    if (index_.emplace(oid, changes_.size()).second)
      changes_.push_back({oid, CurrentImage(db_, buffer), std::nullopt});
    return true;
  };
  if (recordSetMode == PWH_ALL_REC_MODE) {
    changes_.reserve(changes_.size() + DatabaseRecordCount(db_));
    for (DWORD position = 0; watchAt(position); ++position) {
    }
  } else if (recordSetMode == PWH_SELECT_REC_MODE) {
    changes_.reserve(changes_.size() + list.count());
    for (const RecordPosition position : list) watchAt(position);
  }
  CeSeekDatabase(db_, CEDB_SEEK_BEGINNING, 0, nullptr);
}

void StepRecorder::Added(CEOID oid) {
  if (oid == 0 || index_.contains(oid)) return;
  index_.emplace(oid, changes_.size());
  changes_.push_back({oid, std::nullopt, std::nullopt});
}

std::vector<RecordChange> StepRecorder::Finish() {
  std::vector<RecordChange> changed;
  for (RecordChange& c : changes_) {
    c.after = RecordImage(db_, c.oid);
    if (c.after != c.before) changed.push_back(std::move(c));
  }
  changes_.clear();
  index_.clear();
  CeSeekDatabase(db_, CEDB_SEEK_BEGINNING, 0, nullptr);
  return changed;
}

// --- The history ---------------------------------------------------------------

void UndoHistory::Keep(int appMode, std::u16string name, StepRecorder& recorder, std::optional<RunningTimer> timer) {
  Keep(appMode, std::move(name), recorder.Finish(), timer);
}

void UndoHistory::Keep(int appMode, std::u16string name, std::vector<RecordChange> changes,
                       std::optional<RunningTimer> timer) {
  if (changes.empty()) return;
  Stacks& s = histories_[appMode];
  for (const Step& undone : s.redo) s.records -= undone.changes.size();
  s.redo.clear();
  s.records += changes.size();
  s.undo.push_back({std::move(name), std::move(changes), timer});
  while (s.records > kMaxRecords && s.undo.size() > 1) {
    s.records -= s.undo.front().changes.size();
    s.undo.erase(s.undo.begin());
  }
}

std::u16string UndoHistory::UndoName(int appMode) const {
  const auto it = histories_.find(appMode);
  return it == histories_.end() || it->second.undo.empty() ? std::u16string() : it->second.undo.back().name;
}

std::u16string UndoHistory::RedoName(int appMode) const {
  const auto it = histories_.find(appMode);
  return it == histories_.end() || it->second.redo.empty() ? std::u16string() : it->second.redo.back().name;
}

bool UndoHistory::Undo(HWND owner, DatabaseHandle& db, int appMode, CEOID* shown, std::optional<CEOID>* running) {
  return Move(owner, db, appMode, true, shown, running);
}

bool UndoHistory::Redo(HWND owner, DatabaseHandle& db, int appMode, CEOID* shown, std::optional<CEOID>* running) {
  return Move(owner, db, appMode, false, shown, running);
}

bool UndoHistory::Move(HWND owner, DatabaseHandle& db, int appMode, bool undo, CEOID* shown,
                       std::optional<CEOID>* running) {
  if (shown) *shown = 0;
  if (running) running->reset();
  Stacks& s = histories_[appMode];
  std::vector<Step>& from = undo ? s.undo : s.redo;
  std::vector<Step>& to = undo ? s.redo : s.undo;
  if (from.empty()) return false;
  Step& step = from.back();
  // Undo goes from the "after" images to the "before" ones, Redo back.
  const auto now = [undo](const RecordChange& c) -> const std::optional<std::string>& {
    return undo ? c.after : c.before;
  };
  const auto then = [undo](const RecordChange& c) -> const std::optional<std::string>& {
    return undo ? c.before : c.after;
  };
  const std::u16string_view title = undo ? u"Undo" : u"Redo";
  const std::u16string_view verb = undo ? u"undo" : u"redo";
  SetStatusText(PWH_STATUS_ACTIVITY, undo ? u"undoing..." : u"redoing...");
  const auto finish = [&](bool done) {
    CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
    SetStatusText(PWH_STATUS_ACTIVITY, u"idle");
    return done;
  };

  const bool unchanged = std::all_of(step.changes.begin(), step.changes.end(),
                                     [&](const RecordChange& c) { return RecordImage(db, c.oid) == now(c); });
  if (!unchanged) {
    MessageBoxW(owner,
                Format(u"Cannot %s \"%s\": some of its records have been changed since.\n\n"
                       u"The step is taken off the history; nothing was changed.",
                       verb, step.name),
                title, MB_OK | MB_ICONEXCLAMATION);
    s.records -= step.changes.size();
    from.pop_back();
    return finish(false);
  }

  HostPort& host = Host();
  const std::size_t total = step.changes.size();
  host.BeginProgress(undo ? u"Undoing..." : u"Redoing...", long(total));
  PropertyBuffer buffer;
  StoreTransaction group;
  // In object id order the file's table grows at its end.
  std::vector<std::uint32_t> order(total);
  for (std::uint32_t i = 0; i < total; ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return step.changes[a].oid < step.changes[b].oid; });
  std::size_t done = 0;
  for (; done < total; ++done) {
    const RecordChange& c = step.changes[order[done]];
    if (!Rewrite(db, c.oid, now(c), then(c), buffer)) break;
    if (done % kProgressStep == 0) host.StepProgress(long(done));
  }
  DWORD error = done == total ? 0 : GetLastError();
  if (error != 0) {
    // As it was: what was written so far goes back before the group ends.
    for (std::size_t i = done; i-- > 0;) {
      const RecordChange& c = step.changes[order[i]];
      Rewrite(db, c.oid, then(c), now(c), buffer);
    }
  }
  if (!group.Commit() && error == 0) error = GetLastError();
  host.EndProgress();
  if (error != 0) {
    MessageBoxW(owner,
                Format(u"Cannot %s \"%s\": the records could not be stored: error code: (%ld).", verb, step.name,
                       long(error)),
                title, MB_OK | MB_ICONEXCLAMATION);
    return finish(false);
  }
  if (shown) {
    const auto there = std::find_if(step.changes.begin(), step.changes.end(),
                                    [&](const RecordChange& c) { return then(c).has_value(); });
    if (there != step.changes.end()) *shown = there->oid;
  }
  if (running && step.timer) *running = undo ? step.timer->before : step.timer->after;
  to.push_back(std::move(step));
  from.pop_back();
  return finish(true);
}

std::u16string CountedStepName(std::u16string_view verb, std::size_t count, std::u16string_view tail) {
  return Format(count == 1 ? u"%s %d Record%s" : u"%s %d Records%s", verb, long(count), tail);
}

}  // namespace pw
