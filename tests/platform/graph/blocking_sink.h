// A filter whose input pin holds every sample until the filter is stopped,
// as a renderer waiting for its presentation time does. A graph that stops
// its source before this filter would wait forever for the source's
// streaming thread; the wait gives up after a long bound and says so.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/input_pin.h"
#include "platform/kernel/event.h"

namespace kel::test {

class BlockingSink final : public CBaseFilter {
 public:
  static ComPtr<IBaseFilter> create(BlockingSink** sink = nullptr);

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  HRESULT Stop() override;
  HRESULT Pause() override;

  // Waits in Receive until stopped; false when the bound ran out first.
  bool holdUntilStopped();

  plat::Event holding{plat::EventReset::Manual};
  std::atomic<bool> gaveUp{false};

 private:
  BlockingSink();

  CCritSec lock_;
  std::unique_ptr<CBaseInputPin> pin_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool stopped_ = true;
};

}  // namespace kel::test
