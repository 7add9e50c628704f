#include "views/tree_nodes.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/host_port.h"
#include "storage/record_fields.h"
#include "storage/record_times.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {

std::u16string_view TreeNodeList::text(TreeNodeId id) const {
  const TreeNode& n = node(id);
  return std::u16string_view(texts_).substr(n.textStart, n.textLength);
}

std::uint32_t TreeNodeList::HashOf(std::u16string_view text, TreeNodeId parent, int level) const {
  // FNV-1a over the code units, the parent and the level.
  std::uint64_t h = 1469598103934665603ull;
  auto mix = [&h](std::uint64_t v) { h = (h ^ v) * 1099511628211ull; };
  for (char16_t c : text) mix(c);
  mix(std::uint64_t(std::uint32_t(parent)) + 0x9E3779B97F4A7C15ull);
  mix(std::uint64_t(level));
  // Spread every bit into the low ones that pick the slot.
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return std::uint32_t(h);
}

TreeNodeId TreeNodeList::FindTreeNode(std::u16string_view text, TreeNodeId parent, int level) const {
  if (parent < PWH_NO_TREE_NODE || parent >= TreeNodeId(nodes_.size())) return PWH_NO_TREE_NODE;
  return Find(text, parent, level, Hashed(parent) ? HashOf(text, parent, level) : 0);
}

TreeNodeId TreeNodeList::Find(std::u16string_view text, TreeNodeId parent, int level, std::uint32_t hash) const {
  if (!Hashed(parent)) {
    for (TreeNodeId id = nodes_[std::size_t(parent)].newestChild; id != PWH_NO_TREE_NODE;
         id = nodes_[std::size_t(id)].olderSibling)
      if (nodes_[std::size_t(id)].level == level && this->text(id) == text) return id;
    return PWH_NO_TREE_NODE;
  }
  if (slots_.empty()) return PWH_NO_TREE_NODE;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.id == PWH_NO_TREE_NODE) return PWH_NO_TREE_NODE;
    if (slot.hash != hash) continue;
    const TreeNode& n = node(slot.id);
    if (n.parent == parent && n.level == level && this->text(slot.id) == text) return slot.id;
  }
}

void TreeNodeList::Remember(TreeNodeId id, std::uint32_t hash) {
  // Keep the table at most half full: probes stay short.
  if (2 * (hashed_ + 1) > slots_.size()) GrowSlots(std::max<std::size_t>(64, slots_.size() * 2));
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].id != PWH_NO_TREE_NODE) i = (i + 1) & mask;
  slots_[i] = Slot{id, hash};
  ++hashed_;
}

TreeNodeId TreeNodeList::AddHashed(int level, bool hasChildren, std::u16string_view text, RecordPosition position,
                                   TreeNodeId parent, std::uint32_t hash) {
  TreeNode n;
  n.level = level;
  n.hasChildren = hasChildren;
  n.parent = parent;
  n.recordPosition = position;
  n.textStart = std::uint32_t(texts_.size());
  n.textLength = std::uint32_t(text.size());
  texts_.append(text);
  nodes_.push_back(n);
  const TreeNodeId id = TreeNodeId(nodes_.size() - 1);
  if (!hasChildren) {
    ++leaves_;
    return id;
  }
  if (parent == PWH_NO_TREE_NODE) {
    Remember(id, hash);
    return id;
  }
  TreeNode& up = nodes_[std::size_t(parent)];
  ++up.childGroups;
  if (up.childGroups <= kChainedChildren) {
    nodes_[std::size_t(id)].olderSibling = up.newestChild;
    up.newestChild = id;
  } else if (up.childGroups == kChainedChildren + 1) {
    // The chain has grown long: the parent's children move to the table.
    for (TreeNodeId child = up.newestChild; child != PWH_NO_TREE_NODE; child = nodes_[std::size_t(child)].olderSibling)
      Remember(child, HashOf(this->text(child), parent, level));
    Remember(id, HashOf(text, parent, level));
  } else {
    Remember(id, hash);
  }
  return id;
}

void TreeNodeList::GrowSlots(std::size_t size) {
  if (size <= slots_.size()) return;
  std::vector<Slot> old(size, Slot{});
  old.swap(slots_);
  hashed_ = 0;
  for (const Slot& slot : old)
    if (slot.id != PWH_NO_TREE_NODE) Remember(slot.id, slot.hash);
}

