#include "platform/host_port.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/code_page.h"

namespace pw {

namespace {

// Used when no GUI runs: messages go to standard error, questions get No.
class ConsoleHost final : public HostPort {
 public:
  int MessageBox(HWND, std::u16string_view text, std::u16string_view title, unsigned type) override {
    std::fprintf(stderr, "[%s] %s\n", WideToUtf8(title).c_str(), WideToUtf8(text).c_str());
    const unsigned buttons = type & MB_BUTTONMASK;
    return buttons == MB_YESNO ? IDNO : buttons == MB_YESNOCANCEL ? IDCANCEL : IDOK;
  }
  void SetStatusText(int, std::u16string_view) override {}
  int SelectedDateTab() override { return tab_; }
  void SelectDateTab(int index) override { tab_ = index; }
  void CheckMenuItem(unsigned, bool) override {}
  void EnableMenuItem(unsigned, bool) override {}

 private:
  int tab_ = 0;
};

ConsoleHost consoleHost;
HostPort* installed = nullptr;

}  // namespace

HostPort& Host() { return installed ? *installed : consoleHost; }

void SetHost(HostPort* host) { installed = host; }

void SetStatusText(int part, std::u16string_view text) { Host().SetStatusText(part, text); }

void ShowRecordCount(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", n);
  SetStatusText(PWH_STATUS_COUNT, std::u16string(text, text + std::strlen(text)));
}

int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view title, unsigned type) {
  return Host().MessageBox(owner, text, title, type);
}

}  // namespace pw
