#include "text/format.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "text/decimal_text.h"

namespace pw {

namespace {

bool IsFlag(char16_t c) { return c == u'-' || c == u'+' || c == u' ' || c == u'#' || c == u'0'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLength(char16_t c) { return c == u'h' || c == u'l' || c == u'L' || c == u'q' || c == u'j' || c == u'z' || c == u't'; }

// Pads text to width code units (right-aligned, or left with '-').
void AppendPadded(std::u16string& out, std::u16string_view text, const std::string& conversion) {
  bool left = false;
  std::size_t i = 1, width = 0;
  while (i < conversion.size() && IsFlag(conversion[i])) left |= conversion[i++] == '-';
  while (i < conversion.size() && IsDigit(conversion[i])) width = width * 10 + std::size_t(conversion[i++] - '0');
  if (i < conversion.size() && conversion[i] == '.') {
    std::size_t precision = 0;
    ++i;
    while (i < conversion.size() && IsDigit(conversion[i])) precision = precision * 10 + std::size_t(conversion[i++] - '0');
    if (precision < text.size()) text = text.substr(0, precision);
  }
  const std::size_t pad = width > text.size() ? width - text.size() : 0;
  if (!left) out.append(pad, u' ');
  out.append(text);
  if (left) out.append(pad, u' ');
}

// Numbers are written and read with the "C" conventions (decimal point, no
// grouping) whatever locale the process runs under: a German user's amounts
// and files are the same as everybody's.
class CNumbers {
 public:
  CNumbers() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    previous_ = c ? uselocale(c) : locale_t(0);
  }
  ~CNumbers() {
    if (previous_) uselocale(previous_);
  }
  CNumbers(const CNumbers&) = delete;
  CNumbers& operator=(const CNumbers&) = delete;

 private:
  locale_t previous_;
};

std::string Printf(const std::string& conversion, auto value) {
  CNumbers numbers;
  char small[128];
  const int n = std::snprintf(small, sizeof small, conversion.c_str(), value);
  if (n < 0) return {};
  if (std::size_t(n) < sizeof small) return std::string(small, std::size_t(n));
  std::string big(std::size_t(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), conversion.c_str(), value);
  big.resize(std::size_t(n));
  return big;
}

}  // namespace

std::u16string FormatText(std::u16string_view templ, std::initializer_list<FmtArg> args) {
  std::u16string out;
  out.reserve(templ.size() + 16);
  const FmtArg* next = args.begin();
  const FmtArg* end = args.end();
  for (std::size_t i = 0; i < templ.size();) {
    const char16_t c = templ[i];
    if (c != u'%') { out.push_back(c); ++i; continue; }
    if (i + 1 < templ.size() && templ[i + 1] == u'%') { out.push_back(u'%'); i += 2; continue; }
    // Collect the conversion: flags, width, precision, length, letter.
    std::size_t j = i + 1;
    while (j < templ.size() && IsFlag(templ[j])) ++j;
    while (j < templ.size() && IsDigit(templ[j])) ++j;
    if (j < templ.size() && templ[j] == u'.') { ++j; while (j < templ.size() && IsDigit(templ[j])) ++j; }
    while (j < templ.size() && IsLength(templ[j])) ++j;
    if (j >= templ.size()) { out.append(templ.substr(i)); break; }
    const char16_t conv = templ[j];
    // The conversion without length modifiers; the value's C type is chosen below.
    std::string conversion;
    for (std::size_t k = i; k < j; ++k)
      if (!IsLength(templ[k])) conversion.push_back(char(templ[k]));
    const FmtArg* arg = next != end ? next++ : nullptr;
    switch (conv) {
      case u'd': case u'i': case u'u': case u'x': case u'X': case u'o': {
        conversion += "ll";
        conversion.push_back(char(conv));
        const long long v = arg && arg->kind() != FmtArg::Kind::Text ? arg->asInt() : 0;
        const std::string s = Printf(conversion, v);
        out.append(s.begin(), s.end());
        break;
      }
      case u'c': {
        const long long v = arg && arg->kind() != FmtArg::Kind::Text ? arg->asInt() : 0;
        AppendPadded(out, std::u16string(1, char16_t(v)), conversion);
        break;
      }
      case u'f': case u'F': case u'e': case u'E': case u'g': case u'G': {
        conversion.push_back(char(conv));
        const double v = arg && arg->kind() != FmtArg::Kind::Text ? arg->asDouble() : 0.0;
        const std::string s = Printf(conversion, v);
        out.append(s.begin(), s.end());
        break;
      }
      case u's': case u'S': {
        AppendPadded(out, arg && arg->kind() == FmtArg::Kind::Text ? arg->asText() : std::u16string_view(), conversion);
        break;
      }
      default:
        // Not a conversion we know: keep the text as written.
        out.append(templ.substr(i, j - i + 1));
        if (arg) --next;
        break;
    }
    i = j + 1;
  }
  return out;
}

int ScanText(std::u16string_view text, const char* pattern, ...) {
  const std::string narrow = WideToUtf8(text);
  CNumbers numbers;
  va_list ap;
  va_start(ap, pattern);
  const int n = std::vsscanf(narrow.c_str(), pattern, ap);
  va_end(ap);
  return n;
}

namespace {


}  // namespace

bool ScanPlainDecimal(std::u16string_view text, float* value) {
  static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) ++i;
  std::uint32_t digits = 0;  // every digit, as one integer
  int count = 0, fraction = -1;  // fraction: digits after the point, -1 before it
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      digits = digits * 10 + std::uint32_t(c - u'0');
      if (++count > 8 || digits > (1u << 24)) return false;
      if (fraction >= 0) ++fraction;
    } else if (c == u'.' && fraction < 0) {
      fraction = 0;
    } else {
      return false;
    }
  }
  if (count == 0 || fraction > 10) return false;
  float v = float(digits);
  if (fraction > 0) v /= kPowers[fraction];
  *value = negative ? -v : v;
  return true;
}

