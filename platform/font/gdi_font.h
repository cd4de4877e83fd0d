// Font handles in the shape the shell and the capture filter exchange them:
// a LOGFONT-like description turned into an HFONT, read back, deleted, and
// the stock default GUI font. Each handle stands for a portable description
// (family, pixel height, weight, italic) kept in the platform's font table;
// drawing goes through plat::FontTable and plat::drawText.
#pragma once

#include <cstdint>

#include "platform/win/gdi_types.h"

using BYTE = std::uint8_t;
using HGDIOBJ = void*;

inline constexpr int LF_FACESIZE = 32;

// Weights.
inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;

// Stock objects (only the font one exists here).
inline constexpr int DEFAULT_GUI_FONT = 17;

// lfHeight: negative = pixel height of the characters (the em square),
// positive = cell height (ascent + descent), 0 = the default GUI font's size.
// Fields this platform does not use are kept so descriptions round-trip.
struct LOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};

// The same with the face name in UTF-8 (at most 31 bytes and a zero).
struct LOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];
};

// Null when no installed font can stand for the description (or for a null
// pointer). An empty face name means the default family ("sans-serif").
HFONT CreateFontIndirectW(const LOGFONTW* description);
HFONT CreateFontIndirectA(const LOGFONTA* description);

// Removes a font handle. A font still in use stays alive until its users are
// done. The stock font is never removed (TRUE, as for any stock object).
// FALSE for a handle that is not a font.
BOOL DeleteObject(HGDIOBJ object);

// Copies the font's description into `out` (at most `size` bytes) and
// answers the bytes written; with a null `out`, the bytes needed. 0 for a
// handle that is not a font. The face name is the one asked for; for the
// stock font, the matched family.
int GetObjectW(HGDIOBJ object, int size, void* out);
int GetObjectA(HGDIOBJ object, int size, void* out);

// DEFAULT_GUI_FONT gives the stock font (the match for "sans-serif");
// any other index gives null.
HGDIOBJ GetStockObject(int index);
