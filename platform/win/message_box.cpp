#include "platform/win/message_box.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace plat {
namespace {

std::mutex g_hookMutex;
MessageBoxHook g_hook;
thread_local ShownBoxes* t_watch = nullptr;

int defaultAnswer(UINT flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return IDOK;
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
      return IDNO;
    case MB_RETRYCANCEL:
      return IDCANCEL;
    default:
      return IDOK;
  }
}

}  // namespace

MessageBoxHook setMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard lock(g_hookMutex);
  return std::exchange(g_hook, std::move(hook));
}

int MessageBox(std::string_view text, std::string_view caption, UINT flags) {
  MessageBoxHook hook;
  {
    // The hook runs outside the lock: a box may stay open for a long time
    // while other threads show their own.
    std::lock_guard lock(g_hookMutex);
    hook = g_hook;
  }
  MessageBoxRequest request{std::string(text), std::string(caption), flags};
  for (ShownBoxes* watch = t_watch; watch; watch = watch->outer_) watch->texts_.push_back(request.text);
  return hook ? hook(request) : headlessMessageBox(request);
}

ShownBoxes::ShownBoxes() : outer_(std::exchange(t_watch, this)) {}

ShownBoxes::~ShownBoxes() { t_watch = outer_; }

int headlessMessageBox(const MessageBoxRequest& request) {
  // One write per box, so lines of boxes from several threads do not mix.
  std::string line = request.caption + ": " + request.text + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  return defaultAnswer(request.flags);
}

}  // namespace plat
