// A private class registry with the capture module and the platform's
// standard classes registered, the virtual camera behind it.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/dshow/interfaces.h"
#include "tests/filter/capture/camera_host.h"

namespace kel::test {

class ShellHost : public CaptureHost {
 public:
  explicit ShellHost(std::vector<std::pair<std::string, std::string>> vars = {});
  ~ShellHost();
};

// The graph's filters by name, in enumeration order.
std::vector<std::string> filterNames(IFilterGraph* graph);
// "<filter>-><filter>" for every connected output pin of the graph.
std::vector<std::string> connections(IFilterGraph* graph);
std::string filterName(IBaseFilter* filter);
FILTER_STATE graphState(IFilterGraph* graph);

}  // namespace kel::test
