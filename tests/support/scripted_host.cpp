#include "support/scripted_host.h"

namespace pw::test {

ScriptedHost::ScriptedHost() { SetHost(this); }
ScriptedHost::~ScriptedHost() { SetHost(nullptr); }

int ScriptedHost::MessageBox(HWND owner, std::u16string_view text, std::u16string_view title,
                             unsigned type) {
  messages.push_back({owner, std::u16string(text), std::u16string(title), type});
  const unsigned buttons = type & MB_BUTTONMASK;
  if (buttons != MB_YESNO && buttons != MB_YESNOALL) return IDOK;
  if (answers.empty()) return IDNO;
  const int reply = answers.front();
  answers.pop_front();
  return reply;
}

void ScriptedHost::SetStatusText(int part, std::u16string_view text) {
  status[part].emplace_back(text);
  if (forward) forward->SetStatusText(part, text);
}

}  // namespace pw::test
