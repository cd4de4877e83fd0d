// What the property objects hand across the COM boundary: texts as BSTR and
// an option's names as a two-column SAFEARRAY of VARIANT.
#pragma once

#include <string_view>
#include <vector>

#include "filter/options/option_record.h"
#include "platform/com/safearray.h"

namespace Options {

// UTF-8 -> new BSTR in *out. E_POINTER, E_OUTOFMEMORY.
HRESULT MakeBstr(std::string_view utf8, BSTR* out);

// The BSTR in code page 1251, the way option texts are compared; a null BSTR
// is the empty text.
std::string BstrToCp1251(BSTR text);

// Rows (identifier VT_I4, text VT_BSTR), bounds (count, 0) x (2, 0). The
// caller owns *table; `count` may be null. E_POINTER, E_OUTOFMEMORY.
HRESULT MakeNameTable(const std::vector<NameEntry>& names, SAFEARRAY** table, LONG* count);

// Text of the first entry with `id`; E_FAIL (output untouched) when none.
HRESULT NameOf(const OptionRecord& record, LONG id, BSTR* text);
// Identifier of the first entry with this text; E_FAIL (output untouched)
// when none.
HRESULT IdOf(const OptionRecord& record, BSTR text, LONG* id);

}  // namespace Options
