// CGraph's creation and the set-up, input and preview topologies.
#include <gtest/gtest.h>

#include "platform/avi/device_enum.h"
#include "platform/com/class_registry.h"
#include "platform/com/co_create.h"
#include "platform/com/guid.h"
#include "platform/com/running_object_table.h"
#include "platform/com/standard_classes.h"
#include "platform/dshow/base_filter.h"
#include "platform/graph/video_renderer.h"
#include "shell/graph/Graph.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

using Names = std::vector<std::string>;

int graphsInRunningObjectTable() {
  int graphs = 0;
  for (const auto& name : plat::runningObjectNames()) graphs += name.rfind(u"!FilterGraph ", 0) == 0;
  return graphs;
}

bool graphInRunningObjectTable() { return graphsInRunningObjectTable() != 0; }

TEST(GraphCreate, MissingClassesAreListedInCheckOrderAndNothingIsCreated) {
  ShellHost host;
  auto registry = plat::ClassRegistry::user();
  // Removed out of check order, reported in it.
  ASSERT_EQ(registry.deleteTree("CLSID\\" + plat::guidToString(CLSID_SmartTee)), S_OK);
  ASSERT_EQ(registry.deleteTree("CLSID\\" + plat::guidToString(CLSID_VideoMixingRenderer)), S_OK);
  CGraph graph;
  EXPECT_FALSE(graph.Create());
  EXPECT_EQ(graph.GetLastErrorText(), "Классы не зарегестрированы:\nCLSID_VideoMixingRenderer\nCLSID_SmartTee\n");
  EXPECT_EQ(graph.Graph(), nullptr);
  EXPECT_FALSE(graphInRunningObjectTable());
}

TEST(GraphCreate, WithoutACameraGivesTheFiltersTextAndKeepsNoGraph) {
  ShellHost host({{std::string("KELLIB3_CAMERA"), std::string("absent")}});
  CGraph graph;
  EXPECT_FALSE(graph.Create());
  EXPECT_NE(graph.GetLastErrorText().find("Камера не обнаружена"), std::string::npos) << graph.GetLastErrorText();
  EXPECT_EQ(graph.Graph(), nullptr);
  EXPECT_FALSE(graphInRunningObjectTable());
  ComPtr<ICamera> camera;
  EXPECT_FALSE(graph.GetCamera(camera.put()));
  ComPtr<IScalarProperty> p;
  EXPECT_FALSE(graph.GetScalarProperty(0x400003, 0, p.put()));
  EXPECT_EQ(graph.GetLastErrorText(), "Не получен указатель на интерфейс ICamera");
}

IUnknown* refuseToCreate(IUnknown*, HRESULT* hr) {
  *hr = E_OUTOFMEMORY;
  return nullptr;
}

TEST(GraphCreate, AFailureAfterRegisteringLeavesNoEntryNoRestartAndARetryRegistersOnce) {
  ShellHost host;
  CGraph graph;
  // The renderer is made after the graph entered the table.
  plat::registerBuiltinClass(CLSID_VideoMixingRenderer, &refuseToCreate);
  const bool created = graph.Create();
  plat::registerBuiltinClass(CLSID_VideoMixingRenderer, &CVideoRenderer::CreateInstance);
  EXPECT_FALSE(created);
  EXPECT_EQ(graphsInRunningObjectTable(), 0);
  EXPECT_FALSE(graph.Restart());
  EXPECT_EQ(graph.GetLastErrorText(), "Граф не создан");

  ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText();
  EXPECT_EQ(graphsInRunningObjectTable(), 1);
  EXPECT_TRUE(graph.Destroy()) << graph.GetLastErrorText();
  EXPECT_EQ(graphsInRunningObjectTable(), 0);
}

TEST(GraphInput, ARefusedFrameCountFailsTheBuildWithTheCamerasReason) {
  // The frame count is the third scalar write since the library opened.
  ShellHost host({{std::string("KELLIB3_FAIL"), std::string("OptionSetScalar:3")}});
  BoxLog boxes;
  CGraph graph;
  ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText();
  EXPECT_FALSE(graph.BuildInputGraph(30));
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(graph.GetLastErrorText(), boxes.boxes()[0].text);
  EXPECT_NE(graph.GetLastErrorText().find("KelLib3OptionSetScalar"), std::string::npos) << graph.GetLastErrorText();
  graph.Destroy();
}

