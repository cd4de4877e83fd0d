#include "platform/graph/video_format.h"

#include <cstdlib>

#include "platform/dshow/guids.h"

namespace plat {

namespace {

// Far beyond any camera; keeps every size computation inside 32 bits.
constexpr LONG kMaxSide = 16384;

WORD bitCountFor(const GUID& subtype) {
  if (subtype == MEDIASUBTYPE_RGB24) return 24;
  if (subtype == MEDIASUBTYPE_RGB32) return 32;
  return 0;
}

}  // namespace

std::optional<VideoFormat> videoFormatOf(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Video || mt.formattype != FORMAT_VideoInfo) return std::nullopt;
  const WORD bits = bitCountFor(mt.subtype);
  if (bits == 0 || !mt.pbFormat || mt.cbFormat < sizeof(VIDEOINFOHEADER)) return std::nullopt;
  const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
  const BITMAPINFOHEADER& bih = vih->bmiHeader;
  if (bih.biBitCount != bits || bih.biCompression != BI_RGB) return std::nullopt;
  if (bih.biWidth <= 0 || bih.biWidth > kMaxSide || bih.biHeight == 0 || std::abs(bih.biHeight) > kMaxSide) {
    return std::nullopt;
  }

  VideoFormat f;
  f.width = bih.biWidth;
  f.height = std::abs(bih.biHeight);
  f.bitCount = bits;
  f.bottomUp = bih.biHeight > 0;
  const LONG packed = f.width * (bits / 8);
  const bool declaredPacked = bih.biSizeImage == static_cast<DWORD>(packed) * static_cast<DWORD>(f.height);
  f.stride = declaredPacked ? packed : (packed + 3) & ~3;
  f.imageSize = static_cast<std::size_t>(f.stride) * static_cast<std::size_t>(f.height);
  f.header = bih;
  f.header.biSizeImage = static_cast<DWORD>(f.imageSize);
  return f;
}

}  // namespace plat
