// What the main frame's status panes show: the recording capacity and the
// camera temperature, asked of the capture filter. A call that fails shows
// nothing (an empty optional), as these panes are for display only.
#pragma once
#include <optional>
#include <string>

struct ICamera2;

namespace StatusTexts {

// The option whose value in frames per second gives the capacity's time.
inline constexpr long kFramePeriodOption = 0x400003;
inline constexpr unsigned kFramesPerSecondUnit = 31;

// "Доступно для записи: %d кадров (Время: %-6.2fсек.)"; the time is 0 when
// the rate is unknown (nothing or a value of 0).
std::string CapacityText(int frames, std::optional<long> framesPerSecond);

// Asks the camera: nothing when GetMaxFramesCount fails.
std::optional<std::string> Capacity(ICamera2* camera);
// ICamera2 GetTemperature as UTF-8; nothing when the call fails.
std::optional<std::string> Temperature(ICamera2* camera);

}  // namespace StatusTexts
