// The graph's event interfaces, over its event queue.
#include "platform/graph/filter_graph.h"

namespace {

// Automation time-outs are signed; any negative one means no limit.
DWORD timeoutOf(LONG msTimeout) { return msTimeout < 0 ? INFINITE : static_cast<DWORD>(msTimeout); }

}  // namespace

HRESULT CFilterGraph::GetEventHandle(OAEVENT* hEvent) {
  if (!hEvent) return E_POINTER;
  *hEvent = reinterpret_cast<OAEVENT>(events_.handle());
  return S_OK;
}

HRESULT CFilterGraph::GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout) {
  if (!lEventCode || !lParam1 || !lParam2) return E_POINTER;
  const auto event = events_.next(timeoutOf(msTimeout));
  if (!event) {
    *lEventCode = 0;
    *lParam1 = *lParam2 = 0;
    return E_ABORT;
  }
  *lEventCode = event->code;
  *lParam1 = event->param1;
  *lParam2 = event->param2;
  return S_OK;
}

HRESULT CFilterGraph::WaitForCompletion(LONG msTimeout, LONG* pEvCode) {
  if (!pEvCode) return E_POINTER;
  *pEvCode = 0;
  if (state_ != State_Running) return VFW_E_WRONG_STATE;
  const auto code = events_.waitForCompletion(timeoutOf(msTimeout));
  if (!code) return E_ABORT;
  *pEvCode = *code;
  return S_OK;
}

HRESULT CFilterGraph::CancelDefaultHandling(LONG lEvCode) {
  return events_.setDefaultHandling(lEvCode, false) ? S_OK : E_INVALIDARG;
}

HRESULT CFilterGraph::RestoreDefaultHandling(LONG lEvCode) {
  return events_.setDefaultHandling(lEvCode, true) ? S_OK : E_INVALIDARG;
}

HRESULT CFilterGraph::FreeEventParams(LONG, LONG_PTR, LONG_PTR) {
  // No event carries allocated parameters.
  return S_OK;
}

HRESULT CFilterGraph::SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) {
  events_.setNotifyWindow(reinterpret_cast<HWND>(hwnd), static_cast<UINT>(lMsg), lInstanceData);
  return S_OK;
}

HRESULT CFilterGraph::SetNotifyFlags(LONG lNoNotifyFlags) {
  if (lNoNotifyFlags & ~AM_MEDIAEVENT_NONOTIFY) return E_INVALIDARG;
  events_.setNotifyFlags(lNoNotifyFlags);
  return S_OK;
}

HRESULT CFilterGraph::GetNotifyFlags(LONG* lplNoNotifyFlags) {
  if (!lplNoNotifyFlags) return E_POINTER;
  *lplNoNotifyFlags = events_.notifyFlags();
  return S_OK;
}

HRESULT CFilterGraph::Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) {
  events_.notify(EventCode, EventParam1, EventParam2);
  return S_OK;
}
