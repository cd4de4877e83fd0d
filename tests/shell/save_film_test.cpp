// Saving a recorded film end to end through CGraph, as the save-film dialog
// drives it, on the virtual camera; every film is read back with a
// player's demuxer and decoder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <fstream>
#include <iterator>

#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"
#include "platform/kernel/text_codec.h"
#include "platform/win/messages.h"
#include "tests/platform/avi/saved_film.h"
#include "tests/shell/save_film_rig.h"

namespace kel::test {
namespace {

constexpr HRESULT kPathNotFound = kelHresult(0x80070003);
constexpr HRESULT kFileTooLarge = kelHresult(0x800700DF);

std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The film's strips read first, first + 1, ... in picture order.
void expectStripsFrom(const ReadFilm& film, LONG first) {
  const auto strips = stripsOf(film);
  for (std::size_t i = 0; i < strips.size(); ++i) {
    ASSERT_TRUE(strips[i].has_value()) << "picture " << i;
    EXPECT_EQ(*strips[i], static_cast<std::uint32_t>(first) + i) << "picture " << i;
  }
}

class SaveFilm : public ::testing::Test {
 protected:
  void recordFilm(int frames) {
    ASSERT_TRUE(rig.record(frames, film)) << rig.graph().GetLastErrorText();
    ASSERT_EQ(film.frames(), frames);
  }
  // A save that must not have started a stream at all: why it failed, and
  // nothing left under that name.
  void expectRefusedAtRun(const std::string& failure, const std::filesystem::path& file) {
    EXPECT_EQ(failure.rfind("Run: ", 0), 0u) << failure;
    EXPECT_FALSE(std::filesystem::exists(file));
  }

  TempDir dir;
  SaveFilmRig rig;
  FilmRange film;
};

// --- whole films and ranges -----------------------------------------------

TEST_F(SaveFilm, AHundredFramesBecomeAnUprightFilmAtTwentyFivePerSecond) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(100));
  const auto file = dir / "film.avi";
  const SaveOutcome out = rig.save(file, kNoCompression, film);
  EXPECT_TRUE(out.ended);
  EXPECT_EQ(out.finished, 1);
  EXPECT_EQ(out.written, 100);
  EXPECT_TRUE(out.has(EC_COMPLETE));
  EXPECT_FALSE(out.has(EC_ERRORABORT));
  // The bar: one SETRANGE first .. last + 1, step 1, from first, a step per frame.
  const Progress& bar = rig.progress();
  EXPECT_EQ(bar.rangeCalls, 1);
  EXPECT_EQ(bar.rangeLow, film.first);
  EXPECT_EQ(bar.rangeHigh, film.last + 1);
  EXPECT_EQ(bar.step, 1);
  EXPECT_EQ(bar.position, film.first);
  EXPECT_EQ(bar.steps, 100);
  EXPECT_TRUE(rig.texts().empty());

  const StreamTiming timing = readStreamTiming(file);
  ASSERT_TRUE(timing.opened);
  EXPECT_EQ(timing.timeBaseNum, 1);
  EXPECT_EQ(timing.timeBaseDen, 25);
  EXPECT_EQ(timing.frameRateNum, 25);
  EXPECT_EQ(timing.frameRateDen, 1);
  EXPECT_EQ(timing.frames, 100);

  const ReadFilm read = readFilm(file);
  ASSERT_TRUE(read.opened) << read.error;
  EXPECT_EQ(read.codec, "rawvideo");
  EXPECT_EQ(read.width, 160);
  EXPECT_EQ(read.height, 40);
  EXPECT_EQ(read.packets, 100);
  ASSERT_EQ(read.pictures.size(), 100u);
  // The strip reads at the top of the decoded picture only when it is upright.
  expectStripsFrom(read, film.first);
}

