// Moving the graph's filters through stopped, paused and running.
#include <algorithm>

#include "platform/graph/filter_graph.h"
#include "platform/graph/graph_topology.h"

HRESULT CFilterGraph::stopLocked() {
  // Late completions of the ending run are ignored from here on.
  events_.endRun();
  HRESULT first = S_OK;
  for (const auto& filter : plat::downstreamFirst(members_.snapshot())) {
    // Every filter is told even when one fails; the first failure is reported.
    const HRESULT hr = filter->Stop();
    if (FAILED(hr) && SUCCEEDED(first)) first = hr;
  }
  state_ = State_Stopped;
  return first;
}

HRESULT CFilterGraph::changeState(FILTER_STATE target) {
  std::lock_guard lock(lock_);
  if (target == State_Stopped) return stopLocked();
  const auto order = plat::downstreamFirst(members_.snapshot());
  if (state_ == State_Stopped) {
    const auto streams = std::count_if(order.begin(), order.end(),
                                       [](const auto& f) { return plat::endsAStream(f.get()); });
    events_.beginRun(static_cast<std::size_t>(streams));
  }
  if (target == State_Paused || state_ == State_Stopped) {
    for (const auto& filter : order) {
      const HRESULT hr = filter->Pause();
      if (FAILED(hr)) {
        stopLocked();
        return hr;
      }
    }
  }
  if (target == State_Running) {
    for (const auto& filter : order) {
      const HRESULT hr = filter->Run(0);
      if (FAILED(hr)) {
        stopLocked();
        return hr;
      }
    }
  }
  state_ = target;
  return S_OK;
}

HRESULT CFilterGraph::Run() { return changeState(State_Running); }

HRESULT CFilterGraph::Pause() { return changeState(State_Paused); }

HRESULT CFilterGraph::Stop() { return changeState(State_Stopped); }

HRESULT CFilterGraph::StopWhenReady() {
  // Pausing completes at once here, so the graph is ready as soon as paused.
  const HRESULT hr = changeState(State_Paused);
  if (FAILED(hr)) return hr;
  return changeState(State_Stopped);
}

HRESULT CFilterGraph::GetState(LONG, OAFilterState* pfs) {
  if (!pfs) return E_POINTER;
  *pfs = state_.load();
  return S_OK;
}

HRESULT CFilterGraph::RenderFile(BSTR) { return E_NOTIMPL; }

HRESULT CFilterGraph::AddSourceFilter(BSTR, IDispatch** ppUnk) {
  if (ppUnk) *ppUnk = nullptr;
  return E_NOTIMPL;
}

HRESULT CFilterGraph::get_FilterCollection(IDispatch** ppUnk) {
  if (ppUnk) *ppUnk = nullptr;
  return E_NOTIMPL;
}

HRESULT CFilterGraph::get_RegFilterCollection(IDispatch** ppUnk) {
  if (ppUnk) *ppUnk = nullptr;
  return E_NOTIMPL;
}
