#include "filter/acquisition/stream_source_header.h"

#include "filter/hardware/error_data.h"
#include "filter/hardware/lib3_error.h"
#include "platform/win/message_box.h"

namespace Orvo {

DataHeader::~DataHeader() { Free(); }

void DataHeader::Create(KL3_HANDLE errorData, std::string_view unit) {
  Free();
  error_ = errorData;
  unit_ = std::string(unit);
  LIB3::Check(KelLib3DataheaderCreate(&handle_, error_), error_, unit, __LINE__);
  LIB3::Check(KelLib3DataheaderInit(handle_, error_), error_, unit, __LINE__);
}

std::uint32_t DataHeader::Get(std::uint32_t key, std::string_view unit) const {
  std::uint32_t value = 0;
  LIB3::Check(KelLib3DataheaderGetU32(handle_, key, &value, error_), error_, unit, __LINE__);
  return value;
}

void DataHeader::Free() {
  if (handle_ == 0) return;
  // The owner's error data may already be gone when the header is freed.
  const KL3_HANDLE error = LIB3::ThreadErrorData();
  const KL3_HANDLE handle = handle_;
  handle_ = 0;
  try {
    LIB3::Check(KelLib3DataheaderFree(handle, error), error, unit_, __LINE__);
  } catch (const LIB3::CError& e) {
    // Destruction cannot throw: the operator sees the refusal instead.
    plat::MessageBox(e.Text(), "", MB_OK | MB_ICONERROR);
  }
}

}  // namespace Orvo
