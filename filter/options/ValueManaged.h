// The value classes of the option records: one cached data item per option
// and the hardware-library calls that read, write, step and bound it. Every
// operation that touches the hardware gets the option's library handle and
// throws LIB3::CError (source unit ValueManaged) when the library refuses.
#pragma once

#include <cstdint>

#include "filter/hardware/kellib3.h"
#include "filter/options/option_data.h"

namespace Options {

// The slot order of the eight operations is fixed; the value is never
// deleted through this base, hence no virtual destructor.
template <class DataT>
class CAbstrValue {
 public:
  using Data = DataT;

  virtual void ReadFromInterface(KL3_HANDLE option) = 0;
  // Takes the global frame lock: writes never interleave with a frame.
  virtual void WriteToInterface(KL3_HANDLE option) = 0;
  virtual const Data& GetData() const = 0;
  virtual void SetData(const Data& data) = 0;
  virtual void SetRelativeValue(KL3_HANDLE option, std::int32_t delta) = 0;
  virtual void GetValue(KL3_HANDLE option, Data& data) = 0;
  virtual void GetMaxValue(KL3_HANDLE option, Data& data) = 0;
  virtual void GetMinValue(KL3_HANDLE option, Data& data) = 0;

 protected:
  CAbstrValue() = default;
  CAbstrValue(const CAbstrValue&) = default;
  CAbstrValue& operator=(const CAbstrValue&) = default;
  ~CAbstrValue() = default;
};

class CScalarValue final : public CAbstrValue<Scalar::Value> {
 public:
  void ReadFromInterface(KL3_HANDLE option) override;
  void WriteToInterface(KL3_HANDLE option) override;
  const Data& GetData() const override { return cache_; }
  void SetData(const Data& data) override { cache_ = data; }
  // Steps in the cached unit, then reads the result back.
  void SetRelativeValue(KL3_HANDLE option, std::int32_t delta) override;
  // Reads in the unit of `data`; value and unit become the cache.
  void GetValue(KL3_HANDLE option, Data& data) override;
  // The range always comes in the cached unit, whatever `data` held.
  void GetMaxValue(KL3_HANDLE option, Data& data) override;
  void GetMinValue(KL3_HANDLE option, Data& data) override;

 private:
  Data cache_;
};

class CEnumValue final : public CAbstrValue<Enum::Value> {
 public:
  void ReadFromInterface(KL3_HANDLE option) override;
  void WriteToInterface(KL3_HANDLE option) override;
  const Data& GetData() const override { return cache_; }
  void SetData(const Data& data) override { cache_ = data; }
  // An enumerated value has no steps, units or range.
  void SetRelativeValue(KL3_HANDLE, std::int32_t) override {}
  void GetValue(KL3_HANDLE, Data&) override {}
  void GetMaxValue(KL3_HANDLE, Data&) override {}
  void GetMinValue(KL3_HANDLE, Data&) override {}

 private:
  Data cache_;
};

class CRectValue final : public CAbstrValue<Rect::Value> {
 public:
  void ReadFromInterface(KL3_HANDLE option) override;
  void WriteToInterface(KL3_HANDLE option) override;
  const Data& GetData() const override { return cache_; }
  void SetData(const Data& data) override { cache_ = data; }
  void SetRelativeValue(KL3_HANDLE, std::int32_t) override {}
  void GetValue(KL3_HANDLE, Data&) override {}
  void GetMaxValue(KL3_HANDLE option, Data& data) override;
  void GetMinValue(KL3_HANDLE option, Data& data) override;

 private:
  Data cache_;
};

}  // namespace Options
