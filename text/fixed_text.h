// Helpers for the fixed UTF-16 arrays that records hold.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pw {

// The text of a zero-terminated array (up to its first NUL, at most N-1 units).
template <std::size_t N>
std::u16string_view TextOf(const char16_t (&field)[N]) {
  std::size_t n = 0;
  while (n < N && field[n] != 0) ++n;
  return std::u16string_view(field, n);
}

inline std::u16string_view TextOf(const char16_t* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

// The text of a zero-terminated array seen through a span.
inline std::u16string_view TextOf(std::span<const char16_t> field) {
  const std::u16string_view all(field.data(), field.size());
  return all.substr(0, all.find(u'\0'));
}

// How many units of text fit in max units without splitting a surrogate pair.
std::size_t CutLength(std::u16string_view text, std::size_t max);

// Copies text into a fixed array, cut to one unit less than the array (never
// splitting a surrogate pair), and terminates it. The rest of the array is zeroed.
inline void CopyText(std::span<char16_t> field, std::u16string_view text) {
  const std::size_t n = CutLength(text, field.size() - 1);
  std::size_t i = 0;
  for (; i < n; ++i) field[i] = text[i];
  for (; i < field.size(); ++i) field[i] = 0;
}
template <std::size_t N>
void CopyText(char16_t (&field)[N], std::u16string_view text) {
  CopyText(std::span<char16_t>(field), text);
}

template <std::size_t N>
bool IsEmptyText(const char16_t (&field)[N]) {
  return field[0] == 0;
}

}  // namespace pw
