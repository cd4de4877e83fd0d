// The compressor's pins: the input takes bottom-up RGB24/RGB32 video (even
// sizes for the 4:2:0 encoders), the output offers the one encoded type.
#pragma once

#include "platform/dshow/input_pin.h"
#include "platform/dshow/output_pin.h"

class CVideoCompressor;

class CCompressorInputPin final : public CBaseInputPin {
 public:
  CCompressorInputPin(CVideoCompressor* filter, CCritSec* lock, HRESULT* phr);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT Receive(IMediaSample* pSample) override;
  HRESULT EndOfStream() override;

 private:
  CVideoCompressor* const filter_;
};

class CCompressorOutputPin final : public CBaseOutputPin {
 public:
  CCompressorOutputPin(CVideoCompressor* filter, CCritSec* lock, HRESULT* phr);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pmt) override;
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) override;

 private:
  CVideoCompressor* const filter_;
};
