// The system device enumerator (CLSID_SystemDeviceEnum). The only category
// with devices here is the video compressors'; any other has none.
#pragma once

#include <cstddef>

#include "platform/avi/save_interfaces.h"
#include "platform/com/cunknown.h"

class CSystemDeviceEnum final : public CUnknown, public ICreateDevEnum {
 public:
  static IUnknown* CreateInstance(IUnknown* outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // Flags are ignored.
  HRESULT CreateClassEnumerator(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker, DWORD dwFlags) override;

 private:
  explicit CSystemDeviceEnum(IUnknown* outer);
};

// The monikers of the available compressors, in their fixed order.
class CCompressorMonikers final : public CUnknown, public IEnumMoniker {
 public:
  static ComPtr<IEnumMoniker> make(std::size_t position = 0);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) override;
  HRESULT Skip(ULONG celt) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumMoniker** ppenum) override;

 private:
  explicit CCompressorMonikers(std::size_t position);
  std::size_t position_;
};
