#include "filter/options/option_enum.h"

#include "filter/options/name_table.h"
#include "platform/kernel/text_codec.h"

namespace Options {

OptionEnum::OptionEnum(OptionRecord* record, plat::ModuleRefCount* module)
    : CUnknown("OptionEnum", nullptr, module), record_(record) {}

HRESULT OptionEnum::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IEnumProperty) return GetInterface(static_cast<IEnumProperty*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT OptionEnum::IsValid(LONG) { return record_ ? S_OK : E_FAIL; }

HRESULT OptionEnum::GetItems(SAFEARRAY** table, LONG* count) {
  return MakeNameTable(record_->names, table, count);
}

HRESULT OptionEnum::GetValue(LONG* value) {
  if (!value) return E_POINTER;
  Enum::Value data;
  if (!record_->enumerated.Value(data)) return E_FAIL;
  *value = data.value;
  return S_OK;
}

HRESULT OptionEnum::SetValue(LONG value) { return record_->enumerated.SetValue({value}) ? S_OK : E_FAIL; }

HRESULT OptionEnum::GetName(BSTR* name) {
  if (!name) return E_POINTER;
  const KL3_HANDLE list = KelLib3ListGetStdList(2);
  if (list == 0) return E_FAIL;
  const char* text = nullptr;
  if (KelLib3ListGetString(&text, static_cast<std::int32_t>(record_->Id()), list) == 0 || !text) return E_FAIL;
  return MakeBstr(plat::cp1251ToUtf8(text), name);
}

HRESULT OptionEnum::GetItemName(LONG value, BSTR* text) { return NameOf(*record_, value, text); }

HRESULT OptionEnum::GetItemValue(BSTR text, LONG* value) { return IdOf(*record_, text, value); }

HRESULT OptionEnum::GetErrorDescription(BSTR* text) { return MakeBstr("OptionEnum:No implementation", text); }

}  // namespace Options
