// The camera interface's GetScalar / GetRect / GetEnum: a new property
// object bound to the catalogue record at (identifier, index).
#pragma once

#include <cstdint>

#include "filter/options/catalogue.h"
#include "platform/com/types.h"

namespace Options {

// `catalogue` is null when the camera system is not open. The record is
// found by address alone; `kind` only chooses the object made, so asking
// for the interface that matches the option's kind is the caller's part.
// E_POINTER for a null `ppv`; E_NOINTERFACE (and *ppv null) when there is
// no catalogue or record; E_OUTOFMEMORY; otherwise the QueryInterface
// result for `iid`.
HRESULT createProperty(Catalogue* catalogue, Kind kind, std::uint32_t id, std::uint32_t index, REFIID iid,
                       void** ppv);

}  // namespace Options
