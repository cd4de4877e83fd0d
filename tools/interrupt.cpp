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
  previous_ = std::signal(SIGINT, onInterrupt);
}

InterruptScope::~InterruptScope() { std::signal(SIGINT, previous_); }

bool interruptRequested() { return interrupted; }

}  // namespace kelorvo
