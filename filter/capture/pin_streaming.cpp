// The output pin on the streaming thread: the start of streaming, one media
// sample per frame, and the thread's end.
#include <exception>
#include <span>
#include <utility>

#include "filter/acquisition/StRecordSource.h"
#include "filter/acquisition/settings_records.h"
#include "filter/acquisition/stream_source_notify.h"
#include "filter/capture/KelOrvoSourcePin.h"
#include "filter/capture/frame_copy.h"
#include "filter/hardware/error_data.h"
#include "filter/hardware/lib3_error.h"

namespace {
constexpr std::int32_t kRotated = 180;
}  // namespace

HRESULT KelOrvoSourcePin::OnThreadStartPlay() {
  CAutoLock lock(&pinLock_);
  // Background capture before a set-up run comes with the background
  // transform.
  if (auto* record = dynamic_cast<Orvo::StRecordSource*>(source_.get())) record->SetEndEvent(endEvent_);
  return S_OK;
}

HRESULT KelOrvoSourcePin::OnThreadDestroy() {
  // The module's table keeps an error handle per thread; this thread is done.
  LIB3::ReleaseThreadErrorData();
  return CSourceStream::OnThreadDestroy();
}

HRESULT KelOrvoSourcePin::FillBuffer(IMediaSample* sample) {
  CAutoLock lock(&pinLock_);
  if (!source_) return S_FALSE;
  try {
    if (!source_->createData(raw_)) return S_FALSE;
  } catch (const LIB3::CError& e) {
    // The set-up source lets library errors escape; they end the stream
    // here and never reach the streaming framework.
    Orvo::PostNotifyText(notifyWindow_, e.Text());
    return S_FALSE;
  } catch (const std::exception& e) {
    Orvo::PostNotifyText(notifyWindow_, e.what());
    return S_FALSE;
  }
  // The background transform writes the processed frame from the raw one;
  // until it exists the processed frame is the raw frame itself, handed
  // over without a copy.
  std::swap(processed_, raw_);
  if (!sample) return E_POINTER;
  const HRESULT copied = CopyToSample(sample);
  if (FAILED(copied)) return copied;
  // The overlay (preview and save mode) and the save-mode time stamps come
  // with later work.
  if (previewMode_) sample->SetTime(nullptr, nullptr);
  sample->SetSyncPoint(TRUE);
  return S_OK;
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
