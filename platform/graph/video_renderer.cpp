#include "platform/graph/video_renderer.h"

#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/graph/renderer_input_pin.h"

namespace {

[[maybe_unused]] const bool registered = [] {
  plat::registerBuiltinClass(CLSID_VideoMixingRenderer, &CVideoRenderer::CreateInstance);
  return true;
}();

}  // namespace

IUnknown* CVideoRenderer::CreateInstance(IUnknown* outer, HRESULT* phr) {
  HRESULT hr = S_OK;
  auto* renderer = new CVideoRenderer(outer);
  renderer->pin_ = std::make_unique<CRendererInputPin>(renderer, &renderer->filterLock_, &hr);
  if (phr) *phr = hr;
  return renderer->GetNonDelegatingUnknown();
}

CVideoRenderer::CVideoRenderer(IUnknown* outer)
    : CBaseFilter("CVideoRenderer", outer, &filterLock_, CLSID_VideoMixingRenderer) {}

CVideoRenderer::~CVideoRenderer() = default;

HRESULT CVideoRenderer::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IVMRFilterConfig) return GetInterface(static_cast<IVMRFilterConfig*>(this), ppv);
  if (riid == IID_IRendererFrames) return GetInterface(static_cast<IRendererFrames*>(this), ppv);
  if (riid == IID_IVMRWindowlessControl) {
    std::lock_guard lock(settingsLock_);
    if (settings_.mode == VMRMode_Windowless) return GetInterface(static_cast<IVMRWindowlessControl*>(this), ppv);
  }
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CVideoRenderer::GetPin(int n) { return n == 0 ? pin_.get() : nullptr; }

HRESULT CVideoRenderer::CopyNewestFrame(plat::VideoFrame* frame) {
  if (!frame) return E_POINTER;
  // Acknowledged before copying, so a frame arriving meanwhile asks again.
  repaint_.acknowledge();
  return frames_.copyTo(*frame) ? S_OK : E_FAIL;
}

HRESULT CVideoRenderer::SetImageCompositor(IVMRImageCompositor*) { return E_NOTIMPL; }

HRESULT CVideoRenderer::SetNumberOfStreams(DWORD dwMaxStreams) {
  if (dwMaxStreams == 0 || dwMaxStreams > 16) return E_INVALIDARG;
  // Mixing several streams into one picture is not provided.
  return dwMaxStreams == 1 ? S_OK : E_NOTIMPL;
}

HRESULT CVideoRenderer::GetNumberOfStreams(DWORD* pdwMaxStreams) {
  if (!pdwMaxStreams) return E_POINTER;
  *pdwMaxStreams = 1;
  return S_OK;
}

HRESULT CVideoRenderer::SetRenderingPrefs(DWORD dwRenderFlags) {
  std::lock_guard lock(settingsLock_);
  settings_.prefs = dwRenderFlags;
  return S_OK;
}

HRESULT CVideoRenderer::GetRenderingPrefs(DWORD* pdwRenderFlags) {
  if (!pdwRenderFlags) return E_POINTER;
  std::lock_guard lock(settingsLock_);
  *pdwRenderFlags = settings_.prefs;
  return S_OK;
}

HRESULT CVideoRenderer::SetRenderingMode(DWORD Mode) {
  if (Mode == VMRMode_Renderless) return E_NOTIMPL;
  if (Mode != VMRMode_Windowed && Mode != VMRMode_Windowless) return E_INVALIDARG;
  if (pin_->IsConnected()) return VFW_E_WRONG_STATE;
  std::lock_guard lock(settingsLock_);
  settings_.mode = Mode;
  return S_OK;
}

HRESULT CVideoRenderer::GetRenderingMode(DWORD* pMode) {
  if (!pMode) return E_POINTER;
  std::lock_guard lock(settingsLock_);
  *pMode = settings_.mode;
  return S_OK;
}
