#include "tools/stream_wait.h"

#include "platform/com/hresult_message.h"
#include "platform/kernel/event_handles.h"
#include "tools/interrupt.h"

namespace kelorvo {
namespace {

// How often the main thread looks at the log, the graph's events and
// Ctrl+C while it waits; the end event itself wakes it at once.
constexpr DWORD kTickMs = 100;

ComPtr<IMediaEventEx> mediaEvents(CGraph& graph) {
  ComPtr<IMediaEventEx> events;
  if (!graph.GetMediaEvent(events.putVoid())) return {};
  return events;
}

std::optional<StreamOutcome> takeEnding(IMediaEventEx& events) {
  LONG code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (events.GetEvent(&code, &p1, &p2, 0) == S_OK) {
    events.FreeEventParams(code, p1, p2);
    if (code == EC_COMPLETE) return StreamOutcome{StreamEnd::Completed, S_OK};
    if (code == EC_ERRORABORT || code == EC_USERABORT || code == EC_STREAM_ERROR_STOPPED)
      return StreamOutcome{StreamEnd::Aborted, static_cast<HRESULT>(p1)};
  }
  return std::nullopt;
}

}  // namespace

std::optional<StreamOutcome> takeStreamEnding(CGraph& graph) {
  const ComPtr<IMediaEventEx> events = mediaEvents(graph);
  return events ? takeEnding(*events) : std::nullopt;
}

void dropQueuedEvents(CGraph& graph) {
  const ComPtr<IMediaEventEx> events = mediaEvents(graph);
  LONG code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (events && events->GetEvent(&code, &p1, &p2, 0) == S_OK) events->FreeEventParams(code, p1, p2);
}

StreamOutcome waitForStream(Session& session, const StreamWatch& watch) {
  const ComPtr<IMediaEventEx> events = mediaEvents(session.graph());
  bool stopAsked = false;
  while (WaitForSingleObject(watch.end, kTickMs) != WAIT_OBJECT_0) {
    session.pump();
    if (watch.tick) watch.tick();
    if (interruptRequested() && !stopAsked) {
      stopAsked = true;
      session.note("stopping; Ctrl+C again ends kelorvo at once");
      if (watch.stop) watch.stop();
    }
    if (!events) continue;
    if (std::optional<StreamOutcome> ending = takeEnding(*events)) {
      // The camera signals its event before it ends the stream.
      if (ending->end == StreamEnd::Completed && WaitForSingleObject(watch.end, 0) == WAIT_OBJECT_0)
        return {};
      return *ending;
    }
  }
  return {};
}

std::string endingReason(Session& session, const StreamOutcome& outcome) {
  std::string text = session.takeFilterText();
  if (text.empty() && outcome.end == StreamEnd::Aborted) text = plat::hresultMessage(outcome.code);
  return text;
}

}  // namespace kelorvo
