// A host for benchmarks of store commands: it shows nothing, answers every
// question with one answer, and counts the progress steps reported.
#pragma once

#include <string_view>

#include "platform/host_port.h"

namespace pw::bench {

class CountingHost : public HostPort {
 public:
  explicit CountingHost(int answer) : answer_(answer) {}
  int MessageBox(HWND, std::u16string_view, std::u16string_view, unsigned) override { return answer_; }
  void SetStatusText(int, std::u16string_view) override {}
  int SelectedDateTab() override { return 0; }
  void SelectDateTab(int) override {}
  void CheckMenuItem(unsigned, bool) override {}
  void EnableMenuItem(unsigned, bool) override {}
  void StepProgress(long) override { ++steps; }
  long steps = 0;

 private:
  int answer_;
};

}  // namespace pw::bench