class GraphModes : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText(); }
  void TearDown() override { EXPECT_TRUE(graph.Destroy()) << graph.GetLastErrorText(); }
  ShellHost host{{{"KELLIB3_TIME_SCALE", std::string("1000")}}};
  CGraph graph;
};

TEST_F(GraphModes, CreateRegistersTheGraphUntilDestroy) {
  EXPECT_TRUE(graphInRunningObjectTable());
  EXPECT_TRUE(graph.Destroy());
  EXPECT_FALSE(graphInRunningObjectTable());
  EXPECT_TRUE(filterNames(graph.Graph()).empty());
}

TEST_F(GraphModes, EachModeHasCameraToRendererAndReplacesThePreviousTopology) {
  ASSERT_TRUE(graph.BuildSetupGraph()) << graph.GetLastErrorText();
  EXPECT_EQ(graphState(graph.Graph()), State_Running) << "the set-up graph runs at once";
  EXPECT_EQ(filterNames(graph.Graph()), (Names{"Camera", "Renderer"}));
  EXPECT_EQ(connections(graph.Graph()), (Names{"Camera->Renderer"}));

  // Built while running: stopped first, and not started again.
  ASSERT_TRUE(graph.BuildInputGraph(25)) << graph.GetLastErrorText();
  EXPECT_EQ(graphState(graph.Graph()), State_Stopped);
  EXPECT_EQ(connections(graph.Graph()), (Names{"Camera->Renderer"}));

  ASSERT_TRUE(graph.BuildPreviewGraph()) << graph.GetLastErrorText();
  EXPECT_EQ(graphState(graph.Graph()), State_Stopped);
  EXPECT_EQ(filterNames(graph.Graph()).size(), 2u);
  EXPECT_EQ(connections(graph.Graph()), (Names{"Camera->Renderer"}));
}

TEST_F(GraphModes, RestartReconnectsTheRendererAndRunsOnlyWhenItWasConnected) {
  // After creation the renderer is in no graph: nothing to restart.
  EXPECT_TRUE(graph.Restart()) << graph.GetLastErrorText();
  EXPECT_EQ(graphState(graph.Graph()), State_Stopped);

  ASSERT_TRUE(graph.BuildPreviewGraph());
  EXPECT_TRUE(graph.Restart()) << graph.GetLastErrorText();
  EXPECT_EQ(graphState(graph.Graph()), State_Running);
  EXPECT_EQ(connections(graph.Graph()), (Names{"Camera->Renderer"}));
}

TEST_F(GraphModes, WrappersReachTheCamerasProperties) {
  ComPtr<IScalarProperty> period;
  ASSERT_TRUE(graph.GetScalarProperty(0x400003, 0, period.put())) << graph.GetLastErrorText();
  ComPtr<IRectProperty> window;
  EXPECT_TRUE(graph.GetRectProperty(0x400006, window.put())) << graph.GetLastErrorText();
  ComPtr<IEnumProperty> unknown;
  EXPECT_FALSE(graph.GetEnumProperty(0x4000ff, unknown.put()));
  EXPECT_EQ(graph.GetLastErrorText().rfind("Код ошибки:-", 0), 0u) << graph.GetLastErrorText();
  ComPtr<IUnknown> seeking;
  EXPECT_TRUE(graph.GetSeeking(seeking.putVoid()));
}

// A filter without pins whose Stop fails while `refuse` is set, so the graph
// it is in cannot be stopped cleanly.
class StubbornFilter final : public CBaseFilter {
 public:
  static ComPtr<IBaseFilter> create(StubbornFilter** out) {
    auto* filter = new StubbornFilter;
    *out = filter;
    return ComPtr<IBaseFilter>(static_cast<IBaseFilter*>(filter));
  }
  int GetPinCount() override { return 0; }
  CBasePin* GetPin(int) override { return nullptr; }
  HRESULT Stop() override { return refuse ? E_FAIL : CBaseFilter::Stop(); }
  bool refuse = true;

