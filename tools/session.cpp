#include "tools/session.h"

#include <cstdio>

#include "platform/com/co_create.h"
#include "platform/win/messages.h"
#include "shell/app/LogStore.h"
#include "shell/app/LogView.h"

namespace kelorvo {

std::string oneLine(std::string text) {
  std::erase(text, '\r');
  while (!text.empty() && text.back() == '\n') text.pop_back();
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("; ") : std::string(1, c);
  return out;
}

Session::Session(std::string command)
    : command_(std::move(command)), queue_(std::make_shared<plat::MessageQueue>()) {
  CoInitialize(nullptr);
  LogStore::instance().SetObserver([this](const std::string* line) {
    if (!line) return;
    if (beforeLogLine_) beforeLogLine_();
    std::fprintf(stderr, "%s\n", oneLine(*line).c_str());
  });
  logWindow_ = std::make_unique<plat::WindowRegistration>(queue_, [](const plat::Message& m) -> LRESULT {
    if (m.message == WM_LOG_TEXT) LogView::OnLogText(m.wParam, m.lParam);
    return 0;
  });
  LogStore::instance().SetLogWindow(logWindow_->hwnd());
}

Session::~Session() {
  if (created_) graph_.Destroy();
  pump();
  // Lines written from here on no longer reach this session's hook.
  LogStore::instance().SetObserver([](const std::string* line) {
    if (line) std::fprintf(stderr, "%s\n", oneLine(*line).c_str());
  });
  LogStore::instance().SetLogWindow(nullptr);
  logWindow_.reset();
  CoFreeUnusedLibraries();
  CoUninitialize();
}

bool Session::open() {
  if (!graph_.Create()) {
    fail("cannot open the camera: " + graph_.GetLastErrorText());
    return false;
  }
  created_ = true;
  graph_.SetLogWindow(logWindow_->hwnd());
  return true;
}

ComPtr<ICamera2> Session::camera() {
  ComPtr<ICamera2> camera;
  graph_.GetCamera2(camera.put());
  return camera;
}

int Session::fail(const std::string& reason) const {
  if (beforeLogLine_) beforeLogLine_();
  std::fprintf(stderr, "kelorvo %s: %s\n", command_.c_str(), oneLine(reason).c_str());
  return 1;
}

}  // namespace kelorvo
