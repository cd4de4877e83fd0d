// One command's time with the camera: the class registry's objects, the
// shell's graph builder, and a log window whose lines (the filter's texts
// and the shell's own) go to standard error.
#pragma once
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

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

  // "kelorvo COMMAND: reason" on one line; returns 1.
  int fail(const std::string& reason) const;

  // Runs a command's body; a bad argument or a refused call ends it with
  // its reason on one line.
  template <class Body>
  int run(Body&& body) {
    try {
      return body();
    } catch (const std::invalid_argument& e) {
      return fail(e.what());
    } catch (const COMERR::CErrorBase& e) {
      return fail(e.text());
    }
  }

 private:
  std::string command_;
  std::function<void()> beforeLogLine_;
  std::shared_ptr<plat::MessageQueue> queue_;
  std::unique_ptr<plat::WindowRegistration> logWindow_;
  CGraph graph_;
  bool created_ = false;
};

// A reason on one line: line ends become "; ", carriage returns go.
std::string oneLine(std::string text);

}  // namespace kelorvo
