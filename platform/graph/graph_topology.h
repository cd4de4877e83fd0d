// How the filters of a graph hang together, read from their pins: the
// order in which state changes reach them and which of them end a stream.
#pragma once

#include <vector>

#include "platform/dshow/interfaces.h"

namespace plat {

// The filter's pins in order; empty when they cannot be enumerated.
std::vector<ComPtr<IPin>> pinsOf(IBaseFilter* filter);

// The filter that owns `pin`, or null.
ComPtr<IBaseFilter> filterOfPin(IPin* pin);

PIN_DIRECTION directionOf(IPin* pin);

// The same filters, each placed after every filter downstream of it, so
// that renderers come first and sources last. Filters not connected to one
// another keep their relative order.
std::vector<ComPtr<IBaseFilter>> downstreamFirst(const std::vector<ComPtr<IBaseFilter>>& filters);

// A filter where a stream ends: some input pin connected and no output pin
// connected. Each one sends EC_COMPLETE at the end of its stream.
bool endsAStream(IBaseFilter* filter);

}  // namespace plat
