// Runs a test under a chosen C library locale ("C", or a comma-decimal one
// such as German) and restores the previous one afterwards. A locale the
// machine lacks fails the test: a check skipped there would prove nothing.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace pw::test {

class LocaleGuard {
 public:
  explicit LocaleGuard(const char* name) : saved_(std::setlocale(LC_ALL, nullptr)) {
    if (!std::setlocale(LC_ALL, name)) ADD_FAILURE() << name << " is not installed (tools/install-deps.sh makes it)";
  }
  ~LocaleGuard() { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

// The locales every number check runs under: the C library's own and a
// German desktop's (decimal comma; tools/install-deps.sh makes it).
inline constexpr const char* kTestLocales[] = {"C", "de_DE.UTF-8"};

}  // namespace pw::test
