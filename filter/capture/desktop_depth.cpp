#include "filter/capture/desktop_depth.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace Kel {

int DesktopBytesPerPixel() {
  constexpr int kDefaultBits = 32;
  const char* text = std::getenv("KELORVO_DESKTOP_BPP");
  if (text == nullptr || *text == '\0') return kDefaultBits / 8;
  const std::string_view value(text);
  if (value == "16") return 2;
  if (value == "24") return 3;
  if (value == "32") return 4;
  std::fprintf(stderr, "KELORVO_DESKTOP_BPP=%s is not 16, 24 or 32; using %d\n", text, kDefaultBits);
  return kDefaultBits / 8;
}

}  // namespace Kel
