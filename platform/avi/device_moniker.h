// A compressor as the device enumerator hands it out: a moniker that binds
// to a new compressor filter, and the property bag with its friendly name.
#pragma once

#include "platform/avi/compressor_kinds.h"
#include "platform/avi/save_interfaces.h"
#include "platform/com/cunknown.h"

class CDeviceMoniker final : public CUnknown, public IMoniker {
 public:
  // A new moniker holding one reference.
  static ComPtr<IMoniker> make(const plat::CompressorKind& kind);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // A new filter each time, asked for `riid`.
  HRESULT BindToObject(IBindCtx* ctx, IMoniker* left, REFIID riid, void** ppv) override;
  // IID_IPropertyBag only.
  HRESULT BindToStorage(IBindCtx* ctx, IMoniker* left, REFIID riid, void** ppv) override;
  // "@device:cm:{category}\<encoder>".
  HRESULT GetDisplayName(IBindCtx* ctx, IMoniker* left, LPOLESTR* name) override;

 private:
  explicit CDeviceMoniker(const plat::CompressorKind& kind);
  const plat::CompressorKind& kind_;
};

// Read-only: "FriendlyName" as VT_BSTR.
class CDevicePropertyBag final : public CUnknown, public IPropertyBag {
 public:
  static ComPtr<IPropertyBag> make(const plat::CompressorKind& kind);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // An unknown name: HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND). The variant
  // must be empty or ask for VT_BSTR.
  HRESULT Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) override;
  HRESULT Write(LPCOLESTR pszPropName, VARIANT* pVar) override;

 private:
  explicit CDevicePropertyBag(const plat::CompressorKind& kind);
  const plat::CompressorKind& kind_;
};
