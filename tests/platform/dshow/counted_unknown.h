// An IUnknown that only counts its references, to check who holds one.
#pragma once

#include <atomic>

#include "platform/com/unknown.h"

namespace kel::test {

class CountedUnknown final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  std::atomic<ULONG> refs{0};
};

}  // namespace kel::test
