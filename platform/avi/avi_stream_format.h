// What the AVI multiplexer takes: uncompressed RGB24/RGB32 pictures and the
// compressed video of any codec the AVI container knows by its FOURCC, each
// described by a VIDEOINFOHEADER (a compressor's codec data follows the
// header). The description of the stream the file will hold comes from it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/dshow/media_types.h"

namespace plat {

struct AviStreamSpec {
  int codecId = 0;             // an AVCodecID
  std::uint32_t codecTag = 0;  // 0 for uncompressed RGB
  int width = 0;
  int height = 0;
  int bitCount = 0;
  // 100 ns units; 0 when the type does not say.
  REFERENCE_TIME frameDuration = 0;
  std::vector<std::uint8_t> codecData;
  // The bytes one uncompressed picture takes (DWORD-aligned rows).
  std::size_t rawImageSize = 0;
};

// Nullopt for a type the multiplexer cannot store.
std::optional<AviStreamSpec> aviStreamSpecOf(const AM_MEDIA_TYPE& mt);

}  // namespace plat