TEST_F(SaveFilm, ARangeGivesExactlyItsFramesAndTheBarCountsThem) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(50));
  const FilmRange range{film.first + 20, film.first + 40};
  const auto file = dir / "range.avi";
  const SaveOutcome out = rig.save(file, kNoCompression, range);
  EXPECT_TRUE(out.ended);
  EXPECT_EQ(out.finished, 1);
  EXPECT_EQ(out.written, 21);
  EXPECT_EQ(rig.progress().rangeLow, range.first);
  EXPECT_EQ(rig.progress().rangeHigh, range.last + 1);
  EXPECT_EQ(rig.progress().position, range.first);
  EXPECT_EQ(rig.progress().steps, 21);
  const ReadFilm read = readFilm(file);
  ASSERT_TRUE(read.opened) << read.error;
  ASSERT_EQ(read.pictures.size(), 21u);
  expectStripsFrom(read, range.first);
}

// --- compressors ----------------------------------------------------------

struct CodecCase {
  const char* name;
  const char* decoder;
  bool lossless;
};

const CodecCase kCodecs[] = {
    {"FFV1 (без потерь)", "ffv1", true},
    {"UT Video (без потерь)", "utvideo", true},
    {"Motion JPEG", "mjpeg", false},
    {"H.264", "h264", false},
};

TEST_F(SaveFilm, EveryListedCompressorIsCoveredBelow) {
  std::vector<std::string> box;
  ASSERT_TRUE(rig.graph().FillCompressorList(box));
  ASSERT_FALSE(box.empty());
  EXPECT_EQ(box.back(), kNoCompression);
  box.pop_back();
  for (const std::string& name : box) {
    const bool covered = std::any_of(std::begin(kCodecs), std::end(kCodecs), [&](const CodecCase& c) { return name == c.name; });
    EXPECT_TRUE(covered) << name;
  }
}

class SaveFilmCodec : public SaveFilm, public ::testing::WithParamInterface<CodecCase> {};

TEST_P(SaveFilmCodec, DecodesToTheUncompressedFilmOfTheSameRange) {
  const CodecCase codec = GetParam();
  const auto& listed = rig.graph().Compressors();
  if (std::none_of(listed.begin(), listed.end(), [&](const CompressorEntry& e) { return e.name == codec.name; }))
    GTEST_SKIP() << codec.name << " is not offered by this build";
  ASSERT_NO_FATAL_FAILURE(recordFilm(30));
  const FilmRange range{film.first + 5, film.first + 24};
  const auto plainFile = dir / "plain.avi";
  const auto packedFile = dir / "packed.avi";
  EXPECT_EQ(rig.save(plainFile, kNoCompression, range).finished, 1);
  const SaveOutcome out = rig.save(packedFile, codec.name, range);
  EXPECT_EQ(out.finished, 1);
  EXPECT_FALSE(out.has(EC_ERRORABORT));

  const ReadFilm plain = readFilm(plainFile);
  const ReadFilm packed = readFilm(packedFile);
  ASSERT_TRUE(plain.opened && packed.opened) << plain.error << packed.error;
  EXPECT_EQ(packed.codec, codec.decoder);
  EXPECT_EQ(packed.width, plain.width);
  EXPECT_EQ(packed.height, plain.height);
  EXPECT_EQ(packed.packets, range.frames());
  ASSERT_EQ(packed.pictures.size(), plain.pictures.size());
  ASSERT_EQ(packed.pictures.size(), static_cast<std::size_t>(range.frames()));
  expectStripsFrom(packed, range.first);
  for (std::size_t i = 0; i < packed.pictures.size(); ++i) {
    if (codec.lossless) {
      ASSERT_EQ(packed.pictures[i], plain.pictures[i]) << "picture " << i;
    } else {
      EXPECT_LT(meanDifference(packed.pictures[i], plain.pictures[i]), 6.0) << "picture " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Listed, SaveFilmCodec, ::testing::ValuesIn(kCodecs),
                         [](const auto& info) { return std::string(info.param.decoder); });

TEST_F(SaveFilm, AnUnknownCompressorNameSavesWithoutCompression) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(10));
  const auto file = dir / "unknown.avi";
  const SaveOutcome out = rig.save(file, "No such codec", film);
  EXPECT_EQ(out.finished, 1);
  const auto names = filterNames(rig.graph().Graph());
  EXPECT_EQ(names, (std::vector<std::string>{"Camera", "SmartTee", "AVIMux", "Renderer", "FileWriter"}));
  const ReadFilm read = readFilm(file);
  ASSERT_TRUE(read.opened) << read.error;
  EXPECT_EQ(read.codec, "rawvideo");
  EXPECT_EQ(read.pictures.size(), 10u);
}

