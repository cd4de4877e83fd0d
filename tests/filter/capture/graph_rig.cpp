#include "tests/filter/capture/graph_rig.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "kellib3/frame/frame_strip.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/graph/graph_topology.h"
#include "platform/graph/vmr_interfaces.h"
#include "platform/kernel/event_handles.h"
#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"
#include "shared/identifiers.h"
#include "shared/property_interfaces.h"

namespace kel::test {
namespace {

// Bounds on waits for something the graph does by itself; reaching one is
// a failure, never a way of timing.
constexpr DWORD kEventBoundMs = 60000;
constexpr auto kFrameBound = std::chrono::seconds(60);

}  // namespace

GraphRig::GraphRig(std::vector<EnvVar> vars) : GraphRig(std::make_shared<CaptureHost>(std::move(vars))) {}

GraphRig::GraphRig(GraphRig& first) : GraphRig(first.host_) {}

GraphRig::GraphRig(std::shared_ptr<CaptureHost> host)
    : host_(std::move(host)),
      window_(queue_, [this](const plat::Message& m) -> LRESULT {
        if (m.message == plat::kRendererRepaintMessage) repaintAsked_ = true;
        if (m.message == WM_LOG_TEXT) {
          auto block = reinterpret_cast<HGLOBAL>(m.lParam);
          texts_.emplace_back(static_cast<const char*>(block));
          GlobalFree(block);
        }
        return 0;
      }) {
  EXPECT_EQ(plat::registerStandardClasses(false), S_OK);
  EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, graph_.putVoid()), S_OK)
      << plat::lastCoCreateError();
  if (!graph_) return;
  EXPECT_EQ(graph_.as(IID_IMediaControl, control_), S_OK);
  EXPECT_EQ(graph_.as(IID_IMediaEventEx, events_), S_OK);
  EXPECT_EQ(CoCreateInstance(CLSID_KelOrvoSource, nullptr, CLSCTX_ALL, IID_IBaseFilter, filter_.putVoid()), S_OK)
      << plat::lastCoCreateError();
  if (!filter_) return;
  EXPECT_EQ(filter_.as(IID_ICamera2, camera_), S_OK);
  EXPECT_EQ(camera_->IsOpened(), 1);
  camera_->SetNotifyWindow(window_.hwnd());
  EXPECT_EQ(CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_ALL, IID_IBaseFilter, renderer_.putVoid()),
            S_OK);
  ComPtr<IVMRFilterConfig> config;
  EXPECT_EQ(renderer_.as(IID_IVMRFilterConfig, config), S_OK);
  EXPECT_EQ(config->SetRenderingMode(VMRMode_Windowless), S_OK);
  ComPtr<IVMRWindowlessControl> windowless;
  EXPECT_EQ(renderer_.as(IID_IVMRWindowlessControl, windowless), S_OK);
  EXPECT_EQ(windowless->SetVideoClippingWindow(window_.hwnd()), S_OK);
}

GraphRig::~GraphRig() {
  if (graph_) {
    stop();
    for (const auto& f : {filter_, renderer_})
      if (f) graph_->RemoveFilter(f.get());
  }
  // Texts still queued go to the window before it is gone.
  queue_->pump();
}

ComPtr<IPin> GraphRig::output() const {
  ComPtr<IPin> pin;
  if (filter_) filter_->FindPin(u"1", pin.put());
  return pin;
}

HRESULT GraphRig::build(const GUID& mode) {
  if (!stop()) return E_FAIL;
  graph_->RemoveFilter(filter_.get());
  graph_->RemoveFilter(renderer_.get());
  HRESULT hr = graph_->AddFilter(filter_.get(), u"Camera");
  if (FAILED(hr)) return hr;
  camera_->SetMode(&mode);
  hr = graph_->AddFilter(renderer_.get(), u"Renderer");
  if (FAILED(hr)) return hr;
  const auto rendererPins = plat::pinsOf(renderer_.get());
  if (rendererPins.empty()) return E_FAIL;
  return graph_->Connect(output().get(), rendererPins.front().get());
}

HRESULT GraphRig::run() {
  camera_->RunCamera();
  return control_->Run();
}

