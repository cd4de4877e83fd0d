#include "filter/hardware/error_data.h"

#include "filter/hardware/lib3_error.h"

namespace LIB3 {

ErrorData::ErrorData() {
  // Handle 0 cannot be formatted, so a failure here reads as an unknown error.
  Check(KelLib3ErrorDataCreate(&handle_), 0, "ErrorData", __LINE__);
}

ErrorData::~ErrorData() {
  // Only an unknown handle can fail to be freed, and then nothing is held.
  if (handle_ != 0) KelLib3ErrorDataFree(handle_);
}

KL3_HANDLE ThreadErrorData() {
  thread_local ErrorData data;
  return data.get();
}

}  // namespace LIB3
