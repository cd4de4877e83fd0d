// The save graph end to end: films written through the graph manager and
// read back with libavformat/libavcodec, and the ways a save can fail.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <tuple>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "platform/avi/file_sink.h"
#include "tests/platform/avi/avi_reading.h"
#include "tests/platform/avi/holding_sink.h"
#include "tests/platform/avi/save_graph_fixture.h"

namespace kel::test {
namespace {

constexpr HRESULT kPathNotFound = kelHresult(0x80070003);
constexpr HRESULT kFileTooLarge = kelHresult(0x800700DF);

// Every decoded picture must be the source's picture of the same number.
void expectFramesEqual(const ReadFilm& film, const SaveSourceConfig& config, double tolerance) {
  for (std::size_t n = 0; n < film.pictures.size(); ++n) {
    const auto expected = uprightPicture(config, static_cast<int>(n));
    if (tolerance == 0) {
      ASSERT_EQ(film.pictures[n], expected) << "frame " << n;
    } else {
      ASSERT_LT(meanDifference(film.pictures[n], expected), tolerance) << "frame " << n;
    }
  }
}

// Runs `body` in a child process and returns the numbers it reported; the
// child's own failures come back as a missing report.
std::vector<long> inChild(const std::function<std::vector<long>()>& body) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    const std::vector<long> report = body();
    const ssize_t ignored = write(fds[1], report.data(), report.size() * sizeof(long));
    _exit(ignored == static_cast<ssize_t>(report.size() * sizeof(long)) ? 0 : 1);
  }
  close(fds[1]);
  std::vector<long> report(16);
  const ssize_t got = read(fds[0], report.data(), report.size() * sizeof(long));
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (got < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  report.resize(static_cast<std::size_t>(got) / sizeof(long));
  return report;
}

// --- uncompressed films -------------------------------------------------

class UncompressedFilm : public SaveGraphTest, public ::testing::WithParamInterface<SaveSourceConfig> {};

TEST_P(UncompressedFilm, ReadsBackUprightFrameForFrameAtTwentyFivePerSecond) {
  const SaveSourceConfig config = GetParam();
  const auto file = dir_ / "film.avi";
  build(config, nullptr, file);
  ASSERT_EQ(control_->Run(), S_OK);
  const Event3 end = waitForEnd();
  EXPECT_EQ(end.code, EC_COMPLETE);
  EXPECT_EQ(end.p1, S_OK);

  const ReadFilm film = readFilm(file);
  ASSERT_TRUE(film.opened) << film.error;
  EXPECT_EQ(film.codec, "rawvideo");
  EXPECT_EQ(film.width, config.width);
  EXPECT_EQ(film.height, config.height);
  EXPECT_DOUBLE_EQ(film.frameRate, 25.0);
  EXPECT_EQ(film.packets, config.frames);
  ASSERT_EQ(film.pictures.size(), static_cast<std::size_t>(config.frames));
  expectFramesEqual(film, config, 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, UncompressedFilm,
                         ::testing::Values(SaveSourceConfig{64, 48, 24, 10},
                                           // rows padded to four bytes
                                           SaveSourceConfig{30, 20, 24, 7},
                                           SaveSourceConfig{64, 48, 32, 5}),
                         [](const auto& info) {
                           const SaveSourceConfig& c = info.param;
                           return "Rgb" + std::to_string(c.bitCount) + "_" + std::to_string(c.width) + "x" +
                                  std::to_string(c.height);
                         });

TEST_F(SaveGraphTest, FrameRateFollowsTheSamplesWhenTheTypeGivesNone) {
  SaveSourceConfig config{32, 16, 24, 4};
  config.avgTimePerFrame = 0;
  config.sampleDuration = 200000;
  const auto file = dir_ / "film.avi";
  build(config, nullptr, file);
  ASSERT_EQ(control_->Run(), S_OK);
  EXPECT_EQ(waitForEnd().code, EC_COMPLETE);
  const ReadFilm film = readFilm(file);
  ASSERT_TRUE(film.opened) << film.error;
  EXPECT_DOUBLE_EQ(film.frameRate, 50.0);
  EXPECT_EQ(film.packets, 4);
}

// --- compressed films ---------------------------------------------------

struct CompressorCase {
  const char16_t* name;
  const char* encoder;
  const char* decoder;
  double tolerance;  // 0: lossless
};

class CompressedFilm : public SaveGraphTest, public ::testing::WithParamInterface<CompressorCase> {};

TEST_P(CompressedFilm, DecodesToTheSourcePictures) {
  const CompressorCase c = GetParam();
  if (!avcodec_find_encoder_by_name(c.encoder)) GTEST_SKIP() << c.encoder << " is not in this libavcodec";
  const SaveSourceConfig config{64, 48, 24, 30};
  auto compressor = compressorNamed(c.name);
  ASSERT_TRUE(compressor);
  const auto file = dir_ / "film.avi";
  build(config, compressor.get(), file);
  ASSERT_EQ(control_->Run(), S_OK);
  EXPECT_EQ(waitForEnd().code, EC_COMPLETE);

  const ReadFilm film = readFilm(file);
  ASSERT_TRUE(film.opened) << film.error;
  EXPECT_EQ(film.codec, c.decoder);
  EXPECT_EQ(film.width, 64);
  EXPECT_EQ(film.height, 48);
  EXPECT_DOUBLE_EQ(film.frameRate, 25.0);
  EXPECT_EQ(film.packets, config.frames);
  ASSERT_EQ(film.pictures.size(), static_cast<std::size_t>(config.frames));
  expectFramesEqual(film, config, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CompressedFilm,
                         ::testing::Values(CompressorCase{u"FFV1 (без потерь)", "ffv1", "ffv1", 0},
                                           CompressorCase{u"UT Video (без потерь)", "utvideo", "utvideo", 0},
                                           CompressorCase{u"Motion JPEG", "mjpeg", "mjpeg", 3.0},
                                           CompressorCase{u"H.264", "libx264", "h264", 3.0}),
                         [](const auto& info) { return std::string(info.param.decoder); });

// A picture of a sensor's size is cut into slices whose layout only the
// encoder's global headers give; the film must carry them to be read.
class LosslessFilm : public SaveGraphTest, public ::testing::WithParamInterface<std::tuple<CompressorCase, WORD>> {};

TEST_P(LosslessFilm, LargePicturesDecodeByteExact) {
  const auto& [c, bits] = GetParam();
  if (!avcodec_find_encoder_by_name(c.encoder)) GTEST_SKIP() << c.encoder << " is not in this libavcodec";
  const SaveSourceConfig config{800, 600, bits, 3};
  auto compressor = compressorNamed(c.name);
  ASSERT_TRUE(compressor);
  const auto file = dir_ / "film.avi";
  build(config, compressor.get(), file);
  ASSERT_EQ(control_->Run(), S_OK);
  EXPECT_EQ(waitForEnd().code, EC_COMPLETE);
  const ReadFilm film = readFilm(file);
  ASSERT_TRUE(film.opened) << film.error;
  ASSERT_EQ(film.pictures.size(), static_cast<std::size_t>(config.frames)) << film.error;
  expectFramesEqual(film, config, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, LosslessFilm,
                         ::testing::Combine(::testing::Values(CompressorCase{u"FFV1 (без потерь)", "ffv1", "ffv1", 0},
                                                              CompressorCase{u"UT Video (без потерь)", "utvideo",
                                                                             "utvideo", 0}),
                                            ::testing::Values(WORD{24}, WORD{32})),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).decoder) + "_rgb" +
                                  std::to_string(std::get<1>(info.param));
                         });

TEST_F(SaveGraphTest, LowerMotionJpegQualityGivesASmallerFilm) {
  const SaveSourceConfig config{64, 48, 24, 10};
  std::uintmax_t sizes[2] = {};
  const LONG qualities[2] = {100, 5};
  for (int i = 0; i < 2; ++i) {
    auto compressor = compressorNamed(u"Motion JPEG");
    ASSERT_TRUE(compressor);
    ComPtr<IKelCompressorSettings> settings;
    ASSERT_EQ(compressor.as(IID_IKelCompressorSettings, settings), S_OK);
    ASSERT_EQ(settings->SetQuality(qualities[i]), S_OK);
    const auto file = dir_ / ("q" + std::to_string(i) + ".avi");
    SetUp();  // a fresh graph for each film
    build(config, compressor.get(), file);
    ASSERT_EQ(control_->Run(), S_OK);
    ASSERT_EQ(waitForEnd().code, EC_COMPLETE);
    EXPECT_EQ(settings->SetQuality(50), VFW_E_NOT_STOPPED);
    control_->Stop();
    sizes[i] = std::filesystem::file_size(file);
  }
  EXPECT_LT(sizes[1], sizes[0]);
}

// --- films cut short ----------------------------------------------------

TEST_F(SaveGraphTest, StopHalfWayFinishesTheFilmAndReportsTheAbort) {
  SaveSourceConfig config{64, 48, 24, -1};
  config.announceAt = 6;
  const auto file = dir_ / "film.avi";
  build(config, nullptr, file);
  ASSERT_EQ(control_->Run(), S_OK);
  stream_->reached.wait();
  ASSERT_EQ(control_->Stop(), S_OK);

  bool aborted = false;
  for (const Event3& e : queuedEvents()) {
    EXPECT_NE(e.code, EC_COMPLETE);
    if (e.code == EC_ERRORABORT && e.p1 == E_ABORT) aborted = true;
  }
  EXPECT_TRUE(aborted);
  const ReadFilm film = readFilm(file);
  ASSERT_TRUE(film.opened) << film.error;
  EXPECT_GE(film.packets, 6);
  EXPECT_EQ(film.pictures.size(), static_cast<std::size_t>(film.packets));
  expectFramesEqual(film, config, 0);
}

TEST_F(SaveGraphTest, ACopyTakenMidWriteDecodesEveryFrameWrittenSoFar) {
  SaveSourceConfig config{64, 48, 24, 12};
  config.announceAt = 5;
  config.holdAtAnnounce = true;
  const auto file = dir_ / "film.avi";
  const auto copy = dir_ / "copy.avi";
  build(config, nullptr, file);
  ASSERT_EQ(control_->Run(), S_OK);
  // Frames 0..4 went through the whole graph before frame 5 was asked for.
  stream_->reached.wait();
  std::filesystem::copy_file(file, copy);
  stream_->release.set();
  EXPECT_EQ(waitForEnd().code, EC_COMPLETE);

  const ReadFilm partial = readFilm(copy);
  ASSERT_TRUE(partial.opened) << partial.error;
  EXPECT_EQ(partial.pictures.size(), 5u);
  expectFramesEqual(partial, config, 0);
  const ReadFilm whole = readFilm(file);
  EXPECT_EQ(whole.pictures.size(), 12u);
}

TEST_F(SaveGraphTest, AWriteFailureFinishesTheFilmAndReportsIt) {
  const SaveSourceConfig config{64, 48, 24, 200};
  const auto file = dir_ / "film.avi";
  build(config, nullptr, file);
  const auto report = inChild([&]() -> std::vector<long> {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{512 * 1024, 512 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    const HRESULT run = control_->Run();
    const Event3 end = waitForEnd();
    control_->Stop();
    ComPtr<IKelSaveStatus> status;
    HRESULT failure = S_OK;
    BSTR text = nullptr;
    if (writer_.as(IID_IKelSaveStatus, status) == S_OK) status->GetLastFailure(&failure, &text);
    const long textLength = SysStringLen(text);
    SysFreeString(text);
    return {run, end.code, static_cast<long>(end.p1), failure, textLength};
  });
  ASSERT_EQ(report.size(), 5u);
  EXPECT_EQ(report[0], S_OK);
  EXPECT_EQ(report[1], EC_ERRORABORT);
  EXPECT_EQ(report[2], kFileTooLarge);
  EXPECT_EQ(report[3], kFileTooLarge);
  EXPECT_GT(report[4], 0);

  const ReadFilm film = readFilm(file);
  ASSERT_TRUE(film.opened) << film.error;
  EXPECT_GT(film.packets, 0);
  EXPECT_LT(film.packets, config.frames);
  EXPECT_EQ(film.pictures.size(), static_cast<std::size_t>(film.packets));
  expectFramesEqual(film, config, 0);
  EXPECT_LE(std::filesystem::file_size(file), 512u * 1024u);
}

// --- names the file system refuses ----------------------------------------

TEST_F(SaveGraphTest, AMissingFolderFailsTheRunWithItsReasonAndLeavesNoFile) {
  const auto file = dir_ / "missing" / "film.avi";
  build(SaveSourceConfig{}, nullptr, file);
  EXPECT_EQ(control_->Run(), kPathNotFound);
  OAFilterState state = -1;
  control_->GetState(0, &state);
  EXPECT_EQ(state, State_Stopped);
  ComPtr<IKelSaveStatus> status;
  ASSERT_EQ(writer_.as(IID_IKelSaveStatus, status), S_OK);
  HRESULT failure = S_OK;
  BSTR text = nullptr;
  ASSERT_EQ(status->GetLastFailure(&failure, &text), S_OK);
  EXPECT_EQ(failure, kPathNotFound);
  EXPECT_NE(std::u16string(text ? text : u"").find(u"missing"), std::u16string::npos);
  SysFreeString(text);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SaveGraphTest, AReadOnlyFolderFailsTheRunWithAccessDenied) {
  const auto folder = dir_ / "locked";
  std::filesystem::create_directory(folder);
  const auto file = folder / "film.avi";
  build(SaveSourceConfig{}, nullptr, file);
  chmod(folder.c_str(), 0555);
  // In a child, so that a test run as root can give up its rights first.
  const auto report = inChild([&]() -> std::vector<long> {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return {};
    return {control_->Run()};
  });
  chmod(folder.c_str(), 0755);
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0], E_ACCESSDENIED);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SaveGraphTest, TheFileWriterKeepsItsNameAndRefusesANewOneWhileRunning) {
  const auto file = dir_ / "film.avi";
  SaveSourceConfig config{16, 8, 24, -1};
  config.announceAt = 1;
  build(config, nullptr, file);
  ComPtr<IFileSinkFilter> sink;
  ASSERT_EQ(writer_.as(IID_IFileSinkFilter, sink), S_OK);
  LPOLESTR name = nullptr;
  AM_MEDIA_TYPE mt{};
  ASSERT_EQ(sink->GetCurFile(&name, &mt), S_OK);
  EXPECT_EQ(std::u16string(name), file.u16string());
  EXPECT_EQ(mt.subtype, MEDIASUBTYPE_Avi);
  CoTaskMemFree(name);
  ASSERT_EQ(control_->Run(), S_OK);
  stream_->reached.wait();
  EXPECT_EQ(sink->SetFileName(u"/tmp/other.avi", nullptr), VFW_E_NOT_STOPPED);
}

}  // namespace
}  // namespace kel::test

namespace kel::test {
namespace {

TEST_F(SaveGraphTest, AStalledPreviewNeitherBlocksNorThinsTheCapturePath) {
  HoldingSink* preview = nullptr;
  auto holder = HoldingSink::create(&preview);
  const SaveSourceConfig config{32, 16, 24, 20};
  const auto file = dir_ / "film.avi";
  build(config, nullptr, file, holder.get());
  ASSERT_EQ(control_->Run(), S_OK);
  EXPECT_EQ(waitForEnd().code, EC_COMPLETE);
  // Two preview buffers, both kept by the stalled sink: the rest were dropped.
  EXPECT_EQ(preview->received.load(), 2);
  EXPECT_EQ(preview->timed.load(), 0);
  const ReadFilm film = readFilm(file);
  EXPECT_EQ(film.packets, config.frames);
  expectFramesEqual(film, config, 0);
}

}  // namespace
}  // namespace kel::test
