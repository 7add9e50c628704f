// A host for tests: records every message box and status text, and answers
// questions and Skip All boxes from a queue (No or OK when it is empty).
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/host_port.h"

namespace pw::test {

struct RecordedMessage {
  HWND owner;
  std::u16string text;
  std::u16string title;
  unsigned type;
};

class ScriptedHost : public HostPort {
 public:
  ScriptedHost();            // installs itself
  ~ScriptedHost() override;  // restores the console host

  int MessageBox(HWND owner, std::u16string_view text, std::u16string_view title,
                 unsigned type) override;
  void SetStatusText(int part, std::u16string_view text) override;
  int SelectedDateTab() override { return forward ? forward->SelectedDateTab() : selectedTab; }
  void SelectDateTab(int index) override {
    selectedTab = index;
    if (forward) forward->SelectDateTab(index);
  }
  void CheckMenuItem(unsigned id, bool checked) override {
    menuChecked[id] = checked;
    if (forward) forward->CheckMenuItem(id, checked);
  }
  void EnableMenuItem(unsigned id, bool enabled) override {
    menuEnabled[id] = enabled;
    if (forward) forward->EnableMenuItem(id, enabled);
  }

  // Progress: "begin <text> <total>", then each step's count, then "end".
  void BeginProgress(std::u16string_view text, long total) override {
    progress.push_back(u"begin " + std::u16string(text) + u" " + Number(total));
  }
  void StepProgress(long done) override { progress.push_back(Number(done)); }
  void EndProgress() override { progress.push_back(u"end"); }

  // Queues the answer of the next question (IDYES / IDNO ...).
  void Answer(int reply) { answers.push_back(reply); }

  // The status texts of one part, oldest first, and the latest.
  const std::vector<std::u16string>& statusHistory(int part) { return status[part]; }
  std::u16string statusText(int part) {
    auto& h = status[part];
    return h.empty() ? std::u16string() : h.back();
  }

  static std::u16string Number(long n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  }

  std::vector<RecordedMessage> messages;
  std::vector<std::u16string> progress;
  std::deque<int> answers;
  std::map<int, std::vector<std::u16string>> status;
  std::map<unsigned, bool> menuChecked;
  std::map<unsigned, bool> menuEnabled;
  int selectedTab = 0;
  // A real host (the main window's) that also gets the status texts, tabs
  // and menu states; messages are never shown.
  HostPort* forward = nullptr;
};

}  // namespace pw::test
