#include "kellib3/grabber/state_file.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "kellib3/core/lib_error.h"
#include "kellib3/core/virtual_clock.h"
#include "kellib3/model/options.h"
#include "platform/kernel/private_directory.h"

namespace kellib3 {
namespace {

constexpr const char* kMagic = "kellib3-controller-state 1";

std::int64_t realNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch()).count();
}

void writeSettings(std::ostream& o, const CameraSettings& s) {
  o << s.periodNs << ' ' << s.exposureNs << ' ' << s.shutterPeriodNs << ' ' << s.shutterVoltage << ' '
    << s.shutterCount << ' ' << s.shutterMode << ' ' << s.x << ' ' << s.y << ' ' << s.width << ' ' << s.height
    << ' ' << s.decimation << ' ' << s.gain << ' ' << s.blackLevel << ' ' << s.framesToRecord << ' '
    << s.partitions << ' ' << s.stopDelay << ' ' << s.startEvent << ' ' << s.stopEvent << ' ' << s.triggerEdge
    << ' ' << s.syncSource << ' ' << s.testMode;
}

bool readSettings(std::istream& i, CameraSettings& s) {
  return static_cast<bool>(i >> s.periodNs >> s.exposureNs >> s.shutterPeriodNs >> s.shutterVoltage >>
                           s.shutterCount >> s.shutterMode >> s.x >> s.y >> s.width >> s.height >> s.decimation >>
                           s.gain >> s.blackLevel >> s.framesToRecord >> s.partitions >> s.stopDelay >>
                           s.startEvent >> s.stopEvent >> s.triggerEdge >> s.syncSource >> s.testMode);
}

// Times read from the file may be anything; they saturate instead of wrapping.
std::int64_t addClamped(std::int64_t a, std::int64_t b) {
  std::int64_t r = 0;
  if (!__builtin_add_overflow(a, b, &r)) return r;
  return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}
std::int64_t subClamped(std::int64_t a, std::int64_t b) {
  std::int64_t r = 0;
  if (!__builtin_sub_overflow(a, b, &r)) return r;
  return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}
std::int64_t clampedNs(double ns) {
  constexpr double kLimit = 4.0e18;  // well inside int64, so the conversion is defined
  return static_cast<std::int64_t>(std::clamp(ns, -kLimit, kLimit));
}

// -1 stands for "none" in the file.
std::int64_t opt(const std::optional<std::int64_t>& v) { return v ? *v : -1; }
std::optional<std::int64_t> unopt(std::int64_t v, std::int64_t shift) {
  return v < 0 ? std::nullopt : std::optional<std::int64_t>(addClamped(v, shift));
}

[[noreturn]] void damaged(const std::filesystem::path& p, const std::string& what) {
  KL3_RAISE(ErrorCode::StateFile, 0, p.string() + ": " + what);
}

}  // namespace

std::filesystem::path stateFilePath(const Config& config, unsigned controller) {
  return config.stateDir / ("controller" + std::to_string(controller) + ".state");
}

void saveState(const Controller& c, const VirtualClock& clock) {
  const auto path = stateFilePath(c.config(), c.index());
  std::error_code ec = plat::createPrivateDirectories(path.parent_path());
  if (ec) KL3_RAISE(ErrorCode::StateFile, 0, path.parent_path().string() + ": " + ec.message());

  const auto& p = c.persisted();
  std::ostringstream o;
  o << kMagic << '\n';
  o << "camera " << (c.config().bayer ? 1 : 0) << ' ' << c.config().sensorWidth << ' ' << c.config().sensorHeight << '\n';
  o << "clock " << clock.nowNs() << ' ' << realNowNs() << '\n';
  o << "settings ";
  writeSettings(o, p.settings);
  o << "\nmemory " << (p.memoryFree ? 1 : 0) << ' ' << (p.liveRunning ? 1 : 0) << ' ' << p.liveStartNs << ' '
    << p.selected << ' ' << p.visiblePeriod << '\n';
  if (p.film) {
    const auto& f = *p.film;
    o << "film " << f.inputStartNs << ' ' << (f.externalStart ? 1 : 0) << ' ' << opt(f.triggerNs) << ' '
      << opt(f.stopCommandNs) << ' ' << f.stopEvent << ' ' << f.framesToRecord << ' ' << f.stopDelay << ' '
      << f.capacity << ' ' << f.periodNs << ' ' << f.segments.size() << '\n';
    for (const auto& seg : f.segments) {
      o << "segment " << seg.fromFrame << ' ';
      writeSettings(o, seg.settings);
      o << '\n';
    }
  }
  const auto temp = path.parent_path() / (path.filename().string() + ".tmp" + std::to_string(::getpid()));
  {
    std::ofstream out(temp, std::ios::trunc);
    out << o.str();
    out.flush();
    if (!out) KL3_RAISE(ErrorCode::StateFile, 0, temp.string() + ": cannot write");
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    KL3_RAISE(ErrorCode::StateFile, 0, path.string() + ": cannot replace the state file");
  }
}

