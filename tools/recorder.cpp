#include "tools/recorder.h"

#include "shell/app/ComErr.h"
#include "tools/end_event.h"
#include "tools/interrupt.h"

using COMERR::Check;

namespace kelorvo {
namespace {

// Stop-event value "by frame counter": the recording ends after the frames
// to record.
constexpr LONG kStopAfterFrames = 37;
constexpr LONG kStopEventOption = 0x400005;
constexpr LONG kFramePositionOption = 0x400020;
// Memory partitions: 1 while it holds a film, more for the live picture.
constexpr LONG kPartitionsOption = 0x400009;

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
  EndEvent end;
  if (!end.get()) return session.fail("cannot create the end event"), false;
  ComPtr<ICamera2> camera = session.camera();
  camera->SetEndEvent(end.get());
  InterruptScope interrupt;
  if (!graph.Run()) return session.fail(graph.GetLastErrorText()), false;
  bool stopAsked = false;
  while (WaitForSingleObject(end.get(), 100) != WAIT_OBJECT_0) {
    session.pump();
    if (interruptRequested() && !stopAsked) {
      stopAsked = true;
      camera->StopCamera(FALSE);
    }
  }
  session.pump();
  graph.filmRecorded = true;
  camera->SetEndEvent(nullptr);
  graph.Stop();
  if (!readRecordedRange(graph, range)) return session.fail(graph.GetLastErrorText()), false;
  return true;
}

bool readRecordedRange(CGraph& graph, FrameRange& range) {
  range = FrameRange{};
  ComPtr<IScalarProperty> partitions;
  if (!graph.GetScalarProperty(kPartitionsOption, 0, partitions.put())) return false;
  LONG parts = 0;
  // Set up for the live picture, the position's range is the live buffers.
  if (FAILED(partitions->GetValue(&parts, 0)) || parts != 1) return true;
  ComPtr<IScalarProperty> position;
  if (!graph.GetScalarProperty(kFramePositionOption, 0, position.put())) return false;
  position->GetMinValue(&range.first, 0);
  position->GetMaxValue(&range.last, 0);
  return true;
}

}  // namespace kelorvo
