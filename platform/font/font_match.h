// Finding the installed font file for a font description through fontconfig.
#pragma once

#include <optional>
#include <string>

namespace plat {

struct FontMatch {
  std::string file;
  int index = 0;       // face within the file
  std::string family;  // the matched family name
  bool embolden = false;  // bold asked, only a lighter face installed
  bool oblique = false;   // italic asked, only an upright face installed
};

// The closest installed scalable font; an empty family asks for "sans-serif".
// `weight` is on the 1..1000 scale of font descriptions (0 = normal).
// Empty only when no font is installed at all.
std::optional<FontMatch> matchFont(const std::string& family, int weight, bool italic);

}  // namespace plat
