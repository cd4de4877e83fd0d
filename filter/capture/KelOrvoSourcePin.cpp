#include "filter/capture/KelOrvoSourcePin.h"

#include <string>

#include "filter/acquisition/StRecordSource.h"
#include "filter/acquisition/StSetupSource.h"
#include "filter/acquisition/settings_records.h"
#include "filter/capture/desktop_depth.h"
#include "filter/hardware/error_data.h"
#include "filter/hardware/lib3_error.h"
#include "filter/processing/StFileSource.h"
#include "filter/processing/StPreviewSource.h"
#include "filter/processing/blend.h"
#include "platform/font/bitmap.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"
#include "platform/graph/row_order.h"
#include "platform/win/message_box.h"
#include "shared/identifiers.h"

namespace {
constexpr const char* kUnit = "KelOrvoSourcePin";
constexpr std::uint32_t kFrameRange = 0x400020;
}  // namespace

KelOrvoSourcePin::KelOrvoSourcePin(HRESULT* hr, CSource* filter, Holder& holder)
    : CSourceStream("KelOrvoSourcePin", hr, filter, u"Output"),
      holder_(holder),
      bytesPerPixel_(Kel::DesktopBytesPerPixel()) {
  if (!holder_.IsOpened()) {
    if (hr) *hr = E_FAIL;
    return;
  }
  try {
    transform_ = std::make_unique<Orvo::StClearImageTransform>(holder_.Get()->Handle());
  } catch (const LIB3::CError& e) {
    LIB3::ShowError(e, "KelOrvoSourcePin():");
    if (hr) *hr = E_FAIL;
    return;
  }
  holder_.Get()->SetMode(&MODE_Setup);
}

KelOrvoSourcePin::~KelOrvoSourcePin() = default;

HRESULT KelOrvoSourcePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMediaSeekingLocal) return GetInterface(static_cast<IMediaSeekingLocal*>(&seeking_), ppv);
  if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(&seeking_), ppv);
  return CSourceStream::NonDelegatingQueryInterface(riid, ppv);
}

// ---- requests of the camera interface -----------------------------------

void KelOrvoSourcePin::SetStopped(int stopped) {
  stopped_ = stopped;
  if (source_) source_->SetRunning(stopped == 0);
}

void KelOrvoSourcePin::SetPause(bool pause) {
  if (source_) source_->SetPause(pause);
}

void KelOrvoSourcePin::SetVisibleFramePeriod(int period) {
  if (dynamic_cast<Orvo::StSetupSource*>(source_.get())) Orvo::Settings().visibleFramePeriod = period;
}

HRESULT KelOrvoSourcePin::QuerySaveFinished(int* finished) {
  Orvo::StFileSource* file = FileSource();
  if (!file) return S_FALSE;
  if (!finished) return E_POINTER;
  *finished = file->IsSaveFinished() ? 1 : 0;
  return S_OK;
}

void KelOrvoSourcePin::EnableBackgroundSubtraction(bool on) {
  if (transform_) transform_->SetEnabled(on);
  holder_.Get()->Overlay().SetBackground(on);
}

void KelOrvoSourcePin::DropSource() {
  CAutoLock lock(&pinLock_);
  source_.reset();
  transform_.reset();
}

// ---- media types and buffers --------------------------------------------

bool KelOrvoSourcePin::RefreshFormat() {
  try {
    LIB3::ErrorData error;
    Orvo::DataHeader header;
    format_ = Kel::ReadOutputFormat(holder_.Get()->Handle(), bytesPerPixel_, header, error.get(), kUnit);
    return true;
  } catch (const LIB3::CError& e) {
    plat::MessageBox("GetMediaType():" + e.Text(), "KelOrvoSource", MB_OK | MB_ICONERROR);
    return false;
  }
}

HRESULT KelOrvoSourcePin::GetMediaType(int position, CMediaType* type) {
  if (!holder_.IsOpened()) return E_FAIL;
  if (!type) return E_POINTER;
  if (position < 0) return E_INVALIDARG;
  CAutoLock lock(&pinLock_);
  try {
    LIB3::ErrorData error;
    Orvo::DataHeader header;
    format_ = Kel::ReadOutputFormat(holder_.Get()->Handle(), bytesPerPixel_, header, error.get(), kUnit);
    HRESULT hr = VFW_S_NO_MORE_ITEMS;
    if (position == 0) hr = Kel::BuildStreamType(format_, header, error.get(), type);
    if (position == 1) hr = Kel::BuildVideoType(format_, type);
    const LONG width = static_cast<LONG>(format_.width);
    const BITMAP picture{0, width, -static_cast<LONG>(format_.height), width * bytesPerPixel_, 1,
                         static_cast<WORD>(bytesPerPixel_ * 8), nullptr};
    holder_.Get()->Overlay().PrepareBitmap(picture);
    return hr;
  } catch (const LIB3::CError& e) {
    plat::MessageBox("GetMediaType():" + e.Text(), "KelOrvoSource", MB_OK | MB_ICONERROR);
    return E_FAIL;
  }
}

