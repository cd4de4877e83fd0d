#include "platform/com/name_table.h"

#include "platform/com/safearray_holder.h"
#include "platform/com/variant.h"
#include "platform/kernel/text_codec.h"

namespace plat {

NameTable ReadNameTable(SAFEARRAY* raw) {
  SafeArrayPtr table(raw);
  NameTable rows;
  LONG upper = -1;
  if (!table || FAILED(SafeArrayGetUBound(table.get(), 1, &upper))) return rows;
  for (LONG row = 0; row <= upper; ++row) {
    VARIANT id, text;
    VariantInit(&id);
    VariantInit(&text);
    const LONG idAt[2] = {row, 0};
    const LONG textAt[2] = {row, 1};
    if (SUCCEEDED(SafeArrayGetElement(table.get(), idAt, &id)) &&
        SUCCEEDED(SafeArrayGetElement(table.get(), textAt, &text)) && id.vt == VT_I4 && text.vt == VT_BSTR)
      rows.emplace_back(id.lVal, utf16ToUtf8({text.bstrVal ? text.bstrVal : u"", SysStringLen(text.bstrVal)}));
    VariantClear(&id);
    VariantClear(&text);
  }
  return rows;
}

}  // namespace plat
