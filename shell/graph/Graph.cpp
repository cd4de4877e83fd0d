#include "shell/graph/Graph.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "platform/com/bstr_holder.h"
#include "platform/com/co_create.h"
#include "platform/com/running_object_table.h"
#include "platform/com/standard_classes.h"
#include "platform/graph/vmr_interfaces.h"
#include "platform/kernel/text_codec.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/LogStore.h"
#include "shell/graph/class_check.h"
#include "shell/graph/graph_pins.h"

using COMERR::Check;

namespace {
constexpr const char* kNoCameraInterface = "Не получен указатель на интерфейс ICamera";
constexpr const char* kNotCreated = "Граф не создан";
}  // namespace

CGraph::~CGraph() {
  // A graph still in the table would be kept alive by it.
  revokeFromRunningObjectTable();
}

void CGraph::requireCreated() const {
  if (!graph_ || !camera_) throw COMERR::CTextError(kNotCreated);
}

bool CGraph::Create() {
  // A retried Create must not leave the earlier attempt's entry behind.
  revokeFromRunningObjectTable();
  const std::string missing = GraphClasses::Missing();
  if (!missing.empty()) {
    lastError_ = "Классы не зарегестрированы:\n" + missing;
    return false;
  }
  const bool created = guarded([&] { return createObjects(); });
  // The table holds the graph only between a successful Create and Destroy.
  if (!created) revokeFromRunningObjectTable();
  return created;
}

bool CGraph::createObjects() {
  Check(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, graph_.putVoid()));
  Check(CoCreateInstance(CLSID_KelOrvoSource, nullptr, CLSCTX_ALL, IID_IBaseFilter, camera_.putVoid()));
  ComPtr<ICamera2> camera2;
  if (SUCCEEDED(camera_.as(IID_ICamera2, camera2)) && camera2->IsOpened() == 0) {
    plat::Bstr reason;
    camera2->GetErrorText(reason.put());
    camera2 = nullptr;
    graph_ = nullptr;
    camera_ = nullptr;
    lastError_ = plat::utf16ToUtf8(reason.view());
    return false;
  }
  registerInRunningObjectTable();
  ComPtr<IPin> pin;
  Check(camera_->FindPin(u"1", pin.put()));
  CompressorList::Enumerate(camera_.get(), pin.get(), compressors_);
  pin = nullptr;
  Check(CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_ALL, IID_IBaseFilter, renderer_.putVoid()));
  Check(CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_ALL, IID_IBaseFilter, aviMux_.putVoid()));
  Check(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_ALL, IID_IBaseFilter, fileWriter_.putVoid()));
  Check(CoCreateInstance(CLSID_SmartTee, nullptr, CLSCTX_ALL, IID_IBaseFilter, smartTee_.putVoid()));
  ComPtr<IVMRFilterConfig> config;
  Check(renderer_.as(IID_IVMRFilterConfig, config));
  Check(config->SetRenderingMode(VMRMode_Windowless));
  return true;
}

void CGraph::registerInRunningObjectTable() {
  ComPtr<IRunningObjectTable> table;
  Check(GetRunningObjectTable(0, table.put()));
  char name[64];
  std::snprintf(name, sizeof name, "FilterGraph %08x pid %08x",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(graph_.get())),
                static_cast<unsigned>(getpid()));
  const std::u16string wide = plat::utf8ToUtf16(name);
  ComPtr<IMoniker> moniker;
  Check(CreateItemMoniker(u"!", wide.c_str(), moniker.put()));
  Check(table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, graph_.get(), moniker.get(), &rotCookie_));
  registered_ = true;
}

void CGraph::revokeFromRunningObjectTable() {
  if (!registered_) return;
  registered_ = false;
  ComPtr<IRunningObjectTable> table;
  if (SUCCEEDED(GetRunningObjectTable(0, table.put()))) table->Revoke(rotCookie_);
}

bool CGraph::Destroy() {
  if (!graph_) return true;
  // Every step runs whatever the one before it gave; the first failure is
  // the answer.
  ComPtr<ICamera> camera;
  if (camera_ && SUCCEEDED(camera_.as(IID_ICamera, camera))) camera->SetPause(FALSE);
  const bool stopped = Stop();
  const std::string stopError = lastError_;
  revokeFromRunningObjectTable();
  const bool removed = guarded([&] {
    GraphPins::RemoveAllFilters(graph_.get(), nullptr);
    return true;
  });
  if (!stopped) lastError_ = stopError;
  return stopped && removed;
}

