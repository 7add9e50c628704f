#include "transfer/tokenizer.h"

namespace pw {

std::u16string_view ParseResultText(int code) {
  switch (code) {
    case PWH_PARSE_UNEXPECTED_END: return u"unexpected end of data string";
    case PWH_PARSE_MISSING_DELIMITER: return u"missing separating field delimiter";
    case PWH_PARSE_TOO_MANY_FIELDS: return u"too much data/too many fields in the data string";
    case PWH_PARSE_NO_MEMORY: return u"not enough memory to perform data parse";
    case PWH_PARSE_BAD_TIME: return u"invalid start/end time string";
    case PWH_PARSE_TOO_FEW_FIELDS:
      return u"not enough data to initialize full PWH record (missing delimiters/qualifiers to "
             u"distinguish fields ?)";
    case PWH_PARSE_BAD_DATE: return u"invalid record date string";
    case PWH_PARSE_BAD_MILES:
      return u"invalid record mileage string (should be numeric: 0.23, etc.)";
    case PWH_PARSE_BAD_MILEAGE_RATE:
      return u"invalid record mileage rate string (should be numeric: 0.23, etc.)";
    case PWH_PARSE_BAD_AMOUNT: return u"invalid record amount string (should be numeric: 0.23, etc.)";
    case PWH_PARSE_NO_START: return u"need to have either valid start time, or duration string";
    case PWH_PARSE_NO_END: return u"need to have either valid end time, or duration string";
    case PWH_PARSE_BAD_RATE:
      return u"invalid record billability rate string (should be numeric: 120.30, etc.)";
    case PWH_PARSE_UNKNOWN_CATEGORY: return u"pulldown heading does not belong to any known category";
    default: return u"unexpected error";
  }
}

namespace {

// TokenizeLine for a qualifier and a delimiter of one unit each (the usual
// framing): one pass over the line, which also finds the NULs.
int TokenizeUnits(std::u16string_view line, char16_t q, char16_t d, std::vector<std::u16string_view>* fields) {
  const char16_t* const text = line.data();
  const std::size_t size = line.size();
  std::size_t pos = 0;
  bool nul = false;
  while (pos < size) {
    std::size_t start = pos, stop;
    if (text[pos] == q) {
      start = ++pos;
      while (pos < size && text[pos] != q) nul |= text[pos++] == 0;
      if (pos == size) return PWH_PARSE_UNEXPECTED_END;
      stop = pos++;
    } else {
      while (pos < size && text[pos] != d) nul |= text[pos++] == 0;
      stop = pos;
    }
    fields->emplace_back(text + start, stop - start);
    if (pos == size) break;
    if (text[pos] != d) return PWH_PARSE_MISSING_DELIMITER;
    ++pos;
  }
  if (nul)
    for (std::u16string_view& field : *fields) field = field.substr(0, field.find(u'\0'));
  return PWH_PARSE_OK;
}

}  // namespace

int TokenizeLine(std::u16string_view line, std::u16string_view q, std::u16string_view d,
                 std::vector<std::u16string_view>* fields) {
  constexpr auto npos = std::u16string_view::npos;
  fields->clear();
  if (q.size() == 1 && d.size() == 1 && q[0] != d[0]) return TokenizeUnits(line, q[0], d[0], fields);
  std::size_t pos = 0;
  while (pos < line.size()) {
    if (!q.empty() && line.compare(pos, q.size(), q) == 0) {
      const std::size_t start = pos + q.size();
      const std::size_t close = line.find(q, start);
      if (close == npos) return PWH_PARSE_UNEXPECTED_END;
      fields->push_back(line.substr(start, close - start));
      pos = close + q.size();
    } else {
      std::size_t stop = !d.empty() ? line.find(d, pos) : !q.empty() ? line.find(q, pos) : npos;
      if (stop == npos) stop = line.size();
      fields->push_back(line.substr(pos, stop - pos));
      pos = stop;
    }
    if (d.empty() || pos == line.size()) continue;
    if (line.compare(pos, d.size(), d) != 0) return PWH_PARSE_MISSING_DELIMITER;
    pos += d.size();
  }
  // The store keeps a text to its first NUL: every field is cut there before
  // anything (a pulldown list lookup, a duplicate check, the record) sees it.
  for (std::u16string_view& field : *fields) field = field.substr(0, field.find(u'\0'));
  return PWH_PARSE_OK;
}

}  // namespace pw
