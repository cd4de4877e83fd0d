#include "filter/capture/KelOrvoSourcePin.h"

#include "shared/identifiers.h"

KelOrvoSourcePin::KelOrvoSourcePin(HRESULT* hr, CSource* filter, Holder& holder)
    : CSourceStream("KelOrvoSourcePin", hr, filter, u"Output"), holder_(holder) {
  if (!holder_.IsOpened()) {
    if (hr) *hr = E_FAIL;
    return;
  }
  holder_.Get()->SetMode(&MODE_Setup);
}

void KelOrvoSourcePin::SetPause(bool) {
  // The pause flag belongs to the current stream source; with none there is
  // nothing to pause.
}

void KelOrvoSourcePin::SetVisibleFramePeriod(int) {
  // Reaches the process-wide record only while the set-up source is
  // current; with no source the record keeps its value.
}

HRESULT KelOrvoSourcePin::QuerySaveFinished(int*) { return S_FALSE; }

HRESULT KelOrvoSourcePin::GetMediaType(int, CMediaType*) { return E_NOTIMPL; }

HRESULT KelOrvoSourcePin::CheckMediaType(const CMediaType*) { return E_NOTIMPL; }

HRESULT KelOrvoSourcePin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT KelOrvoSourcePin::FillBuffer(IMediaSample*) { return E_NOTIMPL; }
