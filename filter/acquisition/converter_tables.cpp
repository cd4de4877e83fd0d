#include "filter/acquisition/converter_tables.h"

#include <algorithm>

namespace Orvo::conv {

const Table& GammaTable() {
  static constexpr Table kGamma = {
      0,   15,  22,  27,  31,  35,  39,  42,  45,  47,  50,  52,  55,  57,  59,  61,  63,  65,  67,  69,  71,  73,
      74,  76,  78,  79,  81,  82,  84,  85,  87,  88,  90,  91,  92,  94,  95,  96,  98,  99,  100, 102, 103, 104,
      105, 106, 108, 109, 110, 111, 112, 113, 114, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128,
      129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 138, 139, 140, 141, 142, 143, 144, 145, 146, 146, 147, 148,
      149, 150, 151, 152, 152, 153, 154, 155, 156, 156, 157, 158, 159, 160, 160, 161, 162, 163, 164, 164, 165, 166,
      167, 167, 168, 169, 170, 170, 171, 172, 173, 173, 174, 175, 176, 176, 177, 178, 178, 179, 180, 181, 181, 182,
      183, 183, 184, 185, 185, 186, 187, 187, 188, 189, 189, 190, 191, 191, 192, 193, 193, 194, 195, 195, 196, 197,
      197, 198, 199, 199, 200, 200, 201, 202, 202, 203, 204, 204, 205, 205, 206, 207, 207, 208, 209, 209, 210, 210,
      211, 212, 212, 213, 213, 214, 215, 215, 216, 216, 217, 217, 218, 219, 219, 220, 220, 221, 221, 222, 223, 223,
      224, 224, 225, 225, 226, 227, 227, 228, 228, 229, 229, 230, 230, 231, 232, 232, 233, 233, 234, 234, 235, 235,
      236, 236, 237, 237, 238, 239, 239, 240, 240, 241, 241, 242, 242, 243, 243, 244, 244, 245, 245, 246, 246, 247,
      247, 248, 248, 249, 249, 250, 250, 251, 251, 252, 252, 253, 254, 254,
  };
  return kGamma;
}

Table LevelTable(int black, int white, bool gamma) {
  Table t;
  const long long range = static_cast<long long>(white) - black;
  for (int v = 0; v < 256; ++v) {
    long long e = v;
    if (range != 0) {
      e = std::max<long long>(v - static_cast<long long>(black), 0) * 255 / range;
      e = std::clamp<long long>(e, 0, 255);
    }
    t[v] = static_cast<std::uint8_t>(e);
  }
  if (gamma) {
    const Table& g = GammaTable();
    for (auto& e : t) e = g[e];
  }
  return t;
}

bool IsIdentity(const Table& table) {
  for (int v = 0; v < 256; ++v) {
    if (table[v] != v) return false;
  }
  return true;
}

ChannelTables ColourTables(ChannelValues values, bool balance, const Table& levels) {
  const long long r = std::max(values.red, 1LL);
  const long long g = std::max(values.green, 1LL);
  const long long b = std::max(values.blue, 1LL);
  const long long m = std::max({r, g, b});
  auto channel = [&](long long c) {
    Table t;
    for (int v = 0; v < 256; ++v) {
      // The values come from ints, so m * v fits easily in 64 bits.
      const long long scaled = balance ? std::min<long long>(m * v / c, 255) : v;
      t[v] = levels[static_cast<std::size_t>(scaled)];
    }
    return t;
  };
  return {channel(r), channel(g), channel(b)};
}

}  // namespace Orvo::conv
