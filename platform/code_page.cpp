#include "platform/code_page.h"

#include <cstdint>
#include <cstring>

namespace pw {

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (cp >> 18)));
    out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(char16_t(cp));
  } else {
    cp -= 0x10000;
    out.push_back(char16_t(0xD800 + (cp >> 10)));
    out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
  }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, 0 when invalid.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = b(i);
  std::size_t len;
  char32_t min;
  if (c < 0x80) { cp = c; return 1; }
  if (c >= 0xC2 && c <= 0xDF) { len = 2; cp = c & 0x1F; min = 0x80; }
  else if (c >= 0xE0 && c <= 0xEF) { len = 3; cp = c & 0x0F; min = 0x800; }
  else if (c >= 0xF0 && c <= 0xF4) { len = 4; cp = c & 0x07; min = 0x10000; }
  else return 0;
  if (i + len > text.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

// Windows-1252 bytes 0x80 to 0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string WideToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::u16string Utf8ToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp;
    const std::size_t len = DecodeUtf8(text, i, cp);
    if (len == 0) { out.push_back(0xFFFD); ++i; continue; }
    AppendUtf16(out, cp);
    i += len;
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp;
    const std::size_t len = DecodeUtf8(text, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::u16string Cp1252ToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    out.push_back(c >= 0x80 && c <= 0x9F ? kCp1252High[c - 0x80] : char16_t(c));
  }
  return out;
}

std::u16string FileTextToWide(std::string_view line) {
  std::u16string out;
  FileTextToWide(line, &out);
  return out;
}

void FileTextToWide(std::string_view line, std::u16string* out) {
  // One pass: ASCII as it is, the rest decoded as UTF-8 until a byte is not.
  out->resize(line.size());
  std::size_t n = 0;
  for (std::size_t i = 0; i < line.size();) {
    // Eight ASCII bytes at a time while there are eight.
    for (std::uint64_t word; i + 8 <= line.size(); i += 8, n += 8) {
      std::memcpy(&word, line.data() + i, 8);
      if (word & 0x8080808080808080u) break;
      char16_t* to = out->data() + n;
      for (std::size_t k = 0; k < 8; ++k) to[k] = char16_t(static_cast<unsigned char>(line[i + k]));
    }
    if (i == line.size()) break;
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c < 0x80) {
      (*out)[n++] = char16_t(c);
      ++i;
      continue;
    }
    char32_t cp;
    const std::size_t len = DecodeUtf8(line, i, cp);
    if (len == 0) {
      *out = Cp1252ToWide(line);
      return;
    }
    if (cp >= 0x10000) {  // a surrogate pair takes two of the four bytes' places
      cp -= 0x10000;
      (*out)[n++] = char16_t(0xD800 + (cp >> 10));
      (*out)[n++] = char16_t(0xDC00 + (cp & 0x3FF));
    } else {
      (*out)[n++] = char16_t(cp);
    }
    i += len;
  }
  out->resize(n);
}

}  // namespace pw
