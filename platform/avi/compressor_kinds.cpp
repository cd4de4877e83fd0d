#include "platform/avi/compressor_kinds.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "platform/dshow/media_types.h"

namespace plat {

namespace {

// FFV1 is fed BGR with a padding byte and UT Video planar RGB, both stored
// losslessly (the fourth byte of 32-bit pictures is not picture); the others
// take 4:2:0 YUV. The two lossless encoders keep their set-up in the type.
const CompressorKind kKinds[] = {
    {u"FFV1 (без потерь)", "ffv1", MAKEFOURCC('F', 'F', 'V', '1'), AV_PIX_FMT_BGR0, false, false, 100, true,
     {0x6B0E2C61, 0x3F1A, 0x4C7D, {0x9A, 0x20, 0x41, 0x5E, 0x0D, 0x8B, 0x72, 0x11}}},
    {u"UT Video (без потерь)", "utvideo", MAKEFOURCC('U', 'L', 'R', 'G'), AV_PIX_FMT_GBRP, false, false, 100, true,
     {0x6B0E2C64, 0x3F1A, 0x4C7D, {0x9A, 0x20, 0x41, 0x5E, 0x0D, 0x8B, 0x72, 0x11}}},
    {u"Motion JPEG", "mjpeg", MAKEFOURCC('M', 'J', 'P', 'G'), AV_PIX_FMT_YUV420P, true, true, 90, false,
     {0x6B0E2C62, 0x3F1A, 0x4C7D, {0x9A, 0x20, 0x41, 0x5E, 0x0D, 0x8B, 0x72, 0x11}}},
    {u"H.264", "libx264", MAKEFOURCC('H', '2', '6', '4'), AV_PIX_FMT_YUV420P, false, true, 75, false,
     {0x6B0E2C63, 0x3F1A, 0x4C7D, {0x9A, 0x20, 0x41, 0x5E, 0x0D, 0x8B, 0x72, 0x11}}},
};

}  // namespace

const std::vector<const CompressorKind*>& availableCompressors() {
  static const std::vector<const CompressorKind*> found = [] {
    std::vector<const CompressorKind*> list;
    for (const CompressorKind& kind : kKinds) {
      if (avcodec_find_encoder_by_name(kind.encoder)) list.push_back(&kind);
    }
    return list;
  }();
  return found;
}

}  // namespace plat