bool CGraph::Run() {
  return guarded([&] {
    requireCreated();
    ComPtr<ICamera> camera;
    if (SUCCEEDED(camera_.as(IID_ICamera, camera))) camera->RunCamera();
    ComPtr<IMediaControl> control;
    Check(graph_.as(IID_IMediaControl, control));
    Check(control->Run());
    return true;
  });
}

bool CGraph::stopGraph() {
  requireCreated();
  ComPtr<ICamera2> camera2;
  if (SUCCEEDED(camera_.as(IID_ICamera2, camera2))) {
    camera2->SetStopped();
    camera2->StopCamera(TRUE);
  }
  ComPtr<IMediaControl> control;
  Check(graph_.as(IID_IMediaControl, control));
  Check(control->Stop());
  OAFilterState state = State_Running;
  Check(control->GetState(-1, &state));
  if (state == State_Stopped) return true;
  lastError_ = "Can't stop graph";
  return false;
}

bool CGraph::Stop() {
  return guarded([&] { return stopGraph(); });
}

bool CGraph::Restart() {
  if (!Stop()) {
    LogError(".\\Graph", 386, "Can't stop graph");
    return false;
  }
  return guarded([&] {
    // A Create that failed early left no renderer to reconnect.
    if (!renderer_) throw COMERR::CTextError(kNotCreated);
    ComPtr<IEnumPins> pins;
    Check(renderer_->EnumPins(pins.put()));
    ComPtr<IPin> pin;
    if (pins->Next(1, pin.put(), nullptr) != S_OK) return true;
    ComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(peer.put())) || !peer) return true;
    Check(peer->Disconnect());
    Check(pin->Disconnect());
    Check(graph_->Connect(peer.get(), pin.get()));
    const bool ran = Run();
    if (videoWindow_) plat::postMessage(videoWindow_, WM_VIDEO_SIZE, 0, zoom_ ? zoom_() : 0);
    return ran;
  });
}

void CGraph::SetVideoWindow(HWND window, std::function<LPARAM()> zoom) {
  videoWindow_ = window;
  zoom_ = std::move(zoom);
}

bool CGraph::GetCamera(ICamera** out) {
  if (!camera_) return false;
  return SUCCEEDED(camera_->QueryInterface(IID_ICamera, reinterpret_cast<void**>(out)));
}

bool CGraph::GetCamera2(ICamera2** out) {
  if (!camera_) return false;
  return SUCCEEDED(camera_->QueryInterface(IID_ICamera2, reinterpret_cast<void**>(out)));
}

bool CGraph::SetLogWindow(HWND window) {
  ComPtr<ICamera> camera;
  if (!GetCamera(camera.put())) {
    lastError_ = kNoCameraInterface;
    return false;
  }
  return guarded([&] { return Check(camera->SetNotifyWindow(window)) >= 0; });
}

bool CGraph::EnableBackgroundSubtraction(BOOL on) {
  ComPtr<ICamera2> camera;
  if (!GetCamera2(camera.put())) {
    lastError_ = kNoCameraInterface;
    return false;
  }
  return guarded([&] { return Check(camera->EnableBackgroundSubtraction(on)) >= 0; });
}

bool CGraph::GetWindowlessControl(void** out) {
  return renderer_ && SUCCEEDED(renderer_->QueryInterface(IID_IVMRWindowlessControl, out));
}

bool CGraph::GetMediaEvent(void** out) { return graph_ && SUCCEEDED(graph_->QueryInterface(IID_IMediaEventEx, out)); }

bool CGraph::GetSeeking(void** out) {
  return camera_ && SUCCEEDED(camera_->QueryInterface(IID_IMediaSeekingLocal, out));
}

bool CGraph::GetScalarProperty(LONG optionId, LONG index, IScalarProperty** out) {
  ComPtr<ICamera> camera;
  if (!GetCamera(camera.put())) {
    lastError_ = kNoCameraInterface;
    return false;
  }
  return guarded([&] { return Check(camera->GetScalar(optionId, index, out)) >= 0; });
}

bool CGraph::GetRectProperty(LONG optionId, IRectProperty** out) {
  ComPtr<ICamera> camera;
  if (!GetCamera(camera.put())) {
    lastError_ = kNoCameraInterface;
    return false;
  }
  return guarded([&] { return Check(camera->GetRect(optionId, out)) >= 0; });
}

bool CGraph::GetEnumProperty(LONG optionId, IEnumProperty** out) {
  ComPtr<ICamera> camera;
  if (!GetCamera(camera.put())) {
    lastError_ = kNoCameraInterface;
    return false;
  }
  return guarded([&] { return Check(camera->GetEnum(optionId, out)) >= 0; });
}
