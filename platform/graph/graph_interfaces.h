// The filter graph manager's interfaces, in the Windows slot order. The
// graph is created through the class registry by the shell, so callers reach
// it only through these tables.
//
// IMediaControl and IMediaEvent derive from IUnknown directly: the
// automation (IDispatch) slots that precede their own methods on Windows are
// left out, because nothing here drives the graph through automation. Their
// own methods keep the Windows order.
#pragma once

#include "platform/com/bstr.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/interfaces.h"

struct IDispatch;

// Automation-sized values the media control and event interfaces pass.
using OAFilterState = LONG;
using OAEVENT = LONG_PTR;  // holds a HANDLE
using OAHWND = LONG_PTR;   // holds an HWND

inline constexpr HRESULT VFW_S_DUPLICATE_NAME = kelHresult(0x0004022D);
inline constexpr HRESULT VFW_E_DUPLICATE_NAME = kelHresult(0x8004022D);
inline constexpr HRESULT VFW_E_NOT_IN_GRAPH = kelHresult(0x8004025F);

// IMediaEventEx::SetNotifyFlags: no events are queued or signalled.
inline constexpr LONG AM_MEDIAEVENT_NONOTIFY = 0x01;

inline constexpr IID IID_IGraphBuilder{0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaControl{0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaEvent{0x56A868B6, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaEventEx{0x56A868C0, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

struct IGraphBuilder : IFilterGraph {
  // Connects an output pin to an input pin, directly or (later) through
  // converters the graph inserts.
  virtual HRESULT Connect(IPin* ppinOut, IPin* ppinIn) = 0;
  virtual HRESULT Render(IPin* ppinOut) = 0;
  virtual HRESULT RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) = 0;
  virtual HRESULT AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName,
                                  IBaseFilter** ppFilter) = 0;
  virtual HRESULT SetLogFile(DWORD_PTR hFile) = 0;
  virtual HRESULT Abort() = 0;
  virtual HRESULT ShouldOperationContinue() = 0;

 protected:
  ~IGraphBuilder() = default;
};

struct IMediaControl : IUnknown {
  virtual HRESULT Run() = 0;
  virtual HRESULT Pause() = 0;
  virtual HRESULT Stop() = 0;
  virtual HRESULT GetState(LONG msTimeout, OAFilterState* pfs) = 0;
  virtual HRESULT RenderFile(BSTR strFilename) = 0;
  virtual HRESULT AddSourceFilter(BSTR strFilename, IDispatch** ppUnk) = 0;
  virtual HRESULT get_FilterCollection(IDispatch** ppUnk) = 0;
  virtual HRESULT get_RegFilterCollection(IDispatch** ppUnk) = 0;
  virtual HRESULT StopWhenReady() = 0;

 protected:
  ~IMediaControl() = default;
};

struct IMediaEvent : IUnknown {
  // A manual-reset event, set while events are queued. The graph owns the
  // handle: callers wait on it but never close it.
  virtual HRESULT GetEventHandle(OAEVENT* hEvent) = 0;
  // Takes the oldest event; E_ABORT when none came within msTimeout
  // (INFINITE as -1 waits without limit).
  virtual HRESULT GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout) = 0;
  virtual HRESULT WaitForCompletion(LONG msTimeout, LONG* pEvCode) = 0;
  virtual HRESULT CancelDefaultHandling(LONG lEvCode) = 0;
  virtual HRESULT RestoreDefaultHandling(LONG lEvCode) = 0;
  virtual HRESULT FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) = 0;

 protected:
  ~IMediaEvent() = default;
};

struct IMediaEventEx : IMediaEvent {
  // Posts lMsg (wParam 0, lParam lInstanceData) to the window for every
  // event queued; a null window stops the posting.
  virtual HRESULT SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) = 0;
  virtual HRESULT SetNotifyFlags(LONG lNoNotifyFlags) = 0;
  virtual HRESULT GetNotifyFlags(LONG* lplNoNotifyFlags) = 0;

 protected:
  ~IMediaEventEx() = default;
};
