// Texts made comparable for searching as a user types: lower case, accents
// and other combining marks dropped, "ß" as "ss". Covers the Latin, Greek
// and Cyrillic letters; other characters are kept as they are.
#pragma once

#include <string>
#include <string_view>

namespace pw {

// Appends the folded form of text to *out.
void AppendSearchFolded(std::u16string* out, std::u16string_view text);
std::u16string SearchFolded(std::u16string_view text);

}  // namespace pw
