#include "platform/graph/filter_graph.h"

#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/graph/graph_topology.h"

namespace {

[[maybe_unused]] const bool registered = [] {
  plat::registerBuiltinClass(CLSID_FilterGraph, &CFilterGraph::CreateInstance);
  return true;
}();

}  // namespace

IUnknown* CFilterGraph::CreateInstance(IUnknown* outer, HRESULT* phr) {
  // Filters call back into the graph while it is taken apart (QueryFilterInfo
  // counts on it); an outer object would already be gone by then.
  if (outer) {
    if (phr) *phr = CLASS_E_NOAGGREGATION;
    return nullptr;
  }
  if (phr) *phr = S_OK;
  return (new CFilterGraph)->GetNonDelegatingUnknown();
}

CFilterGraph::CFilterGraph() : CUnknown("CFilterGraph", nullptr) {}

CFilterGraph::~CFilterGraph() {
  // Nobody else can reach the graph now, but streaming threads may still
  // run: stop them before the filters lose their graph.
  std::lock_guard lock(lock_);
  stopLocked();
  for (const auto& filter : members_.snapshot()) {
    disconnectFilter(filter.get());
    leave(filter.get());
    members_.take(filter.get());
  }
}

HRESULT CFilterGraph::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IFilterGraph || riid == IID_IGraphBuilder) {
    return GetInterface(static_cast<IGraphBuilder*>(this), ppv);
  }
  if (riid == IID_IMediaControl) return GetInterface(static_cast<IMediaControl*>(this), ppv);
  if (riid == IID_IMediaEvent || riid == IID_IMediaEventEx) {
    return GetInterface(static_cast<IMediaEventEx*>(this), ppv);
  }
  if (riid == IID_IMediaEventSink) return GetInterface(static_cast<IMediaEventSink*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CFilterGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName) {
  if (!pFilter) return E_POINTER;
  std::lock_guard lock(lock_);
  if (members_.contains(pFilter)) return E_INVALIDARG;
  const std::u16string_view wanted = pName ? std::u16string_view(pName) : std::u16string_view(u"Filter");
  const auto name = members_.add(pFilter, wanted);
  if (!name) return VFW_E_DUPLICATE_NAME;
  const HRESULT hr = pFilter->JoinFilterGraph(self(), name->c_str());
  if (FAILED(hr)) {
    members_.take(pFilter);
    return hr;
  }
  return (pName && *name != wanted) ? VFW_S_DUPLICATE_NAME : S_OK;
}

HRESULT CFilterGraph::RemoveFilter(IBaseFilter* pFilter) {
  if (!pFilter) return E_POINTER;
  ComPtr<IBaseFilter> held;
  {
    std::lock_guard lock(lock_);
    if (!members_.contains(pFilter)) return VFW_E_NOT_IN_GRAPH;
    if (state_ != State_Stopped) return VFW_E_NOT_STOPPED;
    const HRESULT hr = disconnectFilter(pFilter);
    if (FAILED(hr)) return hr;
    leave(pFilter);
    held = members_.take(pFilter);
  }
  // The graph's reference goes last, outside the lock: it may destroy the filter.
  return S_OK;
}

HRESULT CFilterGraph::disconnectFilter(IBaseFilter* filter) {
  for (const auto& pin : plat::pinsOf(filter)) {
    ComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(peer.put())) || !peer) continue;
    HRESULT hr = peer->Disconnect();
    if (SUCCEEDED(hr)) hr = pin->Disconnect();
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

void CFilterGraph::leave(IBaseFilter* filter) {
  // A filter that has meanwhile joined another graph keeps that link.
  FILTER_INFO info{};
  if (FAILED(filter->QueryFilterInfo(&info))) return;
  const bool ours = info.pGraph == self();
  if (info.pGraph) info.pGraph->Release();
  if (ours) filter->JoinFilterGraph(nullptr, nullptr);
}

HRESULT CFilterGraph::EnumFilters(IEnumFilters** ppEnum) {
  return CEnumFilters::Create(GetOwner(), this, ppEnum);
}

std::vector<ComPtr<IBaseFilter>> CFilterGraph::filterSnapshot(LONG* version) {
  std::lock_guard lock(lock_);
  if (version) *version = members_.version();
  return members_.snapshot();
}

LONG CFilterGraph::filterVersion() {
  std::lock_guard lock(lock_);
  return members_.version();
}

HRESULT CFilterGraph::FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) {
  if (!ppFilter) return E_POINTER;
  *ppFilter = nullptr;
  if (!pName) return E_POINTER;
  std::lock_guard lock(lock_);
  IBaseFilter* found = members_.findByName(pName);
  if (!found) return VFW_E_NOT_FOUND;
  *ppFilter = ComPtr<IBaseFilter>(found).detach();
  return S_OK;
}
