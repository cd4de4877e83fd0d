// Saving films: 1000 uncompressed 1280x1024 RGB24 frames through the AVI
// multiplexer and file writer, beside a plain sequential write of the same
// bytes into the same folder (with and without space reserved ahead); and
// frames per second for each compressor, side by side. Every film is checked to hold all
// its frames (header count, size, no unwritten hole), so a fast result
// cannot come from frames lost. Nothing is synced: with 3.9 GB per run and
// enough memory the raw figures are page-cache throughput, which swings
// with the machine's memory state from run to run by a factor of two or
// more for the plain write and the film alike; compare them within one run
// and over several runs, not as disk speeds.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/avi/compressor_kinds.h"
#include "platform/avi/save_interfaces.h"
#include "platform/avi/video_compressor.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/source.h"
#include "platform/dshow/source_stream.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/graph/graph_topology.h"

namespace {

constexpr LONG kWidth = 1280;
constexpr LONG kHeight = 1024;
constexpr LONG kFrameBytes = kWidth * kHeight * 3;
constexpr int kRawFrames = 1000;
constexpr int kCompressedFrames = 50;

std::filesystem::path benchFolder() {
  const char* chosen = std::getenv("KELORVO_BENCH_DIR");
  auto folder = chosen ? std::filesystem::path(chosen) : std::filesystem::temp_directory_path() / "kelorvo_avi_bench";
  std::filesystem::create_directories(folder);
  return folder;
}

// Smooth picture content, as a camera gives, written once per buffer.
void fillPicture(BYTE* data) {
  for (LONG y = 0; y < kHeight; ++y) {
    BYTE* row = data + static_cast<std::size_t>(y) * kWidth * 3;
    for (LONG x = 0; x < kWidth; ++x) {
      row[x * 3] = static_cast<BYTE>(x / 5);
      row[x * 3 + 1] = static_cast<BYTE>(y / 4);
      row[x * 3 + 2] = static_cast<BYTE>((x + y) / 9);
    }
  }
}

class BenchStream final : public CSourceStream {
 public:
  BenchStream(HRESULT* phr, CSource* filter, int frames) : CSourceStream("BenchStream", phr, filter, u"1"), frames_(frames) {}

 protected:
  HRESULT GetMediaType(CMediaType* pmt) override {
    CMediaType mt(&MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_RGB24);
    mt.SetFormatType(&FORMAT_VideoInfo);
    auto* vi = reinterpret_cast<VIDEOINFO*>(mt.AllocFormatBuffer(sizeof(VIDEOINFO)));
    vi->AvgTimePerFrame = 400000;
    vi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), kWidth, kHeight, 1, 24, BI_RGB, kFrameBytes, 0, 0, 0, 0};
    mt.SetSampleSize(kFrameBytes);
    *pmt = mt;
    return S_OK;
  }
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) override {
    request->cBuffers = std::max<LONG>(request->cBuffers, 2);
    request->cbBuffer = kFrameBytes;
    ALLOCATOR_PROPERTIES actual{};
    return alloc->SetProperties(request, &actual);
  }
  HRESULT FillBuffer(IMediaSample* sample) override {
    if (next_ >= frames_) return S_FALSE;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    if (filled_.insert(data).second) fillPicture(data);
    sample->SetActualDataLength(kFrameBytes);
    REFERENCE_TIME start = (next_ + 1) * 400000LL, stop = start + 400000;
    sample->SetTime(&start, &stop);
    ++next_;
    return S_OK;
  }
  HRESULT OnThreadCreate() override {
    next_ = 0;
    return S_OK;
  }

 private:
  const int frames_;
  int next_ = 0;
  std::set<BYTE*> filled_;
};

class BenchSource final : public CSource {
 public:
  static ComPtr<IBaseFilter> create(int frames) {
    HRESULT hr = S_OK;
    auto* filter = new BenchSource(&hr);
    ComPtr<IBaseFilter> result(static_cast<IBaseFilter*>(filter));
    new BenchStream(&hr, filter, frames);
    if (FAILED(hr)) throw std::runtime_error("bench source");
    return result;
  }

 private:
  explicit BenchSource(HRESULT* phr)
      : CSource("BenchSource", nullptr, CLSID{0x3C0E5A21, 0x7D42, 0x4B19, {0x8E, 0x10, 0x5A, 0x61, 2, 0x33, 0x44, 0x16}}, phr) {}
};

