// VARIANT: a tagged value as automation passes it. The value owns what its
// tag says it owns (a BSTR, an interface reference, a SAFEARRAY) unless the
// tag carries VT_BYREF.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"
#include "platform/com/vartype.h"

struct SAFEARRAY;

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    BSTR bstrVal;
    IUnknown* punkVal;
    SAFEARRAY* parray;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    VARIANT* pvarVal;
    void* byref;
  };
};

using VARIANTARG = VARIANT;

// Makes the variant VT_EMPTY without looking at what it held.
void VariantInit(VARIANT* pvarg);
// Frees what the variant owns and makes it VT_EMPTY. E_INVALIDARG for null,
// DISP_E_BADVARTYPE (the variant left as it was) for an unknown tag.
HRESULT VariantClear(VARIANT* pvarg);
// Clears `dest`, then copies `src` into it: BSTRs and arrays are duplicated,
// interfaces get a reference. A `src` with an unknown tag is refused
// (DISP_E_BADVARTYPE) before `dest` is touched; a later failure (memory)
// leaves `dest` VT_EMPTY.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
