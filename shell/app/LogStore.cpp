#include "shell/app/LogStore.h"

#include <cstdio>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>

#include "platform/win/messages.h"
#include "platform/win/window_table.h"

LogStore& LogStore::instance() {
  static LogStore store;
  return store;
}

std::string LogStore::Timestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || !localtime_r(&now, &local)) return {};
  // Month names in English whatever locale the process runs in.
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << std::put_time(&local, "%d %b %y %H:%M:%S - ");
  std::string text = out.str();
  return text.size() < 128 ? text : std::string();
}

std::string LogStore::Location(std::string_view unit, int line) {
  return " File: " + std::string(unit) + "; Line: " + std::to_string(line) + " ";
}

std::string LogStore::FormatLine(std::string_view location, std::string_view prefix, std::string_view message) {
  const std::size_t slash = location.rfind('\\');
  const std::string_view tail = slash == std::string_view::npos ? location : location.substr(slash);
  std::string line(prefix);
  line += Timestamp();
  line += message;
  line += tail;
  return line;
}

void LogStore::Write(bool enabled, std::string_view location, std::string_view prefix, const char* format, ...) {
  if (!enabled) return;
  std::va_list args;
  va_start(args, format);
  std::va_list copy;
  va_copy(copy, args);
  const int size = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string message(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) std::vsnprintf(message.data(), message.size() + 1, format, args);
  va_end(args);

  std::string line = FormatLine(location, prefix, message);
  Observer observer;
  HWND window = nullptr;
  {
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
    observer = observer_;
    window = logWindow_;
  }
  if (plat::isWindow(window)) {
    // Keep the newest line in view.
    plat::postMessage(window, WM_VSCROLL, SB_BOTTOM, 0);
    plat::postMessage(window, WM_VSCROLL, SB_LINEDOWN, 0);
  }
  if (observer) observer(&line);
}

void LogStore::Clear() {
  Observer observer;
  {
    std::lock_guard lock(mutex_);
    lines_.clear();
    observer = observer_;
  }
  if (observer) observer(nullptr);
}

std::vector<std::string> LogStore::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

void LogStore::SetLogWindow(HWND window) {
  std::lock_guard lock(mutex_);
  logWindow_ = window;
}

HWND LogStore::LogWindow() const {
  std::lock_guard lock(mutex_);
  return logWindow_;
}

LogStore::Observer LogStore::SetObserver(Observer observer) {
  std::lock_guard lock(mutex_);
  std::swap(observer_, observer);
  return observer;
}

void LogError(std::string_view unit, int line, std::string_view text) {
  LogStore& log = LogStore::instance();
  log.Write(log.errorLevel() >= 0, LogStore::Location(unit, line), "Error: ", "%.*s", static_cast<int>(text.size()),
            text.data());
}
