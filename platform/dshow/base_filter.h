// The base of every filter: its state, its pins by index, membership of a
// graph and the events it sends to that graph. The graph is known only
// through the IFilterGraph it joined with and the IMediaEventSink that graph
// offers; neither is counted, because the graph holds the filter and
// removes it (JoinFilterGraph with null) before it goes away.
#pragma once

#include <atomic>
#include <string>

#include "platform/com/cunknown.h"
#include "platform/dshow/crit_sec.h"
#include "platform/dshow/interfaces.h"

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter {
 public:
  // `lock` is the filter lock that guards state changes; the derived class
  // owns it. `module` counts the filter among its module's live objects.
  CBaseFilter(const char* name, IUnknown* outer, CCritSec* lock, REFCLSID clsid,
              plat::ModuleRefCount* module = nullptr);
  ~CBaseFilter() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IPersist
  HRESULT GetClassID(CLSID* pClsID) override;

  // IMediaFilter. Pause from stopped activates every connected pin; Stop
  // deactivates them; Run pauses first if needed and passes the start time.
  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(REFERENCE_TIME tStart) override;
  HRESULT GetState(DWORD dwMSecs, FILTER_STATE* State) override;
  HRESULT SetSyncSource(IReferenceClock* pClock) override;
  HRESULT GetSyncSource(IReferenceClock** pClock) override;

  // IBaseFilter
  HRESULT EnumPins(IEnumPins** ppEnum) override;
  // Finds the pin whose QueryId equals Id; VFW_E_NOT_FOUND otherwise.
  HRESULT FindPin(LPCWSTR Id, IPin** ppPin) override;
  HRESULT QueryFilterInfo(FILTER_INFO* pInfo) override;
  HRESULT JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;
  HRESULT QueryVendorInfo(LPWSTR* pVendorInfo) override;

  virtual int GetPinCount() = 0;
  // The pin at index n, not counted; null for an index out of range.
  virtual CBasePin* GetPin(int n) = 0;

  // Sends an event to the graph's event sink. EC_COMPLETE carries this
  // filter as its second parameter. E_NOTIMPL when not in a graph.
  HRESULT NotifyEvent(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2);

  BOOL IsActive() const { return m_State != State_Stopped ? TRUE : FALSE; }
  BOOL IsStopped() const { return m_State == State_Stopped ? TRUE : FALSE; }
  IFilterGraph* GetFilterGraph() const { return m_pGraph; }

  // Lets enumerators notice that pins were added or removed.
  LONG GetPinVersion() const { return m_PinVersion.load(); }
  void IncrementPinVersion() { ++m_PinVersion; }

  CCritSec* pStateLock() const { return m_pLock; }

 protected:
  // Read by streaming threads, changed under the filter lock.
  std::atomic<FILTER_STATE> m_State{State_Stopped};
  ComPtr<IReferenceClock> m_pClock;
  REFERENCE_TIME m_tStart = 0;
  CLSID m_clsid;
  CCritSec* m_pLock;
  std::u16string m_pName;
  IFilterGraph* m_pGraph = nullptr;
  IMediaEventSink* m_pSink = nullptr;
  std::atomic<LONG> m_PinVersion{1};
};
