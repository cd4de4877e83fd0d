#include "platform/avi/smart_tee.h"

#include "platform/avi/smart_tee_pins.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"

namespace {

[[maybe_unused]] const bool registered = [] {
  plat::registerBuiltinClass(CLSID_SmartTee, &CSmartTee::CreateInstance);
  return true;
}();

}  // namespace

IUnknown* CSmartTee::CreateInstance(IUnknown* outer, HRESULT* phr) {
  HRESULT hr = S_OK;
  auto* tee = new CSmartTee(outer);
  tee->input_ = std::make_unique<CTeeInputPin>(tee, &tee->filterLock_, &hr);
  tee->capture_ = std::make_unique<CTeeOutputPin>(tee, &tee->filterLock_, &hr, CTeeOutputPin::Role::Capture);
  tee->preview_ = std::make_unique<CTeeOutputPin>(tee, &tee->filterLock_, &hr, CTeeOutputPin::Role::Preview);
  if (phr) *phr = hr;
  return tee->GetNonDelegatingUnknown();
}

CSmartTee::CSmartTee(IUnknown* outer) : CBaseFilter("CSmartTee", outer, &filterLock_, CLSID_SmartTee) {}

CSmartTee::~CSmartTee() = default;

CBasePin* CSmartTee::GetPin(int n) {
  switch (n) {
    case 0: return input_.get();
    case 1: return capture_.get();
    case 2: return preview_.get();
    default: return nullptr;
  }
}
