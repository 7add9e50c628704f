// The C library locales a check runs under: "C", and a locale that writes numbers
// with a decimal comma, as a German user's desktop does.
#pragma once

#include <clocale>
#include <string>
#include <vector>

namespace pw::test {

// The C library locales to try a check under: "C", plus the first comma
// locale the machine has.
inline std::vector<std::string> NumberLocales() {
  std::vector<std::string> out{"C"};
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8@comma"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      out.emplace_back(name);
      break;
    }
  }
  std::setlocale(LC_ALL, previous.c_str());
  return out;
}

// Holds a C library locale while it lives.
class ScopedLocale {
 public:
  explicit ScopedLocale(const std::string& name) : previous_(std::setlocale(LC_ALL, nullptr)) {
    std::setlocale(LC_ALL, name.c_str());
  }
  ~ScopedLocale() { std::setlocale(LC_ALL, previous_.c_str()); }

 private:
  std::string previous_;
};

}  // namespace pw::test
