#include "filter/acquisition/converter_repack.h"

#include <cstring>

namespace Orvo::conv {

void Repack(std::uint8_t* out, std::size_t pixels, int stride, std::vector<std::uint8_t>& scratch) {
  const std::size_t bytes = pixels * stride;
  scratch.assign(out, out + bytes);
  const std::uint8_t* copy = scratch.data();
  // Source pixel of a group and the row offset of its target.
  struct Move {
    std::size_t pixel;
    std::size_t rowsBelow;
    std::size_t column;
  };
  static constexpr Move kMoves[] = {{0, 0, 0}, {2, 0, 1}, {6, 1, 0}, {8, 1, 1},
                                    {1, 2, 0}, {3, 2, 1}, {7, 3, 0}, {9, 3, 1}};
  constexpr std::size_t kGroups = kRepackPitch / 10;
  const std::size_t rows = (pixels + kRepackPitch - 1) / kRepackPitch;
  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t g = 0; g < kGroups; ++g) {
      const std::size_t first = r * kRepackPitch + 10 * g;
      if (first + 10 > pixels) break;
      for (const Move& m : kMoves) {
        const std::size_t target = (r + m.rowsBelow) * kRepackPitch + 2 * g + m.column;
        if (target >= pixels) continue;  // below the last row
        std::memcpy(out + target * stride, copy + (first + m.pixel) * stride, 3);
      }
    }
  }
}

}  // namespace Orvo::conv
