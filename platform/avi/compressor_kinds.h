// The video compressors this library offers, each a libavcodec encoder that
// an AVI file can carry and that suits the camera's footage: lossless FFV1
// and UT Video, Motion JPEG and, when the library was built with it, H.264.
// Only those whose encoder is present are listed.
#pragma once

#include <vector>

#include "platform/com/types.h"

namespace plat {

struct CompressorKind {
  const char16_t* friendlyName;
  const char* encoder;  // libavcodec encoder name
  DWORD fourcc;
  int pixelFormat;      // the AVPixelFormat the encoder is fed
  bool fullRange;       // YUV in JPEG's full range
  bool hasQuality;      // a quality worth changing (IKelCompressorSettings)
  LONG defaultQuality;  // 1..100
  bool codecDataInType; // the encoder's global headers go in the stream type
  CLSID clsid;
};

// In a fixed order: lossless first.
const std::vector<const CompressorKind*>& availableCompressors();

}  // namespace plat
