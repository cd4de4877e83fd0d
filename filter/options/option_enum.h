// IEnumProperty over one option record of the catalogue (always index 0).
#pragma once

#include "filter/options/module_count.h"
#include "filter/options/option_record.h"
#include "platform/com/cunknown.h"
#include "shared/property_interfaces.h"

namespace Options {

// Counting and lifetime as OptionScalar.
class OptionEnum final : public IEnumProperty, public CUnknown {
 public:
  explicit OptionEnum(OptionRecord* record, plat::ModuleRefCount* module = moduleRefCount());

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT IsValid(LONG index) override;
  HRESULT GetItems(SAFEARRAY** table, LONG* count) override;
  HRESULT GetValue(LONG* value) override;
  HRESULT SetValue(LONG value) override;
  // Looked up in the library's option list at call time.
  HRESULT GetName(BSTR* name) override;
  HRESULT GetItemName(LONG value, BSTR* text) override;
  HRESULT GetItemValue(BSTR text, LONG* value) override;
  HRESULT GetErrorDescription(BSTR* text) override;

 private:
  OptionRecord* record_;
};

}  // namespace Options
