// A source filter for the tests: one output pin offering 64x48 video in the
// configured subtypes, delivering numbered frames (the number in the first
// four bytes) with time stamps one frame apart, then ending the stream.
#pragma once

#include <atomic>
#include <vector>

#include "platform/dshow/source.h"
#include "platform/dshow/source_stream.h"
#include "platform/win/types.h"

namespace kel::test {

inline constexpr LONG kToyWidth = 64;
inline constexpr LONG kToyHeight = 48;
inline constexpr REFERENCE_TIME kToyFrameTime = UNITS / 25;

struct ToyConfig {
  int frames = 5;     // negative: endless
  int failAt = -1;    // frame at which FillBuffer fails with E_FAIL
  bool throwAt = false;  // at failAt, throw instead of failing
  bool failThreadCreate = false;
  std::vector<GUID> subtypes{MEDIASUBTYPE_RGB24};
  LONG minBuffers = 2;
  // Sent WM_APP from the streaming thread when streaming starts (wParam 1)
  // and when the thread ends (wParam 2).
  HWND sendTo = nullptr;
};

// A video type of the toy size for an RGB subtype.
CMediaType toyVideoType(const GUID& subtype);

class ToyStream : public CSourceStream {
 public:
  ToyStream(HRESULT* phr, CSource* filter, ToyConfig config);

  std::atomic<int> threadCreates{0};
  std::atomic<int> threadDestroys{0};

 protected:
  HRESULT GetMediaType(int iPosition, CMediaType* pmt) override;
  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  HRESULT OnThreadCreate() override;
  HRESULT OnThreadDestroy() override;
  HRESULT OnThreadStartPlay() override;

 private:
  const ToyConfig config_;
  int next_ = 0;  // streaming thread only
};

class ToySource : public CSource {
 public:
  // The filter with one reference, and its pin.
  static ComPtr<IBaseFilter> create(ToyConfig config, plat::ModuleRefCount* module, ToyStream** pin = nullptr);

 private:
  ToySource(HRESULT* phr, plat::ModuleRefCount* module);
};

}  // namespace kel::test
