// Connecting and disconnecting pins, and the graph-building calls that the
// system does not use.
#include "platform/graph/filter_graph.h"
#include "platform/graph/graph_topology.h"

HRESULT CFilterGraph::checkConnectable(IPin* out, IPin* in) {
  for (IPin* pin : {out, in}) {
    ComPtr<IBaseFilter> owner = plat::filterOfPin(pin);
    if (!owner || !members_.contains(owner.get())) return VFW_E_NOT_IN_GRAPH;
  }
  if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
  if (plat::directionOf(out) != PINDIR_OUTPUT || plat::directionOf(in) != PINDIR_INPUT) {
    return VFW_E_INVALID_DIRECTION;
  }
  return S_OK;
}

HRESULT CFilterGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) {
  if (!ppinOut || !ppinIn) return E_POINTER;
  std::lock_guard lock(lock_);
  const HRESULT hr = checkConnectable(ppinOut, ppinIn);
  if (FAILED(hr)) return hr;
  return ppinOut->Connect(ppinIn, pmt);
}

HRESULT CFilterGraph::Connect(IPin* ppinOut, IPin* ppinIn) {
  if (!ppinOut || !ppinIn) return E_POINTER;
  std::lock_guard lock(lock_);
  aborted_ = false;
  HRESULT hr = checkConnectable(ppinOut, ppinIn);
  if (FAILED(hr)) return hr;
  hr = ppinOut->Connect(ppinIn, nullptr);
  if (SUCCEEDED(hr)) return hr;
  return connectThroughConverters(ppinOut, ppinIn, hr);
}

HRESULT CFilterGraph::connectThroughConverters(IPin*, IPin*, HRESULT directFailure) {
  // No converter filters exist yet; a failed direct attempt is final.
  return directFailure;
}

HRESULT CFilterGraph::Disconnect(IPin* ppin) {
  if (!ppin) return E_POINTER;
  std::lock_guard lock(lock_);
  ComPtr<IBaseFilter> owner = plat::filterOfPin(ppin);
  if (!owner || !members_.contains(owner.get())) return VFW_E_NOT_IN_GRAPH;
  return ppin->Disconnect();
}

HRESULT CFilterGraph::Reconnect(IPin*) { return E_NOTIMPL; }

HRESULT CFilterGraph::SetDefaultSyncSource() { return S_OK; }

HRESULT CFilterGraph::Render(IPin*) { return E_NOTIMPL; }

HRESULT CFilterGraph::RenderFile(LPCWSTR, LPCWSTR) { return E_NOTIMPL; }

HRESULT CFilterGraph::AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter** ppFilter) {
  if (ppFilter) *ppFilter = nullptr;
  return E_NOTIMPL;
}

HRESULT CFilterGraph::SetLogFile(DWORD_PTR) { return E_NOTIMPL; }

HRESULT CFilterGraph::Abort() {
  aborted_ = true;
  return S_OK;
}

HRESULT CFilterGraph::ShouldOperationContinue() { return aborted_ ? S_FALSE : S_OK; }
