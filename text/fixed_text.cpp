#include "text/fixed_text.h"

namespace pw {

// Kept out of line: inlined next to a short literal, GCC warns about the
// index below on a branch that cannot run.
std::size_t CutLength(std::u16string_view text, std::size_t max) {
  if (text.size() <= max) return text.size();
  std::size_t n = max;
  if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;  // a high surrogate is not cut from its pair
  return n;
}

}  // namespace pw
