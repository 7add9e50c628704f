// printf-style rendering of the program's message templates into UTF-16, and
// scanf-style reading of UTF-16 text.
//
// Numbers are always produced by the C library's snprintf and read by its
// sscanf, so rounding and partial scans are exactly the C library's, and
// always with the "C" conventions (decimal point), whatever the locale.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pw {

// One argument of a template. %s takes text; %d %i %u %x %ld %c take integers;
// %f %e %g take floating point (a float is widened to double, as printf does).
class FmtArg {
 public:
  enum class Kind { Int, Double, Text };

  FmtArg(int v) : kind_(Kind::Int), i_(v) {}
  FmtArg(long v) : kind_(Kind::Int), i_(v) {}
  FmtArg(long long v) : kind_(Kind::Int), i_(v) {}
  FmtArg(unsigned v) : kind_(Kind::Int), i_(v) {}
  FmtArg(unsigned long v) : kind_(Kind::Int), i_(static_cast<long long>(v)) {}
  FmtArg(unsigned long long v) : kind_(Kind::Int), i_(static_cast<long long>(v)) {}
  FmtArg(double v) : kind_(Kind::Double), d_(v) {}
  FmtArg(float v) : kind_(Kind::Double), d_(v) {}
  FmtArg(std::u16string_view v) : kind_(Kind::Text), s_(v) {}
  FmtArg(const std::u16string& v) : kind_(Kind::Text), s_(v) {}
  FmtArg(const char16_t* v) : kind_(Kind::Text), s_(v ? std::u16string_view(v) : std::u16string_view()) {}

  Kind kind() const { return kind_; }
  long long asInt() const { return kind_ == Kind::Double ? static_cast<long long>(d_) : i_; }
  double asDouble() const { return kind_ == Kind::Int ? static_cast<double>(i_) : d_; }
  std::u16string_view asText() const { return s_; }

 private:
  Kind kind_;
  long long i_ = 0;
  double d_ = 0;
  std::u16string_view s_;
};

// Renders templ with args. Conversions: flags, width, precision and length
// modifiers as in printf; %% is a percent sign. A conversion whose argument is
// missing or of the other kind renders as if given 0 / empty text; it never
// reads past args.
std::u16string FormatText(std::u16string_view templ, std::initializer_list<FmtArg> args);

template <class... A>
std::u16string Format(std::u16string_view templ, const A&... args) {
  return FormatText(templ, {FmtArg(args)...});
}

// Runs the C library's sscanf with pattern over text (converted to UTF-8) and
// returns its result (EOF, -1, when the text ends before the first conversion).
// %s targets receive UTF-8 bytes: size them from the text's UTF-8 length + 1.
int ScanText(std::u16string_view text, const char* pattern, ...);

// Shorthands for the common forms.
// The numbers users type and the program writes ("85", "120.50", "-3.5"):
// a sign, digits with at most one point, nothing else, and few enough digits
// that the digits and the power of ten are both exact floats, so one float
// division rounds exactly as "%f" does. False for any other text.
bool ScanPlainDecimal(std::u16string_view text, float* value);
// The times and durations the program writes ("1:30", "02:15"): one to nine
// digits, a colon, one to nine digits, nothing else, read as "%d:%d" reads
// them. False for any other text.
bool ScanPlainClock(std::u16string_view text, int* hours, int* minutes);
int ScanFloat(std::u16string_view text, float* value);            // "%f"
// "%d:%d %s" (word null: "%d:%d") without ScanText's conversions; the word
// is the run of non-blank units after the minutes.
int ScanClock(std::u16string_view text, int* hours, int* minutes, std::u16string_view* word);
int ScanTwoInts(std::u16string_view text, const char* pattern, int* a, int* b);
int ScanThreeInts(std::u16string_view text, const char* pattern, int* a, int* b, int* c);

}  // namespace pw
