// The list columns of both record kinds: one fixed table of 30 columns,
// entries 0-13 for time records and 14-29 for expense records, with each
// column's heading, visibility, width and place among the shown columns.
//
// Within a range the shown columns hold the positions 1..n, each once, and
// hidden columns hold position 0. Names are unique within a range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pw {

inline constexpr int PWH_COLUMN_COUNT = 30;
inline constexpr int PWH_COLUMN_NAME_LIMIT = 16;  // array size, NUL included: 15 characters

// The stored table: 30 records of 41 bytes (name 32, visible 1, width 4,
// position 4), little-endian, names in UTF-16LE.
inline constexpr std::size_t PWH_COLUMN_RECORD_SIZE = 41;
inline constexpr std::size_t PWH_COLUMN_TABLE_SIZE = PWH_COLUMN_COUNT * PWH_COLUMN_RECORD_SIZE;  // 1230

struct ColumnInfo {
  char16_t name[PWH_COLUMN_NAME_LIMIT] = {};
  std::uint8_t visible = 0;    // 1 shown, 0 hidden
  std::uint32_t width = 0;     // pixels
  std::uint32_t position = 0;  // 1 = leftmost shown column of its range; 0 when hidden

  // The column a lookup returns when it finds nothing: empty name, all zero.
  // A shown column whose name happens to be empty is not it.
  bool empty() const { return name[0] == 0 && visible == 0 && width == 0 && position == 0; }
  std::u16string_view text() const;
  bool operator==(const ColumnInfo&) const = default;
};

// Which record kind's columns an operation works on.
enum class ColumnRange { Time, Expense };

inline constexpr int PWH_TIME_FIRST_COLUMN = 0;
inline constexpr int PWH_TIME_LAST_COLUMN = 13;
inline constexpr int PWH_EXPENSE_FIRST_COLUMN = 14;
inline constexpr int PWH_EXPENSE_LAST_COLUMN = 29;

constexpr int FirstColumnOf(ColumnRange r) { return r == ColumnRange::Time ? PWH_TIME_FIRST_COLUMN : PWH_EXPENSE_FIRST_COLUMN; }
constexpr int LastColumnOf(ColumnRange r) { return r == ColumnRange::Time ? PWH_TIME_LAST_COLUMN : PWH_EXPENSE_LAST_COLUMN; }
// The range of a mode of the program (1 time, 2 expense).
constexpr ColumnRange ColumnRangeOfMode(int appMode) { return appMode == 2 ? ColumnRange::Expense : ColumnRange::Time; }

class ColumnModel {
 public:
  ColumnModel();  // the default table

  void Reset();

  // The column at index 0-29; any other index gives the empty column.
  ColumnInfo GetColumn(int index) const;
  // The first column of the range with exactly that name, or the empty column.
  ColumnInfo FindColumnByName(ColumnRange range, std::u16string_view name) const;
  // The shown column of the range at that position (1-based), or the empty
  // column. Position 0 finds nothing: hidden columns have no place.
  ColumnInfo FindColumnByPosition(ColumnRange range, std::uint32_t position) const;

  // The shown columns in display order, through the range's cursor:
  //   for (ColumnInfo c = m.FirstShownColumn(r); !c.empty(); c = m.NextShownColumn(r)) ...
  ColumnInfo FirstShownColumn(ColumnRange range);  // resets the cursor to 1
  ColumnInfo NextShownColumn(ColumnRange range);
  // The same walk without touching the cursors.
  std::vector<ColumnInfo> ShownColumns(ColumnRange range) const;
  // The greatest position in the range (the number of shown columns).
  std::uint32_t HighestPosition(ColumnRange range) const;

  // Updates the first column of that name (false when there is none):
  //  - a different name is taken, cut to 15 characters;
  //  - a different width is taken;
  //  - a shown column given visible 0 is hidden (position 0, the columns to
  //    its right move one place left); a hidden column given visible 1 is
  //    shown at the right end; otherwise the column takes the given position.
  // The list view keeps dragged widths this way, passing the column's own
  // name, position and visibility.
  bool UpdateColumnByName(ColumnRange range, std::u16string_view name, std::uint32_t width,
                          std::uint32_t position, std::uint8_t visible);
  // The same rules for the shown column at atPosition (false when none).
  bool UpdateColumnByPosition(ColumnRange range, std::uint32_t atPosition, std::u16string_view name,
                              std::uint32_t width, std::uint32_t position, std::uint8_t visible);

  // Exchanges the column at position with its left / right neighbour; at the
  // left / right end (or for a position nobody holds) nothing changes.
  bool MoveColumnUp(ColumnRange range, std::uint32_t position);
  bool MoveColumnDown(ColumnRange range, std::uint32_t position);

  // The 1230-byte stored form. Serialize fails only without a place for the
  // result. Deserialize reads the first 1230 bytes; a shorter buffer (or
  // none) fails and leaves the model unchanged. A table read whose shown
  // columns do not hold the positions 1..n (gaps, duplicates, a shown
  // column at 0) is repaired: they keep their order and get 1..n, hidden
  // columns get 0, so that no column silently drops out of the list.
  bool Serialize(std::vector<std::uint8_t>* out) const;
  bool Deserialize(const std::uint8_t* data, std::size_t size);

 private:
  void RepairPositions(ColumnRange range);
  ColumnInfo* FindByName(ColumnRange range, std::u16string_view name);
  ColumnInfo* FindByPosition(ColumnRange range, std::uint32_t position);
  void Apply(ColumnRange range, ColumnInfo& target, std::u16string_view name, std::uint32_t width,
             std::uint32_t position, std::uint8_t visible);
  std::uint32_t& CursorOf(ColumnRange range) { return range == ColumnRange::Time ? timeCursor_ : expenseCursor_; }

  ColumnInfo columns_[PWH_COLUMN_COUNT];
  std::uint32_t timeCursor_ = 1;
  std::uint32_t expenseCursor_ = 1;
};

}  // namespace pw
