#include "shell/app/status_texts.h"

#include <cstdio>

#include "platform/com/bstr_holder.h"
#include "platform/kernel/text_codec.h"
#include "shared/camera_interfaces.h"

namespace StatusTexts {

std::string CapacityText(int frames, std::optional<long> framesPerSecond) {
  const double seconds =
      framesPerSecond && *framesPerSecond != 0 ? static_cast<double>(frames) / static_cast<double>(*framesPerSecond) : 0.0;
  char text[160];
  std::snprintf(text, sizeof text, "Доступно для записи: %d кадров (Время: %-6.2fсек.)", frames, seconds);
  return text;
}

std::optional<std::string> Capacity(ICamera2* camera) {
  if (!camera) return std::nullopt;
  int frames = 0;
  if (FAILED(camera->GetMaxFramesCount(&frames))) return std::nullopt;
  std::optional<long> rate;
  ComPtr<IScalarProperty> period;
  LONG value = 0;
  if (SUCCEEDED(camera->GetScalar(kFramePeriodOption, 0, period.put())) && period &&
      SUCCEEDED(period->GetValue(&value, kFramesPerSecondUnit)))
    rate = value;
  return CapacityText(frames, rate);
}

std::optional<std::string> Temperature(ICamera2* camera) {
  if (!camera) return std::nullopt;
  plat::Bstr text;
  if (FAILED(camera->GetTemperature(text.put()))) return std::nullopt;
  return plat::utf16ToUtf8(text.view());
}

}  // namespace StatusTexts
