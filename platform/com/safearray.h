// SAFEARRAY: a multi-dimensional array with its own bounds per dimension,
// allocated by the platform library so that any module may free it.
//
// Dimensions are given to SafeArrayCreate left-most first, and index vectors
// name the left-most dimension first too; SafeArrayGetLBound(psa, 1) is the
// left-most dimension. As on the original platform, the `rgsabound` member of
// the struct holds the bounds in the reverse order (right-most first), and
// the data is laid out with the left-most index varying fastest.
#pragma once

#include "platform/com/variant.h"

struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};

struct SAFEARRAY {
  USHORT cDims;
  USHORT fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  void* pvData;
  SAFEARRAYBOUND rgsabound[1];
};

inline constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
inline constexpr USHORT FADF_BSTR = 0x0100;
inline constexpr USHORT FADF_UNKNOWN = 0x0200;
inline constexpr USHORT FADF_VARIANT = 0x0800;

// Elements start zeroed (empty variants, null strings and interfaces).
// Null when the element type is not one an array can hold, cDims is 0, the
// bounds are missing, an upper bound would not fit a LONG, or memory runs out.
// A dimension of zero elements is allowed.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound);
// Frees every element and the array. Null is allowed.
HRESULT SafeArrayDestroy(SAFEARRAY* psa);
// Deep copy; a null source gives a null copy.
HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);

// `pv` points to the value: a VARIANT for VT_VARIANT arrays, the BSTR or
// IUnknown* itself for those types, the number for plain types. The element
// gets its own copy.
HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv);
// Copies the element out into `pv` (VARIANT*, BSTR*, IUnknown**, or the
// number's storage); what `pv` held before is overwritten, not freed. The
// caller owns the copy.
HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv);

UINT SafeArrayGetDim(SAFEARRAY* psa);
UINT SafeArrayGetElemsize(SAFEARRAY* psa);
// nDim counts from 1 (left-most). DISP_E_BADINDEX for a dimension that does
// not exist. The upper bound of an empty dimension is its lower bound - 1.
HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);
HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