// "%f" as strtof reads it under the "C" locale, without the conversions and
// locale switch of ScanText: import and the report read every number.
int ScanFloat(std::u16string_view text, float* value) {
  if (ScanPlainDecimal(text, value)) return 1;
  static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
  if (!c) return ScanText(text, "%f", value);
  char small[64];
  std::string big;
  char* narrow = small;
  if (text.size() >= sizeof small) {
    big.resize(text.size() + 1);
    narrow = big.data();
  }
  // Only ASCII can be part of a number; anything else stops it as it would.
  bool blank = true;
  std::size_t n = 0;
  for (; n < text.size() && text[n] != 0; ++n) {  // a NUL ends the text, as in C
    narrow[n] = text[n] < 0x80 ? char(text[n]) : '\x01';
    blank = blank && std::isspace(static_cast<unsigned char>(narrow[n]));
  }
  narrow[n] = '\0';
  if (blank) return EOF;  // nothing but blanks: input ends before the number
  char* end = nullptr;
  const float v = strtof_l(narrow, &end, c);
  if (end == narrow) return 0;
  *value = v;
  return 1;
}

void AppendDecimal(std::u16string& out, long long value, int width) {
  char16_t digits[24];
  int n = 0;
  unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  do {
    digits[n++] = char16_t(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) out += u'-';
  for (int pad = width - n - (value < 0 ? 1 : 0); pad > 0; --pad) out += u'0';
  while (n > 0) out += digits[--n];
}

namespace {

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// One "%d" from text[i]; false when no digit follows the blanks and sign.
bool ScanInt(std::u16string_view text, std::size_t& i, int* value) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long n = 0;
  const std::size_t first = i;
  for (; i < text.size() && IsDigit(text[i]); ++i) n = std::min(n * 10 + (text[i] - u'0'), 0x7FFFFFFFLL);
  if (i == first) return false;
  *value = int(negative ? -n : n);
  return true;
}

}  // namespace

int ScanClock(std::u16string_view text, int* hours, int* minutes, std::u16string_view* word) {
  text = text.substr(0, text.find(u'\0'));  // a NUL ends the text, as in C
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i == text.size()) return EOF;
  if (!ScanInt(text, i, hours)) return 0;
  if (i >= text.size() || text[i++] != u':' || !ScanInt(text, i, minutes)) return 1;
  if (!word) return 2;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const std::size_t start = i;
  while (i < text.size() && !IsBlank(text[i])) ++i;
  if (i == start) return 2;
  *word = text.substr(start, i - start);
  return 3;
}

bool ScanPlainClock(std::u16string_view text, int* hours, int* minutes) {
  const auto digits = [&text](std::size_t& i, int* value) {
    const std::size_t first = i;
    int n = 0;
    for (; i < text.size() && i - first < 10 && text[i] >= u'0' && text[i] <= u'9'; ++i) n = n * 10 + (text[i] - u'0');
    if (i == first || i - first > 9) return false;
    *value = n;
    return true;
  };
  std::size_t i = 0;
  int h = 0, m = 0;
  if (!digits(i, &h) || i >= text.size() || text[i++] != u':' || !digits(i, &m) || i != text.size()) return false;
  *hours = h, *minutes = m;
  return true;
}

int ScanTwoInts(std::u16string_view text, const char* pattern, int* a, int* b) {
  if (std::strcmp(pattern, "%d:%d") == 0 && ScanPlainClock(text, a, b)) return 2;
  return ScanText(text, pattern, a, b);
}

int ScanThreeInts(std::u16string_view text, const char* pattern, int* a, int* b, int* c) {
  return ScanText(text, pattern, a, b, c);
}

}  // namespace pw
