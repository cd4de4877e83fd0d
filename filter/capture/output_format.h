// The two media types the output pin offers, built from the camera's input
// data header rewritten for the output picture.
//
// Position 0: a byte stream whose format block carries the data header
// (32-bit 0, 32-bit header size, the library's copy of the header).
// Position 1: RGB video with a VIDEOINFO block; its height is positive,
// as for any DIB, whatever row order the samples have.
#pragma once

#include <cstdint>

#include "filter/acquisition/stream_source_header.h"
#include "platform/dshow/media_type.h"

namespace Kel {

// {285A3DDB-2851-4CD4-8C31-7F4201D6DF90}: the data-header stream format.
inline constexpr GUID FORMAT_KelOrvoDataHeader{
    0x285A3DDB, 0x2851, 0x4CD4, {0x8C, 0x31, 0x7F, 0x42, 0x01, 0xD6, 0xDF, 0x90}};

struct OutputFormat {
  // Of the output picture: halved when 2x2 summation is on.
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  // Of the input frame.
  std::uint32_t pixelCount = 0;
  int bytesPerPixel = 0;
  // Bytes one sample of the stream type holds: a whole frame in the output
  // pixel size (the pixel count alone is too small for 3 or 4 bytes).
  std::uint32_t StreamSampleSize() const;
};

// Reads the input format of `system` into `header` (width, height, pixel
// format; the colour-camera flag of the white balance settings follows the
// pixel format), then rewrites the header for the output picture. Throws
// LIB3::CError naming `unit`.
OutputFormat ReadOutputFormat(KL3_HANDLE system, int bytesPerPixel, Orvo::DataHeader& header, KL3_HANDLE error,
                              const char* unit);

// Position 0. E_UNEXPECTED when the library refuses the header copy,
// E_OUTOFMEMORY without memory for the format block.
HRESULT BuildStreamType(const OutputFormat& format, const Orvo::DataHeader& header, KL3_HANDLE error,
                        CMediaType* type);

// Position 1. With an output pixel of neither 3 nor 4 bytes the type has no
// subtype and a bit count of 0. E_OUTOFMEMORY without memory.
HRESULT BuildVideoType(const OutputFormat& format, CMediaType* type);

}  // namespace Kel
