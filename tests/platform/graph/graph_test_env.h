// The graph tests create the graph and the renderer by class identifier,
// through a temporary class registry holding the standard classes.
#pragma once

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/graph/graph_topology.h"
#include "platform/graph/vmr_interfaces.h"
#include "platform/kernel/event_handles.h"
#include "tests/platform/graph/toy_source.h"
#include "tests/support/temp_env.h"

namespace kel::test {

class GraphTest : public ::testing::Test {
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

  static ComPtr<IBaseFilter> makeRenderer(bool windowless = true) {
    ComPtr<IBaseFilter> renderer;
    EXPECT_EQ(CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_ALL, IID_IBaseFilter,
                               renderer.putVoid()),
              S_OK)
        << plat::lastCoCreateError();
    if (renderer && windowless) {
      ComPtr<IVMRFilterConfig> config;
      EXPECT_EQ(renderer.as(IID_IVMRFilterConfig, config), S_OK);
      EXPECT_EQ(config->SetRenderingMode(VMRMode_Windowless), S_OK);
    }
    return renderer;
  }

  static ComPtr<IPin> firstPin(IBaseFilter* filter) {
    auto pins = plat::pinsOf(filter);
    return pins.empty() ? nullptr : pins.front();
  }

  static ComPtr<IPin> peerOf(IPin* pin) {
    ComPtr<IPin> peer;
    pin->ConnectedTo(peer.put());
    return peer;
  }

  // A toy source and a windowless renderer, connected directly; pin_ is
  // the source's pin.
  ComPtr<IBaseFilter> build(const ToyConfig& config, const char16_t* sourceName = u"Source") {
    auto source = ToySource::create(config, &pin_);
    auto renderer = makeRenderer();
    EXPECT_EQ(graph_->AddFilter(source.get(), sourceName), S_OK);
    EXPECT_TRUE(SUCCEEDED(graph_->AddFilter(renderer.get(), u"Renderer")));
    EXPECT_EQ(graph_->ConnectDirect(pin_, firstPin(renderer.get()).get(), nullptr), S_OK);
    sources_.push_back(source);
    return renderer;
  }

  // The next event, waited for through the event handle first.
  std::tuple<LONG, LONG_PTR, LONG_PTR> nextEvent() {
    OAEVENT handle = 0;
    EXPECT_EQ(events_->GetEventHandle(&handle), S_OK);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(handle), INFINITE), WAIT_OBJECT_0);
    LONG code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    EXPECT_EQ(events_->GetEvent(&code, &p1, &p2, 0), S_OK);
    return {code, p1, p2};
  }

  TempDir dir_;
  ScopedEnv env_{"KELORVO_REGISTRY", (dir_ / "registry").string()};
  ComPtr<IGraphBuilder> graph_;
  ComPtr<IMediaControl> control_;
  ComPtr<IMediaEventEx> events_;
  ToyStream* pin_ = nullptr;
  std::vector<ComPtr<IBaseFilter>> sources_;
};

}  // namespace kel::test
