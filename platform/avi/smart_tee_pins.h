// The smart tee's pins. The outputs offer and accept exactly the type the
// input was connected with.
#pragma once

#include <atomic>

#include "platform/dshow/input_pin.h"
#include "platform/dshow/output_pin.h"

class CSmartTee;

class CTeeInputPin final : public CBaseInputPin {
 public:
  CTeeInputPin(CSmartTee* tee, CCritSec* lock, HRESULT* phr);

  // Any video type; the outputs' peers decide whether they can take it.
  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT Receive(IMediaSample* pSample) override;
  HRESULT EndOfStream() override;
  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;

 private:
  CSmartTee* const tee_;
};

class CTeeOutputPin final : public CBaseOutputPin {
 public:
  enum class Role { Capture, Preview };
  CTeeOutputPin(CSmartTee* tee, CCritSec* lock, HRESULT* phr, Role role);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetMediaType(int iPosition, CMediaType* pmt) override;
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) override;
  // The capture pin passes on the samples it is given, so its allocator is
  // never committed.
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Capture: the sample itself. Preview: a copy without times, or nothing
  // when no buffer is free; always S_OK.
  HRESULT send(IMediaSample* sample);

  // Preview samples dropped for want of a free buffer, since creation.
  long dropped() const { return dropped_.load(); }

 private:
  HRESULT sendCopy(IMediaSample* sample);

  CSmartTee* const tee_;
  const Role role_;
  std::atomic<long> dropped_{0};
};
