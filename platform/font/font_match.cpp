#include "platform/font/font_match.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>

namespace plat {
namespace {

// Weights from 600 up count as bold when deciding on synthetic emboldening.
constexpr int kBoldWeight = 600;

struct PatternFree {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternFree>;

// Configuration loading and matching are kept to one thread at a time.
std::mutex& fontconfigMutex() {
  static std::mutex m;
  return m;
}

// Releases fontconfig's configuration at exit, so leak checkers see a clean
// process; made once fontconfig first started.
struct FontconfigSession {
  ~FontconfigSession() {
    std::lock_guard lock(fontconfigMutex());
    FcFini();
  }
};

}  // namespace

std::optional<FontMatch> matchFont(const std::string& family, int weight, bool italic) {
  std::lock_guard lock(fontconfigMutex());
  if (!FcInit()) return std::nullopt;
  static FontconfigSession session;

  Pattern pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  const std::string name = family.empty() ? "sans-serif" : family;
  const int openTypeWeight = weight <= 0 ? 400 : (weight > 1000 ? 1000 : weight);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(openTypeWeight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  Pattern found(FcFontMatch(nullptr, pattern.get(), &result));
  if (!found || result != FcResultMatch) return std::nullopt;

  FcChar8* file = nullptr;
  if (FcPatternGetString(found.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return std::nullopt;
  FontMatch match;
  match.file = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(found.get(), FC_INDEX, 0, &match.index);
  FcChar8* matchedFamily = nullptr;
  if (FcPatternGetString(found.get(), FC_FAMILY, 0, &matchedFamily) == FcResultMatch && matchedFamily)
    match.family = reinterpret_cast<const char*>(matchedFamily);

  int matchedWeight = FC_WEIGHT_REGULAR;
  FcPatternGetInteger(found.get(), FC_WEIGHT, 0, &matchedWeight);
  int matchedSlant = FC_SLANT_ROMAN;
  FcPatternGetInteger(found.get(), FC_SLANT, 0, &matchedSlant);
  match.embolden = openTypeWeight >= kBoldWeight && matchedWeight < FC_WEIGHT_DEMIBOLD;
  match.oblique = italic && matchedSlant == FC_SLANT_ROMAN;
  return match;
}

}  // namespace plat