TreeNodeId TreeNodeList::AddRecordPath(std::span<const std::u16string_view> groups, std::u16string_view leaf,
                                       RecordPosition position, float value) {
  return AddRecordPathBelow(PWH_NO_TREE_NODE, groups, leaf, position, value);
}

TreeNodeId TreeNodeList::AddRecordPathBelow(TreeNodeId from, std::span<const std::u16string_view> groups,
                                            std::u16string_view leaf, RecordPosition position, float value) {
  const int base = from == PWH_NO_TREE_NODE ? 0 : nodes_[std::size_t(from)].level + 1;
  TreeNodeId parent = from;
  std::size_t i = 0;
  // Down the groups that exist already ...
  std::uint32_t hash = 0;
  for (; i < groups.size(); ++i) {
    const int level = base + int(i);
    hash = Hashed(parent) ? HashOf(groups[i], parent, level) : 0;
    const TreeNodeId found = Find(groups[i], parent, level, hash);
    if (found == PWH_NO_TREE_NODE) break;
    parent = found;
    nodes_[std::size_t(found)].total += value;
  }
  // ... then the missing ones, each under the one before (the first of them
  // with the hash just computed; the others are a new group's first child).
  for (bool first = true; i < groups.size(); ++i, first = false) {
    if (!first) hash = 0;
    parent = AddHashed(base + int(i), true, groups[i], position, parent, hash);
    nodes_[std::size_t(parent)].total = value;
  }
  return AddHashed(base + int(groups.size()), false, leaf, position, parent, 0);
}

TreeNodeId TreeNodeList::AddDeferredRecord(std::u16string_view day, RecordPosition position, float value) {
  // A day's records mostly follow each other: the last day is tried first.
  TreeNodeId id = lastDay_;
  if (id == PWH_NO_TREE_NODE || text(id) != day) {
    const std::uint32_t hash = HashOf(day, PWH_NO_TREE_NODE, 0);
    id = Find(day, PWH_NO_TREE_NODE, 0, hash);
    if (id == PWH_NO_TREE_NODE) {
      id = AddHashed(0, true, day, position, PWH_NO_TREE_NODE, hash);
      nodes_[std::size_t(id)].deferred = true;
    }
  }
  nodes_[std::size_t(id)].total += value;  // a new day's 0 + value is value exactly
  lastDay_ = id;
  if (!walk_.empty() && position < walk_.back().record.position) walkAscending_ = false;
  walk_.push_back(Waiting{TreeDayRecord{position, value}, id});
  ++waiting_;
  dayStart_.clear();
  return id;
}

void TreeNodeList::GroupByDay() {
  std::size_t days = 0;
  for (const Waiting& w : walk_) days = std::max(days, std::size_t(w.day) + 1);
  dayStart_.assign(days + 1, 0);
  for (const Waiting& w : walk_) ++dayStart_[std::size_t(w.day) + 1];
  for (std::size_t d = 1; d < dayStart_.size(); ++d) dayStart_[d] += dayStart_[d - 1];
  dayRecords_.resize(walk_.size());
  std::vector<std::uint32_t> next(dayStart_.begin(), dayStart_.end() - 1);
  for (const Waiting& w : walk_) dayRecords_[next[std::size_t(w.day)]++] = w.record;
}

bool TreeNodeList::Build(std::span<const TreeNodeId> ids) {
  for (TreeNodeId id : ids) {
    if (id < 0 || std::size_t(id) >= nodes_.size() || !nodes_[std::size_t(id)].deferred) continue;
    if (dayStart_.empty()) GroupByDay();
    nodes_[std::size_t(id)].deferred = false;
    if (std::size_t(id) + 1 >= dayStart_.size()) continue;
    const std::span<const TreeDayRecord> records =
        std::span<const TreeDayRecord>(dayRecords_).subspan(dayStart_[std::size_t(id)],
                                                           dayStart_[std::size_t(id) + 1] - dayStart_[std::size_t(id)]);
    waiting_ -= records.size();
    if (!reader_ || !reader_(*this, id, records)) return false;
  }
  return true;
}

