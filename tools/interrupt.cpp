#include "tools/interrupt.h"

#include <atomic>
#include <csignal>

namespace kelorvo {
namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted = true; }

}  // namespace

InterruptScope::InterruptScope() {
  interrupted = false;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // The first Ctrl+C asks for an orderly end; the handler then gives way to
  // the default, so a second one ends the program at once.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, &previous_);
}

InterruptScope::~InterruptScope() { sigaction(SIGINT, &previous_, nullptr); }

bool interruptRequested() { return interrupted; }

}  // namespace kelorvo
