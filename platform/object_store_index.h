// The in-memory side of the object store: every record of an open database
// with its stored bytes, and the orders that give positional access to them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/object_store.h"

namespace pw {

struct StoredRecord {
  CEOID oid = 0;
  bool hasKey = false;   // the record has the database's sort property
  bool damaged = false;  // the stored bytes do not decode
  std::u16string key;    // the sort text when hasKey
  std::string bytes;     // the encoded property list
};

// Records in one order, reachable by 0-based position.
//
// The sequence is split into blocks of at most kMaxBlock entries, so an
// insert or erase moves at most one block's pointers; block start positions
// are recomputed lazily from the first block that changed. A cursor remembers
// the block of the last positional lookup, so a walk over 0..n-1 costs O(1)
// per step.
//
// By sort key: records with the key first, ordered by the key's UTF-16 code
// units, then the records without it; ties in object id order. Otherwise
// purely in object id order.
class RecordOrder {
 public:
  static constexpr std::size_t kMaxBlock = 1024;

  explicit RecordOrder(bool bySortKey) : bySortKey_(bySortKey) {}

  bool bySortKey() const { return bySortKey_; }
  std::size_t size() const { return size_; }

  // Replaces the content with these records (any order).
  void Build(std::vector<StoredRecord*> records);
  void Insert(StoredRecord* record);
  // Removes the record; its key must be the one it was inserted with.
  bool Erase(const StoredRecord* record);
  // The record at a position, null past the end.
  StoredRecord* At(std::size_t position);
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

 private:
  using Block = std::vector<StoredRecord*>;

  // The block that holds, or would hold, the record.
  std::size_t BlockFor(const StoredRecord* record) const;
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
