// What `save` and `capture` take besides the file: the compressor, the
// frame range, the overlay (placement, font, colour), the information file
// and whether an existing film may be replaced.
#pragma once
#include <optional>
#include <set>
#include <string>

#include "platform/win/gdi_types.h"
#include "tools/args.h"

namespace kelorvo {

struct OverlayFont {
  std::string family;
  int pixels = 0;
};

struct SaveOptions {
  std::string codec;  // empty: without compression
  std::optional<long> from;
  std::optional<long> to;
  bool overlay = false;
  int placement = 0;
  std::optional<OverlayFont> font;
  COLORREF color = 0xFFFFFF;
  bool infoFile = true;
  bool force = false;
};

std::set<std::string> saveValueOptions();
std::set<std::string> saveFlags();
extern const char* const kSaveHelp;

// Throws std::invalid_argument with a one-line reason for a bad value.
SaveOptions parseSaveOptions(const Args& args);

}  // namespace kelorvo
