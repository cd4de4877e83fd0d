// The desktop shell's live picture on the virtual camera at its highest
// frame rate (fast clock), on Qt's offscreen platform: frames painted per
// second beside the renderer's own frame rate in the same run, the time of
// one paint beside a memcpy of the frame's bytes, and the UI thread's delay
// to a posted event while the picture runs beside the same delay idle.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench/camera_environment.h"
#include "platform/com/co_create.h"
#include "platform/com/registration.h"
#include "platform/com/standard_classes.h"
#include "shell/app/CamView.h"
#include "shell/app/MainFrame.h"
#include "shell/app/QtDispatcher.h"
#include "shell/app/VideoWindow.h"
#include "shell/graph/Graph.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The camera environment on Qt's offscreen platform unless a display is asked for.
struct Environment : kel::bench::CameraEnvironment {
  Environment() : CameraEnvironment("kelorvo-shell-bench") {
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
};

// The shell's main frame in set-up mode, the live picture running.
struct Shell {
  CGraph graph;
  std::unique_ptr<CMainFrame> frame;
  CVideoWindow* video = nullptr;

  bool open() {
    std::string reason;
    const fs::path module = fs::read_symlink("/proc/self/exe").parent_path() / "kelorvomt.ax";
    if (plat::registerModule(module.string(), false, reason) != S_OK || plat::registerStandardClasses(false) != S_OK)
      return false;
    if (!graph.Create()) return false;
    frame = std::make_unique<CMainFrame>(graph, fs::path());
    frame->show();
    if (!frame->CamView()) return false;
    video = frame->CamView()->VideoWindow();
    return true;
  }
  ~Shell() {
    frame.reset();
    graph.Destroy();
  }
};

Shell* g_shell = nullptr;

void runUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void BM_LivePicture(benchmark::State& state) {
  CVideoWindow* video = g_shell->video;
  runUntil([&] { return video->FramesPainted() > 0; });
  const std::uint64_t painted0 = video->FramesPainted();
  const std::uint64_t received0 = video->NewestFrameShown();
  const auto t0 = Clock::now();
  for (auto _ : state) {
    const std::uint64_t before = video->FramesPainted();
    runUntil([&] { return video->FramesPainted() > before; });
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  state.counters["painted_fps"] = static_cast<double>(video->FramesPainted() - painted0) / seconds;
  // The renderer's own rate: the frames it received meanwhile, read from
  // the counter of the newest frame each paint showed.
  state.counters["renderer_fps"] = static_cast<double>(video->NewestFrameShown() - received0) / seconds;
}
BENCHMARK(BM_LivePicture)->Iterations(120)->Unit(benchmark::kMillisecond);

void BM_PaintOneFrame(benchmark::State& state) {
  CVideoWindow* video = g_shell->video;
  // Run alone, the benchmark would otherwise paint an empty window.
  runUntil([&] { return video->FramesPainted() > 0; });
  for (auto _ : state) video->repaint();
  state.counters["window_px"] = video->width() * video->height();
}
BENCHMARK(BM_PaintOneFrame)->Unit(benchmark::kMicrosecond);

// Reference for the paint: copying one 1280 x 1024 x 4 frame.
void BM_CopyOneFrame(benchmark::State& state) {
  std::vector<char> from(1280 * 1024 * 4, 1), to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(from.size()));
}
BENCHMARK(BM_CopyOneFrame)->Unit(benchmark::kMicrosecond);

void postedEventDelay(benchmark::State& state) {
  auto dispatcher = QtDispatcher::ui();
  for (auto _ : state) {
    bool ran = false;
    Clock::time_point arrived;
    const auto posted = Clock::now();
    dispatcher->post([&] {
      arrived = Clock::now();
      ran = true;
    });
    runUntil([&] { return ran; });
    state.SetIterationTime(std::chrono::duration<double>(arrived - posted).count());
  }
}

void BM_PostedEventDelay_Live(benchmark::State& state) { postedEventDelay(state); }
BENCHMARK(BM_PostedEventDelay_Live)->UseManualTime()->Iterations(500)->Unit(benchmark::kMicrosecond);

void BM_PostedEventDelay_Idle(benchmark::State& state) {
  g_shell->graph.Stop();
  postedEventDelay(state);
  g_shell->graph.Run();
}
BENCHMARK(BM_PostedEventDelay_Idle)->UseManualTime()->Iterations(500)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  Environment environment;
  QApplication app(argc, argv);
  CoInitialize(nullptr);
  int code = 1;
  {
    Shell shell;
    if (shell.open()) {
      g_shell = &shell;
      benchmark::Initialize(&argc, argv);
      benchmark::RunSpecifiedBenchmarks();
      benchmark::Shutdown();
      g_shell = nullptr;
      code = 0;
    } else {
      std::fprintf(stderr, "the shell could not open the camera: %s\n", shell.graph.GetLastErrorText().c_str());
    }
  }
  CoUninitialize();
  return code;
}
