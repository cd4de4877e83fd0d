// Frames per second through the capture pin's FillBuffer into the video
// renderer: a set-up graph at 1280x1024 on the virtual camera with its fast
// clock, built through the class registry as the shell builds it. Beside it,
// in the same run, a memcpy of the same output bytes per frame. The ratio
// (frame path time over memcpy time per frame) is printed at the end.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/com/co_create.h"
#include "platform/com/registration.h"
#include "platform/com/standard_classes.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/graph/graph_topology.h"
#include "platform/graph/renderer_frames.h"
#include "platform/graph/vmr_interfaces.h"
#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "bench/camera_environment.h"
#include "shared/camera_interfaces.h"
#include "shared/identifiers.h"

namespace {

namespace fs = std::filesystem;
constexpr unsigned kWidth = 1280, kHeight = 1024, kBytes = 4;
constexpr std::size_t kFrameBytes = std::size_t{kWidth} * kHeight * kBytes;

double g_pathNsPerFrame = 0;
double g_copyNsPerFrame = 0;

// The camera environment, the filter drawing for a 32-bit desktop.
struct Environment : kel::bench::CameraEnvironment {
  Environment() : CameraEnvironment("kelorvo-bench") { setenv("KELORVO_DESKTOP_BPP", "32", 1); }
};

// Camera -> renderer in set-up mode, running; the renderer asks the test
// window to repaint when a frame arrives.
class LiveGraph {
 public:
  bool start() {
    std::string reason;
    const fs::path module = fs::read_symlink("/proc/self/exe").parent_path() / "kelorvomt.ax";
    if (plat::registerModule(module.string(), false, reason) != S_OK || plat::registerStandardClasses(false) != S_OK) {
      std::fprintf(stderr, "registration failed: %s\n", reason.c_str());
      return false;
    }
    if (CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, graph_.putVoid()) != S_OK ||
        CoCreateInstance(CLSID_KelOrvoSource, nullptr, CLSCTX_ALL, IID_IBaseFilter, camera_.putVoid()) != S_OK ||
        CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_ALL, IID_IBaseFilter, renderer_.putVoid()) != S_OK)
      return false;
    ComPtr<IVMRFilterConfig> config;
    if (renderer_.as(IID_IVMRFilterConfig, config) != S_OK || config->SetRenderingMode(VMRMode_Windowless) != S_OK ||
        renderer_.as(IID_IVMRWindowlessControl, windowless_) != S_OK ||
        windowless_->SetVideoClippingWindow(window_.hwnd()) != S_OK || camera_.as(IID_ICamera2, control_) != S_OK ||
        graph_.as(IID_IMediaControl, media_) != S_OK)
      return false;
    graph_->AddFilter(camera_.get(), u"Camera");
    control_->SetMode(&MODE_Setup);
    graph_->AddFilter(renderer_.get(), u"Renderer");
    ComPtr<IPin> out;
    camera_->FindPin(u"1", out.put());
    if (graph_->Connect(out.get(), plat::pinsOf(renderer_.get()).front().get()) != S_OK) return false;
    control_->RunCamera();
    return media_->Run() == S_OK;
  }

  // Waits for the renderer's next repaint request and re-arms it.
  bool waitForFrame() {
    while (!asked_)
      if (queue_->waitAndPump(std::chrono::seconds(30)) == 0 && !asked_) return false;
    asked_ = false;
    return windowless_->RepaintVideo(window_.hwnd(), nullptr) == S_OK;
  }

  // Frames the renderer has received so far.
  std::uint64_t framesReceived() {
    plat::VideoFrame frame;
    return plat::readNewestFrame(renderer_.get(), frame) ? frame.counter : 0;
  }

  ~LiveGraph() {
    if (control_) {
      control_->SetStopped();
      control_->StopCamera(TRUE);
    }
    if (media_) media_->Stop();
    if (graph_) {
      graph_->RemoveFilter(renderer_.get());
      graph_->RemoveFilter(camera_.get());
    }
  }

 private:
  std::shared_ptr<plat::MessageQueue> queue_ = std::make_shared<plat::MessageQueue>();
  bool asked_ = false;
  plat::WindowRegistration window_{queue_, [this](const plat::Message& m) -> LRESULT {
                                     if (m.message == plat::kRendererRepaintMessage) asked_ = true;
                                     return 0;
                                   }};
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IBaseFilter> camera_;
  ComPtr<IBaseFilter> renderer_;
  ComPtr<IVMRWindowlessControl> windowless_;
  ComPtr<ICamera2> control_;
  ComPtr<IMediaControl> media_;
};

void BM_FillBufferToRenderer(benchmark::State& state) {
  Environment env;
  LiveGraph graph;
  if (!graph.start()) {
    state.SkipWithError("the set-up graph could not be built");
    return;
  }
  graph.waitForFrame();
  const std::uint64_t before = graph.framesReceived();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (!graph.waitForFrame()) {
      state.SkipWithError("no frame arrived");
      return;
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto frames = static_cast<double>(graph.framesReceived() - before);
  state.counters["frames_per_second"] = frames / seconds;
  state.SetBytesProcessed(static_cast<std::int64_t>(frames) * static_cast<std::int64_t>(kFrameBytes));
  if (frames > 0) g_pathNsPerFrame = seconds * 1e9 / frames;
}

void BM_MemcpyOfTheOutputBytes(benchmark::State& state) {
  std::vector<std::uint8_t> from(kFrameBytes, 0x5A), to(kFrameBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kFrameBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kFrameBytes));
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["frames_per_second"] = benchmark::Counter(iterations, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_FillBufferToRenderer)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_MemcpyOfTheOutputBytes)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);

// Keeps the fastest memcpy time per frame of the run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.benchmark_name().find("Memcpy") != std::string::npos && run.iterations > 0) {
        const double ns = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
        if (g_copyNsPerFrame == 0 || ns < g_copyNsPerFrame) g_copyNsPerFrame = ns;
      }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  if (g_pathNsPerFrame > 0 && g_copyNsPerFrame > 0)
    std::printf("frame path %.2f ms per frame, memcpy of the output bytes %.3f ms: ratio %.1f\n",
                g_pathNsPerFrame / 1e6, g_copyNsPerFrame / 1e6, g_pathNsPerFrame / g_copyNsPerFrame);
  return 0;
}
