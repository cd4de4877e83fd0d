// The per-mode topologies of CGraph and the save graph's output file.
#include <cstring>

#include "platform/avi/save_interfaces.h"
#include "platform/com/bstr_holder.h"
#include "platform/kernel/text_codec.h"
#include "platform/win/message_box.h"
#include "shell/graph/Graph.h"
#include "shell/graph/graph_pins.h"

using COMERR::Check;
using GraphPins::FindFreePin;

namespace {

// The stream type the file writer takes from the AVI mux; every other field
// zero.
AM_MEDIA_TYPE aviStreamType() {
  AM_MEDIA_TYPE mt;
  std::memset(&mt, 0, sizeof mt);
  mt.majortype = MEDIATYPE_Stream;
  mt.subtype = MEDIASUBTYPE_Avi;
  return mt;
}

}  // namespace

// Every build stops the graph first and throws the old topology away; a
// graph that does not stop is left as it is.
void CGraph::startBuild() {
  requireCreated();
  if (!stopGraph()) throw COMERR::CTextError(lastError_);
  GraphPins::RemoveAllFilters(graph_.get(), nullptr);
}

void CGraph::addCamera(const GUID& mode) {
  Check(graph_->AddFilter(camera_.get(), u"Camera"));
  ComPtr<ICamera2> camera2;
  if (SUCCEEDED(camera_.as(IID_ICamera2, camera2))) camera2->SetMode(&mode);
}

void CGraph::connect(IPin* out, IBaseFilter* downstream) {
  const ComPtr<IPin> in = FindFreePin(downstream, PINDIR_INPUT);
  Check(graph_->Connect(out, in.get()));
}

void CGraph::connectCameraToRenderer() {
  Check(graph_->AddFilter(renderer_.get(), u"Renderer"));
  ComPtr<IPin> pin;
  Check(camera_->FindPin(u"1", pin.put()));
  connect(pin.get(), renderer_.get());
}

bool CGraph::BuildSetupGraph() {
  return guarded([&] {
    startBuild();
    addCamera(MODE_Setup);
    connectCameraToRenderer();
    ComPtr<ICamera2> camera2;
    if (SUCCEEDED(camera_.as(IID_ICamera2, camera2))) {
      int time = 0, inputFrames = 0, visibleFrame = 0;
      Check(camera2->GetSetupOptions(&time, &inputFrames, &visibleFrame));
      camera2->SetVisibleFrameTime(time);
    }
    return Run();
  });
}

// A refused count would record a film of another length than asked for:
// the build fails with the reason the camera showed.
void CGraph::setFramesToInput(ICamera2* camera, int frames) {
  const plat::ShownBoxes boxes;
  const HRESULT hr = camera->SetFramesToInput(frames);
  if (SUCCEEDED(hr)) return;
  if (!boxes.texts().empty()) throw COMERR::CTextError(boxes.texts().back());
  Check(hr);
}

bool CGraph::BuildInputGraph(int framesToInput) {
  return guarded([&] {
    startBuild();
    ComPtr<ICamera2> camera2;
    if (SUCCEEDED(camera_.as(IID_ICamera2, camera2))) setFramesToInput(camera2.get(), framesToInput);
    addCamera(MODE_Input);
    connectCameraToRenderer();
    return true;
  });
}

bool CGraph::BuildPreviewGraph() {
  return guarded([&] {
    startBuild();
    addCamera(MODE_Preview);
    connectCameraToRenderer();
    return true;
  });
}

bool CGraph::BuildSaveGraph(HWND progressBar, const std::string& compressorName) {
  return guarded([&] {
    startBuild();
    ComPtr<ICamera2> camera2;
    if (SUCCEEDED(camera_.as(IID_ICamera2, camera2))) camera2->SetSaveWindow(progressBar);
    addCamera(MODE_Save);
    Check(graph_->AddFilter(smartTee_.get(), u"SmartTee"));
    ComPtr<IPin> cameraPin;
    Check(camera_->FindPin(u"1", cameraPin.put()));
    connect(cameraPin.get(), smartTee_.get());

    compressor_ = nullptr;
    for (const CompressorEntry& entry : compressors_)
      if (entry.name == compressorName) {
        compressor_ = entry.filter;
        break;
      }
    if (compressor_) {
      Check(graph_->AddFilter(compressor_.get(), plat::utf8ToUtf16(compressorName).c_str()));
      connect(FindFreePin(smartTee_.get(), PINDIR_OUTPUT).get(), compressor_.get());
      Check(graph_->AddFilter(aviMux_.get(), u"AVIMux"));
      connect(FindFreePin(compressor_.get(), PINDIR_OUTPUT).get(), aviMux_.get());
    } else {
      Check(graph_->AddFilter(aviMux_.get(), u"AVIMux"));
      connect(FindFreePin(smartTee_.get(), PINDIR_OUTPUT).get(), aviMux_.get());
    }
    // The tee's first output carries the film; the next one the preview.
    Check(graph_->AddFilter(renderer_.get(), u"Renderer"));
    connect(FindFreePin(smartTee_.get(), PINDIR_OUTPUT).get(), renderer_.get());
    Check(graph_->AddFilter(fileWriter_.get(), u"FileWriter"));
    return true;
  });
}

bool CGraph::SetOutputFile(const std::string& fileName) {
  return guarded([&] {
    requireCreated();
    if (!stopGraph()) return false;
    GraphPins::DisconnectAll(fileWriter_.get());
    const AM_MEDIA_TYPE mt = aviStreamType();
    const std::u16string wide = plat::utf8ToUtf16(fileName);
    ComPtr<IFileSinkFilter> sink;
    Check(fileWriter_.as(IID_IFileSinkFilter, sink));
    Check(sink->SetFileName(wide.c_str(), &mt));
    const ComPtr<IPin> out = FindFreePin(aviMux_.get(), PINDIR_OUTPUT);
    const ComPtr<IPin> in = FindFreePin(fileWriter_.get(), PINDIR_INPUT);
    Check(graph_->ConnectDirect(out.get(), in.get(), &mt));
    ComPtr<ICamera2> camera2;
    if (SUCCEEDED(camera_.as(IID_ICamera2, camera2))) {
      plat::Bstr name(wide);
      camera2->SetSaveFileName(name.get());
    }
    return true;
  });
}

bool CGraph::FillCompressorList(std::vector<std::string>& box) {
  if (!Stop()) return false;
  box.clear();
  for (const CompressorEntry& entry : compressors_) box.push_back(entry.name);
  box.emplace_back(kNoCompression);
  return true;
}
