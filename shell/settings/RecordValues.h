// The two setting values that are kept as whole record texts instead of
// being bound to an option: the white balance (the dialog talks to the
// camera itself) and the summation (told to the camera as soon as it is
// set).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"
#include "shell/settings/AbstrValue.h"

namespace Sett {

class WBValue final : public AbstrValue<WB::Value> {
 public:
  static constexpr const char* kRecordName = "WHITE_BAL";

  bool Parse(std::string_view record) override;
  bool Restore(std::int32_t key) override;
  bool Format(std::int32_t key, std::string& out) override;
  bool Save(std::int32_t key) override;
  const std::string& Name() const { return name_; }

 private:
  std::string name_ = kRecordName;
};

class SummationValue final : public AbstrValue<Summation::Value> {
 public:
  static constexpr const char* kRecordName = "SUMMATION";

  // Takes the camera from the installed host's graph, if there is one.
  SummationValue();

  bool Parse(std::string_view record) override;
  bool Restore(std::int32_t key) override;
  bool Format(std::int32_t key, std::string& out) override;
  bool Save(std::int32_t key) override;
  // Caches the value and tells the camera at once.
  bool SetValue(const Data& data) override;
  const std::string& Name() const { return name_; }

 private:
  ComPtr<ICamera2> camera_;
  std::string name_ = kRecordName;
};

}  // namespace Sett
