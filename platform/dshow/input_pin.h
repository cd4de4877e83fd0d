// An input pin that receives media samples through IMemInputPin. Derived
// pins override Receive and call this one first: it refuses samples while
// the filter is stopped, while flushing or after a run-time error.
#pragma once

#include <atomic>

#include "platform/dshow/base_pin.h"

class CBaseInputPin : public CBasePin, public IMemInputPin {
 public:
  CBaseInputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* phr, LPCWSTR name);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // IMemInputPin. GetAllocator makes a CMemAllocator on first use.
  HRESULT GetAllocator(IMemAllocator** ppAllocator) override;
  HRESULT NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
  // No requirements: E_NOTIMPL, the output pin decides alone.
  HRESULT GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override;
  HRESULT Receive(IMediaSample* pSample) override;
  HRESULT ReceiveMultiple(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed) override;
  // S_OK when a Receive may wait (a filter without outputs, or one whose
  // downstream may); S_FALSE otherwise.
  HRESULT ReceiveCanBlock() override;

  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;

  HRESULT BreakConnect() override;
  // Decommits the allocator, so that an upstream thread waiting for a
  // buffer is released.
  HRESULT Inactive() override;

  // Whether samples may be received now: S_OK, S_FALSE while flushing,
  // VFW_E_WRONG_STATE when stopped, VFW_E_RUNTIME_ERROR after an error.
  virtual HRESULT CheckStreaming();

  BOOL IsReadOnly() const { return m_bReadOnly; }
  BOOL IsFlushing() const { return m_bFlushing ? TRUE : FALSE; }

 protected:
  ComPtr<IMemAllocator> m_pAllocator;
  BOOL m_bReadOnly = FALSE;
  std::atomic<bool> m_bFlushing{false};
};
