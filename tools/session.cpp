#include "tools/session.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/com/co_create.h"
#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"
#include "shell/app/LogStore.h"
#include "shell/app/LogView.h"

namespace kelorvo {

namespace {

// The text of a posted global block, read before the log view frees it.
std::string blockText(LPARAM block) {
  const auto memory = reinterpret_cast<HGLOBAL>(block);
  const SIZE_T size = block ? GlobalSize(memory) : 0;
  const char* text = static_cast<const char*>(memory);
  return size ? std::string(text, strnlen(text, size)) : std::string();
}

bool isPropertyError(const COMERR::CErrorBase& e) {
  return dynamic_cast<const COMERR::CError<IScalarProperty*>*>(&e) ||
         dynamic_cast<const COMERR::CError<IEnumProperty*>*>(&e) ||
         dynamic_cast<const COMERR::CError<IRectProperty*>*>(&e);
}

}  // namespace

std::string oneLine(std::string text) {
  std::erase(text, '\r');
  std::string out;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(begin, end - begin);
    const bool blank = line.find_first_not_of(" \t*") == std::string::npos;
    if (!blank) out += (out.empty() ? "" : "; ") + line;
    begin = end + 1;
  }
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
  logWindow_ = std::make_unique<plat::WindowRegistration>(queue_, [this](const plat::Message& m) -> LRESULT {
    if (m.message != WM_LOG_TEXT) return 0;
    noteFilterText(blockText(m.lParam));
    LogView::OnLogText(m.wParam, m.lParam);
    return 0;
  });
  LogStore::instance().SetLogWindow(logWindow_->hwnd());
  previousBoxHook_ = plat::setMessageBoxHook([this](const plat::MessageBoxRequest& box) {
    noteFilterText(box.text);
    return plat::headlessMessageBox(box);
  });
}

Session::~Session() {
  if (created_) graph_.Destroy();
  pump();
  plat::setMessageBoxHook(std::move(previousBoxHook_));
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
    std::string why = graph_.GetLastErrorText();
    // What the filter showed names the cause; the graph's text (a bare
    // error code, often) only follows it.
    if (const std::string shown = takeFilterText(); !shown.empty()) why = why.empty() ? shown : shown + " (" + why + ")";
    // The filter tries no controller when the first three slots are taken
    // (the fourth never opens one), so it has no reason of its own.
    if (why.empty()) why = "every controller is busy with other programs";
    fail("cannot open the camera: " + why);
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

void Session::noteFilterText(std::string text) {
  text = oneLine(std::move(text));
  if (text.empty()) return;
  std::lock_guard lock(filterTextMutex_);
  filterText_ = std::move(text);
}

std::string Session::takeFilterText() {
  pump();
  std::lock_guard lock(filterTextMutex_);
  return std::exchange(filterText_, {});
}

std::string Session::withFilterText(const std::string& what) {
  const std::string text = takeFilterText();
  // The graph may already carry the text the filter showed; say it once.
  if (text.empty() || oneLine(what).find(text) != std::string::npos) return what;
  return what + ": " + text;
}

std::string Session::explain(const COMERR::CErrorBase& error) {
  if (!isPropertyError(error)) return withFilterText(error.text());
  return withFilterText("the camera reported an error");
}

void Session::note(const std::string& text) const {
  if (beforeLogLine_) beforeLogLine_();
  std::fprintf(stderr, "kelorvo %s: %s\n", command_.c_str(), oneLine(text).c_str());
}

}  // namespace kelorvo
