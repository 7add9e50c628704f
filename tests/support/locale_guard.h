// Runs a test under a chosen C library locale ("C", or a comma-decimal one
// such as German) and restores the previous one afterwards.
#pragma once

#include <clocale>
#include <string>

namespace pw::test {

class LocaleGuard {
 public:
  explicit LocaleGuard(const char* name) : saved_(std::setlocale(LC_ALL, nullptr)) {
    ok_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~LocaleGuard() { std::setlocale(LC_ALL, saved_.c_str()); }
  // False when this machine does not have the locale.
  bool ok() const { return ok_; }

 private:
  std::string saved_;
  bool ok_ = false;
};

inline constexpr const char* kTestLocales[] = {"C", "de_DE.UTF-8"};

}  // namespace pw::test
