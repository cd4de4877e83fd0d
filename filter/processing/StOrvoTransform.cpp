#include "filter/processing/StOrvoTransform.h"

#include "filter/hardware/lib3_error.h"

namespace Orvo {
namespace {

constexpr const char* kUnit = "StOrvoTransform";
constexpr std::uint32_t kInputInterface = 0xC0000000;
// The line operators and support know this failure by.
constexpr int kLineInput = 11;

}  // namespace

StOrvoTransform::StOrvoTransform(KL3_HANDLE system) {
  const KL3_HANDLE err = error_.get();
  LIB3::Check(KelLib3SystemGetInDInterface(system, kInputInterface, 0, &input_, err), err, kUnit, kLineInput);
  header_.Create(err, kUnit);
}

}  // namespace Orvo