// --- overlay --------------------------------------------------------------

// Room for the text block beside the frame-number strip.
class SaveFilmOverlay : public ::testing::Test {
 protected:
  // Wide enough that the text block, with the camera's own values, fits in
  // half the picture.
  static constexpr int kWidth = 800, kHeight = 160;
  TempDir dir;
  SaveFilmRig rig{{{"KELLIB3_SIZE", "800x160"}, kSaveClock}};
  FilmRange film;
};

TEST_F(SaveFilmOverlay, OnlyTheTextBlockAtItsPlacementDiffersFromThePlainFilm) {
  ASSERT_TRUE(rig.record(6, film));
  auto camera = rig.camera();
  const auto plainFile = dir / "plain.avi";
  EXPECT_EQ(rig.save(plainFile, kNoCompression, film).finished, 1);
  // 3: bottom left, 5: bottom right; the strip along the top stays clear.
  struct Placed {
    int placement;
    std::filesystem::path file;
  } placed[] = {{3, dir / "left.avi"}, {5, dir / "right.avi"}};
  ASSERT_EQ(camera->SetOverlayEnabled(1), S_OK);
  for (const Placed& p : placed) {
    ASSERT_EQ(camera->SetOverlayPlacement(p.placement), S_OK);
    EXPECT_EQ(rig.save(p.file, kNoCompression, film).finished, 1);
  }
  camera->SetOverlayEnabled(0);

  const ReadFilm plain = readFilm(plainFile);
  ASSERT_TRUE(plain.opened) << plain.error;
  ASSERT_EQ(plain.pictures.size(), static_cast<std::size_t>(film.frames()));
  Block blocks[2];
  for (int k = 0; k < 2; ++k) {
    const ReadFilm over = readFilm(placed[k].file);
    ASSERT_TRUE(over.opened) << over.error;
    ASSERT_EQ(over.pictures.size(), plain.pictures.size());
    expectStripsFrom(over, film.first);
    for (std::size_t i = 0; i < plain.pictures.size(); ++i) {
      const Block b = differingBlock(plain.pictures[i], over.pictures[i], kWidth, kHeight);
      ASSERT_FALSE(b.empty()) << "placement " << placed[k].placement << " picture " << i << " has no text";
      if (i == 0) blocks[k] = b;
      // One block on the bottom edge, in the lower half, narrower than the
      // picture; the strip along the top untouched.
      EXPECT_GE(b.bottom, kHeight - 8) << "picture " << i;
      EXPECT_GT(b.top, kHeight / 2) << "picture " << i;
      EXPECT_LT(b.width(), kWidth / 2 + 8) << "picture " << i;
    }
  }
  const Block& left = blocks[0];
  const Block& right = blocks[1];
  EXPECT_LE(left.left, 2);
  EXPECT_LT(left.right, kWidth / 2 + 8);
  EXPECT_GE(right.right, kWidth - 4);
  EXPECT_GT(right.left, kWidth / 2 - 8);
  // The same text in both places.
  EXPECT_EQ(left.height(), right.height());
  EXPECT_EQ(left.top, right.top);
  EXPECT_NEAR(left.width(), right.width(), 2);
}

// --- the shooting-parameter file ------------------------------------------