 private:
  StubbornFilter()
      : CBaseFilter("Stubborn", nullptr, &lock_,
                    CLSID{0x6A1D3C52, 0x19E4, 0x4F07, {0x9B, 0x2E, 0x71, 0x0C, 0x5D, 0x48, 0x23, 0xAF}}) {}
  CCritSec lock_;
};

TEST_F(GraphModes, ABuildWhoseStopFailsIsRefusedAndKeepsTheRunningTopology) {
  ASSERT_TRUE(graph.BuildSetupGraph()) << graph.GetLastErrorText();
  StubbornFilter* stubborn = nullptr;
  const ComPtr<IBaseFilter> filter = StubbornFilter::create(&stubborn);
  ASSERT_EQ(graph.Graph()->AddFilter(filter.get(), u"Stubborn"), S_OK);

  EXPECT_FALSE(graph.BuildInputGraph(25));
  EXPECT_FALSE(graph.GetLastErrorText().empty());
  EXPECT_EQ(filterNames(graph.Graph()), (Names{"Camera", "Renderer", "Stubborn"}));
  EXPECT_EQ(connections(graph.Graph()), (Names{"Camera->Renderer"}));

  // Once the graph can stop, the same build goes through.
  stubborn->refuse = false;
  ASSERT_TRUE(graph.BuildInputGraph(25)) << graph.GetLastErrorText();
  EXPECT_EQ(filterNames(graph.Graph()), (Names{"Camera", "Renderer"}));
}

TEST_F(GraphModes, DestroyWhoseStopFailsStillRevokesTheEntryAndRemovesEveryFilter) {
  ASSERT_TRUE(graph.BuildSetupGraph()) << graph.GetLastErrorText();
  StubbornFilter* stubborn = nullptr;
  const ComPtr<IBaseFilter> filter = StubbornFilter::create(&stubborn);
  ASSERT_EQ(graph.Graph()->AddFilter(filter.get(), u"Stubborn"), S_OK);

  EXPECT_FALSE(graph.Destroy());
  EXPECT_EQ(graph.GetLastErrorText().rfind("Код ошибки:", 0), 0u) << graph.GetLastErrorText();
  EXPECT_FALSE(graphInRunningObjectTable());
  EXPECT_TRUE(filterNames(graph.Graph()).empty());
}

// A device enumerator whose compressor category is empty.
class EmptyDevices final : public CUnknown, public ICreateDevEnum {
 public:
  static IUnknown* Create(IUnknown* outer, HRESULT* hr) {
    *hr = S_OK;
    return (new EmptyDevices(outer))->GetNonDelegatingUnknown();
  }
  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_ICreateDevEnum) return GetInterface(static_cast<ICreateDevEnum*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
  }
  HRESULT CreateClassEnumerator(REFCLSID, IEnumMoniker** out, DWORD) override {
    *out = nullptr;
    return S_FALSE;
  }

 private:
  explicit EmptyDevices(IUnknown* outer) : CUnknown("EmptyDevices", outer) {}
};

TEST(GraphCompressors, TheBoxEndsWithoutCompressionAndHoldsOnlyThatWhenNoneFit) {
  ShellHost host;
  {
    CGraph graph;
    ASSERT_TRUE(graph.Create()) << graph.GetLastErrorText();
    std::vector<std::string> box{"stale"};
    ASSERT_TRUE(graph.FillCompressorList(box));
    ASSERT_GE(box.size(), 2u) << "the platform offers compressors";
    EXPECT_EQ(box.back(), "Без сжатия");
    EXPECT_EQ(box.front(), graph.Compressors().front().name);
    graph.Destroy();
  }
  plat::registerBuiltinClass(CLSID_SystemDeviceEnum, &EmptyDevices::Create);
  CGraph graph;
  const bool created = graph.Create();
  std::vector<std::string> box{"stale"};
  const bool filled = created && graph.FillCompressorList(box);
  graph.Destroy();
  plat::registerBuiltinClass(CLSID_SystemDeviceEnum, &CSystemDeviceEnum::CreateInstance);
  ASSERT_TRUE(filled) << graph.GetLastErrorText();
  EXPECT_EQ(box, (Names{"Без сжатия"}));
}

}  // namespace
}  // namespace kel::test
