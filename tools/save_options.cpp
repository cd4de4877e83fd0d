#include "tools/save_options.h"

#include <cctype>
#include <stdexcept>

namespace kelorvo {
namespace {

// Glyphs beyond this height are refused by the font table.
constexpr long kMaxFontPixels = 2000;

OverlayFont parseFont(const std::string& text) {
  const std::size_t comma = text.rfind(',');
  if (comma == std::string::npos || comma == 0)
    throw std::invalid_argument("--font is written FAMILY,PIXELS, e.g. \"DejaVu Sans,20\"");
  const long pixels = parseNumber(text.substr(comma + 1), "the font height");
  if (pixels < 1 || pixels > kMaxFontPixels) throw std::invalid_argument("the font height runs from 1 to 2000 pixels");
  return {text.substr(0, comma), static_cast<int>(pixels)};
}

COLORREF parseColor(std::string text) {
  if (!text.empty() && text.front() == '#') text.erase(0, 1);
  bool hex = text.size() == 6;
  for (char c : text) hex = hex && std::isxdigit(static_cast<unsigned char>(c));
  if (!hex) throw std::invalid_argument("--color is written RRGGBB in hexadecimal");
  const unsigned long rgb = std::stoul(text, nullptr, 16);
  // The overlay draws only non-zero bytes: black text would never show.
  if (rgb == 0) throw std::invalid_argument("black overlay text is never drawn; choose another --color");
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

long parseFrame(const Args& args, const std::string& name) {
  const long frame = parseNumber(*args.value(name), name);
  if (frame < 0) throw std::invalid_argument(name + " must not be negative");
  return frame;
}

}  // namespace

const char* const kSaveHelp =
    "  --codec NAME        compressor, as `kelorvo codecs` lists it (default: without compression)\n"
    "  --from A --to B     frames A..B of the recorded film (default: all of it)\n"
    "  --overlay           print the shooting information over every frame, with\n"
    "    --placement 0-5   top left, top centre, top right, bottom left, bottom centre, bottom right\n"
    "    --font FAMILY,PIXELS\n"
    "    --color RRGGBB    text colour (default FFFFFF)\n"
    "  --no-info           no shooting-parameter file FILE.avi.info beside the film\n"
    "  --force             replace an existing film\n"
    "  The name's extension becomes .avi; Ctrl+C aborts the save.\n";

std::set<std::string> saveValueOptions() { return {"--codec", "--from", "--to", "--placement", "--font", "--color"}; }
std::set<std::string> saveFlags() { return {"--overlay", "--no-info", "--force"}; }

SaveOptions parseSaveOptions(const Args& args) {
  SaveOptions o;
  if (const auto codec = args.value("--codec")) o.codec = *codec;
  if (args.has("--from")) o.from = parseFrame(args, "--from");
  if (args.has("--to")) o.to = parseFrame(args, "--to");
  if (o.from && o.to && *o.from > *o.to) throw std::invalid_argument("--from must not be after --to");
  o.overlay = args.has("--overlay");
  for (const char* sub : {"--placement", "--font", "--color"})
    if (args.has(sub) && !o.overlay) throw std::invalid_argument(std::string(sub) + " goes with --overlay");
  if (const auto placement = args.value("--placement")) {
    const long p = parseNumber(*placement, "the placement");
    if (p < 0 || p > 5) throw std::invalid_argument("the placement runs from 0 to 5");
    o.placement = static_cast<int>(p);
  }
  if (const auto font = args.value("--font")) o.font = parseFont(*font);
  if (const auto color = args.value("--color")) o.color = parseColor(*color);
  o.infoFile = !args.has("--no-info");
  o.force = args.has("--force");
  return o;
}

}  // namespace kelorvo
