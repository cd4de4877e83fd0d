#include "tools/recorder.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "shell/app/ComErr.h"
#include "tools/end_event.h"
#include "tools/interrupt.h"
#include "tools/stream_wait.h"

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

// The memory's capacity is known only once the input graph laid it out for
// a film; a count beyond it would be cut without a word.
void requireCapacity(ICamera2& camera, long frames) {
  int capacity = 0;
  COMERR::Check(camera.GetMaxFramesCount(&capacity));
  if (frames > capacity)
    throw std::invalid_argument("--frames " + std::to_string(frames) + " is more than the grabber's memory holds: at most " +
                                std::to_string(capacity) + " frames with this input window");
}

}  // namespace

bool recordFilm(Session& session, long frames, FrameRange& range) {
  CGraph& graph = session.graph();
  ComPtr<IEnumProperty> stopEvent;
  if (!graph.GetEnumProperty(kStopEventOption, stopEvent.put())) return session.fail(graph.GetLastErrorText()), false;
  Check(stopEvent.get(), stopEvent->SetValue(kStopAfterFrames));
  const int asked = static_cast<int>(std::min<long>(frames, std::numeric_limits<int>::max()));
  if (!graph.BuildInputGraph(asked)) return session.fail(session.withFilterText(graph.GetLastErrorText())), false;
  ComPtr<ICamera2> camera = session.camera();
  requireCapacity(*camera, frames);
  EndEvent end;
  if (!end.get()) return session.fail("cannot create the end event"), false;
  camera->SetEndEvent(end.get());
  dropQueuedEvents(graph);
  InterruptScope interrupt;
  if (!graph.Run()) {
    camera->SetEndEvent(nullptr);
    return session.fail(session.withFilterText(graph.GetLastErrorText())), false;
  }
  const StreamOutcome outcome = waitForStream(session, {end.get(), [&] { camera->StopCamera(FALSE); }, {}});
  session.pump();
  graph.filmRecorded = true;
  camera->SetEndEvent(nullptr);
  graph.Stop();
  if (outcome.end != StreamEnd::Signalled) {
    const std::string why = endingReason(session, outcome);
    return session.fail("the recording failed: " + (why.empty() ? "the camera ended it without a reason" : why)), false;
  }
  if (!readRecordedRange(graph, range)) return session.fail(graph.GetLastErrorText()), false;
  return true;
}

bool readRecordedRange(CGraph& graph, FrameRange& range) {
  range = FrameRange{};
  ComPtr<IScalarProperty> partitions;
  if (!graph.GetScalarProperty(kPartitionsOption, 0, partitions.put())) return false;
  LONG parts = 0;
  Check(partitions.get(), partitions->GetValue(&parts, 0));
  // Set up for the live picture, the position's range is the live buffers.
  if (parts != 1) return true;
  ComPtr<IScalarProperty> position;
  if (!graph.GetScalarProperty(kFramePositionOption, 0, position.put())) return false;
  LONG first = 0, last = 0;
  Check(position.get(), position->GetValue(&first, 0));
  Check(position.get(), position->GetMinValue(&first, 0));
  Check(position.get(), position->GetMaxValue(&last, 0));
  range = {first, last};
  return true;
}

}  // namespace kelorvo
