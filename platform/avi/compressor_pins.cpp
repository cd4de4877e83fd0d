#include "platform/avi/compressor_pins.h"

#include <algorithm>

#include "platform/avi/video_compressor.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"
#include "platform/graph/video_format.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

CCompressorInputPin::CCompressorInputPin(CVideoCompressor* filter, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin("CCompressorInputPin", filter, lock, phr, u"Input"), filter_(filter) {}

HRESULT CCompressorInputPin::CheckMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  if (pmt->subtype != MEDIASUBTYPE_RGB24 && pmt->subtype != MEDIASUBTYPE_RGB32) return VFW_E_TYPE_NOT_ACCEPTED;
  const auto format = plat::videoFormatOf(*pmt);
  if (!format) return VFW_E_TYPE_NOT_ACCEPTED;
  const bool halvedChroma = filter_->kind().pixelFormat == AV_PIX_FMT_YUV420P;
  if (halvedChroma && (format->width % 2 != 0 || format->height % 2 != 0)) return VFW_E_TYPE_NOT_ACCEPTED;
  return S_OK;
}

HRESULT CCompressorInputPin::Receive(IMediaSample* pSample) {
  const HRESULT hr = CBaseInputPin::Receive(pSample);
  if (hr != S_OK) return hr;
  return filter_->compress(pSample);
}

HRESULT CCompressorInputPin::EndOfStream() {
  const HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr == S_FALSE ? S_OK : hr;
  return filter_->endOfStream();
}

CCompressorOutputPin::CCompressorOutputPin(CVideoCompressor* filter, CCritSec* lock, HRESULT* phr)
    : CBaseOutputPin("CCompressorOutputPin", filter, lock, phr, u"Output"), filter_(filter) {}

HRESULT CCompressorOutputPin::CheckMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  CMediaType offered;
  if (filter_->outputType(&offered) != S_OK) return VFW_E_NOT_CONNECTED;
  return *pmt == offered ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CCompressorOutputPin::GetMediaType(int iPosition, CMediaType* pmt) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  return filter_->outputType(pmt) == S_OK ? S_OK : VFW_S_NO_MORE_ITEMS;
}

HRESULT CCompressorOutputPin::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) {
  const LONG size = filter_->maxPacketSize();
  if (size <= 0) return VFW_E_SIZENOTSET;
  request->cBuffers = std::max<LONG>(request->cBuffers, 2);
  request->cbBuffer = std::max(request->cbBuffer, size);
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = alloc->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= size ? S_OK : E_FAIL;
}
