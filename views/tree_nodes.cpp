#include "views/tree_nodes.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/host_port.h"
#include "text/fixed_text.h"
#include "text/format.h"
#include "text/time_text.h"

namespace pw {

std::u16string_view TreeNodeList::text(TreeNodeId id) const {
  const TreeNode& n = node(id);
  return std::u16string_view(texts_).substr(n.textStart, n.textLength);
}

std::size_t TreeNodeList::HashOf(std::u16string_view text, TreeNodeId parent, int level) const {
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
  return std::size_t(h);
}

TreeNodeId TreeNodeList::FindTreeNode(std::u16string_view text, TreeNodeId parent, int level) const {
  if (slots_.empty()) return PWH_NO_TREE_NODE;
  const std::uint32_t hash = std::uint32_t(HashOf(text, parent, level));
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
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].id != PWH_NO_TREE_NODE) i = (i + 1) & mask;
  slots_[i] = Slot{id, hash};
}

TreeNodeId TreeNodeList::Add(int level, bool hasChildren, std::u16string_view text, RecordPosition position,
                             TreeNodeId parent) {
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
  // Keep the table at most half full: probes stay short.
  if (2 * (groups_ + 1) > slots_.size()) GrowSlots(std::max<std::size_t>(64, slots_.size() * 2));
  Remember(id, std::uint32_t(HashOf(text, parent, level)));
  ++groups_;
  return id;
}

void TreeNodeList::GrowSlots(std::size_t size) {
  if (size <= slots_.size()) return;
  std::vector<Slot> old(size, Slot{});
  old.swap(slots_);
  for (const Slot& slot : old)
    if (slot.id != PWH_NO_TREE_NODE) Remember(slot.id, slot.hash);
}

void TreeNodeList::Reserve(std::size_t records, int groupLevels) {
  const std::size_t groups = records * std::size_t(std::max(groupLevels, 0));
  nodes_.reserve(groups + records);
  texts_.reserve((groups + records) * 8);
  std::size_t size = 64;
  while (size < 2 * groups) size *= 2;
  GrowSlots(size);
}

TreeNodeId TreeNodeList::AddRecordPath(std::span<const std::u16string_view> groups, std::u16string_view leaf,
                                       RecordPosition position, float value) {
  TreeNodeId parent = PWH_NO_TREE_NODE;
  std::size_t level = 0;
  // Down the groups that exist already ...
  for (; level < groups.size(); ++level) {
    const TreeNodeId found = FindTreeNode(groups[level], parent, int(level));
    if (found == PWH_NO_TREE_NODE) break;
    parent = found;
    nodes_[std::size_t(found)].total += value;
  }
  // ... then the missing ones, each under the one before.
  for (; level < groups.size(); ++level) {
    parent = Add(int(level), true, groups[level], position, parent);
    nodes_[std::size_t(parent)].total = value;
  }
  return Add(int(groups.size()), false, leaf, position, parent);
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
  leaves_ = groups_ = 0;
  indexed_ = 0;
  childStart_.clear();
  children_.clear();
  rows_.clear();
}

void PresetTreeRecord(TimeRecord& r) {
  ClearRecord(r);
  for (auto* field : {&r.client, &r.project, &r.subproject, &r.task}) CopyText(*field, u"n/a");
  CopyText(r.duration, PWH_NO_DURATION);
  CopyText(r.date, u"--/--/----");
}

void PresetTreeRecord(ExpenseRecord& r) {
  ClearRecord(r);
  for (auto* field : {&r.client, &r.project, &r.description, &r.paymentType, &r.currency, &r.miles, &r.mileageRate,
                      &r.amount})
    CopyText(*field, u"n/a");
}

namespace {

}  // namespace

std::u16string_view TreeNodeList::HoursLabel(std::u16string_view duration) {
  if (hoursLabels_.size() > 4096) hoursLabels_.clear();
  auto found = hoursLabels_.find(std::u16string(duration));
  if (found == hoursLabels_.end())
    found = hoursLabels_.emplace(std::u16string(duration), TimeTextToDecimalText(duration)).first;
  return found->second;
}

