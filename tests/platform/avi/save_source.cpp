#include "tests/platform/avi/save_source.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"

namespace kel::test {

namespace {

constexpr CLSID kSaveSourceClsid{0x3C0E5A21, 0x7D42, 0x4B19, {0x8E, 0x10, 0x5A, 0x61, 0x02, 0x33, 0x44, 0x14}};

LONG strideOf(const SaveSourceConfig& c) { return (c.width * c.bitCount / 8 + 3) & ~3; }

// Smooth ramps (kind to lossy coders) that differ between top and bottom,
// left and right, and from frame to frame.
void pixel(const SaveSourceConfig& c, int number, LONG x, LONG y, BYTE* bgr) {
  bgr[0] = static_cast<BYTE>(x * 255 / std::max<LONG>(c.width - 1, 1));
  bgr[1] = static_cast<BYTE>(y * 255 / std::max<LONG>(c.height - 1, 1));
  bgr[2] = static_cast<BYTE>((number * 23) % 200 + (x + y) * 32 / (c.width + c.height));
}

}  // namespace

LONG saveImageSize(const SaveSourceConfig& c) { return strideOf(c) * c.height; }

std::vector<BYTE> dibPicture(const SaveSourceConfig& c, int number) {
  std::vector<BYTE> bytes(static_cast<std::size_t>(saveImageSize(c)), 0);
  const LONG bpp = c.bitCount / 8;
  for (LONG y = 0; y < c.height; ++y) {
    BYTE* row = bytes.data() + static_cast<std::size_t>(c.height - 1 - y) * strideOf(c);
    for (LONG x = 0; x < c.width; ++x) pixel(c, number, x, y, row + x * bpp);
  }
  return bytes;
}

std::vector<BYTE> uprightPicture(const SaveSourceConfig& c, int number) {
  std::vector<BYTE> bytes(static_cast<std::size_t>(c.width * c.height * 3));
  for (LONG y = 0; y < c.height; ++y) {
    for (LONG x = 0; x < c.width; ++x) pixel(c, number, x, y, &bytes[static_cast<std::size_t>((y * c.width + x) * 3)]);
  }
  return bytes;
}

SaveStream::SaveStream(HRESULT* phr, CSource* filter, const SaveSourceConfig& config)
    : CSourceStream("SaveStream", phr, filter, u"1"), config_(config) {}

HRESULT SaveStream::GetMediaType(CMediaType* pmt) {
  CMediaType mt(&MEDIATYPE_Video);
  mt.SetSubtype(config_.bitCount == 32 ? &MEDIASUBTYPE_RGB32 : &MEDIASUBTYPE_RGB24);
  mt.SetFormatType(&FORMAT_VideoInfo);
  auto* vi = reinterpret_cast<VIDEOINFO*>(mt.AllocFormatBuffer(sizeof(VIDEOINFO)));
  if (!vi) return E_OUTOFMEMORY;
  vi->AvgTimePerFrame = config_.avgTimePerFrame;
  vi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  vi->bmiHeader.biWidth = config_.width;
  vi->bmiHeader.biHeight = config_.height;
  vi->bmiHeader.biPlanes = 1;
  vi->bmiHeader.biBitCount = config_.bitCount;
  vi->bmiHeader.biCompression = BI_RGB;
  vi->bmiHeader.biSizeImage = static_cast<DWORD>(saveImageSize(config_));
  mt.SetSampleSize(vi->bmiHeader.biSizeImage);
  *pmt = mt;
  return S_OK;
}

HRESULT SaveStream::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) {
  request->cBuffers = std::max<LONG>(request->cBuffers, 2);
  request->cbBuffer = saveImageSize(config_);
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = alloc->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= request->cbBuffer ? S_OK : E_FAIL;
}

HRESULT SaveStream::FillBuffer(IMediaSample* sample) {
  if (config_.frames >= 0 && next_ >= config_.frames) return S_FALSE;
  if (next_ == config_.announceAt) {
    reached.set();
    if (config_.holdAtAnnounce) release.wait();
  }
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  const auto picture = dibPicture(config_, next_);
  std::memcpy(data, picture.data(), picture.size());
  sample->SetActualDataLength(static_cast<LONG>(picture.size()));
  REFERENCE_TIME start = (next_ + 1) * config_.sampleDuration;
  REFERENCE_TIME stop = start + config_.sampleDuration;
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(TRUE);
  ++next_;
  ++filled;
  return S_OK;
}

HRESULT SaveStream::OnThreadCreate() {
  next_ = 0;
  return S_OK;
}

SaveSource::SaveSource(HRESULT* phr) : CSource("SaveSource", nullptr, kSaveSourceClsid, phr) {}

ComPtr<IBaseFilter> SaveSource::create(const SaveSourceConfig& config, SaveStream** pin) {
  HRESULT hr = S_OK;
  auto* filter = new SaveSource(&hr);
  ComPtr<IBaseFilter> result(static_cast<IBaseFilter*>(filter));
  auto* stream = new SaveStream(&hr, filter, config);
  if (FAILED(hr)) throw std::runtime_error("the save source could not be made");
  if (pin) *pin = stream;
  return result;
}

}  // namespace kel::test
