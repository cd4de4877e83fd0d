// CGraph: the shell's only owner of the filter graph. It creates the
// capture filter and the standard filters once, rebuilds the graph for each
// mode, runs, stops and restarts it, and keeps the text of the last failure.
// Every operation returns true on success; GetLastErrorText says why not.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/dshow/interfaces.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/win/types.h"
#include "shared/camera_interfaces.h"
#include "shell/app/ComErr.h"
#include "shell/graph/CompressorList.h"

// The codec box's last item: save without a compressor.
inline constexpr const char* kNoCompression = "Без сжатия";

class CGraph {
 public:
  CGraph() = default;
  ~CGraph();
  CGraph(const CGraph&) = delete;
  CGraph& operator=(const CGraph&) = delete;

  bool Create();
  bool Destroy();

  bool BuildSetupGraph();
  bool BuildInputGraph(int framesToInput);
  bool BuildPreviewGraph();
  bool BuildSaveGraph(HWND progressBar, const std::string& compressorName);
  bool SetOutputFile(const std::string& fileName);

  // Stops the graph, then replaces `box` with the compressor names followed
  // by kNoCompression.
  bool FillCompressorList(std::vector<std::string>& box);

  bool Run();
  bool Stop();
  bool Restart();

  bool GetCamera(ICamera** out);
  bool GetCamera2(ICamera2** out);
  std::string GetLastErrorText() const { return lastError_; }
  bool SetLogWindow(HWND window);
  bool EnableBackgroundSubtraction(BOOL on);
  bool GetWindowlessControl(void** out);
  bool GetMediaEvent(void** out);
  bool GetSeeking(void** out);
  bool GetScalarProperty(LONG optionId, LONG index, IScalarProperty** out);
  bool GetRectProperty(LONG optionId, IRectProperty** out);
  bool GetEnumProperty(LONG optionId, IEnumProperty** out);

  // The window that Restart tells to re-read the video size, and where the
  // current zoom value comes from.
  void SetVideoWindow(HWND window, std::function<LPARAM()> zoom);

  // The renderer, for reading the newest frame; null before Create.
  IBaseFilter* Renderer() const { return renderer_.get(); }
  IGraphBuilder* Graph() const { return graph_.get(); }
  const std::vector<CompressorEntry>& Compressors() const { return compressors_; }

  bool filmRecorded = false;

 private:
  template <class Body>
  bool guarded(Body&& body);
  void requireCreated() const;
  bool createObjects();
  bool stopGraph();
  void startBuild();
  void setFramesToInput(ICamera2* camera, int frames);
  void addCamera(const GUID& mode);
  void connect(IPin* out, IBaseFilter* downstream);
  void connectCameraToRenderer();
  void registerInRunningObjectTable();
  void revokeFromRunningObjectTable();

  // Released in the reverse of this order: the compressor list first, the
  // graph last.
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IBaseFilter> camera_;
  ComPtr<IBaseFilter> renderer_;
  ComPtr<IBaseFilter> aviMux_;
  ComPtr<IBaseFilter> compressor_;
  ComPtr<IBaseFilter> fileWriter_;
  ComPtr<IBaseFilter> smartTee_;
  DWORD rotCookie_ = 0;
  bool registered_ = false;
  std::vector<CompressorEntry> compressors_;
  std::string lastError_;
  HWND videoWindow_ = nullptr;
  std::function<LPARAM()> zoom_;
};

// Runs one operation: a COM error raised inside becomes lastError and false.
template <class Body>
bool CGraph::guarded(Body&& body) {
  try {
    return body();
  } catch (const COMERR::CErrorBase& e) {
    lastError_ = e.text();
    return false;
  }
}
