// Ctrl+C while the camera works: the command asks the camera to stop and
// goes on to its usual end instead of dying with the film half done.
#pragma once

namespace kelorvo {

// Catches SIGINT for its lifetime; the previous handler comes back after.
class InterruptScope {
 public:
  InterruptScope();
  ~InterruptScope();
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

 private:
  void (*previous_)(int);
};

// Whether Ctrl+C came since the last InterruptScope began (it stays known
// after the scope ends).
bool interruptRequested();

}  // namespace kelorvo
