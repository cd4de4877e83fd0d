// The video renderer (CLSID_VideoMixingRenderer): one input pin taking RGB
// video, the newest frame kept for the window that shows it, and the
// windowless-control calls through which the shell ties it to that window.
//
// Drawing is the window's own: it reads the newest frame with
// plat::readNewestFrame when it paints. The renderer tells its clipping
// window that a frame arrived by posting kRendererRepaintMessage. Without a
// reference clock every frame is shown as it arrives, paused or running.
//
// IVMRWindowlessControl is offered only in windowless mode
// (IVMRFilterConfig::SetRenderingMode with VMRMode_Windowless, before the
// pin connects), as on Windows.
#pragma once

#include <memory>
#include <mutex>

#include "platform/dshow/base_filter.h"
#include "platform/graph/renderer_frames.h"
#include "platform/graph/repaint_requests.h"
#include "platform/graph/video_frame_store.h"
#include "platform/graph/vmr_interfaces.h"

class CRendererInputPin;

class CVideoRenderer final : public CBaseFilter,
                             public IVMRWindowlessControl,
                             public IVMRFilterConfig,
                             public IRendererFrames {
 public:
  static IUnknown* CreateInstance(IUnknown* outer, HRESULT* phr);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;

  // IVMRWindowlessControl. Min/max ideal sizes: E_NOTIMPL (any size is
  // drawn). A null clipping window detaches the renderer from its window.
  HRESULT GetNativeVideoSize(LONG* lpWidth, LONG* lpHeight, LONG* lpARWidth, LONG* lpARHeight) override;
  HRESULT GetMinIdealVideoSize(LONG* lpWidth, LONG* lpHeight) override;
  HRESULT GetMaxIdealVideoSize(LONG* lpWidth, LONG* lpHeight) override;
  HRESULT SetVideoPosition(const LPRECT lpSRCRect, const LPRECT lpDSTRect) override;
  HRESULT GetVideoPosition(LPRECT lpSRCRect, LPRECT lpDSTRect) override;
  HRESULT GetAspectRatioMode(DWORD* lpAspectRatioMode) override;
  HRESULT SetAspectRatioMode(DWORD AspectRatioMode) override;
  HRESULT SetVideoClippingWindow(HWND hwnd) override;
  HRESULT RepaintVideo(HWND hwnd, HDC hdc) override;
  HRESULT DisplayModeChanged() override;
  HRESULT GetCurrentImage(BYTE** lpDib) override;
  HRESULT SetBorderColor(COLORREF Clr) override;
  HRESULT GetBorderColor(COLORREF* lpClr) override;
  HRESULT SetColorKey(COLORREF Clr) override;
  HRESULT GetColorKey(COLORREF* lpClr) override;

  // IVMRFilterConfig. One input stream; no compositor.
  HRESULT SetImageCompositor(IVMRImageCompositor* lpVMRImgCompositor) override;
  HRESULT SetNumberOfStreams(DWORD dwMaxStreams) override;
  HRESULT GetNumberOfStreams(DWORD* pdwMaxStreams) override;
  HRESULT SetRenderingPrefs(DWORD dwRenderFlags) override;
  HRESULT GetRenderingPrefs(DWORD* pdwRenderFlags) override;
  HRESULT SetRenderingMode(DWORD Mode) override;
  HRESULT GetRenderingMode(DWORD* pMode) override;

  // IRendererFrames
  HRESULT CopyNewestFrame(plat::VideoFrame* frame) override;

  // For the input pin.
  plat::VideoFrameStore& frames() { return frames_; }
  void frameArrived() { repaint_.frameArrived(); }

 private:
  explicit CVideoRenderer(IUnknown* outer);
  ~CVideoRenderer() override;

  struct Settings {
    DWORD mode = VMRMode_Windowed;
    DWORD prefs = 0;
    DWORD aspectMode = VMR_ARMODE_NONE;
    COLORREF border = 0;
    COLORREF colorKey = 0;
    std::optional<RECT> source;  // the whole picture until set
    RECT destination{};
  };

  CCritSec filterLock_;
  std::unique_ptr<CRendererInputPin> pin_;
  plat::VideoFrameStore frames_;
  plat::RepaintRequests repaint_;
  mutable std::mutex settingsLock_;
  Settings settings_;
};
