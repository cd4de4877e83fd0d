#include "filter/acquisition/DmaContext.h"

#include "filter/hardware/lib3_error.h"
#include "platform/win/message_box.h"

namespace Orvo {
namespace {
constexpr const char* kUnit = "DmaContext";
}  // namespace

DmaContext::~DmaContext() { Free(); }

void DmaContext::Create(std::uint64_t size) {
  Free();  // a context made earlier is not leaked
  // The earlier context could not be freed: it stays held (the destructor
  // tries again) and no second one is made over it.
  if (buffer_) throw LIB3::CError(error_.get(), kUnit, __LINE__);
  const auto low = static_cast<std::uint32_t>(size & 0xFFFFFFFFu);
  const auto high = static_cast<std::uint32_t>(size >> 32);
  KL3_HANDLE handle = 0;
  void* buffer = nullptr;
  LIB3::Check(KelLib3DmaCreateContext(&handle, &buffer, low, high, error_.get()), error_.get(), kUnit, __LINE__);
  handle_ = handle;
  buffer_ = buffer;
}

void DmaContext::Free() {
  if (!buffer_) return;
  try {
    LIB3::Check(KelLib3DmaFreeContext(handle_, error_.get()), error_.get(), kUnit, __LINE__);
    buffer_ = nullptr;
  } catch (const LIB3::CError& e) {
    plat::MessageBox(e.Text(), "DmaContext::Free", MB_OK);
  }
}

}  // namespace Orvo
