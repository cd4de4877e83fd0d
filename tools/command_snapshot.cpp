// `snapshot`: the set-up graph running, the N-th frame the renderer
// received written as a PNG file.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "platform/graph/renderer_frames.h"
#include "platform/graph/vmr_interfaces.h"
#include "tools/args.h"
#include "tools/commands.h"
#include "tools/common_options.h"
#include "tools/png_writer.h"
#include "tools/session.h"
#include "tools/stream_wait.h"

namespace kelorvo {
namespace {

// How long a frame may take before the command gives up.
constexpr auto kFrameWait = std::chrono::seconds(20);

int snapshot(Session& session, const std::filesystem::path& file, long frames) {
  CGraph& graph = session.graph();
  if (!graph.BuildSetupGraph()) return session.fail(graph.GetLastErrorText());
  // The renderer asks its clipping window to repaint for every new frame.
  plat::MessageQueue& queue = session.queue();
  plat::VideoFrame frame;
  bool repaint = true;
  plat::WindowRegistration window(std::shared_ptr<plat::MessageQueue>(&queue, [](plat::MessageQueue*) {}),
                                  [&](const plat::Message& m) -> LRESULT {
                                    if (m.message == plat::kRendererRepaintMessage) repaint = true;
                                    return 0;
                                  });
  ComPtr<IVMRWindowlessControl> control;
  if (!graph.GetWindowlessControl(control.putVoid())) return session.fail("the renderer has no windowless control");
  control->SetVideoClippingWindow(window.hwnd());
  const auto deadline = std::chrono::steady_clock::now() + kFrameWait;
  while (true) {
    if (repaint) {
      repaint = false;
      if (plat::readNewestFrame(graph.Renderer(), frame) && frame.counter >= static_cast<std::uint64_t>(frames)) break;
    }
    if (const std::optional<StreamOutcome> ended = takeStreamEnding(graph)) {
      const std::string why = endingReason(session, *ended);
      return session.fail("the live picture stopped" + (why.empty() ? std::string() : ": " + why));
    }
    if (std::chrono::steady_clock::now() > deadline) return session.fail(session.withFilterText("no frame came from the camera"));
    queue.waitAndPump(std::chrono::milliseconds(100));
  }
  control->SetVideoClippingWindow(nullptr);
  graph.Stop();
  std::string reason;
  if (!writePng(frame, file, reason)) return session.fail(reason);
  std::printf("%s: %dx%d, frame %llu\n", file.c_str(), frame.width, frame.height,
              static_cast<unsigned long long>(frame.counter));
  return 0;
}

}  // namespace

int snapshotCommand(const std::vector<std::string>& words) {
  Session session("snapshot");
  return session.run([&] {
    auto values = commonValueOptions();
    values.insert("--frames");
    const Args args(words, values, commonFlags());
    if (args.positional().size() != 1) return session.fail("usage: kelorvo snapshot FILE.png [--frames N]");
    std::string extension = std::filesystem::path(args.positional()[0]).extension().string();
    std::ranges::transform(extension, extension.begin(), [](unsigned char c) { return std::tolower(c); });
    if (extension != ".png") throw std::invalid_argument("a snapshot is written as PNG: name the file FILE.png");
    const long frames = args.value("--frames") ? parseNumber(*args.value("--frames"), "the frame count") : 1;
    if (frames < 1) throw std::invalid_argument("--frames must be at least 1");
    if (!session.open()) return 1;
    applyCommonOptions(args, session.graph());
    return snapshot(session, args.positional()[0], frames);
  });
}

}  // namespace kelorvo
