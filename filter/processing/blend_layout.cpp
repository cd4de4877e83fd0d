#include "filter/processing/blend_layout.h"

#include <algorithm>

namespace Blend {

CellLayout LayOutCells(const std::vector<plat::TextExtent>& extents, int placement, int bitmapWidth,
                       int bitmapHeight) {
  int width[3] = {0, 0, 0}, height[3] = {0, 0, 0};
  int blockHeight = 0;
  for (std::size_t i = 0; i < extents.size(); ++i) {
    const std::size_t c = i % 3;
    width[c] = std::max(width[c], extents[i].width);
    height[c] = std::max(height[c], extents[i].height);
    // A row is as tall as the first column's cells measured so far.
    if (c == 0) blockHeight += height[0];
  }
  const int blockWidth = width[0] + width[1] + width[2];

  int x = 0, y = 0;
  const int spareX = std::max(bitmapWidth - blockWidth, 0);
  const int spareY = std::max(bitmapHeight - blockHeight, 0);
  switch (placement) {
    case TopCentre: x = spareX / 2; break;
    case TopRight: x = spareX; break;
    case BottomLeft: y = spareY; break;
    case BottomCentre: x = spareX / 2; y = spareY; break;
    case BottomRight: x = spareX; y = spareY; break;
    default: break;
  }

  CellLayout layout;
  layout.block = RECT{x, y, x + blockWidth, y + blockHeight};
  int right = x;
  for (std::size_t i = 0; i < extents.size(); ++i) {
    const std::size_t c = i % 3;
    const int row = static_cast<int>(i / 3);
    const int left = c == 0 ? x : right;
    const int top = y + row * height[c];
    layout.cells.push_back(RECT{left, top, left + width[c], top + height[c]});
    right = left + width[c];
  }
  return layout;
}

}  // namespace Blend
