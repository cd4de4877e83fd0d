// Drawing handles that cross between the shell and the capture filter.
// A font handle names a portable font description (family, pixel height,
// weight, italic) kept by the platform.
#pragma once

#include "platform/com/types.h"

struct HFONT__;
using HFONT = HFONT__*;
using COLORREF = DWORD;

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
