// The renderer's input pin: takes RGB video, copies every sample into the
// renderer's newest-frame store and reports the end of the stream to the
// graph (EC_COMPLETE, once per run). An upstream pin may tell it that the
// rows go top row first (IVideoRowOrder).
#pragma once

#include <atomic>

#include "platform/dshow/input_pin.h"
#include "platform/graph/row_order.h"

class CVideoRenderer;

class CRendererInputPin final : public CBaseInputPin, public IVideoRowOrder {
 public:
  CRendererInputPin(CVideoRenderer* renderer, CCritSec* lock, HRESULT* phr);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  // IVideoRowOrder: the frames read back say which row comes first.
  HRESULT SetTopDownRows(BOOL topDown) override;

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
