// The 256-entry tables every conversion goes through: black/white levels with
// the optional gamma curve, and the three white-balanced channel tables of the
// colour conversion. Built once per frame.
#pragma once

#include <array>
#include <cstdint>

namespace Orvo::conv {

using Table = std::array<std::uint8_t, 256>;

// The fixed gamma curve: 255 * sqrt(v / 255) rounded, give or take 1.
const Table& GammaTable();

// Identity, stretched so that `black` maps to 0 and `white` to 255 when the
// two differ, then passed through the gamma curve when `gamma` is set. A
// white level below the black level gives 0 for every entry above black
// (the stretch would be negative) instead of wrapping around.
Table LevelTable(int black, int white, bool gamma);

// True when the table maps every value to itself, so a lookup can be skipped.
bool IsIdentity(const Table& table);

// The values white balance scales by: measured averages or manual
// coefficients. Anything below 1 counts as 1, so no division by zero.
struct ChannelValues {
  long long red = 1;
  long long green = 1;
  long long blue = 1;
};

struct ChannelTables {
  Table red;
  Table green;
  Table blue;
};

// Each channel: identity, scaled by max / channel (limited to 255) when
// `balance` is set, then mapped through `levels`.
ChannelTables ColourTables(ChannelValues values, bool balance, const Table& levels);

}  // namespace Orvo::conv
