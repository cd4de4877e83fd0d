#include "tests/platform/graph/toy_source.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/dshow/errors.h"

namespace kel::test {

namespace {

constexpr CLSID kToyClsid{0x3C0E5A21, 0x7D42, 0x4B19, {0x8E, 0x10, 0x5A, 0x61, 0x02, 0x33, 0x44, 0x01}};

WORD bitCountOf(const ToyConfig& c) { return c.subtype == MEDIASUBTYPE_RGB32 ? 32 : 24; }

}  // namespace

LONG toyImageSize(const ToyConfig& c) {
  const LONG row = (c.width * bitCountOf(c) / 8 + 3) & ~3;
  return row * c.height;
}

CMediaType toyType(const ToyConfig& c) {
  CMediaType mt(&MEDIATYPE_Video);
  mt.SetSubtype(&c.subtype);
  mt.SetFormatType(&FORMAT_VideoInfo);
  auto* vi = reinterpret_cast<VIDEOINFO*>(mt.AllocFormatBuffer(sizeof(VIDEOINFO)));
  vi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  vi->bmiHeader.biWidth = c.width;
  vi->bmiHeader.biHeight = c.topDown ? -c.height : c.height;
  vi->bmiHeader.biPlanes = 1;
  vi->bmiHeader.biBitCount = bitCountOf(c);
  vi->bmiHeader.biCompression = BI_RGB;
  vi->bmiHeader.biSizeImage = static_cast<DWORD>(toyImageSize(c));
  mt.SetSampleSize(vi->bmiHeader.biSizeImage);
  mt.SetTemporalCompression(FALSE);
  return mt;
}

std::vector<BYTE> toyPicture(const ToyConfig& c, int number) {
  std::vector<BYTE> bytes(static_cast<std::size_t>(toyImageSize(c)));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<BYTE>(number * 31 + i * 7);
  return bytes;
}

ToyStream::ToyStream(HRESULT* phr, CSource* filter, const ToyConfig& config)
    : CSourceStream("ToyStream", phr, filter, u"Out"), config_(config) {}

HRESULT ToyStream::GetMediaType(int iPosition, CMediaType* pmt) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  *pmt = toyType(config_);
  return S_OK;
}

HRESULT ToyStream::CheckMediaType(const CMediaType* pmt) { return *pmt == toyType(config_) ? S_OK : E_FAIL; }

HRESULT ToyStream::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) {
  request->cBuffers = std::max<LONG>(request->cBuffers, 2);
  request->cbBuffer = toyImageSize(config_);
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = alloc->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= request->cbBuffer ? S_OK : E_FAIL;
}

HRESULT ToyStream::FillBuffer(IMediaSample* sample) {
  if (config_.frames >= 0 && next_ >= config_.frames) return S_FALSE;
  if (next_ == config_.failAt) return E_FAIL;
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const auto picture = toyPicture(config_, next_);
  std::memcpy(data, picture.data(), picture.size());
  sample->SetActualDataLength(static_cast<LONG>(picture.size()) - config_.shortBy);
  ++next_;
  ++filled;
  streaming.set();
  return S_OK;
}

HRESULT ToyStream::OnThreadCreate() {
  next_ = 0;
  return S_OK;
}

ToySource::ToySource(HRESULT* phr) : CSource("ToySource", nullptr, kToyClsid, phr) {}

ComPtr<IBaseFilter> ToySource::create(const ToyConfig& config, ToyStream** pin) {
  HRESULT hr = S_OK;
  auto* filter = new ToySource(&hr);
  ComPtr<IBaseFilter> result(static_cast<IBaseFilter*>(filter));
  auto* stream = new ToyStream(&hr, filter, config);
  if (FAILED(hr)) throw std::runtime_error("the toy source could not be made");
  if (pin) *pin = stream;
  return result;
}

}  // namespace kel::test
