// An output pin that delivers media samples to an input pin through its
// IMemInputPin. On connection it settles the allocator with the peer; while
// the filter is active the allocator is committed.
#pragma once

#include "platform/dshow/base_pin.h"

class CBaseOutputPin : public CBasePin {
 public:
  CBaseOutputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* phr, LPCWSTR name);

  // Settles the allocator with the connected input pin.
  HRESULT CompleteConnect(IPin* pReceivePin) override;
  // The peer must offer IMemInputPin (VFW_E_NO_TRANSPORT otherwise).
  HRESULT CheckConnect(IPin* pPin) override;
  // Decommits and drops the allocator and the peer's transport.
  HRESULT BreakConnect() override;

  // Uses the input pin's allocator when it has one and accepts the buffer
  // sizes, else a new CMemAllocator; the input pin is told which one.
  virtual HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc);
  // Sets the allocator's properties; `pprop` holds the input pin's wishes.
  virtual HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pprop) = 0;
  virtual HRESULT InitAllocator(IMemAllocator** ppAlloc);

  // A free sample from the allocator; waits for one unless AM_GBF_NOWAIT.
  virtual HRESULT GetDeliveryBuffer(IMediaSample** ppSample, REFERENCE_TIME* pStartTime,
                                    REFERENCE_TIME* pEndTime, DWORD dwFlags);
  // Passes the sample to the input pin's Receive.
  virtual HRESULT Deliver(IMediaSample* pSample);
  virtual HRESULT DeliverEndOfStream();
  virtual HRESULT DeliverBeginFlush();
  virtual HRESULT DeliverEndFlush();
  virtual HRESULT DeliverNewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

  // Commit and decommit the allocator.
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Data flows out of this pin, so these input-side calls are refused.
  HRESULT EndOfStream() override { return E_UNEXPECTED; }
  HRESULT BeginFlush() override { return E_UNEXPECTED; }
  HRESULT EndFlush() override { return E_UNEXPECTED; }

 protected:
  ComPtr<IMemAllocator> m_pAllocator;
  ComPtr<IMemInputPin> m_pInputPin;
};
