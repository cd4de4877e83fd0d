// The output pin on the streaming thread: the start of streaming, one media
// sample per frame, and the thread's end.
#include <exception>
#include <span>
#include <utility>

#include "filter/acquisition/StRecordSource.h"
#include "filter/acquisition/StSetupSource.h"
#include "filter/acquisition/settings_records.h"
#include "filter/acquisition/stream_source_notify.h"
#include "filter/capture/KelOrvoSourcePin.h"
#include "filter/capture/frame_copy.h"
#include "filter/hardware/error_data.h"
#include "filter/hardware/lib3_error.h"
#include "filter/processing/StPreviewSource.h"
#include "filter/processing/background_procedure.h"
#include "filter/processing/blend.h"
#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"

namespace {
constexpr std::int32_t kRotated = 180;
// The live picture may lose a frame to a passing fault (one refused DMA,
// say) and go on with the next cycle; faults in this many cycles in a row
// end it.
constexpr int kLiveCycleAttempts = 3;
}  // namespace

HRESULT KelOrvoSourcePin::OnThreadStartPlay() {
  CAutoLock lock(&pinLock_);
  if (auto* record = dynamic_cast<Orvo::StRecordSource*>(source_.get())) record->SetEndEvent(endEvent_);
  if (Orvo::StFileSource* file = FileSource()) file->Start(endEvent_);
  if (dynamic_cast<Orvo::StSetupSource*>(source_.get()) && transform_ && transform_->Enabled())
    TakeBackgroundBeforeRun();
  return S_OK;
}

void KelOrvoSourcePin::TakeBackgroundBeforeRun() {
  // Through the filter's own interface, so the pin's stop flag and the
  // input follow the camera exactly as for a call from the shell.
  ComPtr<ICamera2> camera;
  if (FAILED(m_pFilter->GetOwner()->QueryInterface(IID_ICamera2, camera.putVoid())) || !camera) return;
  camera->StopCamera(TRUE);
  // Failures are posted to the notify window; the run goes on without
  // the backgrounds not taken.
  Orvo::TakeBackground(holder_, *transform_, notifyWindow_, bytesPerPixel_);
  camera->RunCamera();
}

HRESULT KelOrvoSourcePin::OnThreadDestroy() {
  // The module's table keeps an error handle per thread; this thread is done.
  LIB3::ReleaseThreadErrorData();
  return CSourceStream::OnThreadDestroy();
}

HRESULT KelOrvoSourcePin::FillBuffer(IMediaSample* sample) {
  CAutoLock lock(&pinLock_);
  if (!source_) return S_FALSE;
  for (int attempt = 1;; ++attempt) {
    try {
      if (!source_->createData(raw_)) return S_FALSE;
      break;
    } catch (const LIB3::CError& e) {
      // The set-up source lets library errors escape; they are posted here
      // and never reach the streaming framework.
      Orvo::PostNotifyText(notifyWindow_, e.Text());
      const bool live = dynamic_cast<Orvo::StSetupSource*>(source_.get()) != nullptr;
      if (!live || attempt == kLiveCycleAttempts) return S_FALSE;
    } catch (const std::exception& e) {
      Orvo::PostNotifyText(notifyWindow_, e.what());
      return S_FALSE;
    }
  }
  processed_.resize(raw_.size());
  if (!transform_ || !transform_->Apply(processed_, raw_)) return S_FALSE;
  if (!sample) return E_POINTER;
  const HRESULT copied = CopyToSample(sample);
  if (FAILED(copied)) return copied;
  if (previewMode_) sample->SetTime(nullptr, nullptr);
  if (saveMode_) {
    if (Orvo::StFileSource* file = FileSource()) {
      REFERENCE_TIME start = file->SampleStart();
      REFERENCE_TIME stop = file->SampleStop();
      sample->SetTime(&start, &stop);
    }
  }
  DrawOverlay(sample);
  sample->SetSyncPoint(TRUE);
  return S_OK;
}

HRESULT KelOrvoSourcePin::Deliver(IMediaSample* sample) {
  const HRESULT hr = CSourceStream::Deliver(sample);
  if (hr != S_OK) {
    CAutoLock lock(&pinLock_);
    if (Orvo::StFileSource* file = FileSource()) file->RejectLastFrame();
  }
  return hr;
}

void KelOrvoSourcePin::DrawOverlay(IMediaSample* sample) {
  if (!(previewMode_ || saveMode_) || Orvo::Settings().save.overlayEnabled.load() == 0) return;
  int frame = 0;
  if (auto* preview = dynamic_cast<Orvo::StPreviewSource*>(source_.get())) frame = preview->CurrentPosition();
  else if (Orvo::StFileSource* file = FileSource()) frame = file->CurrentFrame();
  else return;
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data)) || !data) return;
  const LONG size = sample->GetSize();
  holder_.Get()->Overlay()
      .Draw(data, static_cast<std::size_t>(size > 0 ? size : 0), frame, saveMode_);
}

HRESULT KelOrvoSourcePin::CopyToSample(IMediaSample* sample) {
  BYTE* data = nullptr;
  const HRESULT hr = sample->GetPointer(&data);
  if (FAILED(hr)) return hr;
  if (!data) return E_POINTER;
  const LONG size = sample->GetSize();
  const std::span<std::uint8_t> out(data, static_cast<std::size_t>(size > 0 ? size : 0));
  const std::span<const std::uint8_t> in(processed_);
  const Kel::CopyLayout layout{format_.width, format_.height, bytesPerPixel_, saveMode_};
  const int gain = Orvo::Settings().levels.digitalGain.load();
  if (source_->Orientation() == kRotated) Kel::CopyRotated(in, out, layout, gain);
  else Kel::CopyStraight(in, out, layout, gain);
  return S_OK;
}
