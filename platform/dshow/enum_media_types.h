// Enumerates a pin's preferred media types through its GetMediaType.
// When the pin's types change, Next and Skip answer VFW_E_ENUM_OUT_OF_SYNC
// until Reset. Holds a reference to the pin (and so to its filter).
#pragma once

#include "platform/com/cunknown.h"
#include "platform/dshow/interfaces.h"

class CBasePin;

class CEnumMediaTypes : public CUnknown, public IEnumMediaTypes {
 public:
  static HRESULT Create(CBasePin* pin, IEnumMediaTypes** ppEnum);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // Each type is made with CreateMediaType; the caller deletes it.
  HRESULT Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) override;
  HRESULT Skip(ULONG cMediaTypes) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumMediaTypes** ppEnum) override;

 private:
  explicit CEnumMediaTypes(CBasePin* pin);
  ~CEnumMediaTypes() override;
  bool outOfSync() const;

  CBasePin* const pin_;
  int position_ = 0;
  LONG version_ = 0;
};
