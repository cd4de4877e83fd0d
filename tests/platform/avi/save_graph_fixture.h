// The save graph as the shell builds it, through the class registry:
// camera -> "SmartTee" -> [compressor] -> "AVIMux" -> "FileWriter", with
// "Renderer" on the tee's preview output.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/avi/save_interfaces.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/graph/graph_topology.h"
#include "platform/graph/vmr_interfaces.h"
#include "tests/platform/avi/save_source.h"
#include "tests/support/temp_env.h"

namespace kel::test {

struct Event3 {
  LONG code;
  LONG_PTR p1;
  LONG_PTR p2;
};

class SaveGraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(plat::registerStandardClasses(false), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, graph_.putVoid()), S_OK)
        << plat::lastCoCreateError();
    ASSERT_EQ(graph_.as(IID_IMediaControl, control_), S_OK);
    ASSERT_EQ(graph_.as(IID_IMediaEventEx, events_), S_OK);
  }

  void TearDown() override {
    if (control_) control_->Stop();
  }

  static ComPtr<IBaseFilter> create(const CLSID& clsid) {
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IBaseFilter, filter.putVoid()), S_OK)
        << plat::lastCoCreateError();
    return filter;
  }

  // The compressor of that friendly name, through the device enumerator.
  static ComPtr<IBaseFilter> compressorNamed(const std::u16string& name);

  static ComPtr<IPin> pin(IBaseFilter* filter, std::size_t index) {
    auto pins = plat::pinsOf(filter);
    return index < pins.size() ? pins[index] : nullptr;
  }

  // Builds the graph and names the file; `compressor` may be null.
  void build(const SaveSourceConfig& config, IBaseFilter* compressor, const std::filesystem::path& file,
             IBaseFilter* preview = nullptr);

  // Events until the run ends (EC_COMPLETE, EC_ERRORABORT, EC_USERABORT).
  Event3 waitForEnd();
  // Everything queued now.
  std::vector<Event3> queuedEvents();

  TempDir dir_;
  ScopedEnv env_{"KELORVO_REGISTRY", (dir_ / "registry").string()};
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IMediaControl> control_;
  ComPtr<IMediaEventEx> events_;
  ComPtr<IBaseFilter> source_, tee_, mux_, writer_, renderer_;
  SaveStream* stream_ = nullptr;
};

}  // namespace kel::test
