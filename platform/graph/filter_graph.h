// The filter graph manager (CLSID_FilterGraph): holds the filters added to
// it, connects their pins, moves them through stopped, paused and running,
// and queues the events they report.
//
// The graph holds one reference to each filter; a filter knows its graph
// only by an uncounted pointer, which RemoveFilter and the graph's
// destruction clear (JoinFilterGraph with null), so no cycle keeps either
// alive. Connected pins hold their peers, so filters are disconnected before
// they leave the graph.
//
// State changes reach the filters downstream first (renderers before
// sources), Stop included: a renderer that stops refuses further samples,
// so a streaming thread blocked in delivery is released before its source is
// told to stop and waits for that thread. There is no reference clock:
// filters run as fast as their sources deliver, and SetDefaultSyncSource
// does nothing. The graph cannot be aggregated.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/com/cunknown.h"
#include "platform/graph/enum_filters.h"
#include "platform/graph/graph_events.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/graph/graph_members.h"

class CFilterGraph final : public CUnknown,
                           public IGraphBuilder,
                           public IMediaControl,
                           public IMediaEventEx,
                           public IMediaEventSink,
                           private plat::FilterListSource {
 public:
  static IUnknown* CreateInstance(IUnknown* outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IFilterGraph. A name already taken gets a " 0001"-style suffix and
  // VFW_S_DUPLICATE_NAME; a null name becomes "Filter". Adding a filter
  // twice is refused with E_INVALIDARG. RemoveFilter needs a stopped graph.
  HRESULT AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
  HRESULT RemoveFilter(IBaseFilter* pFilter) override;
  HRESULT EnumFilters(IEnumFilters** ppEnum) override;
  HRESULT FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) override;
  HRESULT ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
  HRESULT Reconnect(IPin* ppin) override;
  HRESULT Disconnect(IPin* ppin) override;
  HRESULT SetDefaultSyncSource() override;

  // IGraphBuilder. Render, RenderFile and AddSourceFilter: E_NOTIMPL.
  HRESULT Connect(IPin* ppinOut, IPin* ppinIn) override;
  HRESULT Render(IPin* ppinOut) override;
  HRESULT RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) override;
  HRESULT AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName, IBaseFilter** ppFilter) override;
  HRESULT SetLogFile(DWORD_PTR hFile) override;
  HRESULT Abort() override;
  HRESULT ShouldOperationContinue() override;

  // IMediaControl. The automation-only methods answer E_NOTIMPL.
  HRESULT Run() override;
  HRESULT Pause() override;
  HRESULT Stop() override;
  HRESULT GetState(LONG msTimeout, OAFilterState* pfs) override;
  HRESULT RenderFile(BSTR strFilename) override;
  HRESULT AddSourceFilter(BSTR strFilename, IDispatch** ppUnk) override;
  HRESULT get_FilterCollection(IDispatch** ppUnk) override;
  HRESULT get_RegFilterCollection(IDispatch** ppUnk) override;
  HRESULT StopWhenReady() override;

  // IMediaEvent, IMediaEventEx. WaitForCompletion needs a running graph
  // (VFW_E_WRONG_STATE) and leaves the event queued; E_ABORT on time-out.
  HRESULT GetEventHandle(OAEVENT* hEvent) override;
  HRESULT GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout) override;
  HRESULT WaitForCompletion(LONG msTimeout, LONG* pEvCode) override;
  HRESULT CancelDefaultHandling(LONG lEvCode) override;
  HRESULT RestoreDefaultHandling(LONG lEvCode) override;
  HRESULT FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) override;
  HRESULT SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) override;
  HRESULT SetNotifyFlags(LONG lNoNotifyFlags) override;
  HRESULT GetNotifyFlags(LONG* lplNoNotifyFlags) override;

  // IMediaEventSink, called by filters from any thread.
  HRESULT Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;

 private:
  CFilterGraph();
  ~CFilterGraph() override;

  std::vector<ComPtr<IBaseFilter>> filterSnapshot(LONG* version) override;
  LONG filterVersion() override;

  IFilterGraph* self() { return static_cast<IGraphBuilder*>(this); }
  HRESULT changeState(FILTER_STATE target);
  HRESULT stopLocked();
  // Unlinks one filter: its connections, then its membership.
  HRESULT disconnectFilter(IBaseFilter* filter);
  void leave(IBaseFilter* filter);
  // Both pins must belong to filters of this graph, the graph must be
  // stopped and the pins must face each other.
  HRESULT checkConnectable(IPin* out, IPin* in);
  // Where converters will be tried between two pins that do not connect
  // directly; for now the direct attempt's failure stands.
  HRESULT connectThroughConverters(IPin* out, IPin* in, HRESULT directFailure);

  std::recursive_mutex lock_;
  plat::GraphMembers members_;
  std::atomic<FILTER_STATE> state_{State_Stopped};
  std::atomic<bool> aborted_{false};
  plat::GraphEvents events_;
};
