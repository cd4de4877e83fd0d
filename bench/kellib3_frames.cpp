// Frames per second of the virtual camera's frame production (render + pack)
// and of packing alone, beside a plain copy of the same packed bytes measured
// in the same run; the ratios to the copy are printed at the end.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "kellib3/frame/packing.h"
#include "kellib3/frame/scene.h"

namespace {

constexpr unsigned kWidth = 1280;
constexpr unsigned kHeight = 1024;

struct Buffers {
  std::vector<std::uint16_t> samples = std::vector<std::uint16_t>(std::size_t(kWidth) * kHeight);
  std::array<std::vector<std::uint8_t>, 4> parts;
  std::array<std::vector<std::uint8_t>, 4> copies;
  Buffers() {
    for (auto& p : parts) p.assign(kellib3::dmaPartBytes(kWidth, kHeight), 0);
    for (auto& p : copies) p.assign(kellib3::dmaPartBytes(kWidth, kHeight), 0);
  }
  std::array<std::span<std::uint8_t>, 4> spans() { return {parts[0], parts[1], parts[2], parts[3]}; }
};

void countFrames(benchmark::State& state) {
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Prints as usual and keeps each run's frames per second for the summary.
class FpsReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      const auto it = r.counters.find("fps");
      if (it != r.counters.end()) fps_[r.benchmark_name()] = it->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& fps() const { return fps_; }

 private:
  std::map<std::string, double> fps_;
};

void renderAndPack(benchmark::State& state, bool bayer) {
  Buffers b;
  kellib3::SceneSettings s;
  s.bayer = bayer;
  std::uint32_t frame = 0;
  for (auto _ : state) {
    kellib3::renderScene(s, frame++, b.samples);
    kellib3::packFrame(b.samples, kWidth, kHeight, b.spans());
    benchmark::DoNotOptimize(b.parts[3].data());
    benchmark::ClobberMemory();
  }
  countFrames(state);
}

void BM_RenderAndPackMono(benchmark::State& state) { renderAndPack(state, false); }
void BM_RenderAndPackBayer(benchmark::State& state) { renderAndPack(state, true); }

void BM_RenderMono(benchmark::State& state) {
  Buffers b;
  kellib3::SceneSettings s;
  std::uint32_t frame = 0;
  for (auto _ : state) {
    kellib3::renderScene(s, frame++, b.samples);
    benchmark::DoNotOptimize(b.samples.data());
    benchmark::ClobberMemory();
  }
  countFrames(state);
}

void BM_Pack(benchmark::State& state) {
  Buffers b;
  kellib3::renderScene(kellib3::SceneSettings{}, 1, b.samples);
  for (auto _ : state) {
    kellib3::packFrame(b.samples, kWidth, kHeight, b.spans());
    benchmark::DoNotOptimize(b.parts[3].data());
    benchmark::ClobberMemory();
  }
  countFrames(state);
}

// The reference: copying the four packed parts once.
void BM_CopyPackedParts(benchmark::State& state) {
  Buffers b;
  for (auto _ : state) {
    for (int i = 0; i < 4; ++i) std::memcpy(b.copies[i].data(), b.parts[i].data(), b.parts[i].size());
    benchmark::DoNotOptimize(b.copies[3].data());
    benchmark::ClobberMemory();
  }
  countFrames(state);
}

BENCHMARK(BM_CopyPackedParts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderMono)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderAndPackMono)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderAndPackBayer)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  FpsReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const auto& fps = reporter.fps();
  const auto ref = fps.find("BM_CopyPackedParts");
  if (ref == fps.end() || ref->second <= 0) return 0;
  std::printf("\nFrames per second, and time per frame relative to copying the packed parts:\n");
  for (const auto& [name, value] : fps) {
    std::printf("  %-24s %9.1f fps  %6.2f x copy\n", name.c_str(), value, ref->second / value);
  }
  return 0;
}
