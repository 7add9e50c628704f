// The nodes of the Tree view: the shown records grouped by date, client,
// project and two further fields, one leaf per record.
//
//   level  time record            expense record
//   0      date                   date
//   1      client                 client
//   2      project                project
//   3      subproject             description
//   4      task                   leaf: amount
//   5      leaf: decimal hours
//
// A group node is shared by every record whose texts agree with it from
// level 0 down; children keep the order in which they first appeared. A
// tree loaded from the store holds at first only its days, each with its
// total and its records: a day's other nodes are made when it is first
// opened or searched (Build), so showing ten years of records costs one
// light walk. A
// group's children are found by walking its short chain of child groups, or
// once it has more than a few (and for the top level) through a hash of
// (parent, level, text), so building the tree is linear in its size, and the
// many small groups of one day stay near each other in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/clock.h"
#include "platform/types.h"
#include "selection/selection.h"
#include "storage/record_store.h"
#include "storage/records.h"
#include "views/record_totals.h"

namespace pw {

using TreeNodeId = std::int32_t;
inline constexpr TreeNodeId PWH_NO_TREE_NODE = -1;

inline constexpr int PWH_TIME_LEAF_LEVEL = 5;
inline constexpr int PWH_EXPENSE_LEAF_LEVEL = 4;

struct TreeNode {
  std::int32_t level = 0;
  bool hasChildren = false;            // a group node; false for a record leaf
  bool deferred = false;               // a day whose nodes below are not made yet
  TreeNodeId parent = PWH_NO_TREE_NODE;
  RecordPosition recordPosition = 0;   // of the record that made the node
  std::uint32_t textStart = 0;         // the label, in the list's text store
  std::uint32_t textLength = 0;
  float total = 0.0f;                  // a group: the hours (expense: amount) of its records
  // Lookup of a group's child groups: the newest child, then each child's
  // older sibling, while the group has at most kChainedChildren of them.
  TreeNodeId newestChild = PWH_NO_TREE_NODE;
  TreeNodeId olderSibling = PWH_NO_TREE_NODE;
  std::int32_t childGroups = 0;
};

class TreeNodeList;

// A record under a deferred day: its position and its hours (expense:
// amount), as the walk counted them.
struct TreeDayRecord {
  RecordPosition position;
  float value;
};
// Makes the nodes below `day` for its records (AddRecordNodes under the
// day); false when a record could not be read.
using TreeDayReader = std::function<bool(TreeNodeList&, TreeNodeId day, std::span<const TreeDayRecord>)>;

class TreeNodeList {
 public:
  std::size_t size() const { return nodes_.size(); }
  bool empty() const { return nodes_.empty(); }
  const TreeNode& node(TreeNodeId id) const { return nodes_[std::size_t(id)]; }
  std::u16string_view text(TreeNodeId id) const;
  // The records in the tree, whether their leaves are made yet or not.
  std::size_t recordCount() const { return leaves_ + waiting_; }
  float total(TreeNodeId id) const { return node(id).total; }

  // The group node with that parent, level and exactly that text
  // (case-sensitive); PWH_NO_TREE_NODE when there is none.
  TreeNodeId FindTreeNode(std::u16string_view text, TreeNodeId parent, int level) const;


  // Adds one record's path: the group nodes of `groups` (level 0 first) that
  // do not exist yet under the ones that do, then always a new leaf with
  // `leaf` below the last group. Returns the leaf.
  // `value` (the record's hours or amount) is added to the total of each
  // group on the path.
  TreeNodeId AddRecordPath(std::span<const std::u16string_view> groups, std::u16string_view leaf,
                           RecordPosition position, float value = 0.0f);
  // The same below an existing group `from`: groups[0] is its child's text.
  TreeNodeId AddRecordPathBelow(TreeNodeId from, std::span<const std::u16string_view> groups,
                                std::u16string_view leaf, RecordPosition position, float value = 0.0f);

  // A record whose nodes below its day are made later: the day (a level-0
  // group, made when new, deferred) gets the value added to its total.
  // Only days may be added this way, before any other node.
  TreeNodeId AddDeferredRecord(std::u16string_view day, RecordPosition position, float value);
  // Who makes a deferred day's nodes.
  void SetDayReader(TreeDayReader reader) { reader_ = std::move(reader); }
  // Makes the nodes below every deferred day among `ids` (others are passed
  // over), in one go. False when the reader failed; the day it failed on
  // keeps what was made, the days after it stay deferred. Spans given by
  // Children() before are no longer valid after a day was made.
  bool Build(std::span<const TreeNodeId> ids);
  // The leaf of the record at `position`, its day made first when needed;
  // PWH_NO_TREE_NODE when the tree does not hold the record.
  TreeNodeId LeafOf(RecordPosition position);

  // The children of a node in the order they were added; the level-0 nodes
  // for PWH_NO_TREE_NODE. A deferred day has none yet.
  std::span<const TreeNodeId> Children(TreeNodeId parent) const;
  // A node's place among its parent's children.
  int RowOf(TreeNodeId id) const;

