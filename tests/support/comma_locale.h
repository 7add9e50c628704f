// Switches the C library to a locale that writes numbers with a decimal
// comma (de_DE.UTF-8), as a German user's desktop does, for one scope.
#pragma once

#include <string>

namespace pw::test {

inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

class CommaDecimalLocale {
 public:
  CommaDecimalLocale();   // switches when the locale is installed
  ~CommaDecimalLocale();  // restores the locale found
  CommaDecimalLocale(const CommaDecimalLocale&) = delete;
  CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

  // False when the locale is not installed (tools/install-deps.sh makes it).
  bool active() const { return active_; }

 private:
  std::string previous_;
  bool active_ = false;
};

}  // namespace pw::test
