// The windowless-control calls: the picture's size, where it goes in the
// window, and the window the renderer tells about new frames.
#include "platform/dshow/errors.h"
#include "platform/graph/renderer_input_pin.h"
#include "platform/graph/video_renderer.h"
#include "platform/win/window_table.h"

namespace {

bool wellFormed(const RECT& r) { return r.right >= r.left && r.bottom >= r.top; }

}  // namespace

HRESULT CVideoRenderer::GetNativeVideoSize(LONG* lpWidth, LONG* lpHeight, LONG* lpARWidth, LONG* lpARHeight) {
  if (!lpWidth && !lpHeight && !lpARWidth && !lpARHeight) return E_POINTER;
  const auto format = frames_.format();
  if (!format) return VFW_E_NOT_CONNECTED;
  // Square pixels: the aspect ratio is the picture's own.
  for (LONG* width : {lpWidth, lpARWidth}) {
    if (width) *width = format->width;
  }
  for (LONG* height : {lpHeight, lpARHeight}) {
    if (height) *height = format->height;
  }
  return S_OK;
}

HRESULT CVideoRenderer::GetMinIdealVideoSize(LONG*, LONG*) { return E_NOTIMPL; }

HRESULT CVideoRenderer::GetMaxIdealVideoSize(LONG*, LONG*) { return E_NOTIMPL; }

HRESULT CVideoRenderer::SetVideoPosition(const LPRECT lpSRCRect, const LPRECT lpDSTRect) {
  if (!lpSRCRect && !lpDSTRect) return E_POINTER;
  if ((lpSRCRect && !wellFormed(*lpSRCRect)) || (lpDSTRect && !wellFormed(*lpDSTRect))) return E_INVALIDARG;
  std::lock_guard lock(settingsLock_);
  if (lpSRCRect) settings_.source = *lpSRCRect;
  if (lpDSTRect) settings_.destination = *lpDSTRect;
  return S_OK;
}

HRESULT CVideoRenderer::GetVideoPosition(LPRECT lpSRCRect, LPRECT lpDSTRect) {
  if (!lpSRCRect && !lpDSTRect) return E_POINTER;
  const auto format = frames_.format();
  std::lock_guard lock(settingsLock_);
  if (lpSRCRect) {
    *lpSRCRect = settings_.source.value_or(format ? RECT{0, 0, format->width, format->height} : RECT{});
  }
  if (lpDSTRect) *lpDSTRect = settings_.destination;
  return S_OK;
}

HRESULT CVideoRenderer::GetAspectRatioMode(DWORD* lpAspectRatioMode) {
  if (!lpAspectRatioMode) return E_POINTER;
  std::lock_guard lock(settingsLock_);
  *lpAspectRatioMode = settings_.aspectMode;
  return S_OK;
}

HRESULT CVideoRenderer::SetAspectRatioMode(DWORD AspectRatioMode) {
  if (AspectRatioMode != VMR_ARMODE_NONE && AspectRatioMode != VMR_ARMODE_LETTER_BOX) return E_INVALIDARG;
  std::lock_guard lock(settingsLock_);
  settings_.aspectMode = AspectRatioMode;
  return S_OK;
}

HRESULT CVideoRenderer::SetVideoClippingWindow(HWND hwnd) {
  if (hwnd && !plat::isWindow(hwnd)) return E_INVALIDARG;
  repaint_.setWindow(hwnd);
  return S_OK;
}

HRESULT CVideoRenderer::RepaintVideo(HWND hwnd, HDC) {
  const HWND window = repaint_.window();
  if (!window) return VFW_E_WRONG_STATE;
  if (hwnd != window) return E_INVALIDARG;
  // The window draws the frame itself; this only re-arms the next request.
  repaint_.acknowledge();
  return S_OK;
}

HRESULT CVideoRenderer::DisplayModeChanged() { return S_OK; }

HRESULT CVideoRenderer::GetCurrentImage(BYTE** lpDib) {
  if (!lpDib) return E_POINTER;
  *lpDib = nullptr;
  if (!pin_->IsConnected()) return VFW_E_NOT_CONNECTED;
  *lpDib = frames_.copyAsDib();
  // Connected but nothing received yet, or no memory for the copy.
  return *lpDib ? S_OK : E_FAIL;
}

HRESULT CVideoRenderer::SetBorderColor(COLORREF Clr) {
  std::lock_guard lock(settingsLock_);
  settings_.border = Clr;
  return S_OK;
}

HRESULT CVideoRenderer::GetBorderColor(COLORREF* lpClr) {
  if (!lpClr) return E_POINTER;
  std::lock_guard lock(settingsLock_);
  *lpClr = settings_.border;
  return S_OK;
}

HRESULT CVideoRenderer::SetColorKey(COLORREF Clr) {
  std::lock_guard lock(settingsLock_);
  settings_.colorKey = Clr;
  return S_OK;
}

HRESULT CVideoRenderer::GetColorKey(COLORREF* lpClr) {
  if (!lpClr) return E_POINTER;
  std::lock_guard lock(settingsLock_);
  *lpClr = settings_.colorKey;
  return S_OK;
}
