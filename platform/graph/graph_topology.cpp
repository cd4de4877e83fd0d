#include "platform/graph/graph_topology.h"

#include <algorithm>

namespace plat {

namespace {

ComPtr<IPin> peerOf(IPin* pin) {
  ComPtr<IPin> peer;
  if (FAILED(pin->ConnectedTo(peer.put()))) return nullptr;
  return peer;
}

class DownstreamOrder {
 public:
  explicit DownstreamOrder(const std::vector<ComPtr<IBaseFilter>>& filters) : filters_(filters) {}

  std::vector<ComPtr<IBaseFilter>> run() {
    for (const auto& f : filters_) visit(f.get());
    return std::move(order_);
  }

 private:
  bool member(IBaseFilter* f) const {
    return std::any_of(filters_.begin(), filters_.end(), [f](const auto& m) { return m.get() == f; });
  }

  void visit(IBaseFilter* filter) {
    if (std::find(seen_.begin(), seen_.end(), filter) != seen_.end()) return;
    seen_.push_back(filter);
    for (const auto& pin : pinsOf(filter)) {
      if (directionOf(pin.get()) != PINDIR_OUTPUT) continue;
      ComPtr<IPin> peer = peerOf(pin.get());
      if (!peer) continue;
      ComPtr<IBaseFilter> next = filterOfPin(peer.get());
      if (next && member(next.get())) visit(next.get());
    }
    order_.push_back(ComPtr<IBaseFilter>(filter));
  }

  const std::vector<ComPtr<IBaseFilter>>& filters_;
  std::vector<IBaseFilter*> seen_;
  std::vector<ComPtr<IBaseFilter>> order_;
};

}  // namespace

std::vector<ComPtr<IPin>> pinsOf(IBaseFilter* filter) {
  std::vector<ComPtr<IPin>> pins;
  ComPtr<IEnumPins> e;
  if (!filter || FAILED(filter->EnumPins(e.put())) || !e) return pins;
  IPin* pin = nullptr;
  while (e->Next(1, &pin, nullptr) == S_OK && pin) {
    pins.push_back(ComPtr<IPin>::attach(pin));
    pin = nullptr;
  }
  return pins;
}

ComPtr<IBaseFilter> filterOfPin(IPin* pin) {
  PIN_INFO info{};
  if (!pin || FAILED(pin->QueryPinInfo(&info))) return nullptr;
  return ComPtr<IBaseFilter>::attach(info.pFilter);
}

PIN_DIRECTION directionOf(IPin* pin) {
  PIN_DIRECTION dir = PINDIR_INPUT;
  pin->QueryDirection(&dir);
  return dir;
}

std::vector<ComPtr<IBaseFilter>> downstreamFirst(const std::vector<ComPtr<IBaseFilter>>& filters) {
  return DownstreamOrder(filters).run();
}

bool endsAStream(IBaseFilter* filter) {
  bool input = false;
  for (const auto& pin : pinsOf(filter)) {
    if (!peerOf(pin.get())) continue;
    if (directionOf(pin.get()) == PINDIR_OUTPUT) return false;
    input = true;
  }
  return input;
}

}  // namespace plat
