#include "tests/shell/shell_host.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/com/standard_classes.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/kernel/text_codec.h"

namespace kel::test {

ShellHost::ShellHost(std::vector<std::pair<std::string, std::string>> vars) : CaptureHost(std::move(vars)) {
  EXPECT_EQ(plat::registerStandardClasses(false), S_OK);
}

ShellHost::~ShellHost() = default;

std::string filterName(IBaseFilter* filter) {
  FILTER_INFO info{};
  if (FAILED(filter->QueryFilterInfo(&info))) return "?";
  if (info.pGraph) info.pGraph->Release();
  const WCHAR* end = std::find(std::begin(info.achName), std::end(info.achName), u'\0');
  return plat::utf16ToUtf8({info.achName, static_cast<std::size_t>(end - info.achName)});
}

namespace {
std::vector<ComPtr<IBaseFilter>> filters(IFilterGraph* graph) {
  std::vector<ComPtr<IBaseFilter>> out;
  ComPtr<IEnumFilters> e;
  if (FAILED(graph->EnumFilters(e.put()))) return out;
  ComPtr<IBaseFilter> f;
  while (e->Next(1, f.put(), nullptr) == S_OK) out.push_back(f);
  return out;
}
}  // namespace

std::vector<std::string> filterNames(IFilterGraph* graph) {
  std::vector<std::string> names;
  for (const auto& f : filters(graph)) names.push_back(filterName(f.get()));
  return names;
}

std::vector<std::string> connections(IFilterGraph* graph) {
  std::vector<std::string> out;
  for (const auto& f : filters(graph)) {
    ComPtr<IEnumPins> pins;
    f->EnumPins(pins.put());
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.put(), nullptr) == S_OK) {
      PIN_DIRECTION dir{};
      ComPtr<IPin> peer;
      if (FAILED(pin->QueryDirection(&dir)) || dir != PINDIR_OUTPUT || FAILED(pin->ConnectedTo(peer.put()))) continue;
      PIN_INFO info{};
      peer->QueryPinInfo(&info);
      out.push_back(filterName(f.get()) + "->" + (info.pFilter ? filterName(info.pFilter) : "?"));
      if (info.pFilter) info.pFilter->Release();
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

FILTER_STATE graphState(IFilterGraph* graph) {
  ComPtr<IMediaControl> control;
  OAFilterState state = -1;
  if (SUCCEEDED(graph->QueryInterface(IID_IMediaControl, control.putVoid()))) control->GetState(0, &state);
  return static_cast<FILTER_STATE>(state);
}

}  // namespace kel::test
