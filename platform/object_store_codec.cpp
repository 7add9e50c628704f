#include "platform/object_store_codec.h"

#include <algorithm>
#include <cstdint>

namespace pw {

namespace {

std::size_t VarintSize(std::uint32_t v) {
  std::size_t n = 1;
  for (; v >= 0x80; v >>= 7) ++n;
  return n;
}

// Writes v at to; returns the end of what it wrote.
char* PutVarint(char* to, std::uint32_t v) {
  while (v >= 0x80) {
    *to++ = char(0x80 | (v & 0x7F));
    v >>= 7;
  }
  *to++ = char(v);
  return to;
}

// A bounds-checked reader over the stored bytes; every Get fails instead of
// reading past the end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : p_(bytes.data()), end_(bytes.data() + bytes.size()) {}

  bool AtEnd() const { return p_ == end_; }
  std::size_t Left() const { return std::size_t(end_ - p_); }

  bool Byte(unsigned char* b) {
    if (p_ == end_) return false;
    *b = static_cast<unsigned char>(*p_++);
    return true;
  }

  bool Varint(std::uint32_t* v) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      unsigned char b;
      if (!Byte(&b)) return false;
      if (shift == 28 && (b & 0x70) != 0) return false;  // more than 32 bits
      result |= std::uint32_t(b & 0x7F) << shift;
      if ((b & 0x80) == 0) {
        *v = result;
        return true;
      }
    }
    return false;
  }

  bool Bytes(std::size_t n, const unsigned char** at) {
    if (Left() < n) return false;
    *at = reinterpret_cast<const unsigned char*>(p_);
    p_ += n;
    return true;
  }

 private:
  const char* p_;
  const char* end_;
};

struct TextField {
  const unsigned char* bytes = nullptr;
  std::size_t length = 0;  // in code units
  bool wide = false;

  char16_t Unit(std::size_t i) const {
    return wide ? char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)) : char16_t(bytes[i]);
  }
};

// Reads one property header and value. For texts, *text describes the units.
bool ReadProperty(Reader& r, CEPROPID* propid, std::int16_t* ival, TextField* text) {
  std::uint32_t id, type;
  if (!r.Varint(&id) || !r.Varint(&type) || id > 0xFFFF || type > 0xFFFF) return false;
  *propid = MakePropId(WORD(id), WORD(type));
  if (type == CEVT_I2) {
    const unsigned char* b;
    if (!r.Bytes(2, &b)) return false;
    *ival = std::int16_t(std::uint16_t(b[0] | (b[1] << 8)));
    return true;
  }
  if (type == CEVT_LPWSTR) {
    std::uint32_t head;
    if (!r.Varint(&head)) return false;
    text->wide = (head & 1) != 0;
    text->length = head >> 1;
    const std::size_t size = text->wide ? 2 * std::size_t(text->length) : text->length;
    return r.Bytes(size, &text->bytes);
  }
  return false;
}

bool ReadHeader(Reader& r, std::uint32_t* count) {
  unsigned char version;
  if (!r.Byte(&version) || version != kPropertyFormatVersion) return false;
  if (!r.Varint(count) || *count > 0xFFFF) return false;
  // Every property takes at least three bytes; a larger count is damage.
  return r.Left() / 3 >= *count;
}

}  // namespace

