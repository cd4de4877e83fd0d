// The base of the five setting values: one cached payload and the
// operations every owner calls. A kind that has no use for an operation
// keeps the default here, which does nothing and reports false.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/settings/SettTypes.h"

namespace Sett {

template <class V>
class AbstrValue {
 public:
  using Data = V;

  virtual ~AbstrValue() = default;

  virtual bool Connect(std::int32_t /*optionId*/, std::int32_t /*index*/) { return false; }
  virtual bool Parse(std::string_view record) = 0;
  virtual bool Restore(std::int32_t key) = 0;
  virtual bool ReadFromInterface() { return false; }
  virtual bool Format(std::int32_t optionId, std::string& out) = 0;
  virtual bool Save(std::int32_t key) = 0;
  virtual bool WriteToInterface() { return false; }
  virtual bool SetValue(const Data& data) {
    data_ = data;
    return true;
  }
  virtual bool SetRelativeValue(std::int32_t /*delta*/, bool /*linear*/) { return false; }
  virtual bool SetMaxValue() { return false; }
  virtual bool SetMinValue() { return false; }
  virtual bool GetValue(Data& /*out*/, std::int32_t /*unit*/) { return false; }
  virtual bool Value(Data& out) {
    out = data_;
    return true;
  }
  virtual bool GetMaxValue(Data& /*out*/) { return false; }
  virtual bool GetMinValue(Data& /*out*/) { return false; }

 protected:
  AbstrValue() = default;
  AbstrValue(const AbstrValue&) = default;
  AbstrValue& operator=(const AbstrValue&) = default;
  AbstrValue(AbstrValue&&) noexcept = default;
  AbstrValue& operator=(AbstrValue&&) noexcept = default;

  Data data_{};
};

}  // namespace Sett
