#include "platform/avi/video_compressor.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/avi/compressor_pins.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"
#include "platform/graph/video_format.h"

namespace {

// What GetState hands out and SetState takes back.
struct SavedState {
  DWORD tag;
  LONG quality;
};
constexpr DWORD kStateTag = MAKEFOURCC('K', 'E', 'L', 'Q');

GUID fourccSubtype(DWORD fourcc) {
  return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

}  // namespace

CVideoCompressor* CVideoCompressor::create(const plat::CompressorKind& kind, HRESULT* phr) {
  HRESULT hr = S_OK;
  auto* filter = new CVideoCompressor(kind);
  filter->input_ = std::make_unique<CCompressorInputPin>(filter, &filter->filterLock_, &hr);
  filter->output_ = std::make_unique<CCompressorOutputPin>(filter, &filter->filterLock_, &hr);
  if (phr) *phr = hr;
  return filter;
}

CVideoCompressor::CVideoCompressor(const plat::CompressorKind& kind)
    : CBaseFilter("CVideoCompressor", nullptr, &filterLock_, kind.clsid), kind_(kind), quality_(kind.defaultQuality) {}

CVideoCompressor::~CVideoCompressor() = default;

HRESULT CVideoCompressor::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (kind_.hasQuality) {
    if (riid == IID_IAMVfwCompressDialogs) return GetInterface(static_cast<IAMVfwCompressDialogs*>(this), ppv);
    if (riid == IID_IKelCompressorSettings) return GetInterface(static_cast<IKelCompressorSettings*>(this), ppv);
  }
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CVideoCompressor::GetPin(int n) {
  if (n == 0) return input_.get();
  if (n == 1) return output_.get();
  return nullptr;
}

HRESULT CVideoCompressor::outputType(CMediaType* mt) const {
  if (!mt) return E_POINTER;
  if (!input_->IsConnected()) return S_FALSE;
  const CMediaType& in = input_->CurrentMediaType();
  const auto format = plat::videoFormatOf(in);
  if (!format) return S_FALSE;
  VIDEOINFOHEADER vih{};
  vih.rcSource = vih.rcTarget = RECT{0, 0, format->width, format->height};
  vih.AvgTimePerFrame = reinterpret_cast<const VIDEOINFOHEADER*>(in.Format())->AvgTimePerFrame;
  std::vector<std::uint8_t> codecData;
  if (kind_.codecDataInType) {
    // The headers depend only on the settings, so an encoder opened here
    // gives the ones every run will give (Pause checks).
    const auto probe = plat::FrameEncoder::open(kind_, *format, quality_.load(), vih.AvgTimePerFrame, nullptr);
    if (!probe) return VFW_E_TYPE_NOT_ACCEPTED;
    codecData = probe->codecData();
  }
  BITMAPINFOHEADER& bmi = vih.bmiHeader;
  bmi.biSize = static_cast<DWORD>(sizeof(BITMAPINFOHEADER) + codecData.size());
  bmi.biWidth = format->width;
  bmi.biHeight = format->height;
  bmi.biPlanes = 1;
  bmi.biBitCount = 24;
  bmi.biCompression = kind_.fourcc;
  bmi.biSizeImage = static_cast<DWORD>(maxPacketSize());
  mt->InitMediaType();
  mt->SetType(&MEDIATYPE_Video);
  const GUID subtype = fourccSubtype(kind_.fourcc);
  mt->SetSubtype(&subtype);
  mt->SetFormatType(&FORMAT_VideoInfo);
  std::vector<BYTE> block(sizeof(vih) + codecData.size());
  std::memcpy(block.data(), &vih, sizeof(vih));
  std::copy(codecData.begin(), codecData.end(), block.begin() + sizeof(vih));
  if (!mt->SetFormat(block.data(), static_cast<ULONG>(block.size()))) return E_OUTOFMEMORY;
  mt->SetVariableSize();
  mt->SetTemporalCompression(kind_.fourcc == MAKEFOURCC('H', '2', '6', '4'));
  return S_OK;
}

LONG CVideoCompressor::maxPacketSize() const {
  const auto format = plat::videoFormatOf(input_->CurrentMediaType());
  if (!format) return 0;
  return format->width * format->height * 4 + 65536;
}

HRESULT CVideoCompressor::Pause() {
  CAutoLock lock(&filterLock_);
  if (m_State == State_Stopped && input_->IsConnected() && output_->IsConnected()) {
    const CMediaType& in = input_->CurrentMediaType();
    const auto format = plat::videoFormatOf(in);
    if (!format) return VFW_E_TYPE_NOT_ACCEPTED;
    std::string error;
    auto encoder = plat::FrameEncoder::open(
        kind_, *format, quality_.load(), reinterpret_cast<const VIDEOINFOHEADER*>(in.Format())->AvgTimePerFrame,
        &error);
    if (!encoder) return E_FAIL;
    // A film whose headers differ from its type's could not be decoded.
    const CMediaType& out = output_->CurrentMediaType();
    const std::vector<std::uint8_t> typed(out.Format() + sizeof(VIDEOINFOHEADER), out.Format() + out.FormatLength());
    if (kind_.codecDataInType && encoder->codecData() != typed) return VFW_E_TYPE_NOT_ACCEPTED;
    std::lock_guard coding(codingLock_);
    encoder_ = std::move(encoder);
    pending_.clear();
    pictures_ = 0;
  }
  return CBaseFilter::Pause();
}

HRESULT CVideoCompressor::Stop() {
  CAutoLock lock(&filterLock_);
  // Decommitting the output first releases a streaming thread waiting for a
  // buffer, so that it leaves the encoder.
  const HRESULT hr = CBaseFilter::Stop();
  std::lock_guard coding(codingLock_);
  encoder_.reset();
  pending_.clear();
  return hr;
}

HRESULT CVideoCompressor::compress(IMediaSample* sample) {
  std::lock_guard coding(codingLock_);
  if (!encoder_) return VFW_E_WRONG_STATE;
  const auto format = plat::videoFormatOf(input_->CurrentMediaType());
  BYTE* data = nullptr;
  if (!format || FAILED(sample->GetPointer(&data)) ||
      static_cast<std::size_t>(sample->GetActualDataLength()) < format->imageSize) {
    NotifyEvent(EC_ERRORABORT, E_INVALIDARG, 0);
    return E_INVALIDARG;
  }
  Times times{};
  const HRESULT timed = sample->GetTime(&times.start, &times.stop);
  times.valid = timed == S_OK || timed == VFW_S_NO_STOP_TIME;
  if (timed == VFW_S_NO_STOP_TIME) times.stop = times.start + 1;
  pending_.push_back(times);
  HRESULT delivered = S_OK;
  const HRESULT hr = encoder_->encode(data, pictures_++, [&](const std::uint8_t* bytes, std::size_t size, bool key,
                                                             std::int64_t number) {
    delivered = deliverPacket(bytes, size, key, number);
    return delivered;
  });
  // A refusal downstream was reported there; an encoder failure is ours.
  if (FAILED(hr) && delivered == S_OK) NotifyEvent(EC_ERRORABORT, hr, 0);
  return FAILED(hr) ? hr : delivered;
}

HRESULT CVideoCompressor::deliverPacket(const std::uint8_t* data, std::size_t size, bool key, std::int64_t) {
  const Times times = pending_.empty() ? Times{0, 0, false} : pending_.front();
  if (!pending_.empty()) pending_.pop_front();
  IMediaSample* out = nullptr;
  HRESULT hr = output_->GetDeliveryBuffer(&out, nullptr, nullptr, 0);
  if (FAILED(hr) || !out) return FAILED(hr) ? hr : E_POINTER;
  BYTE* buffer = nullptr;
  hr = out->GetPointer(&buffer);
  if (SUCCEEDED(hr) && size > static_cast<std::size_t>(out->GetSize())) hr = VFW_E_BUFFER_OVERFLOW;
  if (SUCCEEDED(hr)) {
    std::memcpy(buffer, data, size);
    out->SetActualDataLength(static_cast<LONG>(size));
    REFERENCE_TIME start = times.start, stop = times.stop;
    out->SetTime(times.valid ? &start : nullptr, times.valid ? &stop : nullptr);
    out->SetSyncPoint(key ? TRUE : FALSE);
    hr = output_->Deliver(out);
  }
  out->Release();
  return hr;
}

HRESULT CVideoCompressor::endOfStream() {
  {
    std::lock_guard coding(codingLock_);
    if (encoder_) {
      const HRESULT hr = encoder_->flush([this](const std::uint8_t* bytes, std::size_t size, bool key,
                                                std::int64_t number) { return deliverPacket(bytes, size, key, number); });
      if (FAILED(hr)) return hr;
    }
  }
  return output_->IsConnected() ? output_->DeliverEndOfStream() : S_OK;
}

HRESULT CVideoCompressor::ShowDialog(int iDialog, HWND) {
  return iDialog == VfwCompressDialog_QueryConfig ? S_OK : E_NOTIMPL;
}

HRESULT CVideoCompressor::GetState(void* pState, int* pcbState) {
  if (!pcbState) return E_POINTER;
  if (!pState) {
    *pcbState = sizeof(SavedState);
    return S_OK;
  }
  if (*pcbState < static_cast<int>(sizeof(SavedState))) return E_INVALIDARG;
  const SavedState state{kStateTag, quality_.load()};
  std::memcpy(pState, &state, sizeof(state));
  *pcbState = sizeof(SavedState);
  return S_OK;
}

HRESULT CVideoCompressor::SetState(void* pState, int cbState) {
  if (!pState) return E_POINTER;
  if (cbState != static_cast<int>(sizeof(SavedState))) return E_INVALIDARG;
  SavedState state{};
  std::memcpy(&state, pState, sizeof(state));
  if (state.tag != kStateTag) return E_INVALIDARG;
  return SetQuality(state.quality);
}

HRESULT CVideoCompressor::SendDriverMessage(int, long, long) { return E_NOTIMPL; }

HRESULT CVideoCompressor::GetQuality(LONG* quality) {
  if (!quality) return E_POINTER;
  *quality = quality_.load();
  return S_OK;
}

HRESULT CVideoCompressor::SetQuality(LONG quality) {
  if (quality < 1 || quality > 100) return E_INVALIDARG;
  CAutoLock lock(&filterLock_);
  if (m_State != State_Stopped) return VFW_E_NOT_STOPPED;
  quality_ = quality;
  return S_OK;
}
