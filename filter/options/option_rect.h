// IRectProperty over the input-window record of the catalogue (index 0).
#pragma once

#include "filter/options/module_count.h"
#include "filter/options/option_record.h"
#include "platform/com/cunknown.h"
#include "shared/property_interfaces.h"

namespace Options {

// Counting and lifetime as OptionScalar.
class OptionRect final : public IRectProperty, public CUnknown {
 public:
  explicit OptionRect(OptionRecord* record, plat::ModuleRefCount* module = moduleRefCount());

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT IsValid(LONG index) override;
  HRESULT GetValue(LONG* x, LONG* y, LONG* width, LONG* height) override;
  HRESULT SetValue(LONG x, LONG y, LONG width, LONG height) override;
  HRESULT GetMinValue(LONG* x, LONG* y, LONG* width, LONG* height) override;
  HRESULT GetMaxValue(LONG* x, LONG* y, LONG* width, LONG* height) override;
  HRESULT GetName(BSTR* name) override;
  HRESULT GetErrorDescription(BSTR* text) override;

 private:
  OptionRecord* record_;
};

}  // namespace Options
