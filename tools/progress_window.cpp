#include "tools/progress_window.h"

#include <future>

#include "platform/win/messages.h"
#include "platform/win/window_table.h"

namespace kelorvo {
namespace {

// How long the window's thread sleeps between looks at its queue when
// nothing comes; a posted task wakes it at once.
constexpr std::chrono::milliseconds kIdle(1000);

int lowWord(LPARAM value) { return static_cast<int>(static_cast<std::uint32_t>(value) & 0xFFFFu); }
int highWord(LPARAM value) { return static_cast<int>((static_cast<std::uint32_t>(value) >> 16) & 0xFFFFu); }

}  // namespace

ProgressWindow::ProgressWindow()
    : queue_(std::make_shared<plat::MessageQueue>()),
      hwnd_(plat::registerWindow(queue_,
                                 [this](const plat::Message& m) { return handle(m.message, m.wParam, m.lParam); })) {
  // Messages that come before the thread takes the queue wait in it.
  thread_ = std::thread([this] {
    queue_->bindToCurrentThread();
    run();
  });
}

ProgressWindow::~ProgressWindow() {
  queue_->post([this] { quit_ = true; });
  thread_.join();
}

void ProgressWindow::run() {
  while (!quit_) queue_->waitAndPump(kIdle);
  // A message sent but not yet run releases its sender when the queue goes.
  plat::unregisterWindow(hwnd_);
}

ProgressState ProgressWindow::settledState() {
  std::promise<void> handled;
  std::future<void> done = handled.get_future();
  queue_->post([&handled] { handled.set_value(); });
  done.wait();
  return state();
}

ProgressState ProgressWindow::state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

LRESULT ProgressWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  std::lock_guard lock(mutex_);
  switch (message) {
    case PBM_SETRANGE:
      state_.low = lowWord(lParam);
      state_.high = highWord(lParam);
      state_.position = state_.low;
      state_.started = true;
      break;
    case PBM_SETSTEP:
      step_ = static_cast<int>(wParam);
      break;
    case PBM_SETPOS:
      state_.position = static_cast<int>(wParam);
      break;
    case PBM_STEPIT:
      // Like a progress bar: past the end it starts over.
      state_.position += step_;
      if (state_.position > state_.high) state_.position = state_.low + (state_.position - state_.high);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace kelorvo
