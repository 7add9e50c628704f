// Runs a test under a chosen C library locale ("C", or a comma-decimal one
// such as German) and restores the previous one afterwards.
#pragma once

#include <clocale>
#include <string>
#include <vector>

namespace pw::test {

class LocaleGuard {
 public:
  explicit LocaleGuard(const std::string& name) : LocaleGuard(name.c_str()) {}
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

// The locales to try a check under: "C", plus the first comma-decimal locale
// the machine has.
inline std::vector<std::string> NumberLocales() {
  std::vector<std::string> out{"C"};
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8@comma"}) {
    if (LocaleGuard(name).ok()) {
      out.emplace_back(name);
      break;
    }
  }
  return out;
}

}  // namespace pw::test
