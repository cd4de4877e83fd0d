// A pool of equally sized samples in one memory block. Buffers exist only
// while the allocator is committed: GetBuffer waits for a free sample and
// gives up with VFW_E_NOT_COMMITTED as soon as the pool is decommitted, so
// a streaming thread blocked here never holds up a stop. A committed pool
// keeps itself alive until it is decommitted and every sample came back.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/com/cunknown.h"
#include "platform/dshow/interfaces.h"
#include "platform/dshow/media_sample.h"

class CMemAllocator : public CUnknown, public IMemAllocator {
 public:
  CMemAllocator(const char* name, IUnknown* outer, HRESULT* phr);
  ~CMemAllocator() override;

  // A new allocator with one reference, for a pin that needs one.
  static HRESULT CreateInstance(IMemAllocator** ppAllocator);

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // Alignment must be a power of two; the buffer size is rounded up so that
  // every buffer (after its prefix) starts aligned. Refused while committed
  // or while samples are still out.
  HRESULT SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;
  HRESULT GetProperties(ALLOCATOR_PROPERTIES* pProps) override;
  HRESULT Commit() override;
  HRESULT Decommit() override;
  // AM_GBF_NOWAIT: VFW_E_TIMEOUT instead of waiting for a free sample.
  HRESULT GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                    DWORD dwFlags) override;
  HRESULT ReleaseBuffer(IMediaSample* pBuffer) override;

 private:
  HRESULT allocLocked();

  std::mutex mutex_;
  std::condition_variable freed_;
  LONG count_ = 0;
  LONG size_ = 0;
  LONG alignment_ = 0;
  LONG prefix_ = 0;
  bool changed_ = false;
  bool committed_ = false;
  bool decommitInProgress_ = false;
  std::unique_ptr<BYTE[]> memory_;
  std::vector<std::unique_ptr<CMediaSample>> samples_;
  std::vector<CMediaSample*> free_;
};