TreeNodeId TreeNodeList::LeafBelow(TreeNodeId group, RecordPosition position) const {
  for (TreeNodeId child : Children(group)) {
    if (!node(child).hasChildren) {
      if (node(child).recordPosition == position) return child;
    } else if (const TreeNodeId leaf = LeafBelow(child, position); leaf != PWH_NO_TREE_NODE) {
      return leaf;
    }
  }
  return PWH_NO_TREE_NODE;
}

TreeNodeId TreeNodeList::LeafOf(RecordPosition position) {
  if (walk_.empty()) {
    // Every node was made as it was added: the first leaf of the record.
    for (std::size_t id = 0; id < nodes_.size(); ++id)
      if (!nodes_[id].hasChildren && nodes_[id].recordPosition == position) return TreeNodeId(id);
    return PWH_NO_TREE_NODE;
  }
  auto at = walk_.begin();
  const auto same = [position](const Waiting& w) { return w.record.position == position; };
  if (walkAscending_)
    at = std::lower_bound(walk_.begin(), walk_.end(), position,
                          [](const Waiting& w, RecordPosition p) { return w.record.position < p; });
  else
    at = std::find_if(walk_.begin(), walk_.end(), same);
  if (at == walk_.end() || !same(*at)) return PWH_NO_TREE_NODE;
  const TreeNodeId day = at->day;
  Build(std::span<const TreeNodeId>(&day, 1));
  return LeafBelow(day, position);
}

void TreeNodeList::IndexChildren() const {
  if (indexed_ == nodes_.size() && !childStart_.empty()) return;
  const std::size_t n = nodes_.size();
  // Slot 0 counts the level-0 nodes, slot p + 1 the children of node p.
  childStart_.assign(n + 2, 0);
  for (const TreeNode& node : nodes_) ++childStart_[std::size_t(node.parent + 1) + 1];
  for (std::size_t i = 1; i < childStart_.size(); ++i) childStart_[i] += childStart_[i - 1];
  children_.resize(n);
  rows_.resize(n);
  std::vector<std::uint32_t> next(childStart_.begin(), childStart_.end() - 1);
  for (std::size_t id = 0; id < n; ++id) {
    const std::size_t slot = std::size_t(nodes_[id].parent + 1);
    rows_[id] = std::int32_t(next[slot] - childStart_[slot]);
    children_[next[slot]++] = TreeNodeId(id);
  }
  indexed_ = n;
}

std::span<const TreeNodeId> TreeNodeList::Children(TreeNodeId parent) const {
  IndexChildren();
  if (parent < PWH_NO_TREE_NODE || parent >= TreeNodeId(nodes_.size())) return {};
  const std::size_t slot = std::size_t(parent + 1);
  return std::span<const TreeNodeId>(children_).subspan(childStart_[slot], childStart_[slot + 1] - childStart_[slot]);
}

int TreeNodeList::RowOf(TreeNodeId id) const {
  IndexChildren();
  return id >= 0 && id < TreeNodeId(nodes_.size()) ? rows_[std::size_t(id)] : -1;
}

void TreeNodeList::Clear() {
  nodes_.clear();
  nodes_.shrink_to_fit();
  texts_.clear();
  texts_.shrink_to_fit();
  slots_.clear();
  slots_.shrink_to_fit();
  leaves_ = hashed_ = 0;
  walk_.clear();
  walk_.shrink_to_fit();
  waiting_ = 0;
  walkAscending_ = true;
  lastDay_ = PWH_NO_TREE_NODE;
  dayRecords_.clear();
  dayRecords_.shrink_to_fit();
  dayStart_.clear();
  reader_ = nullptr;
  runningLeaf_ = PWH_NO_TREE_NODE;
  runningRecord_.reset();
  indexed_ = 0;
  childStart_.clear();
  children_.clear();
  rows_.clear();
}

TreeRecordTexts PresetTreeTexts(bool expense) {
  if (expense) return TreeRecordTexts{u"", u"n/a", u"n/a", u"n/a", u"", u"n/a"};
  return TreeRecordTexts{u"--/--/----", u"n/a", u"n/a", u"n/a", u"n/a", PWH_NO_DURATION};
}

std::u16string_view TreeNodeList::HoursLabel(std::u16string_view duration) {
  if (hoursLabels_.size() > 4096) hoursLabels_.clear();
  auto found = hoursLabels_.find(std::u16string(duration));
  if (found == hoursLabels_.end())
    found = hoursLabels_.emplace(std::u16string(duration), TimeTextToDecimalText(duration)).first;
  return found->second;
}

