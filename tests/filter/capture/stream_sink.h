// A filter taking the camera's data-header stream type, which the video
// renderer refuses: it keeps the size of every sample it receives.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/input_pin.h"
#include "platform/kernel/event.h"

namespace kel::test {

class StreamSink final : public CBaseFilter {
 public:
  static ComPtr<IBaseFilter> create(StreamSink** sink);

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  IPin* input() const;

  void received(LONG size);
  std::vector<LONG> sizes() const;
  // Set by the first sample.
  plat::Event first{plat::EventReset::Manual};

 private:
  StreamSink();

  CCritSec lock_;
  std::unique_ptr<CBaseInputPin> pin_;
  mutable std::mutex mutex_;
  std::vector<LONG> sizes_;
};

}  // namespace kel::test
