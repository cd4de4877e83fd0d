// The smart tee (CLSID_SmartTee): one video input and two outputs,
// "Capture" and "Preview". The capture output passes on every sample as it
// came, time stamps included, without a copy. The preview output gets a
// copy without time stamps, so a renderer shows it at once. It never holds
// up the capture path: a copy is made only when the preview pin's own
// allocator has a buffer free at that moment (asked without waiting), and
// is dropped otherwise; what the preview's downstream answers is ignored.
#pragma once

#include <memory>

#include "platform/dshow/base_filter.h"

class CTeeInputPin;
class CTeeOutputPin;

class CSmartTee final : public CBaseFilter {
 public:
  static IUnknown* CreateInstance(IUnknown* outer, HRESULT* phr);
  ~CSmartTee() override;

  int GetPinCount() override { return 3; }
  CBasePin* GetPin(int n) override;

  CTeeInputPin* input() const { return input_.get(); }
  CTeeOutputPin* capture() const { return capture_.get(); }
  CTeeOutputPin* preview() const { return preview_.get(); }

 private:
  explicit CSmartTee(IUnknown* outer);

  CCritSec filterLock_;
  std::unique_ptr<CTeeInputPin> input_;
  std::unique_ptr<CTeeOutputPin> capture_;
  std::unique_ptr<CTeeOutputPin> preview_;
};