void TreeNodeList::SetRunningLeaf(TreeNodeId leaf, const TimeRecord& record) {
  runningLeaf_ = leaf;
  runningRecord_ = std::make_shared<const TimeRecord>(record);
}

std::u16string TreeNodeList::Label(TreeNodeId id, const SYSTEMTIME& now) const {
  if (node(id).hasChildren) return GroupLabelWithTotal(text(id), total(id));
  if (id == runningLeaf_ && runningRecord_) return RunningHoursText(*runningRecord_, now);
  return std::u16string(text(id));
}

namespace {

// The date as the tree shows it, in `european` when it is converted.
std::u16string_view DateText(std::u16string_view stored, const TreeTextFormat& format, std::u16string& european) {
  if (!format.europeanDates) return stored;
  european.clear();
  AmericanToEuropeanDate(stored, &european);
  return european;
}

// What the walk reads of a record: its date and what its hours or amount
// are counted from; and what making its day's nodes reads.
constexpr FieldIdSet kTimeWalkFields = FieldIds({PWH_TIME_DATE, PWH_TIME_DURATION, PWH_TIME_RATE, PWH_TIME_BILLABLE});
constexpr FieldIdSet kExpenseWalkFields = FieldIds({PWH_EXP_DATE, PWH_EXP_AMOUNT, PWH_EXP_REIMBURSABLE});
constexpr FieldIdSet kTimeNodeFields =
    FieldIds({PWH_TIME_CLIENT, PWH_TIME_PROJECT, PWH_TIME_SUBPROJECT, PWH_TIME_TASK, PWH_TIME_DURATION});
constexpr FieldIdSet kExpenseNodeFields =
    FieldIds({PWH_EXP_CLIENT, PWH_EXP_PROJECT, PWH_EXP_DESCRIPTION, PWH_EXP_AMOUNT});

// Points *to at a stored text field; leaves it as it is (the preset) when
// the record lacks the field.
template <class Record>
void ReadText(const PropertyBuffer& buffer, WORD id, std::u16string_view* to) {
  FieldValue v;
  if (ReadOneField<Record>(buffer.data(), buffer.size(), id, &v)) *to = v.text;
}

// The texts below the day of the record in `buffer` (its date is the
// day's), presets where it lacks one.
TreeRecordTexts ReadTreeTexts(const PropertyBuffer& buffer, bool time) {
  TreeRecordTexts r = PresetTreeTexts(!time);
  if (time) {
    const auto text = [&](WORD id, std::u16string_view* to) { ReadText<TimeRecord>(buffer, id, to); };
    text(PWH_TIME_CLIENT, &r.client), text(PWH_TIME_PROJECT, &r.project);
    text(PWH_TIME_SUBPROJECT, &r.third), text(PWH_TIME_TASK, &r.task), text(PWH_TIME_DURATION, &r.last);
  } else {
    const auto text = [&](WORD id, std::u16string_view* to) { ReadText<ExpenseRecord>(buffer, id, to); };
    text(PWH_EXP_CLIENT, &r.client), text(PWH_EXP_PROJECT, &r.project);
    text(PWH_EXP_DESCRIPTION, &r.third), text(PWH_EXP_AMOUNT, &r.last);
  }
  return r;
}

void TellReadFailed(HWND owner, int RecordSetMode, DWORD readError) {
  const char16_t* text = RecordSetMode == PWH_ALL_REC_MODE
                             ? u"LoadMainTreeViewListBox: could not CeReadRecordProps(): error code: (%ld)."
                             : u"LoadMainListBox: could not CeReadRecordProps(): error code: (%ld).";
  MessageBoxW(owner, Format(text, long(readError)), u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION);
}

// Makes a day's nodes from its records, read again from the store.
TreeDayReader DayReader(HWND owner, DatabaseHandle& db, bool time, int RecordSetMode, CEOID runningRecord) {
  return [owner, &db, time, RecordSetMode, runningRecord](TreeNodeList& nodes, TreeNodeId day,
                                                          std::span<const TreeDayRecord> records) {
    PropertyBuffer buffer;
    bool read = true;
    for (const TreeDayRecord& record : records) {
      const CEOID oid = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, record.position, nullptr);
      if (oid == 0 || CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer, time ? &kTimeNodeFields : &kExpenseNodeFields) == 0) {
        TellReadFailed(owner, RecordSetMode, GetLastError());
        read = false;
        break;
      }
      const TreeNodeId leaf =
          AddRecordNodes(nodes, ReadTreeTexts(buffer, time), !time, record.position, TreeTextFormat{}, record.value, day);
      if (time && oid == runningRecord) {
        // Its start too: the whole record, read again.
        auto running = std::make_unique<TimeRecord>();
        if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) != 0) PropsToRecord(buffer.data(), buffer.size(), *running);
        nodes.SetRunningLeaf(leaf, *running);
      }
      buffer.clear();
    }
    CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
    return read;
  };
}

}  // namespace

