// Splitting one record line into its fields, and the result codes of the
// import's parsers with the reasons the user is shown.
#pragma once

#include <string_view>
#include <vector>

namespace pw {

// Parse results; 0 is success.
enum : int {
  PWH_PARSE_OK = 0,
  PWH_PARSE_UNEXPECTED_END = 1,
  PWH_PARSE_MISSING_DELIMITER = 2,
  PWH_PARSE_TOO_MANY_FIELDS = 3,
  PWH_PARSE_NO_MEMORY = 4,
  PWH_PARSE_BAD_TIME = 5,
  PWH_PARSE_TOO_FEW_FIELDS = 6,
  PWH_PARSE_BAD_DATE = 7,
  PWH_PARSE_BAD_MILES = 8,
  PWH_PARSE_BAD_MILEAGE_RATE = 9,
  PWH_PARSE_BAD_AMOUNT = 16,
  PWH_PARSE_NO_START = 17,
  PWH_PARSE_NO_END = 18,
  PWH_PARSE_BAD_RATE = 19,
  PWH_PARSE_UNKNOWN_CATEGORY = 20,
};

// The reason shown for a result code ("unexpected error" for unknown codes).
std::u16string_view ParseResultText(int code);

// Splits line into fields (views into line) framed by qualifier and
// delimiter (each empty or one character). A field that starts with the
// qualifier runs to the next qualifier; any other runs to the next delimiter
// (or, without one, the next qualifier) or the end. The delimiter that ends a
// line adds no empty field after it. A field holding a NUL is cut at it.
// Returns 0 or a result code.
int TokenizeLine(std::u16string_view line, std::u16string_view qualifier,
                 std::u16string_view delimiter, std::vector<std::u16string_view>* fields);

}  // namespace pw
