// The description of a bitmap as drawing code passes it around: size, row
// length and pixel format. A negative height marks a top-down bitmap.
#pragma once

#include "platform/com/types.h"
#include "platform/win/types.h"

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  void* bmBits;
};