TreeNodeId AddRecordNodes(TreeNodeList& nodes, const TreeRecordTexts& r, bool expense, RecordPosition position,
                          const TreeTextFormat& format, float value, TreeNodeId day) {
  std::u16string european;
  const std::u16string_view date = day == PWH_NO_TREE_NODE ? DateText(r.date, format, european) : u"";
  // A duration that is not "h:mm" ("--:--") stays as it is.
  const std::u16string_view leaf = expense ? r.last : nodes.HoursLabel(r.last);
  const std::u16string_view time[] = {date, r.client, r.project, r.third, r.task};
  const std::span<const std::u16string_view> groups(time, expense ? 4 : 5);
  if (day == PWH_NO_TREE_NODE) return nodes.AddRecordPath(groups, leaf, position, value);
  return nodes.AddRecordPathBelow(day, groups.subspan(1), leaf, position, value);
}

bool LoadTreeNodes(HWND owner, DatabaseHandle& db, int appMode, const RecordSelection& selection,
                   const TreeTextFormat& format, TreeNodeList* nodes, ShownTotals* totals) {
  const int RecordSetMode = selection.RecordSetMode;
  const RecordPositionList& DisplayedRecordList = selection.DisplayedRecordList;
  if (!nodes) return false;
  nodes->Clear();
  const bool time = appMode != PWH_EXPENSE_MODE;
  PropertyBuffer buffer;
  TotalsCounter counter(appMode);
  DWORD readError = 0;
  bool readFailed = false;
  std::u16string european;  // reused for every date converted

  // Only the date and what the totals are counted from are read here.
  auto visit = [&](RecordPosition position) {
    if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0) return false;
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer, time ? &kTimeWalkFields : &kExpenseWalkFields) == 0) {
      readError = GetLastError();
      readFailed = true;
      return false;
    }
    TreeRecordTexts r = PresetTreeTexts(!time);
    float value;
    if (time) {
      std::u16string_view rate;
      ReadText<TimeRecord>(buffer, PWH_TIME_DATE, &r.date), ReadText<TimeRecord>(buffer, PWH_TIME_DURATION, &r.last);
      ReadText<TimeRecord>(buffer, PWH_TIME_RATE, &rate);
      FieldValue billable;
      ReadOneField<TimeRecord>(buffer.data(), buffer.size(), PWH_TIME_BILLABLE, &billable);
      value = counter.AddTime(r.last, rate, billable.number);
    } else {
      ReadText<ExpenseRecord>(buffer, PWH_EXP_DATE, &r.date), ReadText<ExpenseRecord>(buffer, PWH_EXP_AMOUNT, &r.last);
      FieldValue reimbursable;
      ReadOneField<ExpenseRecord>(buffer.data(), buffer.size(), PWH_EXP_REIMBURSABLE, &reimbursable);
      value = counter.AddExpense(r.last, reimbursable.number != 0);
    }
    nodes->AddDeferredRecord(DateText(r.date, format, european), position, value);
    buffer.clear();
    return true;
  };

  if (RecordSetMode == PWH_ALL_REC_MODE) {
    for (RecordPosition p = 0; visit(p); ++p) {
    }
  } else if (RecordSetMode == PWH_SELECT_REC_MODE) {
    for (RecordPosition p : DisplayedRecordList)
      if (!visit(p)) break;
  }

  if (readFailed) {
    buffer.clear();
    nodes->Clear();
    TellReadFailed(owner, RecordSetMode, readError);
    return false;
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  nodes->SetDayReader(DayReader(owner, db, time, RecordSetMode, format.runningRecord));
  if (totals) *totals = counter.totals();
  return true;
}

}  // namespace pw
