#include "platform/com/vartype.h"

namespace plat {

std::size_t plainTypeSize(VARTYPE vt) {
  switch (vt) {
    case VT_UI1: return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: return 2;
    case VT_I4:
    case VT_UI4:
    case VT_R4:
    case VT_INT:
    case VT_UINT: return 4;
    case VT_R8:
    case VT_I8:
    case VT_UI8: return 8;
    default: return 0;
  }
}

bool isArrayElementType(VARTYPE vt) {
  return vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_VARIANT || plainTypeSize(vt) != 0;
}

bool isVariantType(VARTYPE vt) {
  const VARTYPE base = vt & VT_TYPEMASK;
  const VARTYPE flags = vt & ~VT_TYPEMASK;
  if (flags == 0) {
    return base == VT_EMPTY || base == VT_NULL || base == VT_BSTR || base == VT_UNKNOWN ||
           plainTypeSize(base) != 0;
  }
  if (flags == VT_ARRAY || flags == (VT_ARRAY | VT_BYREF)) return isArrayElementType(base);
  if (flags == VT_BYREF) return isArrayElementType(base);
  return false;
}

}  // namespace plat
