// One DMA context of the hardware library: a buffer the grabber transfers a
// frame part into.
#pragma once

#include <cstdint>

#include "filter/hardware/error_data.h"

namespace Orvo {

class DmaContext {
 public:
  DmaContext() = default;
  // Frees the context.
  ~DmaContext();
  DmaContext(const DmaContext&) = delete;
  DmaContext& operator=(const DmaContext&) = delete;

  // Frees any earlier context, then KelLib3DmaCreateContext with the 64-bit
  // size; throws LIB3::CError. When the earlier context cannot be freed
  // (the box is shown), it throws that refusal and keeps the earlier one.
  void Create(std::uint64_t size);
  // Frees the context when there is one; a refusal is shown in a box with
  // the caption "DmaContext::Free" and the context is kept, so a later
  // Free (the destructor's) tries again.
  void Free();

  KL3_HANDLE Handle() const { return handle_; }
  // Null while no context exists.
  void* Buffer() const { return buffer_; }

 private:
  KL3_HANDLE handle_ = 0;
  void* buffer_ = nullptr;
  LIB3::ErrorData error_;
};

}  // namespace Orvo
