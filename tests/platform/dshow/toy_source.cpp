#include "tests/platform/dshow/toy_source.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/dshow/errors.h"
#include "platform/win/messages.h"
#include "platform/win/window_table.h"

namespace kel::test {

namespace {

constexpr CLSID kToyClsid{0x1D2A0C11, 0x5B3E, 0x4F70, {0x9A, 0x01, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};

WORD bitCountOf(const GUID& subtype) { return subtype == MEDIASUBTYPE_RGB32 ? 32 : 24; }

}  // namespace

CMediaType toyVideoType(const GUID& subtype) {
  CMediaType mt(&MEDIATYPE_Video);
  mt.SetSubtype(&subtype);
  mt.SetFormatType(&FORMAT_VideoInfo);
  auto* vi = reinterpret_cast<VIDEOINFO*>(mt.AllocFormatBuffer(sizeof(VIDEOINFO)));
  vi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  vi->bmiHeader.biWidth = kToyWidth;
  vi->bmiHeader.biHeight = kToyHeight;
  vi->bmiHeader.biPlanes = 1;
  vi->bmiHeader.biBitCount = bitCountOf(subtype);
  vi->bmiHeader.biCompression = BI_RGB;
  vi->bmiHeader.biSizeImage = static_cast<DWORD>(kToyWidth * kToyHeight * vi->bmiHeader.biBitCount / 8);
  vi->AvgTimePerFrame = kToyFrameTime;
  mt.SetSampleSize(vi->bmiHeader.biSizeImage);
  mt.SetTemporalCompression(FALSE);
  return mt;
}

ToyStream::ToyStream(HRESULT* phr, CSource* filter, ToyConfig config)
    : CSourceStream("ToyStream", phr, filter, u"Out"), config_(std::move(config)) {}

HRESULT ToyStream::GetMediaType(int iPosition, CMediaType* pmt) {
  if (iPosition < 0) return E_INVALIDARG;
  if (static_cast<std::size_t>(iPosition) >= config_.subtypes.size()) return VFW_S_NO_MORE_ITEMS;
  *pmt = toyVideoType(config_.subtypes[static_cast<std::size_t>(iPosition)]);
  return S_OK;
}

HRESULT ToyStream::CheckMediaType(const CMediaType* pmt) {
  for (const GUID& subtype : config_.subtypes) {
    if (*pmt == toyVideoType(subtype)) return S_OK;
  }
  return E_FAIL;
}

HRESULT ToyStream::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) {
  const auto* vi = reinterpret_cast<const VIDEOINFO*>(m_mt.Format());
  request->cBuffers = std::max(request->cBuffers, config_.minBuffers);
  request->cbBuffer = static_cast<LONG>(vi->bmiHeader.biSizeImage);
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = alloc->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= request->cbBuffer ? S_OK : E_FAIL;
}

HRESULT ToyStream::FillBuffer(IMediaSample* sample) {
  if (config_.frames >= 0 && next_ >= config_.frames) return S_FALSE;
  if (next_ == config_.failAt) {
    if (config_.throwAt) throw std::runtime_error("toy frame failed");
    return E_FAIL;
  }
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const auto number = static_cast<std::uint32_t>(next_);
  std::memcpy(data, &number, sizeof number);
  REFERENCE_TIME start = next_ * kToyFrameTime;
  REFERENCE_TIME stop = start + kToyFrameTime;
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(TRUE);
  const auto* vi = reinterpret_cast<const VIDEOINFO*>(m_mt.Format());
  sample->SetActualDataLength(static_cast<LONG>(vi->bmiHeader.biSizeImage));
  ++next_;
  return S_OK;
}

HRESULT ToyStream::OnThreadCreate() {
  next_ = 0;
  ++threadCreates;
  return config_.failThreadCreate ? E_OUTOFMEMORY : S_OK;
}

HRESULT ToyStream::OnThreadDestroy() {
  ++threadDestroys;
  if (config_.sendTo) SendMessage(config_.sendTo, WM_APP, 2, 0);
  return S_OK;
}

HRESULT ToyStream::OnThreadStartPlay() {
  if (config_.sendTo) SendMessage(config_.sendTo, WM_APP, 1, 0);
  return S_OK;
}

ToySource::ToySource(HRESULT* phr, plat::ModuleRefCount* module)
    : CSource("ToySource", nullptr, kToyClsid, phr, module) {}

ComPtr<IBaseFilter> ToySource::create(ToyConfig config, plat::ModuleRefCount* module, ToyStream** pin) {
  HRESULT hr = S_OK;
  auto* filter = new ToySource(&hr, module);
  ComPtr<IBaseFilter> result(filter);
  auto* stream = new ToyStream(&hr, filter, std::move(config));
  if (FAILED(hr)) throw std::runtime_error("toy source could not be made");
  if (pin) *pin = stream;
  return result;
}

}  // namespace kel::test
