#include "tests/platform/dshow/fake_graph.h"

#include <algorithm>

namespace kel::test {

ComPtr<FakeGraph> FakeGraph::create() { return ComPtr<FakeGraph>(new FakeGraph()); }

HRESULT FakeGraph::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFilterGraph) return GetInterface(static_cast<IFilterGraph*>(this), ppv);
  if (riid == IID_IMediaEventSink) return GetInterface(static_cast<IMediaEventSink*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT FakeGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName) {
  const HRESULT hr = pFilter->JoinFilterGraph(this, pName);
  if (SUCCEEDED(hr)) filters_.emplace_back(pFilter);
  return hr;
}

HRESULT FakeGraph::RemoveFilter(IBaseFilter* pFilter) {
  auto it = std::find_if(filters_.begin(), filters_.end(), [&](const auto& f) { return f.get() == pFilter; });
  if (it == filters_.end()) return E_INVALIDARG;
  pFilter->JoinFilterGraph(nullptr, nullptr);
  filters_.erase(it);
  return S_OK;
}

HRESULT FakeGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) {
  return ppinOut->Connect(ppinIn, pmt);
}

HRESULT FakeGraph::Disconnect(IPin* ppin) { return ppin->Disconnect(); }

HRESULT FakeGraph::Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR) {
  std::lock_guard lock(mutex_);
  events_.emplace_back(EventCode, EventParam1);
  return S_OK;
}

std::vector<std::pair<LONG, LONG_PTR>> FakeGraph::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

void FakeGraph::clear() {
  while (!filters_.empty()) RemoveFilter(filters_.back().get());
}

}  // namespace kel::test
