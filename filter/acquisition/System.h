// The hardware library's system for one grabber controller: its option
// catalogue, the current operating mode with the option values each mode
// fixes, starting and stopping input control, and the frame converter and
// frame information overlay of this camera (two cameras of one process
// never share their buffers or values).
#pragma once

#include <cstdint>
#include <memory>

#include "filter/acquisition/FrameConverter.h"

#include "filter/hardware/error_data.h"
#include "filter/options/catalogue.h"
#include "platform/com/types.h"

namespace Blend {
class BlendInfoEx;
}

namespace Orvo {

class System {
 public:
  // KelLib3SystemCreate; throws LIB3::CError.
  explicit System(std::uint32_t type);
  // KelLib3SystemDestroy; a refusal is shown with the prefix "~System():".
  ~System();
  System(const System&) = delete;
  System& operator=(const System&) = delete;

  // Selects the controller, initialises the system and builds the option
  // catalogue; throws LIB3::CError.
  void Init(std::int32_t controller);

  KL3_HANDLE Handle() const { return handle_; }
  FrameConverter& Converter() { return converter_; }
  Blend::BlendInfoEx& Overlay() { return *overlay_; }
  Options::Catalogue& Catalogue() { return catalogue_; }
  Options::OptionRecord* FindOption(std::uint32_t id, std::uint32_t index) { return catalogue_.Find(id, index); }

  // One of the four mode identifiers; anything else (null included) leaves
  // the options and the current mode as they are.
  void SetMode(const GUID* mode);
  const GUID& Mode() const { return mode_; }

  // The test-mode value written on entering set-up mode (1 on, 2 off).
  void SetSetupTestMode(std::int32_t value) { setupTestMode_ = value; }
  std::int32_t SetupTestMode() const { return setupTestMode_; }
  std::int32_t SetupPartitions() const { return setupPartitions_; }

  // Opens a frame cycle (throws LIB3::CError), then arms the camera and
  // starts input; an error of the second step is shown and swallowed.
  void StartInput();
  // Stops input; with `wait`, polls the status until idle, at most 10 s.
  // Errors are shown, never thrown.
  void StopInput(bool wait);

 private:
  void EnterSetup();
  void EnterInput();
  void EnterPreview();
  bool Control(std::uint32_t id, std::uint32_t index, KL3_HANDLE& out);

  KL3_HANDLE handle_ = 0;
  FrameConverter converter_;
  std::unique_ptr<Blend::BlendInfoEx> overlay_;
  GUID mode_ = GUID_NULL;
  Options::Catalogue catalogue_;
  LIB3::ErrorData error_;
  std::int32_t setupPartitions_ = 2;
  std::int32_t setupTestMode_ = 2;
};

}  // namespace Orvo