ComPtr<IBaseFilter> make(const CLSID& clsid) {
  ComPtr<IBaseFilter> filter;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IBaseFilter, filter.putVoid()))) {
    throw std::runtime_error(plat::lastCoCreateError());
  }
  return filter;
}

ComPtr<IPin> pinOf(IBaseFilter* filter, std::size_t n) { return plat::pinsOf(filter).at(n); }

// source -> [compressor] -> AVIMux -> FileWriter, run to completion.
void saveFilm(int frames, IBaseFilter* compressor, const std::filesystem::path& file) {
  ComPtr<IGraphBuilder> graph;
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, graph.putVoid()))) {
    throw std::runtime_error("no graph");
  }
  auto source = BenchSource::create(frames);
  auto mux = make(CLSID_AviDest);
  auto writer = make(CLSID_FileWriter);
  graph->AddFilter(source.get(), u"Camera");
  graph->AddFilter(mux.get(), u"AVIMux");
  graph->AddFilter(writer.get(), u"FileWriter");
  HRESULT hr = S_OK;
  if (compressor) {
    graph->AddFilter(compressor, u"Compressor");
    hr = graph->Connect(pinOf(source.get(), 0).get(), pinOf(compressor, 0).get());
    if (SUCCEEDED(hr)) hr = graph->Connect(pinOf(compressor, 1).get(), pinOf(mux.get(), 0).get());
  } else {
    hr = graph->Connect(pinOf(source.get(), 0).get(), pinOf(mux.get(), 0).get());
  }
  ComPtr<IFileSinkFilter> sink;
  writer.as(IID_IFileSinkFilter, sink);
  AM_MEDIA_TYPE mt{};
  mt.majortype = MEDIATYPE_Stream;
  mt.subtype = MEDIASUBTYPE_Avi;
  if (SUCCEEDED(hr)) hr = sink->SetFileName(file.u16string().c_str(), &mt);
  if (SUCCEEDED(hr)) hr = graph->ConnectDirect(pinOf(mux.get(), 1).get(), pinOf(writer.get(), 0).get(), &mt);
  ComPtr<IMediaControl> control;
  ComPtr<IMediaEventEx> events;
  graph.as(IID_IMediaControl, control);
  graph.as(IID_IMediaEventEx, events);
  if (SUCCEEDED(hr)) hr = control->Run();
  LONG code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (SUCCEEDED(hr) && events->GetEvent(&code, &p1, &p2, -1) == S_OK && code != EC_COMPLETE) {
    if (code == EC_ERRORABORT) hr = static_cast<HRESULT>(p1);
  }
  control->Stop();
  if (FAILED(hr)) throw std::runtime_error("the save failed");
}

// The frame count the film's headers give: the extended header's total for
// a film over 1 GiB (it spans several RIFF lists), else the main header's.
std::int64_t framesInFilm(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string head(256 * 1024, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  const auto word = [&](std::size_t at) -> std::int64_t {
    if (at + 4 > head.size()) return -1;
    std::uint32_t v = 0;
    std::memcpy(&v, head.data() + at, 4);
    return v;
  };
  // Chunk id, size, then the data: dmlh's first word is the total frames,
  // avih's fifth. A film within one RIFF list leaves dmlh zero (it may sit
  // unused in a JUNK chunk) and counts in avih.
  const auto at = [&](const char* id, std::size_t offset) -> std::int64_t {
    const auto found = head.find(id);
    return found == std::string::npos ? -1 : word(found + 8 + offset);
  };
  return std::max(at("dmlh", 0), at("avih", 16));
}

// Where the first hole of the file starts: its size when every byte was
// written. Space reserved ahead and never written reads as a hole, so a
// film whose headers count frames that never reached the file shows here.
std::int64_t firstHole(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY);
  if (fd < 0) return -1;
  const off_t hole = ::lseek(fd, 0, SEEK_HOLE);
  ::close(fd);
  return hole;
}

