#include "filter/options/ValueManaged.h"

#include <mutex>

#include "filter/acquisition/global_frame_lock.h"
#include "filter/hardware/error_data.h"
#include "filter/hardware/lib3_error.h"

namespace Options {
namespace {

// The lines the operator's error texts name for each call. They are part of
// what the operator sees and of what support staff look up, so they are fixed
// here rather than taken from wherever the call happens to sit in this file.
enum Line : int {
  kScalarRead = 11,
  kScalarWrite = 19,
  kScalarStep = 28,
  kScalarStepRead = 29,
  kScalarGetValue = 36,
  kScalarMax = 44,
  kScalarMin = 53,
  kEnumRead = 65,
  kEnumWrite = 73,
  kRectRead = 83,
  kRectWrite = 92,
  kRectMax = 103,
  kRectMin = 110,
};

void check(KL3_RESULT result, Line line) {
  LIB3::Check(result, LIB3::ThreadErrorData(), "ValueManaged", line);
}

KL3_HANDLE err() { return LIB3::ThreadErrorData(); }

using FrameLock = std::lock_guard<std::recursive_mutex>;

}  // namespace

void CScalarValue::ReadFromInterface(KL3_HANDLE option) {
  std::int32_t v = 0;
  check(KelLib3OptionGetScalar(option, &v, cache_.unit, err()), kScalarRead);
  cache_.value = v;
}

void CScalarValue::WriteToInterface(KL3_HANDLE option) {
  FrameLock lock(Orvo::GlobalFrameLock());
  check(KelLib3OptionSetScalar(option, cache_.value, cache_.unit, err()), kScalarWrite);
}

void CScalarValue::SetRelativeValue(KL3_HANDLE option, std::int32_t delta) {
  FrameLock lock(Orvo::GlobalFrameLock());
  check(KelLib3OptionRelScalar(option, delta, cache_.unit, err()), kScalarStep);
  std::int32_t v = 0;
  check(KelLib3OptionGetScalar(option, &v, cache_.unit, err()), kScalarStepRead);
  cache_.value = v;
}

void CScalarValue::GetValue(KL3_HANDLE option, Data& data) {
  std::int32_t v = 0;
  check(KelLib3OptionGetScalar(option, &v, data.unit, err()), kScalarGetValue);
  data.value = v;
  cache_ = data;
}

void CScalarValue::GetMaxValue(KL3_HANDLE option, Data& data) {
  std::int32_t lo = 0, hi = 0;
  check(KelLib3OptionGetScalarRange(option, &lo, &hi, cache_.unit, err()), kScalarMax);
  data = {hi, cache_.unit};
}

void CScalarValue::GetMinValue(KL3_HANDLE option, Data& data) {
  std::int32_t lo = 0, hi = 0;
  check(KelLib3OptionGetScalarRange(option, &lo, &hi, cache_.unit, err()), kScalarMin);
  data = {lo, cache_.unit};
}

void CEnumValue::ReadFromInterface(KL3_HANDLE option) {
  std::int32_t v = 0;
  check(KelLib3OptionGetEnumVal(option, &v, err()), kEnumRead);
  cache_.value = v;
}

void CEnumValue::WriteToInterface(KL3_HANDLE option) {
  FrameLock lock(Orvo::GlobalFrameLock());
  check(KelLib3OptionSetEnumVal(option, cache_.value, err()), kEnumWrite);
}

void CRectValue::ReadFromInterface(KL3_HANDLE option) {
  Data r;
  check(KelLib3OptionGetRect(option, &r.x, &r.y, &r.width, &r.height, err()), kRectRead);
  cache_ = r;
}

void CRectValue::WriteToInterface(KL3_HANDLE option) {
  FrameLock lock(Orvo::GlobalFrameLock());
  check(KelLib3OptionSetRect(option, cache_.x, cache_.y, cache_.width, cache_.height, err()), kRectWrite);
}

void CRectValue::GetMaxValue(KL3_HANDLE option, Data& data) {
  Data r;
  check(KelLib3OptionMaxRect(option, &r.x, &r.y, &r.width, &r.height, err()), kRectMax);
  data = r;
}

void CRectValue::GetMinValue(KL3_HANDLE option, Data& data) {
  Data r;
  check(KelLib3OptionMinRect(option, &r.x, &r.y, &r.width, &r.height, err()), kRectMin);
  data = r;
}

}  // namespace Options