std::string EncodeProperties(const CEPROPVAL* props, WORD count) {
  std::string out;
  if (count > 0 && !props) return out;
  // First pass: each text's length and whether it needs two bytes a unit,
  // so that the bytes are sized exactly and every text is read twice at most.
  constexpr std::size_t kOnStack = 32;
  std::size_t stackShapes[kOnStack];
  std::vector<std::size_t> heapShapes;
  std::size_t* shapes = stackShapes;  // length << 1 | wide, per property
  if (count > kOnStack) {
    heapShapes.resize(count);
    shapes = heapShapes.data();
  }
  std::size_t size = 1 + VarintSize(count);
  for (WORD i = 0; i < count; ++i) {
    const CEPROPVAL& p = props[i];
    const WORD type = PropTypeOf(p.propid);
    size += VarintSize(PropIdOf(p.propid)) + VarintSize(type);
    if (type == CEVT_I2) {
      size += 2;
    } else if (type == CEVT_LPWSTR) {
      std::size_t length = 0;
      char16_t units = 0;  // every unit or-ed: above 0xFF when one is
      if (const char16_t* text = p.val.lpwstr)
        for (char16_t c; (c = text[length]) != 0; ++length) units |= c;
      if (length > 0x7FFFFFFF) return {};
      const bool wide = units > 0xFF;
      shapes[i] = (length << 1) | (wide ? 1 : 0);
      size += VarintSize(std::uint32_t(shapes[i])) + (wide ? 2 * length : length);
    } else {
      return {};  // a type the store does not keep
    }
  }
  out.resize(size);
  char* to = out.data();
  *to++ = char(kPropertyFormatVersion);
  to = PutVarint(to, count);
  for (WORD i = 0; i < count; ++i) {
    const CEPROPVAL& p = props[i];
    const WORD type = PropTypeOf(p.propid);
    to = PutVarint(to, PropIdOf(p.propid));
    to = PutVarint(to, type);
    if (type == CEVT_I2) {
      const auto v = std::uint16_t(p.val.iVal);
      *to++ = char(v & 0xFF);
      *to++ = char(v >> 8);
      continue;
    }
    to = PutVarint(to, std::uint32_t(shapes[i]));
    const std::size_t length = shapes[i] >> 1;
    const char16_t* text = p.val.lpwstr;
    if (shapes[i] & 1) {
      for (std::size_t k = 0; k < length; ++k) {
        *to++ = char(text[k] & 0xFF);
        *to++ = char(text[k] >> 8);
      }
    } else {
      for (std::size_t k = 0; k < length; ++k) to[k] = char(text[k]);
      to += length;
    }
  }
  return out;
}

bool PropertyBuffer::Decode(std::string_view stored, const PropertyIdSet* wanted) {
  props_.clear();
  Reader r(stored);
  std::uint32_t count;
  if (!ReadHeader(r, &count)) return false;
  props_.resize(count);
  // Each text takes at least one byte per unit plus its header, so the
  // stored size bounds the texts and their terminators. The text buffer
  // only grows: reading many records one after another fills no memory
  // twice, and the pointers set below stay valid.
  if (texts_.size() < stored.size() + 1) texts_.resize(stored.size() + 1);
  char16_t* const units = texts_.data();
  std::size_t used = 0, kept = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    CEPROPVAL& p = props_[kept];
    TextField text;
    if (!ReadProperty(r, &p.propid, &p.val.iVal, &text)) {
      clear();
      return false;
    }
    // A property not wanted is passed over (its bytes were checked).
    const WORD id = PropIdOf(p.propid);
    if (wanted && (id >= wanted->size() || !(*wanted)[id])) continue;
    ++kept;
    if (PropTypeOf(p.propid) == CEVT_LPWSTR) {
      if (used + text.length + 1 > texts_.size()) {  // cannot happen for bytes that passed ReadProperty
        clear();
        return false;
      }
      char16_t* to = units + used;
      p.val.lpwstr = to;
      const unsigned char* from = text.bytes;
      if (text.wide) {
        for (std::size_t k = 0; k < text.length; ++k) to[k] = char16_t(from[2 * k] | (from[2 * k + 1] << 8));
      } else {
        for (std::size_t k = 0; k < text.length; ++k) to[k] = from[k];
      }
      to[text.length] = u'\0';
      used += text.length + 1;
    }
  }
  if (!r.AtEnd()) {
    clear();
    return false;
  }
  props_.resize(kept);
  return true;
}

void PropertyBuffer::Rebase(const char16_t* oldBase) {
  const char16_t* base = texts_.data();
  if (base == oldBase) return;
  for (CEPROPVAL& p : props_)
    if (PropTypeOf(p.propid) == CEVT_LPWSTR && p.val.lpwstr) p.val.lpwstr = base + (p.val.lpwstr - oldBase);
}

