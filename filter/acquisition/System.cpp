#include "filter/acquisition/System.h"

#include "filter/acquisition/settings_records.h"
#include "filter/hardware/lib3_error.h"
#include "filter/processing/blend.h"
#include "platform/kernel/tick_count.h"
#include "platform/win/message_box.h"
#include "shared/identifiers.h"

namespace Orvo {
namespace {

constexpr const char* kUnit = "System";
constexpr std::uint32_t kControllerOption = 0x700001;
constexpr std::uint32_t kInputControl = 0xC0300002;  // index 0: input, index 1: camera
constexpr std::uint32_t kCycleControl = 0xC0300003;
constexpr DWORD kStopTimeoutMs = 10000;

constexpr std::uint32_t kPartitions = 0x400009;
constexpr std::uint32_t kStartEvent = 0x400004;
constexpr std::uint32_t kStopEvent = 0x400005;
constexpr std::uint32_t kTestMode = 0x400011;
constexpr std::uint32_t kFrameRange = 0x400020;

void showPlain(const LIB3::CError& e) { plat::MessageBox(e.Text(), "", MB_OK | MB_ICONERROR); }

}  // namespace

System::System(std::uint32_t type) {
  LIB3::Check(KelLib3SystemCreate(type, &handle_, error_.get()), error_.get(), kUnit, __LINE__);
  overlay_ = std::make_unique<Blend::BlendInfoEx>(handle_);
}

System::~System() {
  if (handle_ == 0) return;
  try {
    LIB3::Check(KelLib3SystemDestroy(handle_, error_.get()), error_.get(), kUnit, __LINE__);
  } catch (const LIB3::CError& e) {
    LIB3::ShowError(e, "~System():");
  }
}

void System::Init(std::int32_t controller) {
  const KL3_HANDLE err = error_.get();
  KL3_HANDLE option = 0;
  LIB3::Check(KelLib3SystemGetOptionCInterface(handle_, kControllerOption, 0, &option, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3OptionSetScalar(option, controller, 0, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3SystemInit(handle_, err), err, kUnit, __LINE__);
  catalogue_.Build(handle_, err);
}

void System::SetMode(const GUID* mode) {
  if (!mode) return;
  if (*mode == MODE_Setup) EnterSetup();
  else if (*mode == MODE_Input) EnterInput();
  else if (*mode == MODE_Preview) EnterPreview();
  else if (*mode != MODE_Save) return;
  mode_ = *mode;
}

void System::EnterSetup() {
  if (auto* r = FindOption(kPartitions, 0)) r->scalar.SetValue({setupPartitions_, 0});
  if (auto* r = FindOption(kStopEvent, 0)) r->enumerated.SetValue({37});
  if (auto* r = FindOption(kTestMode, 0)) r->enumerated.SetValue({setupTestMode_});
  if (auto* r = FindOption(kStartEvent, 0)) r->enumerated.SetValue({33});
}

void System::EnterInput() {
  if (auto* r = FindOption(kPartitions, 0)) r->scalar.SetValue({1, 0});
}

void System::EnterPreview() {
  auto* r = FindOption(kFrameRange, 0);
  if (!r) return;
  // A refused read is shown by the managed value and leaves the range as it was.
  Options::Scalar::Value lo, hi;
  if (r->scalar.GetMinValue(lo)) Settings().save.firstFrame = lo.value;
  if (r->scalar.GetMaxValue(hi)) Settings().save.lastFrame = hi.value;
}

bool System::Control(std::uint32_t id, std::uint32_t index, KL3_HANDLE& out) {
  // A refusal here only means that the interface does not exist.
  return KelLib3SystemGetCInterface(handle_, id, index, &out, error_.get()) == 0;
}

void System::StartInput() {
  const KL3_HANDLE err = error_.get();
  KL3_HANDLE cycle = 0;
  LIB3::Check(KelLib3SystemGetCInterface(handle_, kCycleControl, 0, &cycle, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3CallCInterface_0(cycle, 0xB0000005, err), err, kUnit, __LINE__);
  try {
    KL3_HANDLE control = 0;
    if (Control(kInputControl, 1, control))
      LIB3::Check(KelLib3CallCInterface_0(control, 0xA0000065, err), err, kUnit, __LINE__);
    if (Control(kInputControl, 0, control))
      LIB3::Check(KelLib3CallCInterface_0(control, 0xA0000064, err), err, kUnit, __LINE__);
  } catch (const LIB3::CError& e) {
    showPlain(e);
  }
}

void System::StopInput(bool wait) {
  const KL3_HANDLE err = error_.get();
  try {
    KL3_HANDLE input = 0;
    // Without input control A there is no input to stop or to wait for.
    if (!Control(kInputControl, 0, input)) return;
    LIB3::Check(KelLib3CallCInterface_0(input, 0xA0000068, err), err, kUnit, __LINE__);
    if (!wait) return;
    const DWORD start = GetTickCount();
    // The status is read back to back: stopping takes at most a frame or
    // two, and the caller wants the grabber idle before it goes on.
    for (;;) {
      KelLib3StatusBlock status{};
      LIB3::Check(KelLib3CallCInterface_1(input, 0xA0000066, sizeof status, &status, err), err, kUnit, __LINE__);
      if (status.state == 3) return;
      if (plat::ticksSince(start) > kStopTimeoutMs) {
        plat::MessageBox("Can't stop input control", "Timeout", MB_OK | MB_ICONERROR);
        return;
      }
    }
  } catch (const LIB3::CError& e) {
    showPlain(e);
  }
}

}  // namespace Orvo
