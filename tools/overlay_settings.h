// The overlay and information-file settings of a save, handed to the
// camera for the save's duration. The font handle they name lives as long
// as this object; the camera goes back to its default font when it ends.
#pragma once
#include <string>

#include "platform/com/unknown.h"
#include "platform/font/gdi_font.h"
#include "shared/camera_interfaces.h"
#include "tools/save_options.h"

namespace kelorvo {

// The installed family that stands for `font` when it is not the family
// asked for (a name fontconfig does not know falls back to another font);
// empty when the family itself is installed.
std::string fontStandIn(const OverlayFont& font);

class OverlaySettings {
 public:
  // Throws std::invalid_argument when no font can stand for the family,
  // COMERR errors when the camera refuses a setting.
  OverlaySettings(ComPtr<ICamera2> camera, const SaveOptions& options);
  ~OverlaySettings();
  OverlaySettings(const OverlaySettings&) = delete;
  OverlaySettings& operator=(const OverlaySettings&) = delete;

 private:
  ComPtr<ICamera2> camera_;
  HFONT font_ = nullptr;
  COLORREF color_ = 0xFFFFFF;
};

}  // namespace kelorvo