bool GraphRig::stop() {
  camera_->SetStopped();
  camera_->StopCamera(TRUE);
  if (FAILED(control_->Stop())) return false;
  OAFilterState state = State_Running;
  if (control_->GetState(INFINITE, &state) != S_OK || state != State_Stopped) return false;
  // Frames delivered before the stop are old news for the next run.
  plat::VideoFrame frame;
  if (plat::readNewestFrame(renderer_.get(), frame)) lastFrame_ = frame.counter;
  return true;
}

bool GraphRig::recordFilm(int frames) {
  constexpr LONG kStartEvent = 0x400004, kStopEvent = 0x400005;
  constexpr LONG kStartByCommand = 4, kStopAfterCount = 37;
  camera_->SetFramesToInput(frames);
  if (build(MODE_Input) != S_OK) return false;
  for (const auto& [option, value] : {std::pair{kStartEvent, kStartByCommand}, std::pair{kStopEvent, kStopAfterCount}}) {
    ComPtr<IEnumProperty> property;
    if (camera_->GetEnum(option, property.put()) != S_OK || property->SetValue(value) != S_OK) return false;
  }
  const HANDLE end = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  camera_->SetEndEvent(end);
  bool ended = run() == S_OK && WaitForSingleObject(end, kEventBoundMs) == WAIT_OBJECT_0;
  ended = ended && nextEvent() == EC_COMPLETE;
  ended = stop() && ended;
  camera_->SetEndEvent(nullptr);
  CloseHandle(end);
  return ended;
}

LONG GraphRig::nextEvent() {
  OAEVENT handle = 0;
  if (events_->GetEventHandle(&handle) != S_OK) return 0;
  if (WaitForSingleObject(reinterpret_cast<HANDLE>(handle), kEventBoundMs) != WAIT_OBJECT_0) return 0;
  LONG code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  if (events_->GetEvent(&code, &p1, &p2, 0) != S_OK) return 0;
  events_->FreeEventParams(code, p1, p2);
  return code;
}

bool GraphRig::nextFrame(plat::VideoFrame& frame) {
  const auto deadline = std::chrono::steady_clock::now() + kFrameBound;
  for (;;) {
    // Reading acknowledges the renderer's repaint request, so the next
    // frame asks again.
    repaintAsked_ = false;
    if (plat::readNewestFrame(renderer_.get(), frame) && frame.counter > lastFrame_) {
      lastFrame_ = frame.counter;
      return true;
    }
    while (!repaintAsked_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      queue_->waitAndPump(left);
    }
  }
}

const std::vector<std::string>& GraphRig::texts() {
  queue_->pump();
  return texts_;
}

std::vector<std::uint8_t> uprightRows(const plat::VideoFrame& frame) {
  const auto bpp = static_cast<std::size_t>(frame.bitCount / 8);
  const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * bpp;
  const auto height = static_cast<std::size_t>(frame.height);
  std::vector<std::uint8_t> out(rowBytes * height);
  for (std::size_t r = 0; r < height; ++r) {
    const std::size_t from = frame.bottomUp ? height - 1 - r : r;
    std::memcpy(out.data() + r * rowBytes, frame.bytes.data() + from * static_cast<std::size_t>(frame.stride), rowBytes);
  }
  return out;
}

std::optional<std::uint32_t> stripAtTop(const plat::VideoFrame& frame) {
  const auto rows = uprightRows(frame);
  const unsigned bpp = frame.bitCount / 8u;
  return kellib3::readFrameStrip(rows, static_cast<unsigned>(frame.width), static_cast<unsigned>(frame.height), bpp,
                                 static_cast<std::size_t>(frame.width) * bpp);
}

plat::VideoFrame turned(const plat::VideoFrame& frame) {
  plat::VideoFrame out = frame;
  const auto rows = uprightRows(frame);
  const std::size_t bpp = frame.bitCount / 8u;
  const std::size_t pixels = rows.size() / bpp;
  out.bottomUp = false;
  out.stride = frame.width * static_cast<LONG>(bpp);
  out.bytes.resize(rows.size());
  for (std::size_t i = 0; i < pixels; ++i)
    std::memcpy(out.bytes.data() + i * bpp, rows.data() + (pixels - 1 - i) * bpp, bpp);
  return out;
}

std::size_t transparentPixels(const plat::VideoFrame& frame) {
  if (frame.bitCount != 32) return 0;
  const auto rows = uprightRows(frame);
  std::size_t n = 0;
  for (std::size_t i = 3; i < rows.size(); i += 4) n += rows[i] != 255 ? 1 : 0;
  return n;
}

}  // namespace kel::test
