// A toy source and a recording sink in a fake graph, with their pins, and
// the state changes a graph would make (downstream filter first on start).
#pragma once

#include <gtest/gtest.h>

#include "platform/dshow/errors.h"
#include "tests/platform/dshow/fake_graph.h"
#include "tests/platform/dshow/recording_sink.h"
#include "tests/platform/dshow/toy_source.h"

namespace kel::test {

inline ComPtr<IPin> onlyPin(IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  EXPECT_EQ(filter->EnumPins(pins.put()), S_OK);
  ComPtr<IPin> pin;
  ULONG fetched = 0;
  EXPECT_EQ(pins->Next(1, pin.put(), &fetched), S_OK);
  return pin;
}

struct GraphFixture {
  GraphFixture(ToyConfig toyConfig = {}, SinkConfig sinkConfig = {})
      : graph(FakeGraph::create()),
        source(ToySource::create(std::move(toyConfig), &sourceModule, &stream)),
        sink(RecordingSink::create(std::move(sinkConfig), &sinkModule, &input)),
        out(onlyPin(source.get())),
        in(onlyPin(sink.get())) {
    graph->AddFilter(source.get(), u"Source");
    graph->AddFilter(sink.get(), u"Sink");
  }
  ~GraphFixture() {
    stop();
    input->releaseHeld();
    out->Disconnect();
    in->Disconnect();
    out = nullptr;
    in = nullptr;
    graph->clear();
  }

  HRESULT connect(const AM_MEDIA_TYPE* mt = nullptr) { return graph->ConnectDirect(out.get(), in.get(), mt); }
  void run() {
    ASSERT_EQ(sink->Run(0), S_OK);
    ASSERT_EQ(source->Run(0), S_OK);
  }
  // Upstream first unless told otherwise; both orders must end the stream.
  void stop(bool sinkFirst = false) {
    if (sinkFirst) {
      EXPECT_EQ(sink->Stop(), S_OK);
    }
    EXPECT_EQ(source->Stop(), S_OK);
    EXPECT_EQ(sink->Stop(), S_OK);
  }

  plat::ModuleRefCount sourceModule;
  plat::ModuleRefCount sinkModule;
  ComPtr<FakeGraph> graph;
  ToyStream* stream = nullptr;
  RecordingPin* input = nullptr;
  ComPtr<IBaseFilter> source;
  ComPtr<IBaseFilter> sink;
  ComPtr<IPin> out;
  ComPtr<IPin> in;
};

}  // namespace kel::test
