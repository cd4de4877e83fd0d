// Ctrl+C while the camera works: the command asks the camera to stop and
// goes on to its usual end instead of dying with the film half done. A
// second Ctrl+C ends the program at once.
#pragma once
#include <signal.h>

namespace kelorvo {

// Catches the first SIGINT in its lifetime; the previous handling comes
// back after.
class InterruptScope {
 public:
  InterruptScope();
  ~InterruptScope();
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

 private:
  struct sigaction previous_ {};
};

// Whether Ctrl+C came since the last InterruptScope began (it stays known
// after the scope ends).
bool interruptRequested();

}  // namespace kelorvo
