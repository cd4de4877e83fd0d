// The least of a graph for the tests: filters join it, pins are connected
// directly, and the events filters send are recorded.
#pragma once

#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/com/cunknown.h"
#include "platform/dshow/interfaces.h"

namespace kel::test {

class FakeGraph : public CUnknown, public IFilterGraph, public IMediaEventSink {
 public:
  static ComPtr<FakeGraph> create();

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
  HRESULT RemoveFilter(IBaseFilter* pFilter) override;
  HRESULT EnumFilters(IEnumFilters**) override { return E_NOTIMPL; }
  HRESULT FindFilterByName(LPCWSTR, IBaseFilter**) override { return E_NOTIMPL; }
  HRESULT ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
  HRESULT Reconnect(IPin*) override { return E_NOTIMPL; }
  HRESULT Disconnect(IPin* ppin) override;
  HRESULT SetDefaultSyncSource() override { return E_NOTIMPL; }

  HRESULT Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;

  std::vector<std::pair<LONG, LONG_PTR>> events() const;
  // Removes every filter (each leaves the graph).
  void clear();

 private:
  FakeGraph() : CUnknown("FakeGraph", nullptr) {}

  mutable std::mutex mutex_;
  std::vector<std::pair<LONG, LONG_PTR>> events_;
  std::vector<ComPtr<IBaseFilter>> filters_;
};

}  // namespace kel::test
