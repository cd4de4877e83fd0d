#include "platform/com/guid.h"

#include <array>
#include <cstdint>

namespace plat {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Byte offsets of the hex pairs in "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
// in the order of the GUID's bytes as written (Data1 most significant first).
constexpr std::array<std::size_t, 16> kPairOffsets{1,  3,  5,  7,  10, 12, 15, 17,
                                                   20, 22, 25, 27, 29, 31, 33, 35};
constexpr std::size_t kTextLength = 38;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::array<std::uint8_t, 16> writtenBytes(const GUID& g) {
  return {static_cast<std::uint8_t>(g.Data1 >> 24), static_cast<std::uint8_t>(g.Data1 >> 16),
          static_cast<std::uint8_t>(g.Data1 >> 8),  static_cast<std::uint8_t>(g.Data1),
          static_cast<std::uint8_t>(g.Data2 >> 8),  static_cast<std::uint8_t>(g.Data2),
          static_cast<std::uint8_t>(g.Data3 >> 8),  static_cast<std::uint8_t>(g.Data3),
          g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
          g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]};
}

}  // namespace

std::string guidToString(const GUID& guid) {
  std::string text = "{00000000-0000-0000-0000-000000000000}";
  const auto bytes = writtenBytes(guid);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[kPairOffsets[i]] = kHexDigits[bytes[i] >> 4];
    text[kPairOffsets[i] + 1] = kHexDigits[bytes[i] & 0x0F];
  }
  return text;
}

std::optional<GUID> parseGuid(std::string_view text) {
  if (text.size() != kTextLength || text.front() != '{' || text.back() != '}') return std::nullopt;
  for (std::size_t dash : {9u, 14u, 19u, 24u}) {
    if (text[dash] != '-') return std::nullopt;
  }
  std::array<std::uint8_t, 16> b{};
  for (std::size_t i = 0; i < b.size(); ++i) {
    const int hi = hexValue(text[kPairOffsets[i]]);
    const int lo = hexValue(text[kPairOffsets[i] + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    b[i] = static_cast<std::uint8_t>(hi << 4 | lo);
  }
  GUID g{};
  g.Data1 = std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
  g.Data2 = static_cast<std::uint16_t>(b[4] << 8 | b[5]);
  g.Data3 = static_cast<std::uint16_t>(b[6] << 8 | b[7]);
  for (std::size_t i = 0; i < 8; ++i) g.Data4[i] = b[8 + i];
  return g;
}

}  // namespace plat

std::size_t std::hash<GUID>::operator()(const GUID& g) const noexcept {
  // FNV-1a over the 16 bytes: cheap, and every byte affects the result.
  std::uint64_t h = 0xcbf29ce484222325ULL;
  auto mix = [&h](std::uint64_t byte) {
    h ^= byte;
    h *= 0x100000001b3ULL;
  };
  for (int shift = 0; shift < 32; shift += 8) mix((g.Data1 >> shift) & 0xFF);
  for (int shift = 0; shift < 16; shift += 8) mix((g.Data2 >> shift) & 0xFF);
  for (int shift = 0; shift < 16; shift += 8) mix((g.Data3 >> shift) & 0xFF);
  for (std::uint8_t byte : g.Data4) mix(byte);
  return static_cast<std::size_t>(h);
}
