// Pin and membership helpers of the graph builder. Failures raise
// COMERR::CError<long>.
#pragma once
#include "platform/dshow/interfaces.h"
#include "platform/graph/graph_interfaces.h"

namespace GraphPins {

// The first pin of `filter` in `direction` that is not connected; E_FAIL
// when there is none.
ComPtr<IPin> FindFreePin(IBaseFilter* filter, PIN_DIRECTION direction);

// Removes every filter of `graph` except `keep` (which may be null).
void RemoveAllFilters(IFilterGraph* graph, IBaseFilter* keep);

// Disconnects every connected pin of `filter`: the peer, then the pin.
void DisconnectAll(IBaseFilter* filter);

}  // namespace GraphPins
