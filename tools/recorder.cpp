#include "tools/recorder.h"

#include <atomic>
#include <csignal>

#include "platform/kernel/event_handles.h"
#include "shell/app/ComErr.h"

using COMERR::Check;

namespace kelorvo {
namespace {

// Stop-event value "by frame counter": the recording ends after the frames
// to record.
constexpr LONG kStopAfterFrames = 37;
constexpr LONG kStopEventOption = 0x400005;
constexpr LONG kFramePositionOption = 0x400020;

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted = true; }

// Ctrl+C asks for the stop while the recording runs.
class InterruptScope {
 public:
  InterruptScope() : previous_(std::signal(SIGINT, onInterrupt)) { interrupted = false; }
  ~InterruptScope() { std::signal(SIGINT, previous_); }

 private:
  void (*previous_)(int);
};

class EventScope {
 public:
  EventScope() : handle_(CreateEvent(nullptr, FALSE, FALSE, nullptr)) {}
  ~EventScope() {
    if (handle_) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

bool recordFilm(Session& session, long frames, FrameRange& range) {
  CGraph& graph = session.graph();
  ComPtr<IEnumProperty> stopEvent;
  if (!graph.GetEnumProperty(kStopEventOption, stopEvent.put())) return session.fail(graph.GetLastErrorText()), false;
  try {
    Check(stopEvent.get(), stopEvent->SetValue(kStopAfterFrames));
  } catch (const COMERR::CErrorBase& e) {
    return session.fail(e.text()), false;
  }
  if (!graph.BuildInputGraph(static_cast<int>(frames))) return session.fail(graph.GetLastErrorText()), false;
  ComPtr<IScalarProperty> position;
  if (!graph.GetScalarProperty(kFramePositionOption, 0, position.put()))
    return session.fail(graph.GetLastErrorText()), false;
  EventScope end;
  if (!end.get()) return session.fail("cannot create the end event"), false;
  ComPtr<ICamera2> camera = session.camera();
  camera->SetEndEvent(end.get());
  InterruptScope interrupt;
  if (!graph.Run()) return session.fail(graph.GetLastErrorText()), false;
  bool stopAsked = false;
  while (WaitForSingleObject(end.get(), 100) != WAIT_OBJECT_0) {
    session.pump();
    if (interrupted && !stopAsked) {
      stopAsked = true;
      camera->StopCamera(FALSE);
    }
  }
  session.pump();
  graph.filmRecorded = true;
  camera->SetEndEvent(nullptr);
  position->GetMinValue(&range.first, 0);
  position->GetMaxValue(&range.last, 0);
  graph.Stop();
  return true;
}

}  // namespace kelorvo
