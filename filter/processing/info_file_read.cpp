#include "filter/acquisition/settings_records.h"
#include "filter/hardware/lib3_error.h"
#include "filter/processing/info_file.h"

namespace Orvo {
namespace {

constexpr const char* kUnit = "StFileSource";

// Where each read reports a refusal.
enum Line : int {
  kLinePeriod = 195,
  kLineExposureUs = 205,
  kLineExposureNs = 212,
  kLineDecimation = 240,
  kLineGain = 250,
  kLineBlack = 260,
  kLineShutterVoltage = 297,
  kLineShutterCount = 307,
  kLineShutterPeriod = 317,
};

class OptionReader {
 public:
  OptionReader(KL3_HANDLE system, KL3_HANDLE error) : system_(system), error_(error) {}

  // The option's handle, or 0 when the camera has no such option.
  KL3_HANDLE Find(std::uint32_t id, std::uint32_t index = 0) const {
    KL3_HANDLE handle = 0;
    return KelLib3SystemGetCInterface(system_, id, index, &handle, error_) == 0 ? handle : 0;
  }

  std::int32_t Scalar(KL3_HANDLE option, std::uint32_t unit, int line) const {
    std::int32_t value = 0;
    LIB3::Check(KelLib3OptionGetScalar(option, &value, unit, error_), error_, kUnit, line);
    return value;
  }

  std::optional<std::int32_t> Scalar(std::uint32_t id, std::uint32_t index, std::uint32_t unit, int line) const {
    const KL3_HANDLE option = Find(id, index);
    if (option == 0) return std::nullopt;
    return Scalar(option, unit, line);
  }

 private:
  KL3_HANDLE system_;
  KL3_HANDLE error_;
};

}  // namespace

ShootingParameters ReadShootingParameters(KL3_HANDLE system, KL3_HANDLE error, bool background) {
  const OptionReader hw(system, error);
  ShootingParameters p;
  p.framePeriodUs = hw.Scalar(0x400003, 0, KELLIB3_UNIT_US, kLinePeriod);
  if (const KL3_HANDLE option = hw.Find(0x400002)) {
    ShootingParameters::Exposure e{hw.Scalar(option, KELLIB3_UNIT_US, kLineExposureUs), false};
    if (e.value < 1) e = {hw.Scalar(option, KELLIB3_UNIT_NS, kLineExposureNs), true};
    p.exposure = e;
  }
  p.background = background;
  if (const KL3_HANDLE option = hw.Find(0x400006)) {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    // The window line is informative; a refused read shows 0x0.
    KelLib3OptionGetRect(option, &x, &y, &width, &height, error);
    p.window = ShootingParameters::Window{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
  }
  p.decimation = hw.Scalar(0x400055, 0, KELLIB3_UNIT_NONE, kLineDecimation);
  p.gain = hw.Scalar(0x40000a, 0, KELLIB3_UNIT_NONE, kLineGain);
  p.blackLevel = hw.Scalar(0x40000d, 0, KELLIB3_UNIT_NONE, kLineBlack);

  const auto& settings = Settings();
  p.digitalGain = settings.levels.digitalGain.load();
  const auto& wb = settings.whiteBalance;
  if (wb.enabled.load() != 0) {
    p.whiteBalance = ShootingParameters::WhiteBalance{
        wb.automatic.load() != 0, static_cast<std::uint32_t>(wb.red.load()),
        static_cast<std::uint32_t>(wb.green.load()), static_cast<std::uint32_t>(wb.blue.load())};
  }
  p.gamma = wb.gamma.load() != 0;
  p.correctionBlack = static_cast<std::uint32_t>(settings.levels.black.load());
  p.correctionWhite = static_cast<std::uint32_t>(settings.levels.white.load());

  p.shutterVoltage = hw.Scalar(0x400022, 0, KELLIB3_UNIT_VOLT, kLineShutterVoltage);
  p.shutterCount = hw.Scalar(0x400041, 0, KELLIB3_UNIT_NONE, kLineShutterCount);
  p.shutterPeriodUs = hw.Scalar(0x400003, 1, KELLIB3_UNIT_US, kLineShutterPeriod);
  return p;
}

}  // namespace Orvo
