#include "tests/filter/capture/camera_host.h"

#include <gtest/gtest.h>

#include "filter/hardware/kellib3.h"
#include "platform/com/co_create.h"
#include "platform/com/registration.h"
#include "platform/kernel/text_codec.h"

namespace kel::test {

namespace {
constexpr const char* kCameraVars[] = {"KELLIB3_SENSOR", "KELLIB3_SIZE", "KELLIB3_SHUTTER",
                                       "KELLIB3_CONTROLLERS", "KELLIB3_ORIENTATION", "KELLIB3_CAMERA",
                                       "KELLIB3_FAIL", "KELLIB3_TIME_SCALE", "KELLIB3_TRIGGER_MS",
                                       "KELORVO_DESKTOP_BPP"};
}

CaptureHost::CaptureHost(std::vector<std::pair<std::string, std::string>> vars) {
  env_.push_back(std::make_unique<ScopedEnv>("KELORVO_REGISTRY", (dir_ / "registry").string()));
  env_.push_back(std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", (dir_ / "run").string()));
  env_.push_back(std::make_unique<ScopedEnv>("KELLIB3_STATE_DIR", (dir_ / "state").string()));
  for (const char* name : kCameraVars) {
    std::string value;
    for (const auto& [n, v] : vars)
      if (n == name) value = v;
    env_.push_back(std::make_unique<ScopedEnv>(name, value));
  }
  std::string reason;
  const HRESULT hr = plat::registerModule((binDir() / "kelorvomt.ax").string(), false, reason);
  EXPECT_EQ(hr, S_OK) << reason;
}

CaptureHost::~CaptureHost() { CoFreeUnusedLibraries(); }

ComPtr<ICamera2> CaptureHost::createCamera() {
  ComPtr<ICamera2> camera;
  const HRESULT hr =
      CoCreateInstance(CLSID_KelOrvoSource, nullptr, CLSCTX_INPROC_SERVER, IID_ICamera2, camera.putVoid());
  EXPECT_EQ(hr, S_OK) << plat::lastCoCreateError();
  return camera;
}

BoxLog::BoxLog() {
  previous_ = plat::setMessageBoxHook([this](const plat::MessageBoxRequest& r) {
    std::lock_guard lock(mutex_);
    boxes_.push_back(r);
    return IDOK;
  });
}

BoxLog::~BoxLog() { plat::setMessageBoxHook(previous_); }

std::vector<plat::MessageBoxRequest> BoxLog::boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::string utf8(BSTR text) { return text ? plat::utf16ToUtf8({text, SysStringLen(text)}) : std::string(); }

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  for (auto line : plat::splitLines(text)) out.emplace_back(line);
  return out;
}

std::string infoValue(const std::string& list, const std::string& name) {
  for (const auto& line : lines(list))
    if (line.rfind(name + "=", 0) == 0) return line.substr(name.size() + 1);
  return {};
}

std::string libraryText(std::uint32_t list, std::int32_t id) {
  const char* text = nullptr;
  if (!KelLib3ListGetString(&text, id, KelLib3ListGetStdListML(list, 1, 1)) || !text) return {};
  return text;
}

}  // namespace kel::test
