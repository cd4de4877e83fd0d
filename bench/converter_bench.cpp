// The frame converter on frames already in DMA parts, beside two references
// measured in the same run: a memcpy of the output bytes, and OpenCV's
// single-threaded Bayer demosaic of an 8-bit mosaic of the same size. The
// ratios to the references are printed at the end, from the fastest of the
// repetitions; on a busy machine run e.g. with
//   --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <random>
#include <string>
#include <vector>

#include "filter/acquisition/FrameConverter.h"
#include "filter/acquisition/settings_records.h"
#include "kellib3/frame/packing.h"

namespace {

struct Size {
  unsigned width;
  unsigned height;
};
constexpr Size kSizes[] = {{640, 480}, {1280, 1024}, {1920, 1080}};

// A random frame packed into four DMA parts, and its 8-bit mosaic.
struct Frame {
  Size size;
  std::vector<std::uint8_t> mosaic;
  std::array<std::vector<std::uint8_t>, 4> parts;

  explicit Frame(Size s) : size(s) {
    const std::size_t n = std::size_t(s.width) * s.height;
    std::mt19937 rng(42);
    std::vector<std::uint16_t> samples(n);
    mosaic.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      samples[i] = static_cast<std::uint16_t>(rng() & 0x3FF);
      mosaic[i] = static_cast<std::uint8_t>(samples[i] >> 2);
    }
    for (auto& p : parts) p.assign(kellib3::dmaPartBytes(s.width, s.height), 0);
    kellib3::packFrame(samples, s.width, s.height, {parts[0], parts[1], parts[2], parts[3]});
  }

  void feed(Orvo::FrameConverter& c) const {
    for (int n = 1; n <= 4; ++n) c.TakePart(n, size.width, size.height, parts[n - 1]);
  }
};

// Levels, gamma and automatic white balance: every table is in use.
void configure() {
  Orvo::ProcessSettings& s = Orvo::Settings();
  s.levels.black = 16;
  s.levels.white = 235;
  s.whiteBalance.enabled = 1;
  s.whiteBalance.automatic = 1;
  s.whiteBalance.gamma = 1;
  s.monochrome = 0;
  s.repack = 0;
}

Size sizeOf(const benchmark::State& state) {
  return {static_cast<unsigned>(state.range(0)), static_cast<unsigned>(state.range(1))};
}

void label(benchmark::State& state, std::size_t outBytes) {
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(outBytes));
}

enum class Kind { Grey24, Grey32, Summation, Colour24, Colour32 };

void convert(benchmark::State& state, Kind kind) {
  configure();
  const Frame frame(sizeOf(state));
  const unsigned w = frame.size.width, h = frame.size.height;
  Orvo::FrameConverter converter;
  frame.feed(converter);
  const int stride = (kind == Kind::Grey32 || kind == Kind::Colour32) ? 4 : 3;
  const std::size_t outPixels = kind == Kind::Summation ? std::size_t(w / 2) * (h / 2) : std::size_t(w) * h;
  std::vector<std::uint8_t> out(outPixels * stride);
  for (auto _ : state) {
    switch (kind) {
      case Kind::Grey24: converter.ConvertGrey24(w, h, out); break;
      case Kind::Grey32: converter.ConvertGrey32(w, h, out); break;
      case Kind::Summation: converter.ConvertSummation(w, h, out, 3); break;
      case Kind::Colour24:
      case Kind::Colour32: converter.ConvertColour(w, h, out, stride); break;
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  label(state, out.size());
}

void BM_Grey24(benchmark::State& state) { convert(state, Kind::Grey24); }
void BM_Grey32(benchmark::State& state) { convert(state, Kind::Grey32); }
void BM_Summation24(benchmark::State& state) { convert(state, Kind::Summation); }
void BM_BayerColour24(benchmark::State& state) { convert(state, Kind::Colour24); }
void BM_BayerColour32(benchmark::State& state) { convert(state, Kind::Colour32); }

// Rebuilding the words of the four parts (done while the next part transfers).
void BM_TakeFourParts(benchmark::State& state) {
  const Frame frame(sizeOf(state));
  Orvo::FrameConverter converter;
  for (auto _ : state) {
    frame.feed(converter);
    benchmark::ClobberMemory();
  }
  label(state, frame.parts[0].size() * 4);
}

void memcpyOf(benchmark::State& state, int bytesPerPixel) {
  const Size s = sizeOf(state);
  const std::size_t n = std::size_t(s.width) * s.height * bytesPerPixel;
  std::vector<std::uint8_t> from(n, 1), to(n);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), n);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  label(state, n);
}

