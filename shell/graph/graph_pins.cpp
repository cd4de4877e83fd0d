#include "shell/graph/graph_pins.h"

#include "shell/app/ComErr.h"

using COMERR::Check;

namespace GraphPins {

ComPtr<IPin> FindFreePin(IBaseFilter* filter, PIN_DIRECTION direction) {
  ComPtr<IEnumPins> pins;
  Check(filter->EnumPins(pins.put()));
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.put(), nullptr) == S_OK) {
    PIN_DIRECTION d{};
    Check(pin->QueryDirection(&d));
    ComPtr<IPin> peer;
    if (d == direction && FAILED(pin->ConnectedTo(peer.put()))) return pin;
  }
  Check(E_FAIL);
  return {};
}

void RemoveAllFilters(IFilterGraph* graph, IBaseFilter* keep) {
  ComPtr<IEnumFilters> filters;
  Check(graph->EnumFilters(filters.put()));
  ComPtr<IBaseFilter> filter;
  while (filters->Next(1, filter.put(), nullptr) == S_OK) {
    if (filter.get() == keep) continue;
    Check(graph->RemoveFilter(filter.get()));
    // The membership changed under the enumerator.
    filters->Reset();
  }
}

void DisconnectAll(IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  Check(filter->EnumPins(pins.put()));
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.put(), nullptr) == S_OK) {
    ComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(peer.put())) || !peer) continue;
    Check(peer->Disconnect());
    Check(pin->Disconnect());
  }
}

}  // namespace GraphPins
