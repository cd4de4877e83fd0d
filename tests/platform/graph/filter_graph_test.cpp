// Adding, finding, enumerating, connecting and removing filters, and who
// holds whom.
#include "platform/dshow/errors.h"
#include "tests/platform/graph/graph_test_env.h"
#include "tests/platform/graph/toy_source.h"

namespace kel::test {
namespace {

std::u16string nameOf(IBaseFilter* filter) {
  FILTER_INFO info{};
  EXPECT_EQ(filter->QueryFilterInfo(&info), S_OK);
  if (info.pGraph) info.pGraph->Release();
  return info.achName;
}

ComPtr<IFilterGraph> graphOf(IBaseFilter* filter) {
  FILTER_INFO info{};
  filter->QueryFilterInfo(&info);
  return ComPtr<IFilterGraph>::attach(info.pGraph);
}

// The references held on an object besides the caller's own.
ULONG countOf(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

using FilterGraphTest = GraphTest;

TEST_F(FilterGraphTest, DuplicateNamesAreSuffixedAndFoundByName) {
  auto first = makeRenderer();
  auto second = makeRenderer();
  auto third = makeRenderer();
  EXPECT_EQ(graph_->AddFilter(first.get(), u"Renderer"), S_OK);
  EXPECT_EQ(graph_->AddFilter(second.get(), u"Renderer"), VFW_S_DUPLICATE_NAME);
  EXPECT_EQ(graph_->AddFilter(third.get(), nullptr), S_OK);
  EXPECT_EQ(nameOf(second.get()), u"Renderer 0001");
  EXPECT_EQ(nameOf(third.get()), u"Filter");
  EXPECT_EQ(graph_->AddFilter(first.get(), u"Again"), E_INVALIDARG) << "already in the graph";

  ComPtr<IBaseFilter> found;
  ASSERT_EQ(graph_->FindFilterByName(u"Renderer 0001", found.put()), S_OK);
  EXPECT_EQ(found.get(), second.get());
  EXPECT_EQ(graph_->FindFilterByName(u"Camera", found.put()), VFW_E_NOT_FOUND);
  EXPECT_FALSE(found);
}

TEST_F(FilterGraphTest, EnumerationListsTheFiltersAndNoticesChanges) {
  auto a = makeRenderer();
  auto b = ToySource::create(ToyConfig{});
  graph_->AddFilter(a.get(), u"A");
  graph_->AddFilter(b.get(), u"B");

  ComPtr<IEnumFilters> e;
  ASSERT_EQ(graph_->EnumFilters(e.put()), S_OK);
  IBaseFilter* got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(e->Next(3, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(got[0], a.get());
  EXPECT_EQ(got[1], b.get());
  for (ULONG i = 0; i < fetched; ++i) got[i]->Release();

  ASSERT_EQ(graph_->RemoveFilter(a.get()), S_OK);
  IBaseFilter* next = nullptr;
  EXPECT_EQ(e->Reset(), S_OK);
  ComPtr<IEnumFilters> stale;
  ASSERT_EQ(graph_->EnumFilters(stale.put()), S_OK);
  graph_->AddFilter(a.get(), u"A");
  EXPECT_EQ(stale->Next(1, &next, nullptr), VFW_E_ENUM_OUT_OF_SYNC);
  EXPECT_EQ(stale->Reset(), S_OK);
  EXPECT_EQ(stale->Skip(1), S_OK);
  ASSERT_EQ(stale->Next(1, &next, nullptr), S_OK);
  EXPECT_EQ(next, a.get()) << "a filter added again comes last";
  next->Release();
}

TEST_F(FilterGraphTest, ConnectionsNeedPinsOfThisGraphFacingEachOther) {
  ToyStream* out = nullptr;
  auto source = ToySource::create(ToyConfig{}, &out);
  auto renderer = makeRenderer();
  auto in = firstPin(renderer.get());
  graph_->AddFilter(source.get(), u"Source");
  EXPECT_EQ(graph_->ConnectDirect(out, in.get(), nullptr), VFW_E_NOT_IN_GRAPH);
  graph_->AddFilter(renderer.get(), u"Renderer");
  EXPECT_EQ(graph_->ConnectDirect(in.get(), out, nullptr), VFW_E_INVALID_DIRECTION);
  EXPECT_EQ(graph_->Connect(out, in.get()), S_OK);
  EXPECT_EQ(peerOf(in.get()).get(), static_cast<IPin*>(out));

  EXPECT_EQ(graph_->Connect(out, in.get()), VFW_E_ALREADY_CONNECTED);
  EXPECT_EQ(graph_->Disconnect(in.get()), S_OK);
  EXPECT_FALSE(peerOf(in.get()));
  EXPECT_TRUE(peerOf(out)) << "Disconnect touches one pin only";
  EXPECT_EQ(graph_->Disconnect(out), S_OK);

  CMediaType wrong = toyType(ToyConfig{});
  wrong.SetSubtype(&MEDIASUBTYPE_RGB32);
  EXPECT_TRUE(FAILED(graph_->ConnectDirect(out, in.get(), &wrong)));
  EXPECT_FALSE(peerOf(out));
}

TEST_F(FilterGraphTest, RemovingAFilterDisconnectsBothSidesAndEndsItsMembership) {
  ToyStream* out = nullptr;
  auto source = ToySource::create(ToyConfig{.frames = -1}, &out);
  auto renderer = makeRenderer();
  graph_->AddFilter(source.get(), u"Source");
  graph_->AddFilter(renderer.get(), u"Renderer");
  auto in = firstPin(renderer.get());
  ASSERT_EQ(graph_->ConnectDirect(out, in.get(), nullptr), S_OK);

  ASSERT_EQ(control_->Run(), S_OK);
  EXPECT_EQ(graph_->RemoveFilter(renderer.get()), VFW_E_NOT_STOPPED);
  ASSERT_EQ(control_->Stop(), S_OK);

  ASSERT_EQ(graph_->RemoveFilter(renderer.get()), S_OK);
  EXPECT_FALSE(peerOf(in.get()));
  EXPECT_FALSE(peerOf(out));
  EXPECT_FALSE(graphOf(renderer.get())) << "the filter no longer points at the graph";
  EXPECT_TRUE(graphOf(source.get()));
  EXPECT_EQ(graph_->RemoveFilter(renderer.get()), VFW_E_NOT_IN_GRAPH);
}

TEST_F(FilterGraphTest, ReleasingTheGraphReleasesConnectedFiltersAndBreaksTheirLinks) {
  ToyStream* out = nullptr;
  auto source = ToySource::create(ToyConfig{}, &out);
  auto renderer = makeRenderer();
  graph_->AddFilter(source.get(), u"Source");
  graph_->AddFilter(renderer.get(), u"Renderer");
  ASSERT_EQ(graph_->ConnectDirect(out, firstPin(renderer.get()).get(), nullptr), S_OK);
  ASSERT_EQ(control_->Run(), S_OK);
  EXPECT_GT(countOf(renderer.get()), 1u);

  control_ = nullptr;
  events_ = nullptr;
  EXPECT_EQ(graph_.detach()->Release(), 0u) << "the graph goes with its last reference";
  EXPECT_FALSE(graphOf(source.get()));
  EXPECT_FALSE(graphOf(renderer.get()));
  EXPECT_FALSE(peerOf(out)) << "connections would have kept both filters alive";
  EXPECT_EQ(renderer.detach()->Release(), 0u);
  EXPECT_EQ(source.detach()->Release(), 0u);
}

TEST_F(FilterGraphTest, AFilterThatJoinedAnotherGraphKeepsThatLink) {
  ComPtr<IGraphBuilder> other;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, other.putVoid()), S_OK);
  auto camera = ToySource::create(ToyConfig{});
  graph_->AddFilter(camera.get(), u"Camera");
  other->AddFilter(camera.get(), u"Source");
  ASSERT_EQ(graph_->RemoveFilter(camera.get()), S_OK);
  EXPECT_EQ(graphOf(camera.get()).get(), static_cast<IFilterGraph*>(other.get()));
}

TEST_F(FilterGraphTest, TheGraphCannotBeAggregated) {
  ComPtr<IUnknown> inner;
  EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, graph_.get(), CLSCTX_ALL, IID_IUnknown, inner.putVoid()),
            CLASS_E_NOAGGREGATION);
  EXPECT_FALSE(inner);
}

}  // namespace
}  // namespace kel::test
