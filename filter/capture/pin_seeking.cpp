#include "filter/capture/pin_seeking.h"

#include "filter/capture/KelOrvoSourcePin.h"
#include "filter/processing/StFileSource.h"
#include "filter/processing/StPreviewSource.h"
#include "platform/dshow/guids.h"

namespace {

bool isFrameFormat(const GUID* format) { return format && *format == TIME_FORMAT_FRAME; }

}  // namespace

HRESULT PinSeeking::QueryInterface(REFIID riid, void** ppv) { return pin_.GetOwner()->QueryInterface(riid, ppv); }
ULONG PinSeeking::AddRef() { return pin_.GetOwner()->AddRef(); }
ULONG PinSeeking::Release() { return pin_.GetOwner()->Release(); }

Orvo::StPreviewSource* PinSeeking::Preview() const {
  return dynamic_cast<Orvo::StPreviewSource*>(pin_.CurrentSource());
}

HRESULT PinSeeking::GetDuration(LONGLONG* duration) {
  if (Orvo::StFileSource* file = pin_.FileSource()) {
    if (!duration) return E_POINTER;
    *duration = file->Duration();
    return S_OK;
  }
  Orvo::StPreviewSource* preview = Preview();
  if (!preview) return S_FALSE;
  if (!duration) return E_POINTER;
  *duration = LONGLONG{preview->LastFrame()} - preview->FirstFrame();
  return S_OK;
}

HRESULT PinSeeking::GetRange(LONGLONG* first, const GUID* firstFormat, LONGLONG* last, const GUID* lastFormat) {
  Orvo::StPreviewSource* preview = Preview();
  if (!preview || !isFrameFormat(firstFormat) || !isFrameFormat(lastFormat)) return S_FALSE;
  if (!first || !last) return E_POINTER;
  // Frame numbers are never negative here: the high words are 0.
  *first = static_cast<LONGLONG>(static_cast<std::uint32_t>(preview->FirstFrame()));
  *last = static_cast<LONGLONG>(static_cast<std::uint32_t>(preview->LastFrame()));
  return S_OK;
}

HRESULT PinSeeking::GetCurrentPosition(LONGLONG* current, const GUID* format) {
  Orvo::StPreviewSource* preview = Preview();
  if (!preview || !isFrameFormat(format)) return S_FALSE;
  if (!current) return E_POINTER;
  *current = preview->CurrentPosition();
  return S_OK;
}

HRESULT PinSeeking::SetCurrentPosition(LONGLONG current, const GUID* format) {
  Orvo::StPreviewSource* preview = Preview();
  if (!preview || !isFrameFormat(format)) return S_FALSE;
  preview->Seek(current);
  return S_OK;
}

HRESULT PinSeeking::SetRate(double rate) {
  Orvo::StPreviewSource* preview = Preview();
  if (!preview) return S_FALSE;
  preview->SetRate(rate);
  return S_OK;
}

HRESULT PinSeeking::GetRate(double* rate) {
  Orvo::StPreviewSource* preview = Preview();
  if (!preview) return S_FALSE;
  if (!rate) return E_POINTER;
  *rate = preview->Rate();
  return S_OK;
}

HRESULT PinSeeking::Resume() {
  Orvo::StPreviewSource* preview = Preview();
  if (!preview) return S_FALSE;
  preview->Resume();
  return S_OK;
}

HRESULT PinSeeking::Pause() {
  Orvo::StPreviewSource* preview = Preview();
  if (!preview) return S_FALSE;
  preview->Pause();
  return S_OK;
}

HRESULT PinSeeking::GetPositions(LONGLONG* current, LONGLONG* stop) {
  Orvo::StFileSource* file = pin_.FileSource();
  if (!file) return S_FALSE;
  if (!current || !stop) return E_POINTER;
  *current = file->FramesWritten();
  *stop = file->FramesToWrite();
  return S_OK;
}
