#include "filter/processing/blend.h"

#include "filter/acquisition/settings_records.h"
#include "filter/hardware/lib3_error.h"

namespace Blend {
namespace {

constexpr const char* kUnit = "blend";

constexpr std::uint32_t kExposure = 0x400002, kPeriod = 0x400003, kWindow = 0x400006, kGain = 0x40000a,
                        kBlack = 0x40000d, kVoltage = 0x400022, kShutterCount = 0x400041,
                        kDecimation = 0x400055;

}  // namespace

BlendInfoEx::BlendInfoEx(KL3_HANDLE system) : system_(system) {}

void BlendInfoEx::Refresh() {
  const KL3_HANDLE system = system_;
  const KL3_HANDLE err = error_.get();
  KL3_HANDLE option = 0;
  // An option the camera does not have is skipped.
  const auto find = [&](std::uint32_t id, std::uint32_t index) {
    option = 0;
    return KelLib3SystemGetCInterface(system, id, index, &option, err) == 0;
  };
  std::int32_t v = 0;

  if (find(kWindow, 0)) {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    KelLib3OptionGetRect(option, &x, &y, &width, &height, err);
    windowWidth_ = width;
    windowHeight_ = height;
  }
  if (find(kPeriod, 0)) {
    LIB3::Check(KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_US, err), err, kUnit, 281);
    period_ = v;
  }
  if (find(kExposure, 0)) {
    // Below a microsecond the exposure is shown in nanoseconds.
    v = 0;
    if (KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_US, err) > 0 || v < 1) {
      v = 0;
      KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_NS, err);
      exposureInMicroseconds_ = false;
    } else {
      exposureInMicroseconds_ = true;
    }
    exposure_ = v;
  }
  if (find(kGain, 0)) {
    LIB3::Check(KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_NONE, err), err, kUnit, 305);
    gain_ = v;
  }
  if (find(kBlack, 0)) {
    LIB3::Check(KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_NONE, err), err, kUnit, 313);
    black_ = v;
  }
  if (find(kDecimation, 0)) {
    LIB3::Check(KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_NONE, err), err, kUnit, 321);
    decimation_ = v;
  }
  if (find(kPeriod, 1)) {
    LIB3::Check(KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_US, err), err, kUnit, 329);
    shutterPeriod_ = v;
    shutter_ = true;
  } else {
    shutter_ = false;
  }
  if (find(kVoltage, 0)) {
    LIB3::Check(KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_VOLT, err), err, kUnit, 338);
    shutterVoltage_ = v;
  }
  if (find(kShutterCount, 0)) {
    LIB3::Check(KelLib3OptionGetScalar(option, &v, KELLIB3_UNIT_NONE, err), err, kUnit, 346);
    shutterCount_ = v;
  }
  const Orvo::SaveOverlaySettings& save = Orvo::Settings().save;
  filmLength_ = save.lastFrame - save.firstFrame;
}

OverlayValues BlendInfoEx::Values(int frame) const {
  const Orvo::ProcessSettings& settings = Orvo::Settings();
  OverlayValues v;
  v.frame = frame;
  v.filmLength = filmLength_;
  v.period = period_;
  v.exposure = exposure_;
  v.exposureInMicroseconds = exposureInMicroseconds_;
  v.background = background_;
  v.windowWidth = windowWidth_;
  v.windowHeight = windowHeight_;
  v.decimation = decimation_;
  v.gain = gain_;
  v.black = black_;
  v.digitalGain = settings.levels.digitalGain;
  v.whiteBalance = settings.whiteBalance.enabled != 0;
  v.automaticBalance = settings.whiteBalance.automatic != 0;
  v.gamma = settings.whiteBalance.gamma != 0;
  v.red = settings.whiteBalance.red;
  v.green = settings.whiteBalance.green;
  v.blue = settings.whiteBalance.blue;
  v.levelBlack = settings.levels.black;
  v.levelWhite = settings.levels.white;
  v.shutter = shutter_;
  v.shutterVoltage = shutterVoltage_;
  v.shutterCount = shutterCount_;
  v.shutterPeriod = shutterPeriod_;
  return v;
}

void BlendInfoEx::Compose(const char*, int frame) { DrawCells(OverlayCells(Values(frame))); }

}  // namespace Blend
