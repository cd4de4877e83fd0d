// The renderer's input pin: takes RGB video, copies every sample into the
// renderer's newest-frame store and reports the end of the stream to the
// graph (EC_COMPLETE, once per run).
#pragma once

#include <atomic>

#include "platform/dshow/input_pin.h"

class CVideoRenderer;

class CRendererInputPin final : public CBaseInputPin {
 public:
  CRendererInputPin(CVideoRenderer* renderer, CCritSec* lock, HRESULT* phr);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  // The renderer proposes no types of its own.
  HRESULT GetMediaType(int iPosition, CMediaType* pmt) override;
  HRESULT SetMediaType(const CMediaType* pmt) override;
  HRESULT BreakConnect() override;
  HRESULT Active() override;

  // A sample smaller than one picture is refused with E_INVALIDARG and
  // reported to the graph as EC_ERRORABORT.
  HRESULT Receive(IMediaSample* pSample) override;
  HRESULT EndOfStream() override;

 private:
  HRESULT takeTypeChange(IMediaSample* sample);

  CVideoRenderer* const renderer_;
  std::atomic<bool> ended_{false};
};
