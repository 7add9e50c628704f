// Text as it is written to and read from files, and the UTF-8 <-> UTF-16
// conversions the program needs at its edges.
#pragma once

#include <string>
#include <string_view>

namespace pw {

// UTF-16 to UTF-8 without a byte-order mark; a lone surrogate becomes U+FFFD.
std::string WideToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::u16string Utf8ToWide(std::string_view text);
bool IsValidUtf8(std::string_view text);
// Windows-1252 to UTF-16 (the five undefined bytes map to their C1 controls).
std::u16string Cp1252ToWide(std::string_view text);

// What is written to a file: UTF-8, no byte-order mark.
inline std::string WideToFileText(std::u16string_view text) { return WideToUtf8(text); }
// One line read from a file: UTF-8 when it is valid UTF-8, else Windows-1252,
// so files from older devices import with their accents intact.
std::u16string FileTextToWide(std::string_view line);
// The same into *out, reusing its memory: for a file read line by line.
void FileTextToWide(std::string_view line, std::u16string* out);

}  // namespace pw
