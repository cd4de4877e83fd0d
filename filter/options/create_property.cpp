#include "filter/options/create_property.h"

#include <memory>
#include <new>

#include "filter/options/option_enum.h"
#include "filter/options/option_rect.h"
#include "filter/options/option_scalar.h"

namespace Options {
namespace {

std::unique_ptr<CUnknown> makeObject(Kind kind, OptionRecord* record) {
  switch (kind) {
    case Kind::Enum: return std::make_unique<OptionEnum>(record);
    case Kind::Rect: return std::make_unique<OptionRect>(record);
    case Kind::Scalar: break;
  }
  return std::make_unique<OptionScalar>(record);
}

}  // namespace

HRESULT createProperty(Catalogue* catalogue, Kind kind, std::uint32_t id, std::uint32_t index, REFIID iid,
                       void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  OptionRecord* record = catalogue ? catalogue->Find(id, index) : nullptr;
  if (!record) return E_NOINTERFACE;
  std::unique_ptr<CUnknown> object;
  try {
    object = makeObject(kind, record);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = object->NonDelegatingQueryInterface(iid, ppv);
  // On success the reference just taken owns the object; on failure its
  // count is still zero and it is ours to delete.
  if (SUCCEEDED(hr)) object.release();
  return hr;
}

}  // namespace Options
