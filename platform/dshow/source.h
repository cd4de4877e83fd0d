// A source filter: a filter whose pins are CSourceStream output pins, each
// with its own streaming thread. The filter owns its pins from the moment
// they are constructed (a pin adds itself) and destroys them with itself.
#pragma once

#include <memory>
#include <vector>

#include "platform/dshow/base_filter.h"

class CSourceStream;

class CSource : public CBaseFilter {
 public:
  CSource(const char* name, IUnknown* outer, REFCLSID clsid, HRESULT* phr = nullptr,
          plat::ModuleRefCount* module = nullptr);
  // Stops the streams if still active, then destroys the pins.
  ~CSource() override;

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;
  // Pin ids are their numbers from "1".
  HRESULT FindPin(LPCWSTR Id, IPin** ppPin) override;
  // The index of a pin of this filter, or -1.
  int FindPinNumber(IPin* iPin);

  // Takes ownership of a pin made with new; called by CSourceStream.
  HRESULT AddPin(CSourceStream* pStream);
  // Gives up ownership (the caller now owns the pin); S_FALSE if unknown.
  HRESULT RemovePin(CSourceStream* pStream);

  CCritSec* pStateLock() { return &m_cStateLock; }

 protected:
  std::vector<std::unique_ptr<CSourceStream>> m_paStreams;
  CCritSec m_cStateLock;
};
