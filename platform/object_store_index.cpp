#include "platform/object_store_index.h"

#include <algorithm>
#include <cstdint>

namespace pw {

namespace {
constexpr std::size_t kBuildBlock = RecordOrder::kMaxBlock / 2;
constexpr std::size_t kMergeBelow = RecordOrder::kMaxBlock / 8;
}  // namespace

SortItem SortItem::Of(StoredRecord* r) {
  SortItem item;
  item.record = r;
  item.oid = r->oid;
  if (!r->hasKey) return item;
  item.keyed = true;
  item.complete = r->key.size() <= 12;
  const std::size_t n = std::min<std::size_t>(r->key.size(), 12);
  for (std::size_t i = 0; i < 12; ++i) {
    const std::uint64_t unit = i < n ? r->key[i] : 0;
    item.prefix[i / 4] = (item.prefix[i / 4] << 16) | unit;
  }
  return item;
}

void RecordOrder::Build(std::vector<StoredRecord*> records) {
  std::vector<SortItem> items;
  items.reserve(records.size());
  for (StoredRecord* r : records) items.push_back(SortItem::Of(r));
  Sort(items);
  for (std::size_t i = 0; i < items.size(); ++i) records[i] = items[i].record;
  Assign(std::move(records));
}

void RecordOrder::Sort(std::vector<SortItem>& items) const {
  // Sorting on packed prefixes reads no record memory unless two keys share
  // their first 12 units; comparing scattered records would miss the cache
  // at every step.
  if (bySortKey_) {
    std::sort(items.begin(), items.end(), [this](const SortItem& a, const SortItem& b) {
      if (a.keyed != b.keyed) return a.keyed;
      if (a.keyed) {
        for (int i = 0; i < 3; ++i)
          if (a.prefix[i] != b.prefix[i]) return a.prefix[i] < b.prefix[i];
        if (!a.complete || !b.complete) return Less(a.record, b.record);
      }
      return a.oid < b.oid;
    });
  } else {
    std::sort(items.begin(), items.end(), [](const SortItem& a, const SortItem& b) { return a.oid < b.oid; });
  }
}

void RecordOrder::Assign(std::vector<StoredRecord*> records) {
  blocks_.clear();
  for (std::size_t i = 0; i < records.size(); i += kBuildBlock) {
    const std::size_t end = std::min(records.size(), i + kBuildBlock);
    blocks_.emplace_back(records.begin() + std::ptrdiff_t(i), records.begin() + std::ptrdiff_t(end));
  }
  size_ = records.size();
  starts_.assign(blocks_.size(), 0);
  validStarts_ = 0;
  cursor_ = 0;
}

std::size_t RecordOrder::BlockFor(const StoredRecord* record) const {
  // The first block whose last entry does not come before the record; the
  // last block when the record comes after everything.
  std::size_t lo = 0, hi = blocks_.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (Less(blocks_[mid].back(), record))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo < blocks_.size() ? lo : blocks_.size() - 1;
}

void RecordOrder::Insert(StoredRecord* record) {
  const auto less = [this](const StoredRecord* a, const StoredRecord* b) { return Less(a, b); };
  if (blocks_.empty()) {
    blocks_.emplace_back(1, record);
    starts_.assign(1, 0);
    validStarts_ = 0;
    cursor_ = 0;
    size_ = 1;
    return;
  }
  const std::size_t b = BlockFor(record);
  Block& block = blocks_[b];
  block.insert(std::lower_bound(block.begin(), block.end(), record, less), record);
  ++size_;
  Touched(b + 1);
  if (block.size() > kMaxBlock) {
    Block tail(block.begin() + std::ptrdiff_t(block.size() / 2), block.end());
    block.resize(block.size() / 2);
    blocks_.insert(blocks_.begin() + std::ptrdiff_t(b + 1), std::move(tail));
    starts_.resize(blocks_.size());
  }
}

bool RecordOrder::Erase(const StoredRecord* record) {
  if (blocks_.empty()) return false;
  const auto less = [this](const StoredRecord* a, const StoredRecord* b) { return Less(a, b); };
  const std::size_t b = BlockFor(record);
  Block& block = blocks_[b];
  const auto it = std::lower_bound(block.begin(), block.end(), record, less);
  if (it == block.end() || *it != record) return false;
  block.erase(it);
  --size_;
  if (block.empty()) {
    blocks_.erase(blocks_.begin() + std::ptrdiff_t(b));
    starts_.resize(blocks_.size());
    Touched(b);
  } else {
    Touched(b + 1);
    // Keep blocks from thinning out after many deletes.
    if (block.size() < kMergeBelow && b + 1 < blocks_.size() && block.size() + blocks_[b + 1].size() <= kMaxBlock) {
      block.insert(block.end(), blocks_[b + 1].begin(), blocks_[b + 1].end());
      blocks_.erase(blocks_.begin() + std::ptrdiff_t(b + 1));
      starts_.resize(blocks_.size());
    }
  }
  if (cursor_ >= blocks_.size()) cursor_ = 0;
  return true;
}

void RecordOrder::UpdateStarts() {
  if (validStarts_ >= blocks_.size()) return;
  std::size_t pos = 0;
  if (validStarts_ > 0) pos = starts_[validStarts_ - 1] + blocks_[validStarts_ - 1].size();
  for (std::size_t b = validStarts_; b < blocks_.size(); ++b) {
    starts_[b] = pos;
    pos += blocks_[b].size();
  }
  validStarts_ = blocks_.size();
}

StoredRecord* RecordOrder::At(std::size_t position) {
  if (position >= size_) return nullptr;
  UpdateStarts();
  const auto inBlock = [&](std::size_t b) {
    return b < blocks_.size() && position >= starts_[b] && position - starts_[b] < blocks_[b].size();
  };
  if (!inBlock(cursor_)) {
    if (inBlock(cursor_ + 1)) {
      ++cursor_;
    } else {
      // The last block starting at or before the position.
      cursor_ = std::size_t(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
    }
  }
  return blocks_[cursor_][position - starts_[cursor_]];
}

bool RecordOrder::PositionOf(const StoredRecord* record, std::size_t* position) {
  if (blocks_.empty()) return false;
  const auto less = [this](const StoredRecord* a, const StoredRecord* b) { return Less(a, b); };
  const std::size_t b = BlockFor(record);
  const Block& block = blocks_[b];
  const auto it = std::lower_bound(block.begin(), block.end(), record, less);
  if (it == block.end() || *it != record) return false;
  UpdateStarts();
  *position = starts_[b] + std::size_t(it - block.begin());
  return true;
}

}  // namespace pw
