// The in-memory side of the object store: every record of an open database
// with its stored bytes, and the orders that give positional access to them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/object_store.h"

namespace pw {

struct StoredRecord {
  CEOID oid = 0;
  bool hasKey = false;   // the record has the database's sort property
  bool damaged = false;  // the stored bytes do not decode
  std::u16string key;    // the sort key (OrderKey) when hasKey

  // The encoded property list: in the database's shared block as loaded
  // from the file, or owned once the record was written.
  std::string_view Bytes() const { return shared ? std::string_view(shared, sharedSize) : std::string_view(owned); }
  void SetBytes(std::string bytes) {
    owned = std::move(bytes);
    shared = nullptr;
    sharedSize = 0;
  }

  const char* shared = nullptr;
  std::uint32_t sharedSize = 0;
  std::string owned;
};

// The key by which a sort order with these flags (SORTORDERSPEC::dwFlags)
// compares the sort property's text: the text itself, or for
// CEDB_SORT_CALENDARDATE its CalendarSortKey (five units for a valid date,
// so those keys compare within SortItem's prefix).
std::u16string OrderKey(DWORD sortFlags, std::u16string text);
std::u16string OrderKey(DWORD sortFlags, std::u16string_view text);

// An entry of an order: a record with the first 12 code units of its sort
// key packed into integers that compare like the units (texts hold no NUL,
// so zero padding keeps shorter keys first). Orders keep these entries
// rather than bare pointers, so searching and sorting read no record memory
// unless two keys share their first 12 units.
struct SortItem {
  std::uint64_t prefix[3] = {0, 0, 0};
  StoredRecord* record = nullptr;
  CEOID oid = 0;
  bool keyed = false;
  bool complete = false;  // the prefix holds the whole key

  static SortItem Of(const StoredRecord* record);
};

// Records in one order, reachable by 0-based position.
//
// The sequence is split into blocks of at most kMaxBlock entries, so an
// insert or erase moves at most one block; block start positions are
// recomputed lazily from the first block that changed. A cursor remembers
// the block of the last positional lookup, so a walk over 0..n-1 costs O(1)
// per step.
//
// By sort key: records with the key first, ordered by the key's UTF-16 code
// units (the key made by OrderKey), then the records without it; ties in
// object id order. Otherwise
// purely in object id order.
class RecordOrder {
 public:
  static constexpr std::size_t kMaxBlock = 1024;

  explicit RecordOrder(bool bySortKey) : bySortKey_(bySortKey) {}

  bool bySortKey() const { return bySortKey_; }
  std::size_t size() const { return size_; }

  // Replaces the content with these records (any order).
  void Build(const std::vector<StoredRecord*>& records);
  // Puts items into this order.
  void Sort(std::vector<SortItem>& items) const;
  // Replaces the content with items already in this order.
  void Assign(const std::vector<SortItem>& inOrder);
  void Insert(StoredRecord* record);
  // Removes the record; its key must be the one it was inserted with.
  bool Erase(const StoredRecord* record);
  // The record at a position, null past the end.
  StoredRecord* At(std::size_t position);
  // The record `ahead` places after `position`, when both lie in the block
  // of the last positional lookup; else null. For fetching the records of a
  // walk into the cache before they are read.
  const StoredRecord* Ahead(std::size_t position, std::size_t ahead) const;
  // The position of a record in the order; false when it is not there.
  bool PositionOf(const StoredRecord* record, std::size_t* position);

  // a before b in this order.
  bool Less(const StoredRecord* a, const StoredRecord* b) const {
    if (bySortKey_) {
      if (a->hasKey != b->hasKey) return a->hasKey;
      if (a->hasKey) {
        const int c = a->key.compare(b->key);
        if (c != 0) return c < 0;
      }
    }
    return a->oid < b->oid;
  }
  bool Less(const SortItem& a, const SortItem& b) const {
    if (bySortKey_) {
      if (a.keyed != b.keyed) return a.keyed;
      if (a.keyed) {
        for (int i = 0; i < 3; ++i)
          if (a.prefix[i] != b.prefix[i]) return a.prefix[i] < b.prefix[i];
        if (!a.complete || !b.complete) return Less(a.record, b.record);
      }
    }
    return a.oid < b.oid;
  }

 private:
  using Block = std::vector<SortItem>;

  // The block that holds, or would hold, the item.
  std::size_t BlockFor(const SortItem& item) const;
  // Where the record stands: block and index in it; false when absent.
  bool Find(const StoredRecord* record, std::size_t* block, std::size_t* index) const;
  void UpdateStarts();
  void Touched(std::size_t block) {
    if (block < validStarts_) validStarts_ = block;
  }

  bool bySortKey_;
  std::vector<Block> blocks_;
  std::vector<std::size_t> starts_;  // position of each block's first entry
  std::size_t validStarts_ = 0;      // starts_ is right for blocks before this
  std::size_t size_ = 0;
  std::size_t cursor_ = 0;           // block of the last positional lookup
};

}  // namespace pw
