// The process-wide log of the shell: one line per reported failure, and the
// texts the capture filter posts to the log window. Lines are
// prefix + timestamp + message + location tail.
#pragma once
#include <cstdarg>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

class LogStore {
 public:
  // Called after every change: the new line, or null after clear. Stands in
  // for invalidating the view; hosts without a view print the lines.
  using Observer = std::function<void(const std::string* line)>;

  static LogStore& instance();

  int infoLevel() const { return 0; }
  int warnLevel() const { return 0; }
  int errorLevel() const { return 0; }

  // Nothing happens unless `enabled`. `location` is the caller's
  // " File: %s; Line: %d " text; only its part from the last backslash on is
  // shown.
  void Write(bool enabled, std::string_view location, std::string_view prefix, const char* format, ...)
      __attribute__((format(printf, 5, 6)));
  void Clear();

  std::vector<std::string> Lines() const;
  void SetLogWindow(HWND window);
  HWND LogWindow() const;
  // Returns the observer it replaces.
  Observer SetObserver(Observer observer);

  // The whole line as Write builds it, at the current local time.
  static std::string FormatLine(std::string_view location, std::string_view prefix, std::string_view message);
  static std::string Timestamp();
  // " File: <unit>; Line: <line> ", as the shell's callers build it.
  static std::string Location(std::string_view unit, int line);

 private:
  LogStore() = default;
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  HWND logWindow_ = nullptr;
  Observer observer_;
};

// The shell's usual entry: prefix "Error: ", format "%s", always enabled.
void LogError(std::string_view unit, int line, std::string_view text);