TEST_F(SaveFilm, TheParameterFileLiesBesideTheFilmInCodePage1251) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(10));
  auto camera = rig.camera();
  ASSERT_EQ(camera->SetWriteInfoFile(1), S_OK);
  const auto file = dir / "фильм.avi";
  EXPECT_EQ(rig.save(file, kNoCompression, film).finished, 1);
  camera->SetWriteInfoFile(0);
  const auto info = dir / "фильм.avi.info";
  ASSERT_TRUE(std::filesystem::exists(info));
  const std::string bytes = readBytes(info);
  EXPECT_NE(bytes.find(plat::utf8ToCp1251("Кадровый период:")), std::string::npos);
  EXPECT_EQ(bytes.find("Кадровый"), std::string::npos) << "written as UTF-8";
  const std::string text = plat::cp1251ToUtf8(bytes);
  for (const char* line : {"Экспозиция:", "Фон:                   [ ]\r\n", "Окно:                  160x40\r\n",
                           "Цифровое усиление:", "Гамма-коррекция:", "Цифр.коррекция черный:",
                           "Цифр.коррекция белый:"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  EXPECT_TRUE(rig.texts().empty());

  // Without the flag the next save writes none.
  const auto second = dir / "second.avi";
  EXPECT_EQ(rig.save(second, kNoCompression, film).finished, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "second.avi.info"));
}

TEST_F(SaveFilm, TheParameterFileIsWrittenOnceAtTheStartOfARun) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(20));
  auto camera = rig.camera();
  ASSERT_EQ(camera->SetWriteInfoFile(1), S_OK);
  const auto file = dir / "film.avi";
  const auto info = dir / "film.avi.info";
  rig.holdAfterFrame(1);
  ASSERT_EQ(rig.start(file, kNoCompression, film), "");
  // Written with the first frame; a later frame that wrote it again would
  // bring it back.
  ASSERT_TRUE(rig.waitUntilHeld());
  EXPECT_TRUE(std::filesystem::remove(info));
  rig.release();
  const SaveOutcome out = rig.finish();
  camera->SetWriteInfoFile(0);
  EXPECT_EQ(out.finished, 1);
  EXPECT_EQ(out.written, 20);
  EXPECT_FALSE(std::filesystem::exists(info));
}

// --- saves cut short --------------------------------------------------------

TEST_F(SaveFilm, AbortHalfWayLeavesAPlayableFilmOfTheFramesWritten) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(40));
  const auto file = dir / "aborted.avi";
  rig.holdAfterFrame(15);
  ASSERT_EQ(rig.start(file, kNoCompression, film), "");
  ASSERT_TRUE(rig.waitUntilHeld());
  // As the dialog's abort button, outside any message handler, while the
  // fifteenth frame is on its way.
  ASSERT_EQ(rig.camera()->StopCamera(TRUE), S_OK);
  rig.release();
  const SaveOutcome out = rig.finish();
  EXPECT_TRUE(out.ended);
  EXPECT_EQ(out.finished, 0);
  EXPECT_EQ(out.written, 15);
  EXPECT_EQ(rig.progress().steps, 15);

  const ReadFilm read = readFilm(file);
  ASSERT_TRUE(read.opened) << read.error;
  EXPECT_EQ(read.packets, 15);
  ASSERT_EQ(read.pictures.size(), 15u);
  expectStripsFrom(read, film.first);
}

// The dispatcher of a window on the test thread that keeps what is posted to
// it: the thread never runs its loop, so what is sent to the window runs
// only inside the thread's own platform waits.
class UnpumpedDispatcher final : public plat::MessageDispatcher {
 public:
  void post(std::function<void()> task) override {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
  }
  bool isCurrentThread() const override { return std::this_thread::get_id() == owner_; }
  // A plain wait, which delivers nothing.
  void waitForAPost() {
    std::unique_lock lock(mutex_);
    posted_.wait(lock, [this] { return !tasks_.empty(); });
  }
  void forget() {
    std::lock_guard lock(mutex_);
    tasks_.clear();
  }

