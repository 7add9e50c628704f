#include "support/comma_locale.h"

#include <clocale>
#include <cstdio>

namespace pw::test {

CommaDecimalLocale::CommaDecimalLocale() {
  if (const char* now = std::setlocale(LC_ALL, nullptr)) previous_ = now;
  if (!std::setlocale(LC_ALL, kCommaLocale)) return;
  // A locale that still writes a point would let every test pass unseen.
  char probe[8];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  active_ = probe[1] == ',';
  if (!active_) std::setlocale(LC_ALL, previous_.c_str());
}

CommaDecimalLocale::~CommaDecimalLocale() {
  if (active_) std::setlocale(LC_ALL, previous_.c_str());
}

}  // namespace pw::test
