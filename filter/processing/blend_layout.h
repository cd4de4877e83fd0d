// Where the overlay's cells go: three columns, filled row by row, the block
// placed in one of six spots of the bitmap.
#pragma once

#include <vector>

#include "platform/dshow/media_types.h"
#include "platform/font/font_face.h"

namespace Blend {

// 0 top left, 1 top centre, 2 top right, 3 bottom left, 4 bottom centre,
// 5 bottom right; any other value counts as 0.
enum Placement : int { TopLeft = 0, TopCentre, TopRight, BottomLeft, BottomCentre, BottomRight };

struct CellLayout {
  std::vector<RECT> cells;  // one rectangle per cell, in cell order
  RECT block{};             // the whole block; it may run past the bitmap
};

// Each column is as wide and as tall as its largest cell; the block is the
// columns side by side and a row per three cells. A block larger than the
// bitmap starts at 0.
CellLayout LayOutCells(const std::vector<plat::TextExtent>& extents, int placement, int bitmapWidth,
                       int bitmapHeight);

}  // namespace Blend
