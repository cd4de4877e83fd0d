// A preview renderer that never gives a sample back until it is stopped,
// as a stalled screen would; it records what it was handed.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/input_pin.h"

namespace kel::test {

class HoldingSink final : public CBaseFilter {
 public:
  static ComPtr<IBaseFilter> create(HoldingSink** sink);

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;
  HRESULT Stop() override;

  // Called by the pin.
  void hold(IMediaSample* sample);

  std::atomic<int> received{0};
  std::atomic<int> timed{0};  // samples that carried a time stamp

 private:
  HoldingSink();

  CCritSec lock_;
  std::unique_ptr<CBaseInputPin> pin_;
  std::mutex heldLock_;
  std::vector<ComPtr<IMediaSample>> held_;
};

}  // namespace kel::test
