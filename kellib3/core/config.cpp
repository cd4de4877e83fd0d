#include "kellib3/core/config.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "kellib3/core/lib_error.h"

namespace kellib3 {
namespace {

std::optional<std::string> env(const char* name) {
  const char* v = std::getenv(name);
  if (v == nullptr || *v == '\0') return std::nullopt;
  return std::string(v);
}

[[noreturn]] void bad(const std::string& name, const std::string& value, const char* expected) {
  KL3_RAISE(ErrorCode::Configuration, 0, name + "=\"" + value + "\": expected " + expected);
}

template <typename T>
bool parseNumber(std::string_view s, T& out) {
  const auto* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, out);
  return ec == std::errc() && p == end;
}

void parseFaults(const std::string& text, Config& c) {
  std::string_view rest = text;
  while (!rest.empty()) {
    const auto comma = rest.find(',');
    const auto item = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    const auto colon = item.find(':');
    std::uint64_t n = 0;
    if (colon == std::string_view::npos || colon == 0 || !parseNumber(item.substr(colon + 1), n) || n == 0)
      bad("KELLIB3_FAIL", text, "Function:N[,Function:N...] with N >= 1");
    std::string name(item.substr(0, colon));
    if (name.rfind("KelLib3", 0) != 0) name = "KelLib3" + name;
    c.faults[name] = n;
  }
}

std::filesystem::path defaultStateDir() {
  if (auto runtime = env("XDG_RUNTIME_DIR")) return std::filesystem::path(*runtime) / "kelorvo";
  return std::filesystem::path("/tmp") / ("kelorvo-" + std::to_string(::getuid()));
}

}  // namespace

Config configFromEnvironment() {
  Config c;
  if (auto v = env("KELLIB3_SENSOR")) {
    if (*v == "bayer") c.bayer = true;
    else if (*v != "mono") bad("KELLIB3_SENSOR", *v, "mono or bayer");
  }
  if (auto v = env("KELLIB3_SIZE")) {
    const auto x = v->find_first_of("xX");
    unsigned w = 0, h = 0;
    if (x == std::string::npos || !parseNumber(std::string_view(*v).substr(0, x), w) ||
        !parseNumber(std::string_view(*v).substr(x + 1), h) || w < 40 || h < 8 || w > 8192 ||
        h > 8192 || w % 10 != 0 || h % 2 != 0)
      bad("KELLIB3_SIZE", *v, "WxH with W a multiple of 10 (40..8190) and H even (8..8192)");
    c.sensorWidth = w;
    c.sensorHeight = h;
  }
  if (auto v = env("KELLIB3_SHUTTER")) {
    if (*v != "0" && *v != "1") bad("KELLIB3_SHUTTER", *v, "0 or 1");
    c.shutter = *v == "1";
  }
  if (auto v = env("KELLIB3_CONTROLLERS")) {
    if (!parseNumber(std::string_view(*v), c.controllers) || c.controllers < 1 || c.controllers > 4)
      bad("KELLIB3_CONTROLLERS", *v, "1..4");
  }
  if (auto v = env("KELLIB3_ORIENTATION")) {
    if (*v != "0" && *v != "180") bad("KELLIB3_ORIENTATION", *v, "0 or 180");
    c.orientation = *v == "180" ? 180 : 0;
  }
  if (auto v = env("KELLIB3_CAMERA")) {
    if (*v != "absent" && *v != "present") bad("KELLIB3_CAMERA", *v, "absent or present");
    c.cameraAbsent = *v == "absent";
  }
  if (auto v = env("KELLIB3_FAIL")) parseFaults(*v, c);
  if (auto v = env("KELLIB3_TIME_SCALE")) {
    char* end = nullptr;
    const double s = std::strtod(v->c_str(), &end);
    if (end == v->c_str() || *end != '\0' || !(s > 0.0) || s > 1e9)
      bad("KELLIB3_TIME_SCALE", *v, "a number above 0");
    c.timeScale = s;
  }
  if (auto v = env("KELLIB3_TRIGGER_MS")) {
    std::int64_t ms = 0;
    if (!parseNumber(std::string_view(*v), ms) || ms < 0 || ms > 1'000'000'000)
      bad("KELLIB3_TRIGGER_MS", *v, "virtual milliseconds >= 0");
    c.triggerNs = ms * 1'000'000;
  }
  c.stateDir = env("KELLIB3_STATE_DIR") ? std::filesystem::path(*env("KELLIB3_STATE_DIR")) : defaultStateDir();
  return c;
}

}  // namespace kellib3
