// `kelorvo capture` run as a user runs it: films read back as a
// player reads them, each frame known by its frame-number strip.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include "filter/acquisition/controller_slots.h"
#include "platform/kernel/named_reservation.h"
#include "platform/kernel/text_codec.h"
#include "tests/filter/capture/child_process.h"
#include "tests/platform/avi/saved_film.h"
#include "tests/support/temp_env.h"

namespace kel::test {
namespace {

using Words = std::vector<std::string>;

std::string readText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class KelorvoSave : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(kelorvo({"register"}).exitCode, 0); }
  RunResult kelorvo(const Words& args) { return runProgram(binDir() / "kelorvo", args); }

  // The film holds frames first, first + 1, … in order.
  static void expectFrames(const std::filesystem::path& file, std::uint32_t first, std::size_t count) {
    const ReadFilm film = readFilm(file);
    ASSERT_TRUE(film.opened) << film.error;
    ASSERT_EQ(film.pictures.size(), count);
    const auto numbers = stripsOf(film);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      ASSERT_TRUE(numbers[i].has_value()) << "frame " << i;
      EXPECT_EQ(*numbers[i], first + i) << "frame " << i;
    }
  }

  // Fails the test unless the command failed with one "kelorvo CMD: …" line
  // containing `part`.
  static void expectOneLineFailure(const RunResult& r, const std::string& part) {
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_EQ(r.err.rfind("kelorvo ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
  }

  TempDir dir;
  ScopedEnv registry{"KELORVO_REGISTRY", (dir / "registry").string()};
  ScopedEnv run{"XDG_RUNTIME_DIR", (dir / "run").string()};
  ScopedEnv state{"KELLIB3_STATE_DIR", (dir / "state").string()};
  ScopedEnv scale{"KELLIB3_TIME_SCALE", "1000"};
  ScopedEnv size{"KELLIB3_SIZE", "320x240"};
  ScopedEnv camera{"KELLIB3_CAMERA", ""};
  ScopedEnv faults{"KELLIB3_FAIL", ""};
};

TEST_F(KelorvoSave, CaptureWritesEveryFrameInOrderWithTheParameterFile) {
  const auto base = dir / "x";
  const RunResult r = kelorvo({"capture", "--frames", "50", "--out", base.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto avi = dir / "x.avi";
  const auto info = dir / "x.avi.info";
  EXPECT_NE(r.out.find("Saved frames 0..49 (50 frames)\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("AVI: " + avi.string() + "\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Info: " + info.string() + "\n"), std::string::npos) << r.out;
  expectFrames(avi, 0, 50);
  const std::string text = plat::cp1251ToUtf8(readText(info));
  EXPECT_EQ(text.rfind("Кадровый период:", 0), 0u) << text;
  EXPECT_NE(text.find("Окно:                  320x240"), std::string::npos) << text;
  // Standard error is no terminal here: plain progress lines, the last one full.
  EXPECT_NE(r.err.find("Saving: 50/50 frames (100%)\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\r'), std::string::npos) << r.err;
}

TEST_F(KelorvoSave, ARangeWithTheLosslessCodecAndNoParameterFile) {
  const RunResult codecs = kelorvo({"codecs"});
  ASSERT_EQ(codecs.exitCode, 0) << codecs.err;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(codecs.out, m, std::regex("(^|\n)(FFV1[^\n]*)\n"))) << codecs.out;
  const std::string ffv1 = m[2];
  const RunResult r = kelorvo({"capture", "--frames", "40", "--out", (dir / "part.mp4").string(), "--from", "5",
                               "--to", "14", "--codec", ffv1, "--no-info"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Saved frames 5..14 (10 frames)\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Info:"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(dir / "part.mp4"));
  EXPECT_FALSE(std::filesystem::exists(dir / "part.avi.info"));
  EXPECT_EQ(readFilm(dir / "part.avi").codec, "ffv1");
  expectFrames(dir / "part.avi", 5, 10);

  const RunResult outside = kelorvo({"capture", "--frames", "10", "--out", (dir / "o").string(), "--to", "10"});
  expectOneLineFailure(outside, "frames 0..10 are not within the recorded film 0..9");
  EXPECT_FALSE(std::filesystem::exists(dir / "o.avi"));
}

TEST_F(KelorvoSave, TheOverlayIsDrawnWhereItIsPlaced) {
  ASSERT_EQ(kelorvo({"capture", "--frames", "3", "--out", (dir / "plain").string()}).exitCode, 0);
  const RunResult r = kelorvo({"capture", "--frames", "3", "--out", (dir / "text").string(), "--overlay",
                               "--placement", "4", "--font", "sans-serif,16", "--color", "00FF00"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // A family name fontconfig stands another font in for is not taken silently.
  EXPECT_NE(r.err.find("--font \"sans-serif\" is drawn with \""), std::string::npos) << r.err;
  const ReadFilm plain = readFilm(dir / "plain.avi");
  const ReadFilm text = readFilm(dir / "text.avi");
  ASSERT_TRUE(plain.opened && text.opened) << plain.error << text.error;
  ASSERT_EQ(plain.pictures.size(), 3u);
  ASSERT_EQ(text.pictures.size(), 3u);
  // Bottom centre: only the lower half changes, and there green dominates.
  const std::size_t row = static_cast<std::size_t>(plain.width) * 3;
  const std::size_t half = row * static_cast<std::size_t>(plain.height / 2);
  std::size_t upper = 0, lower = 0, green = 0;
  for (std::size_t k = 0; k < plain.pictures[1].size(); ++k) {
    if (plain.pictures[1][k] == text.pictures[1][k]) continue;
    (k < half ? upper : lower) += 1;
    if (k % 3 == 1) ++green;  // BGR: the middle byte
  }
  EXPECT_EQ(upper, 0u);
  EXPECT_GT(lower, 0u);
  EXPECT_GT(green * 2, lower);
}

TEST_F(KelorvoSave, AnExistingFilmIsReplacedOnlyWithForce) {
  const auto avi = dir / "film.avi";
  std::ofstream(avi) << "keep";
  const RunResult refused = kelorvo({"capture", "--frames", "5", "--out", (dir / "film.mp4").string()});
  expectOneLineFailure(refused, avi.string() + " already exists; --force replaces it");
  EXPECT_EQ(readText(avi), "keep");
  const RunResult forced = kelorvo({"capture", "--frames", "5", "--out", (dir / "film").string(), "--force"});
  ASSERT_EQ(forced.exitCode, 0) << forced.err;
  expectFrames(avi, 0, 5);
}

TEST_F(KelorvoSave, TargetsThatCannotBeWrittenFailWithOneLine) {
  std::ofstream(dir / "plainfile") << "x";
  const std::vector<std::pair<Words, std::string>> cases = {
      {{"--out", (dir / "missing" / "x").string()}, "cannot write " + (dir / "missing" / "x.avi").string()},
      {{"--out", (dir / "plainfile" / "x").string()}, "Not a directory"},
      {{"--out", (dir / ".avi").string()}, "Некорректное имя файла"},
      {{"--out", ".avi"}, "Некорректное имя файла: \".avi\""},
      {{"--out", (dir / "x").string(), "--codec", "DivX"}, "no codec \"DivX\"; `kelorvo codecs` lists them"},
      {{"--out", (dir / "x").string(), "--placement", "2"}, "--placement goes with --overlay"},
      {{"--out", (dir / "x").string(), "--overlay", "--color", "000000"}, "black overlay text is never drawn"},
      {{"--out", (dir / "x").string(), "--overlay", "--placement", "6"}, "the placement runs from 0 to 5"},
      {{"--out", (dir / "x").string(), "--from", "9", "--to", "3"}, "--from must not be after --to"},
      {{"--out", (dir / "x\ny").string()}, "the film's name holds a line end or another control character"},
      {{"--out", (dir / "x").string(), "--frames", "99999999999"},
       "--frames 99999999999 is more than the grabber's memory holds: at most "},
  };
  for (const auto& [extra, reason] : cases) {
    Words args{"capture", "--frames", "3"};
    args.insert(args.end(), extra.begin(), extra.end());
    expectOneLineFailure(kelorvo(args), reason);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "x.avi"));
  EXPECT_FALSE(std::filesystem::exists(dir / "x\ny.avi"));
}

TEST_F(KelorvoSave, NoCameraIsAClearReason) {
  ScopedEnv absent{"KELLIB3_CAMERA", "absent"};
  const RunResult r = kelorvo({"capture", "--frames", "3", "--out", (dir / "a").string()});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.err.find("kelorvo capture: cannot open the camera: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Камера не обнаружена"), std::string::npos) << r.err;
}

// The last line is the one a user reads: it names the camera's own reason,
// and a failing recording ends the program instead of waiting for ever.
TEST_F(KelorvoSave, FaultsEndTheCaptureWithTheirReasonOnTheLastLine) {
  const std::vector<std::pair<std::string, std::string>> faults = {
      // The start command, then the status reads of the recording.
      {"CallCInterface_0:2", "the recording failed: RunCamera"},
      {"CallCInterface_1:2", "the recording failed: "},
      {"CallCInterface_1:3", "the recording failed: "},
      // Input control that never started: the camera only showed a box.
      {"CallCInterface_0:3", "the recording left no film in the grabber's memory: "},
      {"OptionSetEnumVal:4", "the camera reported an error: "},
      // The frame count refused: no film of another length, the reason once.
      {"OptionSetScalar:3", "SetValue("},
  };
  for (const auto& [fault, reason] : faults) {
    ScopedEnv failing{"KELLIB3_FAIL", fault};
    const RunResult r = kelorvo({"capture", "--frames", "30", "--out", (dir / "f").string()});
    EXPECT_NE(r.exitCode, 0) << fault;
    const std::string last = r.err.substr(r.err.rfind('\n', r.err.size() - 2) + 1);
    EXPECT_EQ(last.rfind("kelorvo capture: " + reason, 0), 0u) << fault << "\n" << r.err;
    const std::string function = "KelLib3" + fault.substr(0, fault.find(':'));
    const auto said = last.find(function + ": the device did not answer");
    EXPECT_NE(said, std::string::npos) << fault << "\n" << r.err;
    EXPECT_EQ(last.find(function, said + 1), std::string::npos) << "said twice: " << last;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "f.avi"));

  ScopedEnv unusable{"KELLIB3_SIZE", "0x0"};
  const RunResult r = kelorvo({"capture", "--frames", "3", "--out", (dir / "f").string()});
  EXPECT_NE(r.err.find("cannot open the camera: KelOrvoSource():"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("KELLIB3_SIZE=\"0x0\": expected WxH"), std::string::npos) << r.err;
}

TEST_F(KelorvoSave, AllControllersTakenIsSaidSo) {
  // Three other programs hold the first slots; the fourth never opens a system.
  std::vector<plat::NamedReservation> taken;
  for (int slot = 0; slot < 3; ++slot) taken.push_back(plat::NamedReservation::create(Orvo::kControllerSlotNames[slot]).reservation);
  const RunResult r = kelorvo({"capture", "--frames", "3", "--out", (dir / "a").string()});
  expectOneLineFailure(r, "kelorvo capture: cannot open the camera: every controller is busy with other programs");
}

TEST_F(KelorvoSave, HelpListsTheSaveOptions) {
  const RunResult r = kelorvo({"capture", "--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* part : {"usage: kelorvo ", "--codec NAME", "--from A --to B", "--placement 0-5", "--force", "--gain"})
    EXPECT_NE(r.out.find(part), std::string::npos) << part;
  expectOneLineFailure(kelorvo({"capture"}), "usage: kelorvo capture --frames N --out FILE");
}

// The program with standard error on a pipe, so the test can act on what
// it writes while it runs.
class Spawned {
 public:
  explicit Spawned(const Words& args) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const std::string program = (binDir() / "kelorvo").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    err_ = fds[0];
  }
  ~Spawned() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (err_ >= 0) close(err_);
  }

  // Reads standard error until `text` appears; false at its end.
  bool readUntil(const std::string& text) {
    char buffer[4096];
    while (text_.find(text) == std::string::npos) {
      const ssize_t n = read(err_, buffer, sizeof buffer);
      if (n <= 0) return false;
      text_.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
  }
  void interrupt() { kill(pid_, SIGINT); }
  // Exit code once it ended, with all it wrote.
  int finish() {
    readUntil(std::string(1, '\0'));
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& err() const { return text_; }

 private:
  pid_t pid_ = -1;
  int err_ = -1;
  std::string text_;
};

TEST_F(KelorvoSave, CtrlCAbortsTheSaveAndReportsAnIncompleteFilm) {
  // A slow compressor on larger frames keeps the save going long after its
  // first progress line.
  ScopedEnv larger{"KELLIB3_SIZE", "640x480"};
  Spawned capture({"capture", "--frames", "400", "--out", (dir / "cut").string(), "--codec", "H.264"});
  ASSERT_TRUE(capture.readUntil("Saving: ")) << capture.err();
  capture.interrupt();
  EXPECT_EQ(capture.finish(), 1) << capture.err();
  EXPECT_NE(capture.err().find("kelorvo capture: Возникла ошибка при сохранении фильма (interrupted)\n"),
            std::string::npos)
      << capture.err();
  EXPECT_EQ(capture.err().find("Saving: 400/400"), std::string::npos) << capture.err();
}

}  // namespace
}  // namespace kel::test
