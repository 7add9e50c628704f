#include "config/column_model.h"

#include <algorithm>

#include "text/fixed_text.h"

namespace pw {

namespace {

struct DefaultColumn {
  const char16_t* name;
  std::uint32_t width;
};

// Index order; every column shown, positions 1..n within each range.
constexpr DefaultColumn kDefaultColumns[PWH_COLUMN_COUNT] = {
    // Time records.
    {u"Date", 80}, {u"Hours", 44}, {u"Client", 60}, {u"Project", 90}, {u"Start", 65},
    {u"End", 65}, {u"Rate", 50}, {u"Subproject", 90}, {u"Task", 90}, {u"Ccy", 45},
    {u"Amount", 90}, {u"B", 30}, {u"B'd", 35}, {u"N", 30},
    // Expense records.
    {u"Date", 80}, {u"Amount", 60}, {u"Client", 60}, {u"Project", 60}, {u"Description", 60},
    {u"Mileage", 30}, {u"Miles", 50}, {u"Rate", 50}, {u"Payment", 90}, {u"Currency", 90},
    {u"B", 30}, {u"B'd", 30}, {u"R", 30}, {u"R'd", 30}, {u"R't", 30}, {u"N", 30},
};

constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kVisibleOffset = 32;
constexpr std::size_t kWidthOffset = 33;
constexpr std::size_t kPositionOffset = 37;

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* p) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(p[i]) << (8 * i);
  return v;
}

}  // namespace

std::u16string_view ColumnInfo::text() const { return TextOf(name); }

ColumnModel::ColumnModel() { Reset(); }

void ColumnModel::Reset() {
  for (int i = 0; i < PWH_COLUMN_COUNT; ++i) {
    ColumnInfo& c = columns_[i];
    CopyText(c.name, kDefaultColumns[i].name);
    c.visible = 1;
    c.width = kDefaultColumns[i].width;
    c.position = std::uint32_t(i < PWH_EXPENSE_FIRST_COLUMN ? i + 1 : i - PWH_EXPENSE_FIRST_COLUMN + 1);
  }
  timeCursor_ = 1;
  expenseCursor_ = 1;
}

ColumnInfo ColumnModel::GetColumn(int index) const {
  if (index < 0 || index >= PWH_COLUMN_COUNT) return ColumnInfo{};
  return columns_[index];
}

ColumnInfo* ColumnModel::FindByName(ColumnRange range, std::u16string_view name) {
  for (int i = FirstColumnOf(range); i <= LastColumnOf(range); ++i)
    if (columns_[i].text() == name) return &columns_[i];
  return nullptr;
}

ColumnInfo* ColumnModel::FindByPosition(ColumnRange range, std::uint32_t position) {
  if (position == 0) return nullptr;
  for (int i = FirstColumnOf(range); i <= LastColumnOf(range); ++i)
    if (columns_[i].position == position) return &columns_[i];
  return nullptr;
}

ColumnInfo ColumnModel::FindColumnByName(ColumnRange range, std::u16string_view name) const {
  const ColumnInfo* c = const_cast<ColumnModel*>(this)->FindByName(range, name);
  return c ? *c : ColumnInfo{};
}

ColumnInfo ColumnModel::FindColumnByPosition(ColumnRange range, std::uint32_t position) const {
  const ColumnInfo* c = const_cast<ColumnModel*>(this)->FindByPosition(range, position);
  return c ? *c : ColumnInfo{};
}

ColumnInfo ColumnModel::FirstShownColumn(ColumnRange range) {
  CursorOf(range) = 1;
  return NextShownColumn(range);
}

ColumnInfo ColumnModel::NextShownColumn(ColumnRange range) {
  std::uint32_t& cursor = CursorOf(range);
  const ColumnInfo found = FindColumnByPosition(range, cursor);
  ++cursor;
  return found;
}

std::vector<ColumnInfo> ColumnModel::ShownColumns(ColumnRange range) const {
  std::vector<ColumnInfo> shown;
  for (std::uint32_t p = 1;; ++p) {
    const ColumnInfo c = FindColumnByPosition(range, p);
    if (c.empty()) break;
    shown.push_back(c);
  }
  return shown;
}

std::uint32_t ColumnModel::HighestPosition(ColumnRange range) const {
  std::uint32_t highest = 0;
  for (int i = FirstColumnOf(range); i <= LastColumnOf(range); ++i) highest = std::max(highest, columns_[i].position);
  return highest;
}