  void Clear();

  // A leaf's hours from a record's duration: the same few durations recur on
  // thousands of records, so each distinct text is converted once per list.
  std::u16string_view HoursLabel(std::u16string_view duration);

  // The running timer's record is the leaf `leaf`: its label shows the hours
  // from the record's start to the time asked, as they grow.
  void SetRunningLeaf(TreeNodeId leaf, const TimeRecord& record);
  // The label a node shows at `now`: its text, or for a group its text with
  // its total, or for the running leaf the hours so far.
  std::u16string Label(TreeNodeId id, const SYSTEMTIME& now) const;

 private:
  std::unordered_map<std::u16string, std::u16string> hoursLabels_;
  TreeNodeId runningLeaf_ = PWH_NO_TREE_NODE;
  std::shared_ptr<const TimeRecord> runningRecord_;
  static constexpr std::int32_t kChainedChildren = 8;
  bool Hashed(TreeNodeId parent) const {
    return parent == PWH_NO_TREE_NODE || nodes_[std::size_t(parent)].childGroups > kChainedChildren;
  }
  std::uint32_t HashOf(std::u16string_view text, TreeNodeId parent, int level) const;
  TreeNodeId Find(std::u16string_view text, TreeNodeId parent, int level, std::uint32_t hash) const;
  TreeNodeId AddHashed(int level, bool hasChildren, std::u16string_view text, RecordPosition position,
                       TreeNodeId parent, std::uint32_t hash);
  void Remember(TreeNodeId id, std::uint32_t hash);
  void GrowSlots(std::size_t size);
  void IndexChildren() const;

  std::vector<TreeNode> nodes_;
  std::u16string texts_;
  std::size_t leaves_ = 0;
  // The deferred records in walk order, each with its day (the days are the
  // first nodes made, so day ids run from 0).
  struct Waiting {
    TreeDayRecord record;
    TreeNodeId day;
  };
  std::vector<Waiting> walk_;
  std::size_t waiting_ = 0;             // records whose leaves are not made yet
  bool walkAscending_ = true;           // positions in walk_ ascend
  TreeNodeId lastDay_ = PWH_NO_TREE_NODE;
  // Made at the first Build: the waiting records grouped by day, day d's
  // being dayRecords_[dayStart_[d] .. dayStart_[d + 1]).
  std::vector<TreeDayRecord> dayRecords_;
  std::vector<std::uint32_t> dayStart_;
  TreeDayReader reader_;
  void GroupByDay();
  TreeNodeId LeafBelow(TreeNodeId group, RecordPosition position) const;
  std::size_t hashed_ = 0;
  // Open addressing over the hashed group nodes, each slot with the low half
  // of its node's hash; PWH_NO_TREE_NODE marks a free slot.
  struct Slot {
    TreeNodeId id = PWH_NO_TREE_NODE;
    std::uint32_t hash = 0;
  };
  std::vector<Slot> slots_;

  // Children index, made when first asked for after a change: the children
  // of node n are children_[childStart_[n + 1] .. childStart_[n + 2]), the
  // level-0 nodes those from childStart_[0].
  mutable std::size_t indexed_ = 0;
  mutable std::vector<std::uint32_t> childStart_;
  mutable std::vector<TreeNodeId> children_;
  mutable std::vector<std::int32_t> rows_;
};

// The display settings that change the tree's texts, and the running
// timer's record (0 when none runs), whose leaf shows its hours as they grow.
struct TreeTextFormat {
  bool europeanDates = false;
  CEOID runningRecord = 0;
};

// The texts of one record that the tree shows: date, client, project, then
// subproject and task (time) or description (expense), and the leaf's text
// source, the duration (time) or the amount (expense). A field the stored
// record lacks reads as its preset: "n/a", duration "--:--", time date
// "--/--/----", expense date empty.
struct TreeRecordTexts {
  std::u16string_view date, client, project, third, task, last;
};
TreeRecordTexts PresetTreeTexts(bool expense);

// The path of one record (AddRecordPath with the record's texts and its
// hours or amount as value); a time record's leaf shows its decimal hours.
// With `day`, the path below that day (the record's date is not looked at).
TreeNodeId AddRecordNodes(TreeNodeList& nodes, const TreeRecordTexts& record, bool expense, RecordPosition position,
                          const TreeTextFormat& format, float value = 0.0f, TreeNodeId day = PWH_NO_TREE_NODE);

// Walks the shown records of the current mode (every record, or the
// positions of DisplayedRecordList, as the list does) and makes their days,
// each deferred, with a reader that makes a day's nodes from the same store
// when asked (`db` must outlive the nodes, or the store must not change).
// A record that cannot be read ends the walk with a message owned by `owner`;
// the nodes are then emptied and the result is false. The days' totals
// are added up, and the totals of every record shown go to *totals when
// it is given.
bool LoadTreeNodes(HWND owner, DatabaseHandle& db, int appMode, const RecordSelection& selection,
                   const TreeTextFormat& format, TreeNodeList* nodes, ShownTotals* totals = nullptr);

}  // namespace pw
