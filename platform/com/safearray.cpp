#include "platform/com/safearray.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

namespace {

// The element type lives just before the struct, where the struct has no
// member for it.
struct Prefix {
  VARTYPE vt;
};
constexpr std::size_t kPrefixSize = alignof(std::max_align_t);
static_assert(sizeof(Prefix) <= kPrefixSize);

unsigned char* blockOf(SAFEARRAY* psa) { return reinterpret_cast<unsigned char*>(psa) - kPrefixSize; }

VARTYPE elementType(SAFEARRAY* psa) {
  Prefix prefix;
  std::memcpy(&prefix, blockOf(psa), sizeof prefix);
  return prefix.vt;
}

// Bounds as the caller names them: dimension 0 is the left-most.
SAFEARRAYBOUND& boundOf(SAFEARRAY* psa, UINT dim) {
  SAFEARRAYBOUND* stored = psa->rgsabound;
  return stored[psa->cDims - 1 - dim];
}

std::size_t elementSize(VARTYPE vt) {
  switch (vt) {
    case VT_VARIANT: return sizeof(VARIANT);
    case VT_BSTR: return sizeof(BSTR);
    case VT_UNKNOWN: return sizeof(IUnknown*);
    default: return plat::plainTypeSize(vt);
  }
}

USHORT featuresOf(VARTYPE vt) {
  switch (vt) {
    case VT_VARIANT: return FADF_HAVEVARTYPE | FADF_VARIANT;
    case VT_BSTR: return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_UNKNOWN: return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    default: return FADF_HAVEVARTYPE;
  }
}

std::size_t elementCount(SAFEARRAY* psa) {
  std::size_t total = 1;
  for (UINT d = 0; d < psa->cDims; ++d) total *= boundOf(psa, d).cElements;
  return total;
}

// Position of the element in the data, left-most index varying fastest.
std::optional<std::size_t> linearIndex(SAFEARRAY* psa, const LONG* indices) {
  std::size_t linear = 0;
  std::size_t stride = 1;
  for (UINT d = 0; d < psa->cDims; ++d) {
    const SAFEARRAYBOUND& b = boundOf(psa, d);
    const std::int64_t offset = std::int64_t{indices[d]} - b.lLbound;
    if (offset < 0 || offset >= std::int64_t{b.cElements}) return std::nullopt;
    linear += static_cast<std::size_t>(offset) * stride;
    stride *= b.cElements;
  }
  return linear;
}

void* slotAt(SAFEARRAY* psa, std::size_t linear) {
  return static_cast<unsigned char*>(psa->pvData) + linear * psa->cbElements;
}

// What SafeArrayPutElement would be given for the element in `slot`.
const void* valueIn(VARTYPE vt, void* slot) {
  if (vt == VT_BSTR) return *static_cast<BSTR*>(slot);
  if (vt == VT_UNKNOWN) return *static_cast<IUnknown**>(slot);
  return slot;
}

BSTR copyString(BSTR src) { return src ? SysAllocStringLen(src, SysStringLen(src)) : nullptr; }

// Stores a copy of the value at `pv` in the slot, releasing what was there.
// The slot is untouched when the copy fails.
HRESULT storeCopy(VARTYPE vt, std::size_t size, void* slot, const void* pv) {
  switch (vt) {
    case VT_VARIANT: {
      if (!pv) return E_INVALIDARG;
      VARIANT copy;
      VariantInit(&copy);
      const HRESULT hr = VariantCopy(&copy, static_cast<const VARIANT*>(pv));
      if (FAILED(hr)) return hr;
      const HRESULT cleared = VariantClear(static_cast<VARIANT*>(slot));
      if (FAILED(cleared)) {
        VariantClear(&copy);
        return cleared;
      }
      std::memcpy(slot, &copy, sizeof copy);
      return S_OK;
    }
    case VT_BSTR: {
      BSTR src = static_cast<BSTR>(const_cast<void*>(pv));
      BSTR copy = copyString(src);
      if (src && !copy) return E_OUTOFMEMORY;
      SysFreeString(*static_cast<BSTR*>(slot));
      *static_cast<BSTR*>(slot) = copy;
      return S_OK;
    }
    case VT_UNKNOWN: {
      auto* unk = static_cast<IUnknown*>(const_cast<void*>(pv));
      if (unk) unk->AddRef();
      if (IUnknown* old = *static_cast<IUnknown**>(slot)) old->Release();
      *static_cast<IUnknown**>(slot) = unk;
      return S_OK;
    }
    default:
      if (!pv) return E_INVALIDARG;
      std::memcpy(slot, pv, size);
      return S_OK;
  }
}

HRESULT loadCopy(VARTYPE vt, std::size_t size, const void* slot, void* pv) {
  switch (vt) {
    case VT_VARIANT:
      VariantInit(static_cast<VARIANT*>(pv));
      return VariantCopy(static_cast<VARIANT*>(pv), static_cast<const VARIANT*>(slot));
    case VT_BSTR: {
      BSTR src = *static_cast<const BSTR*>(slot);
      BSTR copy = copyString(src);
      if (src && !copy) return E_OUTOFMEMORY;
      *static_cast<BSTR*>(pv) = copy;
      return S_OK;
    }
    case VT_UNKNOWN: {
      IUnknown* unk = *static_cast<IUnknown* const*>(slot);
      if (unk) unk->AddRef();
      *static_cast<IUnknown**>(pv) = unk;
      return S_OK;
    }
    default:
      std::memcpy(pv, slot, size);
      return S_OK;
  }
}

HRESULT clearSlot(VARTYPE vt, void* slot) {
  HRESULT hr = S_OK;
  switch (vt) {
    case VT_VARIANT: hr = VariantClear(static_cast<VARIANT*>(slot)); break;
    case VT_BSTR: SysFreeString(*static_cast<BSTR*>(slot)); break;
    case VT_UNKNOWN:
      if (IUnknown* unk = *static_cast<IUnknown**>(slot)) unk->Release();
      break;
    default: break;
  }
  if (SUCCEEDED(hr)) std::memset(slot, 0, elementSize(vt));
  return hr;
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* rgsabound) {
  if (!plat::isArrayElementType(vt) || cDims == 0 || !rgsabound ||
      cDims > std::numeric_limits<USHORT>::max()) {
    return nullptr;
  }
  const std::size_t size = elementSize(vt);
  std::size_t total = 1;
  for (UINT d = 0; d < cDims; ++d) {
    const SAFEARRAYBOUND& b = rgsabound[d];
    // Both bounds must be representable, including lbound - 1 for an empty one.
    const std::int64_t upper = std::int64_t{b.lLbound} + b.cElements - 1;
    if (upper > std::numeric_limits<LONG>::max() || upper < std::numeric_limits<LONG>::min()) {
      return nullptr;
    }
    if (b.cElements != 0 && total > std::numeric_limits<std::size_t>::max() / size / b.cElements) {
      return nullptr;
    }
    total *= b.cElements;
  }

  const std::size_t headerBytes = kPrefixSize + sizeof(SAFEARRAY) + (cDims - 1) * sizeof(SAFEARRAYBOUND);
  auto* block = static_cast<unsigned char*>(std::calloc(1, headerBytes));
  if (!block) return nullptr;
  void* data = nullptr;
  if (total != 0) {
    data = std::calloc(total, size);
    if (!data) {
      std::free(block);
      return nullptr;
    }
  }
  const Prefix prefix{vt};
  std::memcpy(block, &prefix, sizeof prefix);
  auto* psa = reinterpret_cast<SAFEARRAY*>(block + kPrefixSize);
  psa->cDims = static_cast<USHORT>(cDims);
  psa->fFeatures = featuresOf(vt);
  psa->cbElements = static_cast<ULONG>(size);
  psa->cLocks = 0;
  psa->pvData = data;
  for (UINT d = 0; d < cDims; ++d) boundOf(psa, d) = rgsabound[d];
  return psa;
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  const VARTYPE vt = elementType(psa);
  HRESULT result = S_OK;
  if (psa->pvData) {
    const std::size_t total = elementCount(psa);
    for (std::size_t i = 0; i < total; ++i) {
      const HRESULT hr = clearSlot(vt, slotAt(psa, i));
      if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
  }
  std::free(psa->pvData);
  std::free(blockOf(psa));
  return result;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut) {
  if (!ppsaOut) return E_INVALIDARG;
  *ppsaOut = nullptr;
  if (!psa) return S_OK;
  const VARTYPE vt = elementType(psa);
  SAFEARRAYBOUND* stored = psa->rgsabound;
  // The stored bounds are right-most first; creation wants left-most first.
  auto bounds = std::make_unique_for_overwrite<SAFEARRAYBOUND[]>(psa->cDims);
  for (UINT d = 0; d < psa->cDims; ++d) bounds[d] = stored[psa->cDims - 1 - d];
  SAFEARRAY* copy = SafeArrayCreate(vt, psa->cDims, bounds.get());
  if (!copy) return E_OUTOFMEMORY;
  const std::size_t total = elementCount(psa);
  for (std::size_t i = 0; i < total; ++i) {
    const HRESULT hr = storeCopy(vt, copy->cbElements, slotAt(copy, i), valueIn(vt, slotAt(psa, i)));
    if (FAILED(hr)) {
      SafeArrayDestroy(copy);
      return hr;
    }
  }
  *ppsaOut = copy;
  return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv) {
  if (!psa || !rgIndices) return E_INVALIDARG;
  const auto linear = linearIndex(psa, rgIndices);
  if (!linear) return DISP_E_BADINDEX;
  return storeCopy(elementType(psa), psa->cbElements, slotAt(psa, *linear), pv);
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv) {
  if (!psa || !rgIndices || !pv) return E_INVALIDARG;
  const auto linear = linearIndex(psa, rgIndices);
  if (!linear) return DISP_E_BADINDEX;
  return loadCopy(elementType(psa), psa->cbElements, slotAt(psa, *linear), pv);
}

UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa ? psa->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa ? psa->cbElements : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
  if (!psa || !plLbound) return E_INVALIDARG;
  if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
  *plLbound = boundOf(psa, nDim - 1).lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
  if (!psa || !plUbound) return E_INVALIDARG;
  if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
  const SAFEARRAYBOUND& b = boundOf(psa, nDim - 1);
  *plUbound = static_cast<LONG>(std::int64_t{b.lLbound} + b.cElements - 1);
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
  if (!psa || !pvt) return E_INVALIDARG;
  *pvt = elementType(psa);
  return S_OK;
}
