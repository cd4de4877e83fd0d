// The hardware side of taking background images: the film recorded for the
// background is played back frame by frame with the four-part frame cycle
// and each frame is converted as a delivered frame would be.
//
// Library errors are thrown as LIB3::CError with the source unit
// StClearImageTransform and the line numbers operators and support know the
// steps by.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "filter/acquisition/DmaContext.h"
#include "filter/acquisition/FrameConverter.h"
#include "filter/acquisition/stream_source_header.h"
#include "filter/hardware/kellib3.h"

namespace Orvo {

class BackgroundCapture {
 public:
  // Looks up the interfaces, reads the input format into `header` and makes
  // four DMA contexts of its part size. Needs preview mode with input started.
  // Frames are assembled and converted by the camera's `converter`.
  BackgroundCapture(KL3_HANDLE system, FrameConverter& converter, KL3_HANDLE input, const DataHeader& header,
                    KL3_HANDLE error);
  BackgroundCapture(const BackgroundCapture&) = delete;
  BackgroundCapture& operator=(const BackgroundCapture&) = delete;

  unsigned Width() const { return width_; }
  unsigned Height() const { return height_; }

  // Selects film frame `frame`, transfers it and converts it into `out`,
  // which becomes width x height x `bytesPerPixel` bytes, zeroed first.
  void Take(std::int32_t frame, int bytesPerPixel, std::vector<std::uint8_t>& out);

 private:
  KL3_HANDLE Lookup(std::uint32_t id, int line) const;
  std::uint32_t HeaderValue(std::uint32_t key, int line) const;
  void TransferParts();
  void TransferPart(int part);
  void WaitForIdle();
  void Check(KL3_RESULT result, int line) const;

  KL3_HANDLE system_;
  FrameConverter& converter_;
  KL3_HANDLE input_;
  const DataHeader& header_;
  KL3_HANDLE error_;
  KL3_HANDLE controlB_ = 0;
  KL3_HANDLE frameRange_ = 0;
  std::uint64_t dmaSize_ = 0;
  std::array<DmaContext, 4> dma_;
  unsigned width_ = 0;
  unsigned height_ = 0;
};

}  // namespace Orvo