namespace {

// The state saved in `in`; nullopt when it belongs to another camera.
// Raises LibError for a damaged or impossible state.
std::optional<Controller::Persisted> readState(std::istream& in, const std::filesystem::path& path,
                                               const Config& config, const VirtualClock& clock) {
  std::string line;
  if (!std::getline(in, line) || line != kMagic) damaged(path, "not a controller state file");

  std::string key;
  int bayer = 0;
  unsigned w = 0, h = 0;
  std::int64_t savedVirtual = 0, savedReal = 0;
  Controller::Persisted p;
  if (!(in >> key >> bayer >> w >> h) || key != "camera") damaged(path, "camera line missing");
  // A different camera on the controller: its memory means nothing to this one.
  if ((bayer != 0) != config.bayer || w != config.sensorWidth || h != config.sensorHeight) return std::nullopt;
  if (!(in >> key >> savedVirtual >> savedReal) || key != "clock") damaged(path, "clock line missing");
  // Virtual time went on at this process's scale since the file was written.
  const std::int64_t elapsed =
      clampedNs((static_cast<double>(realNowNs()) - static_cast<double>(savedReal)) * clock.scale());
  const std::int64_t shift = subClamped(clock.nowNs(), addClamped(savedVirtual, elapsed));

  int memoryFree = 1, liveRunning = 0;
  if (!(in >> key) || key != "settings" || !readSettings(in, p.settings)) damaged(path, "settings line damaged");
  // Only settings the camera can hold were ever written.
  if (!isPossible(p.settings, config)) damaged(path, "settings the camera cannot hold");
  if (!(in >> key >> memoryFree >> liveRunning >> p.liveStartNs >> p.selected >> p.visiblePeriod) || key != "memory")
    damaged(path, "memory line damaged");
  p.memoryFree = memoryFree != 0;
  p.liveRunning = liveRunning != 0;
  p.liveStartNs = addClamped(p.liveStartNs, shift);
  if (in >> key) {
    if (key != "film") damaged(path, "unexpected '" + key + "'");
    Film f;
    int external = 0;
    std::int64_t trigger = -1, stop = -1;
    std::size_t segments = 0;
    if (!(in >> f.inputStartNs >> external >> trigger >> stop >> f.stopEvent >> f.framesToRecord >> f.stopDelay >>
          f.capacity >> f.periodNs >> segments) || segments == 0 || segments > 100000 || f.periodNs <= 0)
      damaged(path, "film line damaged");
    f.inputStartNs = addClamped(f.inputStartNs, shift);
    f.externalStart = external != 0;
    f.triggerNs = unopt(trigger, shift);
    f.stopCommandNs = unopt(stop, shift);
    for (std::size_t i = 0; i < segments; ++i) {
      FilmSegment seg{};
      if (!(in >> key >> seg.fromFrame) || key != "segment" || !readSettings(in, seg.settings) ||
          !isPossible(seg.settings, config))
        damaged(path, "film segment damaged");
      f.segments.push_back(seg);
    }
    p.film = std::move(f);
  }
  return p;
}

}  // namespace

void loadState(Controller& c, const VirtualClock& clock) {
  const auto path = stateFilePath(c.config(), c.index());
  std::ifstream in(path);
  if (!in) return;
  std::optional<Controller::Persisted> state;
  try {
    state = readState(in, path, c.config(), clock);
  } catch (const LibError& damage) {
    // The controller keeps its defaults; writing them over the damaged file
    // means the damage is reported this once, not on every start.
    std::string remark = damage.remark + "; the camera starts from its default settings and the film it held is lost";
    try {
      saveState(c, clock);
    } catch (const LibError& unwritten) {
      remark += " (" + unwritten.remark + ")";
    }
    KL3_RAISE(ErrorCode::StateFile, 0, remark);
  }
  if (state) c.restore(std::move(*state));
}

}  // namespace kellib3