void BM_Memcpy24(benchmark::State& state) { memcpyOf(state, 3); }
void BM_Memcpy32(benchmark::State& state) { memcpyOf(state, 4); }

void BM_OpenCvBayerBG2BGR(benchmark::State& state) {
  cv::setNumThreads(0);
  const Frame frame(sizeOf(state));
  const cv::Mat mosaic(int(frame.size.height), int(frame.size.width), CV_8UC1,
                       const_cast<std::uint8_t*>(frame.mosaic.data()));
  cv::Mat bgr(mosaic.rows, mosaic.cols, CV_8UC3);
  for (auto _ : state) {
    cv::cvtColor(mosaic, bgr, cv::COLOR_BayerBG2BGR);
    benchmark::DoNotOptimize(bgr.data);
    benchmark::ClobberMemory();
  }
  label(state, bgr.total() * 3);
}

void sizes(benchmark::internal::Benchmark* b) {
  for (const Size& s : kSizes) b->Args({s.width, s.height});
  b->ArgNames({"w", "h"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Memcpy24)->Apply(sizes);
BENCHMARK(BM_Memcpy32)->Apply(sizes);
BENCHMARK(BM_OpenCvBayerBG2BGR)->Apply(sizes);
BENCHMARK(BM_TakeFourParts)->Apply(sizes);
BENCHMARK(BM_Grey24)->Apply(sizes);
BENCHMARK(BM_Grey32)->Apply(sizes);
BENCHMARK(BM_Summation24)->Apply(sizes);
BENCHMARK(BM_BayerColour24)->Apply(sizes);
BENCHMARK(BM_BayerColour32)->Apply(sizes);

// Prints as usual and keeps each run's time per frame for the summary.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && r.iterations > 0) {
        // The fastest repetition: the one the other work on the machine
        // disturbed least.
        const auto [it, fresh] = micros_.emplace(r.benchmark_name(), r.GetAdjustedRealTime());
        if (!fresh) it->second = std::min(it->second, r.GetAdjustedRealTime());
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void printRatios() const {
    std::printf("\nTime per frame and ratio to the reference (below 1 is faster):\n");
    for (const Size& s : kSizes) {
      const std::string args = "/w:" + std::to_string(s.width) + "/h:" + std::to_string(s.height);
      line("BM_Grey24", "BM_Memcpy24", args);
      line("BM_Grey32", "BM_Memcpy32", args);
      line("BM_Summation24", "BM_Memcpy24", args);
      line("BM_BayerColour24", "BM_OpenCvBayerBG2BGR", args);
      line("BM_BayerColour32", "BM_OpenCvBayerBG2BGR", args);
      line("BM_TakeFourParts", "BM_Memcpy24", args);
    }
  }

 private:
  void line(const std::string& name, const std::string& ref, const std::string& args) const {
    const auto a = micros_.find(name + args), b = micros_.find(ref + args);
    if (a == micros_.end() || b == micros_.end() || b->second <= 0) return;
    std::printf("  %-40s %9.1f us  %5.2f x %s\n", (name + args).c_str(), a->second, a->second / b->second,
                ref.c_str());
  }

  std::map<std::string, double> micros_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  reporter.printRatios();
  return 0;
}
