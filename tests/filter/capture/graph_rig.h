// The capture filter in a filter graph with a windowless video renderer,
// built as the shell builds its per-mode graphs: camera "Camera" first, the
// mode set before any connection, then "Renderer", then camera pin "1" to
// the renderer's input. Everything is created through the class registry;
// the module is loaded, never linked.
//
// The renderer's clipping window and the camera's notify window are test
// windows on the test thread's queue: frames are waited for through the
// renderer's repaint requests and texts are collected from WM_LOG_TEXT.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/graph/graph_interfaces.h"
#include "platform/graph/renderer_frames.h"
#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "tests/filter/capture/camera_host.h"

namespace kel::test {

using EnvVar = std::pair<std::string, std::string>;
// Wide enough for the frame-number strip, small enough to be quick.
inline const EnvVar kSmallSensor{"KELLIB3_SIZE", "160x40"};
inline const EnvVar kFastClock{"KELLIB3_TIME_SCALE", "1000"};

class GraphRig {
 public:
  explicit GraphRig(std::vector<EnvVar> vars = {kSmallSensor, kFastClock});
  // A second rig in the first one's host: its camera is a second filter of
  // the same process, on the next free controller.
  explicit GraphRig(GraphRig& first);
  ~GraphRig();
  GraphRig(const GraphRig&) = delete;
  GraphRig& operator=(const GraphRig&) = delete;

  ICamera2* camera() const { return camera_.get(); }
  IBaseFilter* cameraFilter() const { return filter_.get(); }
  IBaseFilter* renderer() const { return renderer_.get(); }
  IMediaControl* control() const { return control_.get(); }
  // The camera's pin "1".
  ComPtr<IPin> output() const;

  // Stops, removes every filter and builds the graph of `mode`; the result
  // of the connection.
  HRESULT build(const GUID& mode);
  // As the shell runs a graph: RunCamera, then Run.
  HRESULT run();
  // As the shell stops one: SetStopped, StopCamera(TRUE), Stop; true when
  // the graph reached State_Stopped. Frames delivered up to then no longer
  // count as new for nextFrame.
  bool stop();

  // As the recorder does: the input graph for `frames` frames (started by
  // command, stopped after the count), the end event handed over, run, and
  // the end event waited for. True when the event came and the stream
  // ended; the graph is left stopped.
  bool recordFilm(int frames);

  // The next graph event's code; 0 when none came within a long bound.
  LONG nextEvent();
  // A frame newer than the last one returned; false when none came within
  // a long bound.
  bool nextFrame(plat::VideoFrame& frame);
  // Texts posted to the notify window so far (their blocks freed).
  const std::vector<std::string>& texts();

 private:
  explicit GraphRig(std::shared_ptr<CaptureHost> host);

  std::shared_ptr<CaptureHost> host_;
  std::shared_ptr<plat::MessageQueue> queue_ = std::make_shared<plat::MessageQueue>();
  bool repaintAsked_ = false;
  std::vector<std::string> texts_;
  plat::WindowRegistration window_;
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IMediaControl> control_;
  ComPtr<IMediaEventEx> events_;
  ComPtr<IBaseFilter> filter_;
  ComPtr<ICamera2> camera_;
  ComPtr<IBaseFilter> renderer_;
  std::uint64_t lastFrame_ = 0;
};

// The picture's rows top row first, packed (width x bytes per pixel each),
// whatever order the renderer holds them in.
std::vector<std::uint8_t> uprightRows(const plat::VideoFrame& frame);

// The frame number in the strip along the top of the picture as the viewer
// sees it.
std::optional<std::uint32_t> stripAtTop(const plat::VideoFrame& frame);

// Pixels of a 32-bit frame whose fourth byte is not 255, which players
// that read it as alpha show as (partly) transparent; 0 for 24 bits.
std::size_t transparentPixels(const plat::VideoFrame& frame);

// The same picture turned by 180 degrees (pixels in reverse order).
plat::VideoFrame turned(const plat::VideoFrame& frame);

}  // namespace kel::test
