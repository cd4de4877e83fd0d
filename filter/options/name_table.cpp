#include "filter/options/name_table.h"

#include <string>

#include "platform/com/bstr_holder.h"
#include "platform/com/safearray_holder.h"
#include "platform/kernel/text_codec.h"

namespace Options {

HRESULT MakeBstr(std::string_view utf8, BSTR* out) {
  if (!out) return E_POINTER;
  const std::u16string wide = plat::utf8ToUtf16(utf8);
  BSTR b = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!b) return E_OUTOFMEMORY;
  *out = b;
  return S_OK;
}

std::string BstrToCp1251(BSTR text) {
  return plat::utf16ToCp1251(std::u16string_view(text ? text : u"", SysStringLen(text)));
}

HRESULT MakeNameTable(const std::vector<NameEntry>& names, SAFEARRAY** table, LONG* count) {
  if (!table) return E_POINTER;
  const SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(names.size()), 0}, {2, 0}};
  plat::SafeArrayPtr array(SafeArrayCreate(VT_VARIANT, 2, bounds));
  if (!array) return E_OUTOFMEMORY;
  LONG row = 0;
  for (const auto& entry : names) {
    BSTR text = nullptr;
    // A text that cannot be made leaves its row empty; the rows keep their places.
    if (SUCCEEDED(MakeBstr(entry.text, &text))) {
      plat::Bstr owned = plat::Bstr::attach(text);
      VARIANT v;
      VariantInit(&v);
      v.vt = VT_I4;
      v.lVal = entry.id;
      const LONG idAt[2] = {row, 0};
      HRESULT hr = SafeArrayPutElement(array.get(), idAt, &v);
      v.vt = VT_BSTR;
      v.bstrVal = owned.get();
      const LONG textAt[2] = {row, 1};
      if (SUCCEEDED(hr)) hr = SafeArrayPutElement(array.get(), textAt, &v);
      if (FAILED(hr)) return hr;
    }
    ++row;
  }
  *table = array.release();
  if (count) *count = static_cast<LONG>(names.size());
  return S_OK;
}

HRESULT NameOf(const OptionRecord& record, LONG id, BSTR* text) {
  if (!text) return E_POINTER;
  const NameEntry* e = record.FindName(id);
  if (!e) return E_FAIL;
  return MakeBstr(e->text, text);
}

HRESULT IdOf(const OptionRecord& record, BSTR text, LONG* id) {
  if (!id) return E_POINTER;
  const NameEntry* e = record.FindText(BstrToCp1251(text));
  if (!e) return E_FAIL;
  *id = e->id;
  return S_OK;
}

}  // namespace Options
