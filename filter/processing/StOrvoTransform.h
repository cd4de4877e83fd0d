// The base of the frame transforms the output pin runs on every frame before
// it copies the frame into the sample. It holds what any transform needs from
// the hardware library: the input interface, a data header and error data.
#pragma once

#include <cstdint>
#include <vector>

#include "filter/acquisition/stream_source_header.h"
#include "filter/hardware/error_data.h"
#include "filter/hardware/kellib3.h"

namespace Orvo {

class StOrvoTransform {
 public:
  using FrameBuffer = std::vector<std::uint8_t>;

  // Takes the input interface of `system` and makes the data header; throws
  // LIB3::CError (source unit StOrvoTransform).
  explicit StOrvoTransform(KL3_HANDLE system);
  virtual ~StOrvoTransform() = default;
  StOrvoTransform(const StOrvoTransform&) = delete;
  StOrvoTransform& operator=(const StOrvoTransform&) = delete;

  // Writes the transformed `input` into `output`, which ends as large as
  // the input. True when the frame may be delivered.
  virtual bool Apply(FrameBuffer& output, const FrameBuffer& input) = 0;

 protected:
  KL3_HANDLE Input() const { return input_; }
  const DataHeader& Header() const { return header_; }
  KL3_HANDLE ErrorHandle() const { return error_.get(); }

 private:
  LIB3::ErrorData error_;
  KL3_HANDLE input_ = 0;
  DataHeader header_;
};

}  // namespace Orvo
