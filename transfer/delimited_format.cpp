#include "transfer/delimited_format.h"

#include "text/format.h"

namespace pw {


FormatSettingText ReadFormatSetting(std::u16string_view text) {
  if (text == PWH_TAB_ENTRY) return {u"\t", std::u16string(text)};
  if (text == PWH_NEWLINE_ENTRY) return {u"\n", std::u16string(text)};
  if (text.empty()) return {};
  // One character, as the user sees it: a surrogate pair stays whole.
  const bool pair = text.size() > 1 && text[0] >= 0xD800 && text[0] <= 0xDBFF &&
                    text[1] >= 0xDC00 && text[1] <= 0xDFFF;
  const std::u16string first(text.substr(0, pair ? 2 : 1));
  return {first, first};
}

std::u16string FormatPreview(const DelimitedFormat& f) {
  const std::u16string& q = f.qualifier;
  const std::u16string& d = f.fieldDelimiter;
  const std::u16string& r = f.recordDelimiter;
  return Format(u"%s04/12/1999%s%s%sbank%s%s (...) %s%s04/13/1999%s%s%sshop%s%s (...) %s", q, q, d,
                q, q, d, r, q, q, d, q, q, d, r);
}

std::u16string_view FormatRefusal(const DelimitedFormat& format) {
  if (format.qualifier.empty() && format.fieldDelimiter.empty()) {
    return u"You have to specify a non-empty field qualifier or a non-empty field delimiter, so "
           u"that PWH fields can be distinguished.";
  }
  if (format.recordDelimiter.empty()) {
    return u"You have to specify a non-empty record delimiter, so that multiple PWH records can "
           u"be distinguished.";
  }
  return {};
}

}  // namespace pw
