// A managed value: one option's library handle, address and name with its
// value object. Every operation reports a refused library call to the
// operator (a "LIB3 ERROR" box led by the operation's message text) and
// answers false; it never lets the error travel further.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "filter/hardware/lib3_error.h"
#include "filter/options/ValueManaged.h"

namespace Options {

template <class ValueClass>
class ManagedValue {
 public:
  using Data = typename ValueClass::Data;

  void Bind(KL3_HANDLE handle, std::uint32_t id, std::uint32_t index, std::string name) {
    handle_ = handle;
    id_ = id;
    index_ = index;
    name_ = std::move(name);
  }

  KL3_HANDLE Handle() const { return handle_; }
  std::uint32_t Id() const { return id_; }
  std::uint32_t Index() const { return index_; }
  const std::string& Name() const { return name_; }
  const Data& Cached() const { return value_.GetData(); }

  // Fresh read, then the cache.
  bool Value(Data& out) {
    return run("Value(Data& retValue)\n", [&] {
      value_.ReadFromInterface(handle_);
      out = value_.GetData();
    });
  }

  // The cache takes `data` first, so a refused write leaves the caller's
  // data there; an accepted one is read back, so the cache ends with what
  // the hardware made of it (it may adjust to its steps and limits).
  bool SetValue(const Data& data) {
    return run("SetValue(const Data& value)\n", [&] {
      value_.SetData(data);
      value_.WriteToInterface(handle_);
      value_.ReadFromInterface(handle_);
    });
  }

  bool GetValue(Data& data) {
    return run("GetValue(Data& retValue, UINT unit)\n", [&] { value_.GetValue(handle_, data); });
  }

  bool GetMinValue(Data& out) {
    return run("GetMinValue(Data& retValue, UINT unit)\n", [&] { value_.GetMinValue(handle_, out); });
  }

  bool GetMaxValue(Data& out) {
    return run("GetMaxValue(Data& retValue, UINT unit)\n", [&] { value_.GetMaxValue(handle_, out); });
  }

  // `linear` is accepted for the callers' sake; the step is always linear.
  bool SetRelativeValue(std::int32_t delta, bool linear = false) {
    (void)linear;
    return run("SetRelativeValue(INT delta, bool linear = false)\n",
               [&] { value_.SetRelativeValue(handle_, delta); });
  }

  bool ReadFromInterface() {
    return run("ReadFromInterface()\n", [&] { value_.ReadFromInterface(handle_); });
  }

 private:
  template <class Body>
  static bool run(const char* message, Body&& body) {
    try {
      body();
      return true;
    } catch (const LIB3::CError& e) {
      LIB3::ShowError(e, message);
      return false;
    }
  }

  KL3_HANDLE handle_ = 0;
  std::uint32_t id_ = 0;
  std::uint32_t index_ = 0;
  std::string name_;
  ValueClass value_;
};

using ScalarManaged = ManagedValue<CScalarValue>;
using EnumManaged = ManagedValue<CEnumValue>;
using RectManaged = ManagedValue<CRectValue>;

}  // namespace Options
