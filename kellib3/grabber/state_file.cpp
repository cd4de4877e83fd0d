#include "kellib3/grabber/state_file.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

#include "kellib3/core/lib_error.h"
#include "kellib3/core/virtual_clock.h"

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

// -1 stands for "none" in the file.
std::int64_t opt(const std::optional<std::int64_t>& v) { return v ? *v : -1; }
std::optional<std::int64_t> unopt(std::int64_t v, std::int64_t shift) {
  return v < 0 ? std::nullopt : std::optional<std::int64_t>(v + shift);
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
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
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

void loadState(Controller& c, const VirtualClock& clock) {
  const auto path = stateFilePath(c.config(), c.index());
  std::ifstream in(path);
  if (!in) return;
  std::string line;
  if (!std::getline(in, line) || line != kMagic) damaged(path, "not a controller state file");

  std::string key;
  int bayer = 0;
  unsigned w = 0, h = 0;
  std::int64_t savedVirtual = 0, savedReal = 0;
  Controller::Persisted p;
  if (!(in >> key >> bayer >> w >> h) || key != "camera") damaged(path, "camera line missing");
  // A different camera on the controller: its memory means nothing to this one.
  if ((bayer != 0) != c.config().bayer || w != c.config().sensorWidth || h != c.config().sensorHeight) return;
  if (!(in >> key >> savedVirtual >> savedReal) || key != "clock") damaged(path, "clock line missing");
  // Virtual time went on at this process's scale since the file was written.
  const auto elapsed = static_cast<std::int64_t>(static_cast<double>(realNowNs() - savedReal) * clock.scale());
  const std::int64_t shift = clock.nowNs() - (savedVirtual + elapsed);

  int memoryFree = 1, liveRunning = 0;
  if (!(in >> key) || key != "settings" || !readSettings(in, p.settings)) damaged(path, "settings line damaged");
  if (!(in >> key >> memoryFree >> liveRunning >> p.liveStartNs >> p.selected >> p.visiblePeriod) || key != "memory")
    damaged(path, "memory line damaged");
  p.memoryFree = memoryFree != 0;
  p.liveRunning = liveRunning != 0;
  p.liveStartNs += shift;
  if (in >> key) {
    if (key != "film") damaged(path, "unexpected '" + key + "'");
    Film f;
    int external = 0;
    std::int64_t trigger = -1, stop = -1;
    std::size_t segments = 0;
    if (!(in >> f.inputStartNs >> external >> trigger >> stop >> f.stopEvent >> f.framesToRecord >> f.stopDelay >>
          f.capacity >> f.periodNs >> segments) || segments == 0 || segments > 100000 || f.periodNs <= 0)
      damaged(path, "film line damaged");
    f.inputStartNs += shift;
    f.externalStart = external != 0;
    f.triggerNs = unopt(trigger, shift);
    f.stopCommandNs = unopt(stop, shift);
    for (std::size_t i = 0; i < segments; ++i) {
      FilmSegment seg{};
      if (!(in >> key >> seg.fromFrame) || key != "segment" || !readSettings(in, seg.settings))
        damaged(path, "film segment damaged");
      f.segments.push_back(seg);
    }
    p.film = std::move(f);
  }
  c.restore(std::move(p));
}

}  // namespace kellib3
