#include "kellib3/core/text_codec.h"

#include <cstdint>

namespace kellib3 {
namespace {

// Decodes one UTF-8 sequence at `i`; returns U+FFFD for malformed input.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t cp = b0 & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size()) return 0xFFFD;
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  return cp;
}

int cp1251Byte(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(cp - 0x0410 + 0xC0);
  switch (cp) {
    case 0x0401: return 0xA8;  // Ё
    case 0x0451: return 0xB8;  // ё
    case 0x00B0: return 0xB0;  // °
    case 0x00B5: return 0xB5;  // µ
    case 0x00A0: return 0xA0;
    case 0x00AB: return 0xAB;
    case 0x00BB: return 0xBB;
    case 0x2116: return 0xB9;  // №
    case 0x2013: return 0x96;
    case 0x2014: return 0x97;
    default: return -1;
  }
}

}  // namespace

std::string utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const int b = cp1251Byte(nextCodePoint(utf8, i));
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

std::string encodeText(std::string_view utf8, TextEncoding encoding) {
  return encoding == TextEncoding::Cp1251 ? utf8ToCp1251(utf8) : std::string(utf8);
}

}  // namespace kellib3
