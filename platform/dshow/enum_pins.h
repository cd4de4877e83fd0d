// Enumerates a filter's pins as they were when the enumerator was made (or
// last Reset). When the filter's pins change, Next and Skip answer
// VFW_E_ENUM_OUT_OF_SYNC until Reset. Holds a reference to the filter.
#pragma once

#include <vector>

#include "platform/com/cunknown.h"
#include "platform/dshow/interfaces.h"

class CBaseFilter;
class CBasePin;

class CEnumPins : public CUnknown, public IEnumPins {
 public:
  static HRESULT Create(CBaseFilter* filter, IEnumPins** ppEnum);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // A null pcFetched is allowed only when asking for one pin.
  HRESULT Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) override;
  HRESULT Skip(ULONG cPins) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumPins** ppEnum) override;

 private:
  explicit CEnumPins(CBaseFilter* filter);
  ~CEnumPins() override;
  void snapshot();
  bool outOfSync() const;

  CBaseFilter* const filter_;
  std::vector<CBasePin*> pins_;
  std::size_t position_ = 0;
  LONG version_ = 0;
};