// The film must hold every frame: a fast save that lost frames is no result.
bool filmIsComplete(benchmark::State& state, const std::filesystem::path& file, int frames, std::int64_t minBytes) {
  std::error_code error;
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(file, error));
  const std::int64_t counted = framesInFilm(file);
  const std::int64_t hole = firstHole(file);
  if (error || size < minBytes || counted != frames || hole != size) {
    state.SkipWithError(("incomplete film: " + std::to_string(counted) + " of " + std::to_string(frames) +
                         " frames, " + std::to_string(error ? 0 : size) + " bytes, first hole at " +
                         std::to_string(hole))
                            .c_str());
    return false;
  }
  return true;
}

struct Registry {
  Registry() {
    const auto file = benchFolder() / "registry";
    setenv("KELORVO_REGISTRY", file.c_str(), 1);
    plat::registerStandardClasses(false);
  }
};

// The same bytes written plainly; with `reserve` the space is first reserved
// ahead in 8 MiB steps with fallocate, as the file writer does, to tell the
// reservation's share apart from the multiplexer's.
void plainWrite(benchmark::State& state, bool reserve) {
  std::vector<BYTE> frame(kFrameBytes);
  fillPicture(frame.data());
  const auto file = benchFolder() / "plain.bin";
  constexpr off_t kStep = 8 << 20;
  for (auto _ : state) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    off_t reserved = 0, written = 0;
    for (int i = 0; i < kRawFrames; ++i) {
      if (reserve && written + kFrameBytes > reserved) {
        if (::posix_fallocate(fd, reserved, written + kFrameBytes + kStep - reserved) != 0) state.SkipWithError("fallocate");
        reserved = written + kFrameBytes + kStep;
      }
      if (::write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) state.SkipWithError("write");
      written += kFrameBytes;
    }
    if (reserve && ::ftruncate(fd, written) != 0) state.SkipWithError("ftruncate");
    ::close(fd);
    state.PauseTiming();
    if (std::filesystem::file_size(file) != static_cast<std::uintmax_t>(kRawFrames) * kFrameBytes)
      state.SkipWithError("short file");
    std::filesystem::remove(file);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kRawFrames * static_cast<int64_t>(kFrameBytes));
}

void BM_PlainWrite(benchmark::State& state) { plainWrite(state, false); }
BENCHMARK(BM_PlainWrite)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainWriteReserved(benchmark::State& state) { plainWrite(state, true); }
BENCHMARK(BM_PlainWriteReserved)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MuxAndWriter(benchmark::State& state) {
  static Registry registry;
  const auto file = benchFolder() / "film.avi";
  for (auto _ : state) {
    saveFilm(kRawFrames, nullptr, file);
    state.PauseTiming();
    if (!filmIsComplete(state, file, kRawFrames, static_cast<std::int64_t>(kRawFrames) * kFrameBytes)) {
      break;
    }
    std::filesystem::remove(file);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kRawFrames * static_cast<int64_t>(kFrameBytes));
}
BENCHMARK(BM_MuxAndWriter)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The compressor listed under `name`, made as the enumerator's moniker
// makes it; none when this build has no such encoder.
ComPtr<IBaseFilter> compressorNamed(std::u16string_view name) {
  for (const plat::CompressorKind* kind : plat::availableCompressors()) {
    if (name != kind->friendlyName) continue;
    HRESULT hr = S_OK;
    ComPtr<IBaseFilter> filter(static_cast<IBaseFilter*>(CVideoCompressor::create(*kind, &hr)));
    return SUCCEEDED(hr) ? filter : ComPtr<IBaseFilter>{};
  }
  return {};
}

// Frames per second of one compressor, by its listed name.
void BM_Compressor(benchmark::State& state, const char16_t* name) {
  static Registry registry;
  const auto file = benchFolder() / "compressed.avi";
  for (auto _ : state) {
    auto compressor = compressorNamed(name);
    if (!compressor) {
      state.SkipWithError("compressor not available");
      break;
    }
    saveFilm(kCompressedFrames, compressor.get(), file);
    state.PauseTiming();
    // Compressed frames have no fixed size; at least one byte each.
    if (!filmIsComplete(state, file, kCompressedFrames, kCompressedFrames)) {
      break;
    }
    std::filesystem::remove(file);
    state.ResumeTiming();
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations() * kCompressedFrames), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_Compressor, FFV1, u"FFV1 (без потерь)")->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Compressor, UTVideo, u"UT Video (без потерь)")
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Compressor, MotionJPEG, u"Motion JPEG")->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Compressor, H264, u"H.264")->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
