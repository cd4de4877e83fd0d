// IScalarProperty over one option record of the catalogue.
#pragma once

#include "filter/options/module_count.h"
#include "filter/options/option_record.h"
#include "platform/com/cunknown.h"
#include "shared/property_interfaces.h"

namespace Options {

// Made with a count of zero: the QueryInterface that hands it out takes the
// first reference, the last Release deletes it. The record belongs to the
// camera system and outlives the object while the system is open.
class OptionScalar final : public IScalarProperty, public CUnknown {
 public:
  explicit OptionScalar(OptionRecord* record, plat::ModuleRefCount* module = moduleRefCount());

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT IsValid(LONG index) override;
  HRESULT GetUnits(SAFEARRAY** table, LONG* count) override;
  HRESULT SetRelativeValue(LONG delta, UINT unused) override;
  HRESULT GetValue(LONG* value, UINT unit) override;
  HRESULT GetMinValue(LONG* value, UINT unused) override;
  HRESULT GetMaxValue(LONG* value, UINT unused) override;
  HRESULT SetValueByUnitName(LONG value, BSTR unit) override;
  HRESULT SetValue(LONG value, UINT unit) override;
  HRESULT GetName(BSTR* name) override;
  HRESULT GetUnitName(LONG unit, BSTR* name) override;
  HRESULT GetUnitId(BSTR name, LONG* unit) override;
  HRESULT GetErrorDescription(BSTR* text) override;

 private:
  OptionRecord* record_;
};

}  // namespace Options