 private:
  const std::thread::id owner_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::condition_variable posted_;
  std::vector<std::function<void()>> tasks_;
};

// The save dialog's stop on its own thread while the streaming thread, under
// the pin lock, is sending that thread's progress bar its range.
TEST_F(SaveFilm, StoppingFromTheBarsThreadWhileTheRangeIsSentFinishes) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(20));
  auto dispatcher = std::make_shared<UnpumpedDispatcher>();
  std::vector<UINT> got;
  plat::WindowRegistration bar(dispatcher, [&](const plat::Message& m) -> LRESULT {
    got.push_back(m.message);
    return 0;
  });
  ASSERT_EQ(rig.camera()->SetSaveRange(film.first, film.last), S_OK);
  for (int round = 0; round < 5; ++round) {
    got.clear();
    ASSERT_TRUE(rig.graph().BuildSaveGraph(bar.hwnd(), kNoCompression)) << rig.graph().GetLastErrorText();
    ASSERT_TRUE(rig.graph().SetOutputFile((dir / ("stopped" + std::to_string(round) + ".avi")).string())) << rig.graph().GetLastErrorText();
    ASSERT_TRUE(rig.graph().Run()) << rig.graph().GetLastErrorText();
    dispatcher->waitForAPost();
    EXPECT_TRUE(rig.graph().Stop()) << rig.graph().GetLastErrorText();
    // Each start message ran once, here; the steps stayed posted.
    EXPECT_EQ(got, (std::vector<UINT>{PBM_SETRANGE, PBM_SETSTEP, PBM_SETPOS})) << "round " << round;
    dispatcher->forget();
  }
}

// The process may write no file beyond `bytes` while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(SaveFilm, AWriteFailureHalfWayEndsTheSaveAndIsReported) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(100));
  const auto file = dir / "cut.avi";
  SaveOutcome out;
  {
    // Room for the headers and some frames of 160 x 40, not for a hundred.
    FileSizeLimit limit(640 * 1024);
    out = rig.save(file, kNoCompression, film);
  }
  EXPECT_TRUE(out.ended) << "the dialog would wait for ever";
  EXPECT_EQ(out.finished, 0);
  EXPECT_TRUE(out.has(EC_ERRORABORT));
  EXPECT_EQ(out.param(EC_ERRORABORT), kFileTooLarge);

  const ReadFilm read = readFilm(file);
  ASSERT_TRUE(read.opened) << read.error;
  EXPECT_GT(read.packets, 0);
  EXPECT_LT(read.packets, 100);
  // The frame that did not fit is not counted as written.
  EXPECT_EQ(out.written, read.packets);
  EXPECT_EQ(read.pictures.size(), static_cast<std::size_t>(read.packets));
  expectStripsFrom(read, film.first);
  EXPECT_LE(std::filesystem::file_size(file), 640u * 1024u);
}

// --- names and ranges the save refuses ----------------------------------------

TEST_F(SaveFilm, AMissingFolderFailsTheRunWithItsReasonAndTheNextSaveWorks) {
  ASSERT_NO_FATAL_FAILURE(recordFilm(10));
  const auto file = dir / "missing" / "film.avi";
  const std::string failure = rig.start(file, kNoCompression, film);
  expectRefusedAtRun(failure, file);
  EXPECT_NE(failure.find(std::to_string(kPathNotFound)), std::string::npos) << failure;
  EXPECT_EQ(graphState(rig.graph().Graph()), State_Stopped);

  const auto good = dir / "film.avi";
  EXPECT_EQ(rig.save(good, kNoCompression, film).finished, 1);
  EXPECT_EQ(readFilm(good).pictures.size(), 10u);
}

TEST_F(SaveFilm, AReadOnlyFolderFailsTheRunWithAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ASSERT_NO_FATAL_FAILURE(recordFilm(10));
  const auto folder = dir / "locked";
  std::filesystem::create_directory(folder);
  chmod(folder.c_str(), 0555);
  const auto file = folder / "film.avi";
  const std::string failure = rig.start(file, kNoCompression, film);
  chmod(folder.c_str(), 0755);
  expectRefusedAtRun(failure, file);
  EXPECT_NE(failure.find(std::to_string(E_ACCESSDENIED)), std::string::npos) << failure;
}

