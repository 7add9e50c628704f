#include "platform/object_store_index.h"

#include <algorithm>
#include <cstdint>

#include "platform/calendar_date.h"

namespace pw {

namespace {
constexpr std::size_t kBuildBlock = RecordOrder::kMaxBlock / 2;
constexpr std::size_t kMergeBelow = RecordOrder::kMaxBlock / 8;
}  // namespace

std::u16string OrderKey(DWORD sortFlags, std::u16string text) {
  if (sortFlags & CEDB_SORT_CALENDARDATE) return CalendarSortKey(text);
  return text;
}

std::u16string OrderKey(DWORD sortFlags, std::u16string_view text) {
  if (sortFlags & CEDB_SORT_CALENDARDATE) return CalendarSortKey(text);
  return std::u16string(text);
}

SortItem SortItem::Of(const StoredRecord* r) {
  SortItem item;
  item.record = const_cast<StoredRecord*>(r);  // orders hand records out for change
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

void RecordOrder::Build(const std::vector<StoredRecord*>& records) {
  std::vector<SortItem> items;
  items.reserve(records.size());
  for (StoredRecord* r : records) items.push_back(SortItem::Of(r));
  Sort(items);
  Assign(items);
}

void RecordOrder::Sort(std::vector<SortItem>& items) const {
  std::sort(items.begin(), items.end(), [this](const SortItem& a, const SortItem& b) { return Less(a, b); });
}

void RecordOrder::Assign(const std::vector<SortItem>& items) {
  blocks_.clear();
  for (std::size_t i = 0; i < items.size(); i += kBuildBlock) {
    const std::size_t end = std::min(items.size(), i + kBuildBlock);
    Block& block = blocks_.emplace_back();
    block.reserve(kMaxBlock / 2 + kMaxBlock / 4);
    block.assign(items.begin() + std::ptrdiff_t(i), items.begin() + std::ptrdiff_t(end));
  }
  size_ = items.size();
  starts_.assign(blocks_.size(), 0);
  validStarts_ = 0;
  cursor_ = 0;
}

std::size_t RecordOrder::BlockFor(const SortItem& item) const {
  // The first block whose last entry does not come before the item; the
  // last block when the item comes after everything.
  std::size_t lo = 0, hi = blocks_.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (Less(blocks_[mid].back(), item))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo < blocks_.size() ? lo : blocks_.size() - 1;
}

bool RecordOrder::Find(const StoredRecord* record, std::size_t* block, std::size_t* index) const {
  if (blocks_.empty()) return false;
  const SortItem item = SortItem::Of(record);
  const std::size_t b = BlockFor(item);
  const Block& entries = blocks_[b];
  const auto it = std::lower_bound(entries.begin(), entries.end(), item,
                                   [this](const SortItem& x, const SortItem& y) { return Less(x, y); });
  if (it == entries.end() || it->record != record) return false;
  *block = b;
  *index = std::size_t(it - entries.begin());
  return true;
}

void RecordOrder::Insert(StoredRecord* record) {
  const SortItem item = SortItem::Of(record);
  if (blocks_.empty()) {
    blocks_.emplace_back(1, item);
    starts_.assign(1, 0);
    validStarts_ = 0;
    cursor_ = 0;
    size_ = 1;
    return;
  }
  const std::size_t b = BlockFor(item);
  Block& block = blocks_[b];
  block.insert(std::lower_bound(block.begin(), block.end(), item,
                                [this](const SortItem& x, const SortItem& y) { return Less(x, y); }),
               item);
  ++size_;
  Touched(b + 1);
  if (block.size() > kMaxBlock) {
    Block tail;
    tail.reserve(kMaxBlock / 2 + kMaxBlock / 4);
    tail.assign(block.begin() + std::ptrdiff_t(block.size() / 2), block.end());
    block.resize(block.size() / 2);
    blocks_.insert(blocks_.begin() + std::ptrdiff_t(b + 1), std::move(tail));
    starts_.resize(blocks_.size());
  }
}

bool RecordOrder::Erase(const StoredRecord* record) {
  std::size_t b, i;
  if (!Find(record, &b, &i)) return false;
  Block& block = blocks_[b];
  block.erase(block.begin() + std::ptrdiff_t(i));
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
  return blocks_[cursor_][position - starts_[cursor_]].record;
}

const StoredRecord* RecordOrder::Ahead(std::size_t position, std::size_t ahead) const {
  if (cursor_ >= validStarts_ || cursor_ >= blocks_.size() || position < starts_[cursor_]) return nullptr;
  const std::size_t at = position - starts_[cursor_] + ahead;
  return at < blocks_[cursor_].size() ? blocks_[cursor_][at].record : nullptr;
}

bool RecordOrder::PositionOf(const StoredRecord* record, std::size_t* position) {
  std::size_t b, i;
  if (!Find(record, &b, &i)) return false;
  UpdateStarts();
  *position = starts_[b] + i;
  return true;
}

}  // namespace pw
