#include "tools/overlay_settings.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "platform/font/font_match.h"
#include "shell/app/ComErr.h"

using COMERR::Check;

namespace kelorvo {
namespace {

HFONT createFont(const OverlayFont& font) {
  if (font.family.size() >= static_cast<std::size_t>(LF_FACESIZE))
    throw std::invalid_argument("the font family name is longer than 31 bytes");
  LOGFONTA description{};
  description.lfHeight = -font.pixels;  // negative: the characters' pixel height
  description.lfWeight = FW_NORMAL;
  std::memcpy(description.lfFaceName, font.family.c_str(), font.family.size() + 1);
  HFONT handle = CreateFontIndirectA(&description);
  if (!handle) throw std::invalid_argument("no installed font can stand for \"" + font.family + "\"");
  return handle;
}

bool sameFamily(const std::string& a, const std::string& b) {
  return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

std::string fontStandIn(const OverlayFont& font) {
  const std::optional<plat::FontMatch> match = plat::matchFont(font.family, FW_NORMAL, false);
  if (!match || sameFamily(match->family, font.family)) return {};
  return match->family;
}

OverlaySettings::OverlaySettings(ComPtr<ICamera2> camera, const SaveOptions& options)
    : camera_(std::move(camera)), color_(options.color) {
  if (options.overlay && options.font) font_ = createFont(*options.font);
  try {
    Check(camera_->SetOverlayEnabled(options.overlay ? 1 : 0));
    Check(camera_->SetOverlayPlacement(options.placement));
    Check(camera_->SetOverlayFont(font_, color_));
    Check(camera_->SetWriteInfoFile(options.infoFile ? 1 : 0));
  } catch (...) {
    if (font_) DeleteObject(font_);
    throw;
  }
}

OverlaySettings::~OverlaySettings() {
  if (!font_) return;
  // Null is the camera's default font: nothing keeps naming ours.
  camera_->SetOverlayFont(nullptr, color_);
  DeleteObject(font_);
}

}  // namespace kelorvo