struct RefusedRange {
  const char* label;
  LONG firstFromStart, lastFromStart;  // relative to the film's first frame
  const char* text;                     // part of the posted reason
};

class SaveFilmRefusedRange : public SaveFilm, public ::testing::WithParamInterface<RefusedRange> {};

TEST_P(SaveFilmRefusedRange, EndsAtOnceWithItsReasonAndNoFilm) {
  const RefusedRange c = GetParam();
  ASSERT_NO_FATAL_FAILURE(recordFilm(20));
  const FilmRange range{film.first + c.firstFromStart, film.first + c.lastFromStart};
  const auto file = dir / "refused.avi";
  const SaveOutcome out = rig.save(file, kNoCompression, range);
  EXPECT_TRUE(out.ended);
  EXPECT_EQ(out.finished, 0);
  EXPECT_EQ(out.written, 0);
  EXPECT_EQ(rig.progress().steps, 0);
  const auto texts = rig.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find(c.text), std::string::npos) << texts[0];
  // Whatever is left holds no picture.
  if (std::filesystem::exists(file)) {
    EXPECT_TRUE(readFilm(file).pictures.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, SaveFilmRefusedRange,
                         ::testing::Values(RefusedRange{"PastTheEnd", 10, 25, "выходит за пределы фильма"},
                                           RefusedRange{"BeforeTheStart", -5, 5, "выходит за пределы фильма"},
                                           RefusedRange{"FirstAfterLast", 12, 8, "больше последнего"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(SaveFilm, WithoutARecordedFilmTheSaveEndsWithItsReason) {
  const auto file = dir / "nothing.avi";
  const SaveOutcome out = rig.save(file, kNoCompression, FilmRange{0, 0});
  EXPECT_TRUE(out.ended);
  EXPECT_EQ(out.finished, 0);
  EXPECT_EQ(out.written, 0);
  const auto texts = rig.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("нет записанного фильма"), std::string::npos) << texts[0];
  if (std::filesystem::exists(file)) {
    EXPECT_TRUE(readFilm(file).pictures.empty());
  }
}

TEST_F(SaveFilm, ASaveAskedForDuringARecordingEndsTheRecordingFirst) {
  ASSERT_TRUE(rig.startRecording(1000000)) << rig.graph().GetLastErrorText();
  // Opening the save panel builds its graph, which stops the running one.
  ASSERT_TRUE(rig.graph().BuildSaveGraph(rig.bar(), kNoCompression)) << rig.graph().GetLastErrorText();
  FilmRange recorded;
  ASSERT_TRUE(rig.filmRange(recorded));
  const auto file = dir / "early.avi";
  // At most ten frames of it, to stay quick.
  const LONG first = std::max<LONG>(recorded.first, 0);
  const FilmRange range{first, std::clamp<LONG>(recorded.last, first, first + 9)};
  const SaveOutcome out = rig.save(file, kNoCompression, range);
  EXPECT_TRUE(out.ended);
  const auto texts = rig.texts();
  for (const auto& text : texts) EXPECT_EQ(text.find("ещё записывается"), std::string::npos) << text;
  if (recorded.first >= 0 && recorded.last >= recorded.first) {
    // What was recorded up to the stop is a film like any other.
    EXPECT_EQ(out.finished, 1);
    const ReadFilm read = readFilm(file);
    ASSERT_TRUE(read.opened) << read.error;
    ASSERT_EQ(read.pictures.size(), static_cast<std::size_t>(range.frames()));
    expectStripsFrom(read, range.first);
  } else {
    EXPECT_EQ(out.finished, 0);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("нет записанного фильма"), std::string::npos) << texts[0];
  }
}

}  // namespace
}  // namespace kel::test
