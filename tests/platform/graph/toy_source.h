// A source filter for the graph tests: one output pin offering one RGB
// video type of a small size, delivering numbered pictures whose bytes are
// known from the number, then ending the stream (or streaming endlessly).
#pragma once

#include <atomic>
#include <vector>

#include "platform/dshow/source.h"
#include "platform/dshow/source_stream.h"
#include "platform/kernel/event.h"

namespace kel::test {

struct ToyConfig {
  LONG width = 8;
  LONG height = 4;
  GUID subtype = MEDIASUBTYPE_RGB24;
  bool topDown = false;
  int frames = 3;     // negative: endless
  int failAt = -1;    // FillBuffer fails with E_FAIL at this frame
  LONG shortBy = 0;   // each sample carries this many bytes less than a picture
};

LONG toyImageSize(const ToyConfig& config);
CMediaType toyType(const ToyConfig& config);
// The bytes of picture `number`.
std::vector<BYTE> toyPicture(const ToyConfig& config, int number);

class ToyStream final : public CSourceStream {
 public:
  ToyStream(HRESULT* phr, CSource* filter, const ToyConfig& config);

  std::atomic<int> filled{0};
  // Set once the first picture of a run was filled.
  plat::Event streaming{plat::EventReset::Manual};

 protected:
  HRESULT GetMediaType(int iPosition, CMediaType* pmt) override;
  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  HRESULT OnThreadCreate() override;

 private:
  const ToyConfig config_;
  int next_ = 0;  // streaming thread only
};

class ToySource final : public CSource {
 public:
  // The filter with one reference, and its pin (owned by the filter).
  static ComPtr<IBaseFilter> create(const ToyConfig& config, ToyStream** pin = nullptr);

 private:
  explicit ToySource(HRESULT* phr);
};

}  // namespace kel::test
