// `kelorvo capture --frames 1000` at 1280x1024 without compression on the
// virtual camera with a fast clock, the whole program as a user runs it,
// beside a plain sequential write of the same number of bytes into the same
// folder in the same iteration. The ratio shows what recording, the save
// graph and the progress wait cost over the disk itself.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 1000;
constexpr std::uintmax_t kFrameBytes = 1280ull * 1024 * 4;  // RGB32 output
constexpr std::size_t kChunk = 8u << 20;

std::filesystem::path benchFolder() {
  const char* chosen = std::getenv("KELORVO_BENCH_DIR");
  auto folder = chosen ? std::filesystem::path(chosen) : std::filesystem::temp_directory_path() / "kelorvo_capture_bench";
  std::filesystem::create_directories(folder);
  return folder;
}

// The programs beside this one in the build tree.
std::filesystem::path kelorvo() { return std::filesystem::canonical("/proc/self/exe").parent_path() / "kelorvo"; }

// Runs kelorvo with its standard error in `errFile`; the exit code.
int runKelorvo(const std::vector<std::string>& args, const std::filesystem::path& errFile) {
  const std::string program = kelorvo().string();
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string firstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// A private registry and camera state, the virtual camera fast and at full
// size, the module registered.
struct Environment {
  Environment() {
    const auto folder = benchFolder();
    setenv("KELORVO_REGISTRY", (folder / "registry").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);
    setenv("KELLIB3_STATE_DIR", (folder / "state").c_str(), 1);
    setenv("KELLIB3_TIME_SCALE", "1000", 1);
    setenv("KELLIB3_SIZE", "1280x1024", 1);
    setenv("KELORVO_DESKTOP_BPP", "32", 1);
    std::filesystem::create_directories(folder / "run");
    registered = runKelorvo({"register"}, folder / "register.err") == 0;
  }
  bool registered = false;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Writes `bytes` sequentially into `file` and syncs nothing, as the file
// writer does; seconds taken.
double plainWrite(const std::filesystem::path& file, std::uintmax_t bytes) {
  std::vector<char> chunk(kChunk, 0x5A);
  const auto start = std::chrono::steady_clock::now();
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return -1;
  for (std::uintmax_t left = bytes; left > 0;) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uintmax_t>(left, chunk.size()));
    if (::write(fd, chunk.data(), n) != static_cast<ssize_t>(n)) {
      ::close(fd);
      return -1;
    }
    left -= n;
  }
  ::close(fd);
  return secondsSince(start);
}

void BM_CaptureBesidePlainWrite(benchmark::State& state) {
  static Environment env;
  if (!env.registered) {
    state.SkipWithError("kelorvo register failed");
    return;
  }
  const auto folder = benchFolder();
  const auto film = folder / "film.avi";
  const auto plain = folder / "plain.bin";
  double captureTotal = 0, plainTotal = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const int code = runKelorvo({"capture", "--frames", std::to_string(kFrames), "--out", (folder / "film").string(),
                                 "--force", "--no-info"},
                                folder / "capture.err");
    const double captureSeconds = secondsSince(start);
    if (code != 0) {
      state.SkipWithError(("capture failed: " + firstLine(folder / "capture.err")).c_str());
      break;
    }
    // Honest only if every frame is in the file: 1000 frames and little else.
    const std::uintmax_t bytes = std::filesystem::file_size(film);
    if (bytes < kFrames * kFrameBytes || bytes > kFrames * kFrameBytes + kFrames * kFrameBytes / 100) {
      state.SkipWithError(("the film has " + std::to_string(bytes) + " bytes, not 1000 frames").c_str());
      break;
    }
    const double plainSeconds = plainWrite(plain, bytes);
    if (plainSeconds < 0) {
      state.SkipWithError("the plain write failed");
      break;
    }
    state.SetIterationTime(captureSeconds);
    captureTotal += captureSeconds;
    plainTotal += plainSeconds;
    std::filesystem::remove(film);
    std::filesystem::remove(plain);
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || plainTotal <= 0) return;
  state.counters["capture_s"] = captureTotal / n;
  state.counters["plain_write_s"] = plainTotal / n;
  state.counters["capture_over_plain"] = captureTotal / plainTotal;
  state.counters["capture_fps"] = kFrames * n / captureTotal;
  state.counters["plain_fps"] = kFrames * n / plainTotal;
}
BENCHMARK(BM_CaptureBesidePlainWrite)->Iterations(2)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
