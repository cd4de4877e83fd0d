// The camera's stand-in for the save-graph tests: one output pin with
// bottom-up RGB24 (or RGB32) DIB pictures whose content is known from the
// frame number, time-stamped 40 ms apart as the film source stamps them.
// It can announce a frame and, if asked, hold it until released.
#pragma once

#include <atomic>
#include <vector>

#include "platform/dshow/source.h"
#include "platform/dshow/source_stream.h"
#include "platform/kernel/event.h"

namespace kel::test {

struct SaveSourceConfig {
  LONG width = 64;
  LONG height = 48;
  WORD bitCount = 24;
  int frames = 10;            // negative: endless
  int announceAt = -1;        // sets `reached` before filling this frame
  bool holdAtAnnounce = false;  // and waits for `release`
  REFERENCE_TIME avgTimePerFrame = 400000;  // in the media type
  REFERENCE_TIME sampleDuration = 400000;   // between the samples' times
};

LONG saveImageSize(const SaveSourceConfig& config);
// Picture `number` as the pin delivers it: DIB rows, the bottom row first.
std::vector<BYTE> dibPicture(const SaveSourceConfig& config, int number);
// The same picture upright and packed as BGR24, the top row first.
std::vector<BYTE> uprightPicture(const SaveSourceConfig& config, int number);

class SaveStream final : public CSourceStream {
 public:
  SaveStream(HRESULT* phr, CSource* filter, const SaveSourceConfig& config);

  std::atomic<int> filled{0};
  plat::Event reached{plat::EventReset::Manual};
  plat::Event release{plat::EventReset::Manual};

 protected:
  HRESULT GetMediaType(CMediaType* pmt) override;
  HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  HRESULT OnThreadCreate() override;

 private:
  const SaveSourceConfig config_;
  int next_ = 0;  // streaming thread only
};

class SaveSource final : public CSource {
 public:
  static ComPtr<IBaseFilter> create(const SaveSourceConfig& config, SaveStream** pin = nullptr);

 private:
  explicit SaveSource(HRESULT* phr);
};

}  // namespace kel::test
