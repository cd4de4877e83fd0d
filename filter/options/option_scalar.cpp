#include "filter/options/option_scalar.h"

#include "filter/options/name_table.h"

namespace Options {

OptionScalar::OptionScalar(OptionRecord* record, plat::ModuleRefCount* module)
    : CUnknown("OptionScalar", nullptr, module), record_(record) {}

HRESULT OptionScalar::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IScalarProperty) return GetInterface(static_cast<IScalarProperty*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT OptionScalar::IsValid(LONG) { return record_ ? S_OK : E_FAIL; }

HRESULT OptionScalar::GetUnits(SAFEARRAY** table, LONG* count) {
  return MakeNameTable(record_->names, table, count);
}

HRESULT OptionScalar::SetRelativeValue(LONG delta, UINT) {
  return record_->SetRelativeValue(delta, false) ? S_OK : E_FAIL;
}

HRESULT OptionScalar::GetValue(LONG* value, UINT unit) {
  if (!value) return E_POINTER;
  Scalar::Value data{0, unit};
  if (!record_->scalar.GetValue(data)) return E_FAIL;
  *value = data.value;
  return S_OK;
}

HRESULT OptionScalar::GetMinValue(LONG* value, UINT) {
  if (!value) return E_POINTER;
  Scalar::Value data;
  if (!record_->scalar.GetMinValue(data)) return E_FAIL;
  *value = data.value;
  return S_OK;
}

HRESULT OptionScalar::GetMaxValue(LONG* value, UINT) {
  if (!value) return E_POINTER;
  Scalar::Value data;
  if (!record_->scalar.GetMaxValue(data)) return E_FAIL;
  *value = data.value;
  return S_OK;
}

HRESULT OptionScalar::SetValueByUnitName(LONG value, BSTR unit) {
  LONG id = 0;
  if (FAILED(GetUnitId(unit, &id))) return E_FAIL;
  return SetValue(value, static_cast<UINT>(id));
}

HRESULT OptionScalar::SetValue(LONG value, UINT unit) {
  return record_->scalar.SetValue({value, unit}) ? S_OK : E_FAIL;
}

HRESULT OptionScalar::GetName(BSTR* name) { return MakeBstr(record_->Name(), name); }

HRESULT OptionScalar::GetUnitName(LONG unit, BSTR* name) { return NameOf(*record_, unit, name); }

HRESULT OptionScalar::GetUnitId(BSTR name, LONG* unit) { return IdOf(*record_, name, unit); }

HRESULT OptionScalar::GetErrorDescription(BSTR* text) {
  return MakeBstr("OptionScalar:No implementation", text);
}

}  // namespace Options
