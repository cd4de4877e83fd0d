#include "filter/capture/KelOrvoSource.h"

#include <new>

#include "filter/capture/KelOrvoSourcePin.h"
#include "filter/hardware/lib3_error.h"
#include "filter/options/module_count.h"
#include "filter/processing/blend.h"
#include "platform/dshow/guids.h"
#include "shared/identifiers.h"

namespace {
constexpr std::uint32_t kFrameRange = 0x400020;
}  // namespace

IUnknown* KelOrvoSource::CreateInstance(IUnknown* outer, HRESULT* hr) {
  try {
    auto* filter = new KelOrvoSource(outer, hr);
    return filter->GetNonDelegatingUnknown();
  } catch (const std::bad_alloc&) {
    if (hr) *hr = E_OUTOFMEMORY;
  } catch (const LIB3::CError& e) {
    // Without the library there is no filter at all; the caller only sees
    // the HRESULT, so the reason is shown here.
    LIB3::ShowError(e, "KelOrvoSource():");
    if (hr) *hr = E_FAIL;
  }
  return nullptr;
}

KelOrvoSource::KelOrvoSource(IUnknown* outer, HRESULT* hr)
    : CSource("KelOrvoSource", outer, CLSID_KelOrvoSource, hr, Options::moduleRefCount()) {
  slot_ = Orvo::ReserveControllerSlot();
  if (!slot_ || !Orvo::OpenFromSlot(holder_, slot_->number)) return;
  HRESULT pinResult = S_OK;
  // The pin adds itself to this filter, which owns it from then on.
  auto* pin = new KelOrvoSourcePin(&pinResult, this, holder_);
  if (SUCCEEDED(pinResult)) {
    pin_ = pin;
  } else if (RemovePin(pin) == S_OK) {
    delete pin;
  }
}

KelOrvoSource::~KelOrvoSource() {
  // A graph stops its filters before releasing them; should one not, the
  // streaming thread must end while the system it reads is still there.
  if (!IsStopped()) KelOrvoSource::Stop();
  // The stream source frees library objects: it goes while the system and
  // the library are still open, before the members close them.
  if (pin_) pin_->DropSource();
}

HRESULT KelOrvoSource::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_ICamera || riid == IID_ICamera2) return GetInterface(static_cast<ICamera2*>(this), ppv);
  if (riid == IID_IMediaSeeking || riid == IID_IMediaSeekingLocal) {
    if (pin_) return pin_->NonDelegatingQueryInterface(riid, ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  return CSource::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT KelOrvoSource::Stop() {
  // A source waiting for an external trigger or for input leaves its frame
  // loop only on the stopped flag; without it the streaming thread, and the
  // stop waiting for it, would never end.
  if (pin_) pin_->SetStopped(1);
  return CSource::Stop();
}

// ---- methods that act on the pin ----------------------------------------

HRESULT KelOrvoSource::RunCamera() {
  if (!pin_) return E_FAIL;
  try {
    holder_.Get()->StartInput();
  } catch (const LIB3::CError& e) {
    // The frame cycle could not be opened: input did not start.
    LIB3::ShowError(e, "RunCamera");
    return E_FAIL;
  }
  pin_->SetStopped(0);
  const GUID mode = holder_.Get()->Mode();
  // A recording makes a new film: values read before are not its own.
  if (mode == MODE_Input) overlayForFilm_ = false;
  // A save shows what the last preview read, or, when there was none since
  // the film was recorded, what the camera says now: never zeros or the
  // values of an earlier film.
  if (mode == MODE_Preview || (mode == MODE_Save && !overlayForFilm_)) RefreshOverlay(mode == MODE_Save);
  return S_OK;
}

void KelOrvoSource::RefreshOverlay(bool forSave) {
  Orvo::System* system = holder_.Get();
  Blend::BlendInfoEx& overlay = system->Overlay();
  try {
    overlay.Refresh();
  } catch (const LIB3::CError& e) {
    // The overlay keeps its earlier values; input is running.
    LIB3::ShowError(e, "RunCamera");
    return;
  }
  overlayForFilm_ = true;
  if (!forSave) return;
  // The settings hold the save range by now, not the film's.
  Options::OptionRecord* range = system->FindOption(kFrameRange, 0);
  Options::Scalar::Value first{0, 0}, last{0, 0};
  if (range && range->scalar.GetMinValue(first) && range->scalar.GetMaxValue(last))
    overlay.SetFilmLength(last.value - first.value);
}

HRESULT KelOrvoSource::StopCamera(BOOL wait) {
  if (!pin_) return E_FAIL;
  Orvo::System* system = holder_.Get();
  if (system->Mode() != MODE_Input) pin_->SetStopped(1);
  system->StopInput(wait != FALSE);
  return S_OK;
}

HRESULT KelOrvoSource::SetPause(BOOL pause) {
  if (!pin_) return E_FAIL;
  pin_->SetPause(pause != FALSE);
  // Pausing is carried out by the source itself; the call only stores it.
  return E_NOTIMPL;
}

HRESULT KelOrvoSource::Reserved1(LONG) { return S_OK; }

HRESULT KelOrvoSource::SetNotifyWindow(HWND window) {
  if (!pin_) return E_FAIL;
  pin_->SetNotifyWindow(window);
  return S_OK;
}

HRESULT KelOrvoSource::SetStopped() {
  if (!pin_) return E_FAIL;
  pin_->SetStopped(1);
  return S_OK;
}

HRESULT KelOrvoSource::IsSaveFinished(int* finished) {
  if (!pin_) return E_FAIL;
  if (!finished) return E_POINTER;
  return pin_->QuerySaveFinished(finished);
}

HRESULT KelOrvoSource::EnableBackgroundSubtraction(BOOL enable) {
  if (!pin_) return E_FAIL;
  pin_->EnableBackgroundSubtraction(enable != FALSE);
  return S_OK;
}

HRESULT KelOrvoSource::SetEndEvent(HANDLE event) {
  if (!pin_) return E_FAIL;
  pin_->SetEndEvent(event);
  return S_OK;
}
