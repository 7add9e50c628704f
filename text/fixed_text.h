// Helpers for the fixed UTF-16 arrays that records hold.
#pragma once

#include <cstddef>
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

// How many units of text fit in max units without splitting a surrogate pair.
std::size_t CutLength(std::u16string_view text, std::size_t max);

// Copies text into a fixed array, cut to N-1 units (never splitting a
// surrogate pair), and terminates it. The rest of the array is zeroed.
template <std::size_t N>
void CopyText(char16_t (&field)[N], std::u16string_view text) {
  const std::size_t n = CutLength(text, N - 1);
  std::size_t i = 0;
  for (; i < n; ++i) field[i] = text[i];
  for (; i < N; ++i) field[i] = 0;
}

template <std::size_t N>
bool IsEmptyText(const char16_t (&field)[N]) {
  return field[0] == 0;
}

}  // namespace pw