namespace {

std::u16string DateText(std::u16string_view stored, const TreeTextFormat& format) {
  if (!format.europeanDates) return std::u16string(stored);
  std::u16string european;
  AmericanToEuropeanDate(stored, &european);
  return european;
}

}  // namespace

TreeNodeId AddTimeRecordNodes(TreeNodeList& nodes, const TimeRecord& r, RecordPosition position,
                              const TreeTextFormat& format, float value) {
  const std::u16string date = DateText(TextOf(r.date), format);
  const std::u16string_view groups[] = {date, TextOf(r.client), TextOf(r.project), TextOf(r.subproject),
                                        TextOf(r.task)};
  // A duration that is not "h:mm" ("--:--") stays as it is.
  return nodes.AddRecordPath(groups, nodes.HoursLabel(TextOf(r.duration)), position, value);
}

TreeNodeId AddExpenseRecordNodes(TreeNodeList& nodes, const ExpenseRecord& r, RecordPosition position,
                                 const TreeTextFormat& format, float value) {
  const std::u16string date = DateText(TextOf(r.date), format);
  const std::u16string_view groups[] = {date, TextOf(r.client), TextOf(r.project), TextOf(r.description)};
  return nodes.AddRecordPath(groups, TextOf(r.amount), position, value);
}

bool LoadTreeNodes(HWND owner, DatabaseHandle& db, int appMode, const RecordSelection& selection,
                   const TreeTextFormat& format, TreeNodeList* nodes, ShownTotals* totals) {
  const int RecordSetMode = selection.RecordSetMode;
  const RecordPositionList& DisplayedRecordList = selection.DisplayedRecordList;
  if (!nodes) return false;
  nodes->Clear();
  const bool time = appMode != PWH_EXPENSE_MODE;
  // One record of each kind, reused for every read.
  auto timeRecord = std::make_unique<TimeRecord>();
  auto expenseRecord = std::make_unique<ExpenseRecord>();
  PropertyBuffer buffer;
  TotalsCounter counter(appMode);
  DWORD readError = 0;
  bool readFailed = false;
  const std::size_t records = RecordSetMode == PWH_ALL_REC_MODE ? DatabaseRecordCount(db) : DisplayedRecordList.count();
  nodes->Reserve(records, time ? PWH_TIME_LEAF_LEVEL : PWH_EXPENSE_LEAF_LEVEL);

  auto visit = [&](RecordPosition position) {
    if (CeSeekDatabase(db, CEDB_SEEK_BEGINNING, position, nullptr) == 0) return false;
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, buffer) == 0) {
      readError = GetLastError();
      readFailed = true;
      return false;
    }
    if (time) {
      PresetTreeRecord(*timeRecord);
      PropsToRecord(buffer.data(), buffer.size(), *timeRecord);
      const TimeRecord& r = *timeRecord;
      AddTimeRecordNodes(*nodes, r, position, format, counter.AddTime(TextOf(r.duration), TextOf(r.rate), r.billable));
    } else {
      PresetTreeRecord(*expenseRecord);
      PropsToRecord(buffer.data(), buffer.size(), *expenseRecord);
      const ExpenseRecord& r = *expenseRecord;
      AddExpenseRecordNodes(*nodes, r, position, format, counter.AddExpense(TextOf(r.amount), r.reimbursable));
    }
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
    const char16_t* text = RecordSetMode == PWH_ALL_REC_MODE
                               ? u"LoadMainTreeViewListBox: could not CeReadRecordProps(): error code: (%ld)."
                               : u"LoadMainListBox: could not CeReadRecordProps(): error code: (%ld).";
    MessageBoxW(owner, Format(text, long(readError)), u"Pennywhistle Db Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, nullptr);
  if (totals) *totals = counter.totals();
  return true;
}

}  // namespace pw
