#include "dialogs/text_limit.h"

namespace pw {
namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

TextCut CutToLimit(std::u16string_view text, std::size_t cursor, std::size_t max) {
  if (text.size() <= max) return {cursor, 0};
  const std::size_t excess = text.size() - max;
  if (cursor > text.size()) cursor = text.size();
  std::size_t from = cursor >= excess ? cursor - excess : max;
  std::size_t to = from + excess;
  if (from > 0 && IsHigh(text[from - 1]) && IsLow(text[from])) --from;
  if (to < text.size() && IsHigh(text[to - 1]) && IsLow(text[to])) ++to;
  return {from, to - from};
}

}  // namespace pw
