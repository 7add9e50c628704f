// How long the user has left the keyboard and the pointer alone, as the
// desktop tells it. The GUI provides the desktop's source where there is one;
// tests provide their own.
#pragma once

#include <string>

namespace pw {

class IdleSource {
 public:
  virtual ~IdleSource() = default;
  // Milliseconds since the user's last input; negative when unknown.
  virtual long long IdleMilliseconds() = 0;
  // Why the desktop cannot tell; empty when it can.
  virtual std::u16string Unavailable() const = 0;
};

}  // namespace pw
