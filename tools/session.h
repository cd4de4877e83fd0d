// One command's time with the camera: the class registry's objects, the
// shell's graph builder, and a log window whose lines (the filter's texts
// and the shell's own) go to standard error. The newest text the filter
// reported is kept, so that a command's last line can name the cause.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/win/message_box.h"
#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "shell/app/ComErr.h"
#include "shell/graph/Graph.h"

namespace kelorvo {

class Session {
 public:
  explicit Session(std::string command);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Creates the graph; on failure prints the reason and returns false.
  bool open();
  CGraph& graph() { return graph_; }
  ComPtr<ICamera2> camera();
  plat::MessageQueue& queue() { return *queue_; }
  // Runs the log window's queued messages.
  void pump() { queue_->pump(); }

  // Runs before each log line is written, e.g. to take a progress bar off
  // the terminal's line; empty: nothing.
  void setBeforeLogLine(std::function<void()> hook) { beforeLogLine_ = std::move(hook); }

  // "kelorvo COMMAND: text" on one line.
  void note(const std::string& text) const;
  // The same for the reason the command failed; returns 1.
  int fail(const std::string& reason) const {
    note(reason);
    return 1;
  }

  // The newest text the filter posted to the log or showed in a message
  // box, on one line, after running the queued messages; empty when none
  // came since the last call.
  std::string takeFilterText();
  // `what`, followed by the filter's newest text when there is one.
  std::string withFilterText(const std::string& what);

  // Runs a command's body; a bad argument or a refused call ends it with
  // its reason on one line.
  template <class Body>
  int run(Body&& body) {
    try {
      return body();
    } catch (const std::invalid_argument& e) {
      return fail(e.what());
    } catch (const COMERR::CErrorBase& e) {
      return fail(explain(e));
    }
  }

 private:
  void noteFilterText(std::string text);
  // A refused property call says nothing of its own: the camera's reason,
  // which the filter showed in a box, stands in for it.
  std::string explain(const COMERR::CErrorBase& error);

  std::string command_;
  std::function<void()> beforeLogLine_;
  std::shared_ptr<plat::MessageQueue> queue_;
  std::unique_ptr<plat::WindowRegistration> logWindow_;
  CGraph graph_;
  bool created_ = false;
  std::mutex filterTextMutex_;  // boxes come from any thread
  std::string filterText_;
  plat::MessageBoxHook previousBoxHook_;
};

// A reason on one line: blank lines and lines of asterisks go, the others
// are joined with "; ", carriage returns go.
std::string oneLine(std::string text);

}  // namespace kelorvo