HRESULT KelOrvoSourcePin::CheckMediaType(const CMediaType* type) {
  if (!holder_.IsOpened()) return E_FAIL;
  if (!type) return E_POINTER;
  const GUID& format = *type->FormatType();
  return format == FORMAT_VideoInfo || format == Kel::FORMAT_KelOrvoDataHeader ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT KelOrvoSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* properties) {
  if (!holder_.IsOpened()) return E_FAIL;
  CAutoLock lock(m_pFilter->pStateLock());
  if (!allocator || !properties) return E_POINTER;
  if (properties->cBuffers == 0) properties->cBuffers = 2;
  const CMediaType& mt = CurrentMediaType();
  if (*mt.FormatType() == FORMAT_VideoInfo) {
    if (!mt.Format() || mt.FormatLength() < sizeof(VIDEOINFOHEADER)) return E_FAIL;
    properties->cbBuffer = static_cast<LONG>(reinterpret_cast<const VIDEOINFOHEADER*>(mt.Format())->bmiHeader.biSizeImage);
  } else {
    CAutoLock pinLock(&pinLock_);
    properties->cbBuffer = static_cast<LONG>(format_.StreamSampleSize());
  }
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(properties, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= properties->cbBuffer ? S_OK : E_FAIL;
}

// ---- connection -----------------------------------------------------------

std::unique_ptr<Orvo::StOrvoSource> KelOrvoSourcePin::MakeSource(const GUID& mode) {
  const HWND window = notifyWindow_;
  if (mode == MODE_Setup) return std::make_unique<Orvo::StSetupSource>(holder_, window);
  if (mode == MODE_Input) return std::make_unique<Orvo::StRecordSource>(holder_, window);
  if (mode == MODE_Preview) {
    auto preview = std::make_unique<Orvo::StPreviewSource>(holder_, window);
    if (Options::OptionRecord* range = holder_.Get()->FindOption(kFrameRange, 0)) {
      Options::Scalar::Value first{0, 0}, last{0, 0};
      if (range->scalar.GetMinValue(first) && range->scalar.GetMaxValue(last)) preview->SetRange(first.value, last.value);
    }
    return preview;
  }
  if (mode == MODE_Save) {
    auto file = std::make_unique<Orvo::StFileSource>(holder_, window);
    Orvo::StClearImageTransform* transform = transform_.get();
    file->SetBackgroundQuery([transform] { return transform && transform->Enabled(); });
    return file;
  }
  return nullptr;
}

HRESULT KelOrvoSourcePin::CompleteConnect(IPin* receivePin) {
  if (!holder_.IsOpened()) return E_FAIL;
  {
    CAutoLock lock(&pinLock_);
    if (IsConnected()) {
      const GUID mode = holder_.Get()->Mode();
      source_.reset();
      try {
        source_ = MakeSource(mode);
      } catch (const LIB3::CError& e) {
        LIB3::ShowError(e, "CompleteConnect():");
        return E_FAIL;
      }
      saveMode_ = mode == MODE_Save;
      previewMode_ = mode == MODE_Preview;
      if (source_) source_->SetBytesPerPixel(bytesPerPixel_);
      // A connection made with a type of the peer's never asked us for ours.
      if (!RefreshFormat()) return E_FAIL;
      AnnounceRowOrder(receivePin);
    }
  }
  return CSourceStream::CompleteConnect(receivePin);
}

void KelOrvoSourcePin::AnnounceRowOrder(IPin* receivePin) const {
  if (!receivePin) return;
  ComPtr<IVideoRowOrder> order;
  if (SUCCEEDED(receivePin->QueryInterface(IID_IVideoRowOrder, order.putVoid())) && order)
    order->SetTopDownRows(saveMode_ ? FALSE : TRUE);
}

HRESULT KelOrvoSourcePin::BreakConnect() {
  {
    CAutoLock lock(&pinLock_);
    source_.reset();
  }
  return CSourceStream::BreakConnect();
}
