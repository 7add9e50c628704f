// Keeping an edited text within its field while the user types or pastes.
#pragma once

#include <cstddef>
#include <string_view>

namespace pw {

// The units to remove from text so that at most max units remain.
struct TextCut {
  std::size_t from = 0;
  std::size_t count = 0;  // 0 when text already fits
};

// The cut is taken from what was typed or pasted last, the units just before
// cursor; when the cursor is too near the start for that, the end is cut. A
// surrogate pair is removed whole or not at all.
TextCut CutToLimit(std::u16string_view text, std::size_t cursor, std::size_t max);

}  // namespace pw
