// The byte form of a record's property list, as the store keeps it.
//
//   byte 0        format version (1)
//   varint        number of properties
//   per property  varint id (high word), varint type (low word), then
//                 CEVT_I2:     2 bytes, little-endian
//                 CEVT_LPWSTR: varint (length << 1 | wide), then length bytes
//                              (every unit below 0x100) or 2 x length bytes
//                              (UTF-16 little-endian)
//
// Varints are unsigned LEB128 of at most 5 bytes. Nothing follows the last
// property. Texts of Latin-1 units take one byte per unit, which halves the
// memory the in-memory index spends on typical records.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/object_store.h"

namespace pw {

inline constexpr unsigned char kPropertyFormatVersion = 1;

// Checks the whole of stored and finds the text of property sortProp (exact
// id and type). Returns false when the bytes are damaged; otherwise *found
// says whether the property is there and *key holds its text.
bool ScanStoredRecord(std::string_view stored, CEPROPID sortProp, bool* found, std::u16string* key);

// A database name as the store keeps it: UTF-16 little-endian bytes.
std::string NameBytes(std::u16string_view name);
std::u16string NameFromBytes(std::string_view bytes);

// The value of the sort property in a property list.
void SortKeyOf(std::span<const CEPROPVAL> props, CEPROPID sortProp, bool* hasKey, std::u16string* key);

// True when no property deletes and no two share an id: such a list is
// stored as it is given, without MergeProperties.
bool DistinctProperties(const CEPROPVAL* props, WORD count);

// Applies a write's properties to a record's list: a property replaces the
// one with the same id (whatever its type), PROPDELETE removes it, anything
// else is appended.
void MergeProperties(std::vector<CEPROPVAL>& list, const CEPROPVAL* props, WORD count);

}  // namespace pw
