// The camera interface's option methods: property objects, the option
// writes of the camera interface, the mode and the visible-frame settings.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "filter/capture/KelOrvoSource.h"
#include "filter/capture/KelOrvoSourcePin.h"
#include "filter/options/create_property.h"

namespace {

constexpr std::uint32_t kExposurePeriod = 0x400003;
constexpr std::uint32_t kFramesToInput = 0x400007;
constexpr std::uint32_t kTestMode = 0x400011;
constexpr std::uint32_t kUnitMicroseconds = 2;
constexpr std::uint32_t kUnitFramesToInput = 6;

int saturate(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

HRESULT KelOrvoSource::GetScalar(LONG optionId, LONG index, IScalarProperty** property) {
  Orvo::System* system = OpenSystem();
  return Options::createProperty(system ? &system->Catalogue() : nullptr, Options::Kind::Scalar,
                                 static_cast<std::uint32_t>(optionId), static_cast<std::uint32_t>(index),
                                 IID_IScalarProperty, reinterpret_cast<void**>(property));
}

HRESULT KelOrvoSource::GetRect(LONG optionId, IRectProperty** property) {
  Orvo::System* system = OpenSystem();
  return Options::createProperty(system ? &system->Catalogue() : nullptr, Options::Kind::Rect,
                                 static_cast<std::uint32_t>(optionId), 0, IID_IRectProperty,
                                 reinterpret_cast<void**>(property));
}

HRESULT KelOrvoSource::GetEnum(LONG optionId, IEnumProperty** property) {
  Orvo::System* system = OpenSystem();
  return Options::createProperty(system ? &system->Catalogue() : nullptr, Options::Kind::Enum,
                                 static_cast<std::uint32_t>(optionId), 0, IID_IEnumProperty,
                                 reinterpret_cast<void**>(property));
}

HRESULT KelOrvoSource::SetFramesToInput(int frames) {
  Orvo::System* system = OpenSystem();
  Options::OptionRecord* record = system ? system->FindOption(kFramesToInput, 0) : nullptr;
  if (!record) return E_FAIL;
  return record->scalar.SetValue({frames, kUnitFramesToInput}) ? S_OK : E_FAIL;
}

HRESULT KelOrvoSource::SetTestMode(BOOL on) {
  Orvo::System* system = OpenSystem();
  Options::OptionRecord* record = system ? system->FindOption(kTestMode, 0) : nullptr;
  if (!record) return E_FAIL;
  const std::int32_t value = on ? 1 : 2;
  if (!record->enumerated.SetValue({value})) return E_FAIL;
  // Entering set-up mode writes the test mode again: keep the choice.
  system->SetSetupTestMode(value);
  return S_OK;
}

HRESULT KelOrvoSource::SetMode(const GUID* mode) {
  if (!mode) return E_POINTER;
  // A setting never fails: without a camera there is no mode to set.
  if (Orvo::System* system = OpenSystem()) system->SetMode(mode);
  return S_OK;
}

HRESULT KelOrvoSource::SetVisibleFrameTime(int time) {
  if (!pin_) return E_FAIL;
  Orvo::System* system = holder_.Get();
  Options::OptionRecord* period = system->FindOption(kExposurePeriod, 0);
  if (!period) return E_FAIL;
  const std::uint32_t previousUnit = period->scalar.Cached().unit;
  Options::Scalar::Value p{0, kUnitMicroseconds};
  if (!period->scalar.GetValue(p)) return E_FAIL;
  const std::int64_t micros = std::max<std::int64_t>(p.value, 1);

  HRESULT hr = E_FAIL;
  if (Options::OptionRecord* frames = system->FindOption(kFramesToInput, 0)) {
    const int visiblePeriod = saturate(std::int64_t{time} * 1000 / micros);
    const int inputFrames = saturate(std::int64_t{visiblePeriod} + 5);
    if (frames->scalar.SetValue({inputFrames, kUnitFramesToInput})) {
      visibleFramePeriod_ = visiblePeriod;
      inputFrameValue_ = inputFrames;
      visibleFrameTime_ = time;
      pin_->SetVisibleFramePeriod(visiblePeriod);
      hr = S_OK;
    }
  }
  // The shell reads the period back in the unit it last chose.
  Options::Scalar::Value restore{0, previousUnit};
  period->scalar.GetValue(restore);
  return hr;
}

HRESULT KelOrvoSource::GetSetupOptions(int* time, int* inputFrames, int* visiblePeriod) {
  if (!time || !inputFrames || !visiblePeriod) return E_POINTER;
  *time = visibleFrameTime_;
  *inputFrames = inputFrameValue_;
  *visiblePeriod = visibleFramePeriod_;
  return S_OK;
}