PropertyBuffer::PropertyBuffer(const PropertyBuffer& other) : props_(other.props_), texts_(other.texts_) {
  Rebase(other.texts_.data());
}

PropertyBuffer::PropertyBuffer(PropertyBuffer&& other) noexcept {
  const char16_t* oldBase = other.texts_.data();
  props_ = std::move(other.props_);
  texts_ = std::move(other.texts_);
  Rebase(oldBase);
  other.clear();
}

PropertyBuffer& PropertyBuffer::operator=(const PropertyBuffer& other) {
  if (this != &other) {
    props_ = other.props_;
    texts_ = other.texts_;
    Rebase(other.texts_.data());
  }
  return *this;
}

PropertyBuffer& PropertyBuffer::operator=(PropertyBuffer&& other) noexcept {
  if (this != &other) {
    const char16_t* oldBase = other.texts_.data();
    props_ = std::move(other.props_);
    texts_ = std::move(other.texts_);
    Rebase(oldBase);
    other.clear();
  }
  return *this;
}

bool ScanStoredRecord(std::string_view stored, CEPROPID sortProp, bool* found, std::u16string* key) {
  *found = false;
  key->clear();
  Reader r(stored);
  std::uint32_t count;
  if (!ReadHeader(r, &count)) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    CEPROPID propid;
    std::int16_t ival;
    TextField text;
    if (!ReadProperty(r, &propid, &ival, &text)) return false;
    if (sortProp != 0 && propid == sortProp && !*found) {
      *found = true;
      key->resize(text.length);
      for (std::size_t k = 0; k < text.length; ++k) (*key)[k] = text.Unit(k);
    }
  }
  return r.AtEnd();
}

std::string NameBytes(std::u16string_view name) {
  std::string out;
  out.reserve(name.size() * 2);
  for (const char16_t c : name) {
    out.push_back(char(c & 0xFF));
    out.push_back(char(c >> 8));
  }
  return out;
}

std::u16string NameFromBytes(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    out.push_back(char16_t(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  return out;
}

bool DistinctProperties(const CEPROPVAL* props, WORD count) {
  // Ids below 256 (every record's) are told apart by a bit each; others by
  // comparing with each one before them.
  std::uint64_t seen[4] = {0, 0, 0, 0};
  for (WORD i = 0; i < count; ++i) {
    if (props[i].wFlags & CEDB_PROPDELETE) return false;
    const WORD id = PropIdOf(props[i].propid);
    if (id < 256) {
      std::uint64_t& word = seen[id >> 6];
      const std::uint64_t bit = std::uint64_t(1) << (id & 63);
      if (word & bit) return false;
      word |= bit;
      continue;
    }
    for (WORD j = 0; j < i; ++j)
      if (PropIdOf(props[j].propid) == id) return false;
  }
  return true;
}

void SortKeyOf(std::span<const CEPROPVAL> props, CEPROPID sortProp, bool* hasKey, std::u16string* key) {
  *hasKey = false;
  key->clear();
  if (sortProp == 0) return;
  for (const CEPROPVAL& p : props) {
    if (p.propid == sortProp) {
      *hasKey = true;
      if (p.val.lpwstr) key->assign(p.val.lpwstr);
      return;
    }
  }
}

void MergeProperties(std::vector<CEPROPVAL>& list, const CEPROPVAL* props, WORD count) {
  for (WORD i = 0; i < count; ++i) {
    CEPROPVAL p = props[i];
    const auto same = std::find_if(list.begin(), list.end(),
                                   [&](const CEPROPVAL& q) { return PropIdOf(q.propid) == PropIdOf(p.propid); });
    if (p.wFlags & CEDB_PROPDELETE) {
      if (same != list.end()) list.erase(same);
      continue;
    }
    p.wFlags = 0;
    p.wLenData = 0;
    if (same != list.end())
      *same = p;
    else
      list.push_back(p);
  }
}

}  // namespace pw
