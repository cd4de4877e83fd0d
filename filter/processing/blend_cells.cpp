#include "filter/processing/blend_cells.h"


namespace Blend {
namespace {

constexpr std::size_t kCellWidth = 25;

std::string s(std::int32_t v) { return std::to_string(v); }
std::string u(std::int32_t v) { return std::to_string(static_cast<std::uint32_t>(v)); }

int decimalDigits(std::int32_t v) {
  std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
  int digits = 1;
  while (magnitude >= 10) {
    magnitude /= 10;
    ++digits;
  }
  return digits;
}

// Pads to 25 characters, counting characters rather than UTF-8 bytes.
std::string padded(std::string text) {
  std::size_t characters = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  if (characters < kCellWidth) text.append(kCellWidth - characters, ' ');
  return text;
}

}  // namespace

std::vector<std::string> OverlayCells(const OverlayValues& v) {
  std::vector<std::string> cells;
  const int zeros = decimalDigits(v.filmLength) - decimalDigits(v.frame);
  cells.push_back(padded("Кадр №:" + std::string(zeros > 0 ? zeros : 0, '0') + s(v.frame)));
  cells.push_back(padded(s(v.period) + "/" + s(v.exposure) +
                         (v.exposureInMicroseconds ? " <мкс/мкс>" : " <мкс/нс>")));
  cells.push_back(v.background ? "[ФОН]" : "[   ]");
  cells.push_back(padded("Окно   :" + u(v.windowWidth) + "x" + u(v.windowHeight) + ":" + s(v.decimation)));
  cells.push_back(padded(s(v.gain) + "/" + s(v.black) + "/" + s(v.digitalGain)));
  std::string corrections;
  if (v.whiteBalance)
    corrections = v.automaticBalance ? "БАЛ/" : u(v.red) + "-" + u(v.green) + "-" + u(v.blue) + "/";
  if (v.gamma) corrections += "ГАММА/";
  corrections += u(v.levelBlack) + "/" + u(v.levelWhite);
  cells.push_back(corrections);
  if (v.shutter)
    cells.push_back("Затвор :" + s(v.shutterVoltage) + "/" + s(v.shutterCount) + "/" + s(v.shutterPeriod));
  return cells;
}

}  // namespace Blend
