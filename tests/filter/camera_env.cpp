#include "tests/filter/camera_env.h"

#include <gtest/gtest.h>

#include <map>

namespace kel::test {

CameraEnv::CameraEnv(std::initializer_list<std::pair<std::string, std::string>> vars) {
  // An empty value reads as unset to the library.
  std::map<std::string, std::string> all = {
      {"KELLIB3_FAIL", ""},     {"KELLIB3_CAMERA", ""},      {"KELLIB3_SHUTTER", ""},
      {"KELLIB3_SENSOR", ""},   {"KELLIB3_SIZE", ""},        {"KELLIB3_CONTROLLERS", ""},
      {"KELLIB3_TRIGGER_MS", ""}, {"KELLIB3_TIME_SCALE", ""}, {"KELLIB3_ORIENTATION", ""},
  };
  for (const auto& [name, value] : vars) all[name] = value;
  all["KELLIB3_STATE_DIR"] = (dir_.path() / "state").string();
  all["XDG_RUNTIME_DIR"] = dir_.path().string();
  for (const auto& [name, value] : all) env_.push_back(std::make_unique<ScopedEnv>(name, value));
  EXPECT_EQ(KelLib3ErrorDataCreate(&error_), 0);
  EXPECT_EQ(KelLib3Init(error_), 0);
}

CameraEnv::~CameraEnv() {
  EXPECT_EQ(KelLib3Exit(error_), 0);
  KelLib3ErrorDataFree(error_);
}

BoxRecorder::BoxRecorder() {
  previous_ = plat::setMessageBoxHook([this](const plat::MessageBoxRequest& r) {
    std::lock_guard lock(mutex_);
    boxes_.push_back(r);
    return IDOK;
  });
}

BoxRecorder::~BoxRecorder() { plat::setMessageBoxHook(previous_); }

std::vector<plat::MessageBoxRequest> BoxRecorder::boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<std::pair<std::string, std::int32_t>> listEntries(std::uint32_t list) {
  constexpr std::uint32_t kRussian = 1, kUtf8 = 1;
  const KL3_HANDLE handle = KelLib3ListGetStdListML(list, kRussian, kUtf8);
  std::vector<std::pair<std::string, std::int32_t>> out;
  const char* text = nullptr;
  std::int32_t id = 0;
  for (std::uint32_t p = 0; KelLib3ListGetAll(&text, &id, p, handle) != 0; ++p) out.emplace_back(text, id);
  return out;
}

std::string listText(std::uint32_t list, std::int32_t id) {
  for (const auto& [text, entry] : listEntries(list))
    if (entry == id) return text;
  return {};
}

}  // namespace kel::test