void ColumnModel::Apply(ColumnRange range, ColumnInfo& target, std::u16string_view name, std::uint32_t width,
                        std::uint32_t position, std::uint8_t visible) {
  if (target.text() != name) CopyText(target.name, name);
  if (target.width != width) target.width = width;

  if (target.visible != 0 && visible == 0) {
    const std::uint32_t gone = target.position;
    for (int i = FirstColumnOf(range); i <= LastColumnOf(range); ++i)
      if (columns_[i].position > gone) --columns_[i].position;
    target.visible = 0;
    target.position = 0;
  } else if (target.visible == 0 && visible != 0) {
    target.position = HighestPosition(range) + 1;  // appended at the right end
    target.visible = 1;
  } else if (target.visible != 0) {
    target.position = position;
  }
  // A hidden column asked to stay hidden keeps position 0 whatever it is given.
}

bool ColumnModel::UpdateColumnByName(ColumnRange range, std::u16string_view name, std::uint32_t width,
                                     std::uint32_t position, std::uint8_t visible) {
  ColumnInfo* target = FindByName(range, name);
  if (!target) return false;
  Apply(range, *target, name, width, position, visible);
  return true;
}

bool ColumnModel::UpdateColumnByPosition(ColumnRange range, std::uint32_t atPosition, std::u16string_view name,
                                         std::uint32_t width, std::uint32_t position, std::uint8_t visible) {
  ColumnInfo* target = FindByPosition(range, atPosition);
  if (!target) return false;
  Apply(range, *target, name, width, position, visible);
  return true;
}

bool ColumnModel::MoveColumnUp(ColumnRange range, std::uint32_t position) {
  if (position < 2) return false;
  ColumnInfo* here = FindByPosition(range, position);
  ColumnInfo* left = FindByPosition(range, position - 1);
  if (!here || !left) return false;
  std::swap(here->position, left->position);
  return true;
}

bool ColumnModel::MoveColumnDown(ColumnRange range, std::uint32_t position) {
  if (position == 0 || position + 1 > HighestPosition(range)) return false;
  ColumnInfo* here = FindByPosition(range, position);
  ColumnInfo* right = FindByPosition(range, position + 1);
  if (!here || !right) return false;
  std::swap(here->position, right->position);
  return true;
}

bool ColumnModel::Serialize(std::vector<std::uint8_t>* out) const {
  if (!out) return false;
  out->assign(PWH_COLUMN_TABLE_SIZE, 0);
  std::uint8_t* p = out->data();
  for (const ColumnInfo& c : columns_) {
    const std::u16string_view name = c.text();
    for (std::size_t i = 0; i < name.size(); ++i) {
      p[kNameOffset + 2 * i] = std::uint8_t(name[i]);
      p[kNameOffset + 2 * i + 1] = std::uint8_t(name[i] >> 8);
    }
    p[kVisibleOffset] = c.visible;
    PutU32(p + kWidthOffset, c.width);
    PutU32(p + kPositionOffset, c.position);
    p += PWH_COLUMN_RECORD_SIZE;
  }
  return true;
}

bool ColumnModel::Deserialize(const std::uint8_t* data, std::size_t size) {
  if (!data || size < PWH_COLUMN_TABLE_SIZE) return false;
  const std::uint8_t* p = data;
  for (ColumnInfo& c : columns_) {
    char16_t stored[PWH_COLUMN_NAME_LIMIT];
    for (int i = 0; i < PWH_COLUMN_NAME_LIMIT; ++i)
      stored[i] = char16_t(p[kNameOffset + 2 * i] | (p[kNameOffset + 2 * i + 1] << 8));
    // A name that fills all 16 units has no terminator: keep 15, whole pairs only.
    CopyText(c.name, TextOf(stored));
    c.visible = p[kVisibleOffset];
    c.width = GetU32(p + kWidthOffset);
    c.position = GetU32(p + kPositionOffset);
    p += PWH_COLUMN_RECORD_SIZE;
  }
  RepairPositions(ColumnRange::Time);
  RepairPositions(ColumnRange::Expense);
  timeCursor_ = 1;
  expenseCursor_ = 1;
  return true;
}

void ColumnModel::RepairPositions(ColumnRange range) {
  // The shown columns in their stored order: by position (a shown column
  // without one goes last), then by index.
  std::vector<ColumnInfo*> shown;
  for (int i = FirstColumnOf(range); i <= LastColumnOf(range); ++i) {
    ColumnInfo& c = columns_[i];
    if (c.visible) shown.push_back(&c);
    else c.position = 0;
  }
  auto placeOf = [](const ColumnInfo* c) { return c->position == 0 ? UINT64_MAX : std::uint64_t(c->position); };
  std::stable_sort(shown.begin(), shown.end(),
                   [&](const ColumnInfo* a, const ColumnInfo* b) { return placeOf(a) < placeOf(b); });
  for (std::size_t p = 0; p < shown.size(); ++p) shown[p]->position = std::uint32_t(p + 1);
}

}  // namespace pw
