// One buffer of an allocator's pool. It is counted on its own, not through
// the allocator: when its last reference goes, its per-use properties are
// cleared and it returns to the pool it came from.
#pragma once

#include <atomic>
#include <memory>

#include "platform/dshow/interfaces.h"
#include "platform/dshow/media_type.h"

class CMemAllocator;

class CMediaSample : public IMediaSample {
 public:
  CMediaSample(CMemAllocator* allocator, BYTE* buffer, LONG length);
  virtual ~CMediaSample();
  CMediaSample(const CMediaSample&) = delete;
  CMediaSample& operator=(const CMediaSample&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  // The last release hands the sample back to its allocator.
  ULONG Release() override;

  HRESULT GetPointer(BYTE** ppBuffer) override;
  LONG GetSize() override { return cbBuffer_; }
  // VFW_E_SAMPLE_TIME_NOT_SET without a start; VFW_S_NO_STOP_TIME with a
  // start only (the stop reported is start + 1).
  HRESULT GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
  // A null start clears both times; a null stop sets the start only.
  HRESULT SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
  HRESULT IsSyncPoint() override { return flag(kSyncPoint); }
  HRESULT SetSyncPoint(BOOL b) override { return setFlag(kSyncPoint, b); }
  HRESULT IsPreroll() override { return flag(kPreroll); }
  HRESULT SetPreroll(BOOL b) override { return setFlag(kPreroll, b); }
  LONG GetActualDataLength() override { return lActual_; }
  // VFW_E_BUFFER_OVERFLOW beyond the buffer's size or below zero.
  HRESULT SetActualDataLength(LONG length) override;
  // S_FALSE and null when the type did not change with this sample.
  HRESULT GetMediaType(AM_MEDIA_TYPE** ppMediaType) override;
  // Marks a type change carried by this sample; null removes the mark.
  HRESULT SetMediaType(AM_MEDIA_TYPE* pMediaType) override;
  HRESULT IsDiscontinuity() override { return flag(kDiscontinuity); }
  HRESULT SetDiscontinuity(BOOL b) override { return setFlag(kDiscontinuity, b); }
  HRESULT GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;
  HRESULT SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;

 private:
  friend class CMemAllocator;

  static constexpr DWORD kSyncPoint = 0x1;
  static constexpr DWORD kPreroll = 0x2;
  static constexpr DWORD kDiscontinuity = 0x4;
  static constexpr DWORD kTypeChanged = 0x8;
  static constexpr DWORD kTimeValid = 0x10;
  static constexpr DWORD kStopValid = 0x20;
  static constexpr DWORD kMediaTimeValid = 0x40;

  HRESULT flag(DWORD bit) const { return (flags_ & bit) ? S_OK : S_FALSE; }
  HRESULT setFlag(DWORD bit, BOOL on);
  // Called by the allocator when it hands the sample out.
  void takeFirstReference() { ref_.store(1, std::memory_order_relaxed); }

  CMemAllocator* const allocator_;
  BYTE* const buffer_;
  const LONG cbBuffer_;
  std::atomic<ULONG> ref_{0};
  LONG lActual_;
  DWORD flags_ = 0;
  REFERENCE_TIME start_ = 0;
  REFERENCE_TIME end_ = 0;
  LONGLONG mediaStart_ = 0;
  LONGLONG mediaEnd_ = 0;
  std::unique_ptr<CMediaType> mediaType_;
};
