#include <gtest/gtest.h>

#include "platform/com/co_create.h"
#include "tests/platform/dshow/graph_fixture.h"

namespace {

using kel::test::GraphFixture;
using kel::test::SinkConfig;
using kel::test::ToyConfig;
using kel::test::toyVideoType;

SinkConfig acceptOnly(const GUID& subtype) {
  SinkConfig c;
  c.accept = [subtype](const CMediaType& mt) { return mt.subtype == subtype; };
  return c;
}

ToyConfig offering(std::vector<GUID> subtypes) {
  ToyConfig c;
  c.subtypes = std::move(subtypes);
  return c;
}

CMediaType connectionType(IPin* pin) {
  AM_MEDIA_TYPE mt{};
  EXPECT_EQ(pin->ConnectionMediaType(&mt), S_OK);
  CMediaType result(mt);
  FreeMediaType(mt);
  return result;
}

bool isConnected(IPin* pin) {
  ComPtr<IPin> peer;
  return pin->ConnectedTo(peer.put()) == S_OK;
}

TEST(PinConnection, ChoosesTheFirstOfferedTypeTheSinkAccepts) {
  {
    GraphFixture g(offering({MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24}), acceptOnly(MEDIASUBTYPE_RGB24));
    ASSERT_EQ(g.connect(), S_OK);
    EXPECT_TRUE(connectionType(g.out.get()) == toyVideoType(MEDIASUBTYPE_RGB24));
    EXPECT_TRUE(connectionType(g.in.get()) == toyVideoType(MEDIASUBTYPE_RGB24));
    ComPtr<IPin> peer;
    ASSERT_EQ(g.out->ConnectedTo(peer.put()), S_OK);
    EXPECT_EQ(peer.get(), g.in.get());
    ASSERT_EQ(g.in->ConnectedTo(peer.put()), S_OK);
    EXPECT_EQ(peer.get(), g.out.get());
  }
  {
    GraphFixture g(offering({MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24}));
    ASSERT_EQ(g.connect(), S_OK);
    EXPECT_EQ(connectionType(g.in.get()).subtype, MEDIASUBTYPE_RGB32);
  }
}

TEST(PinConnection, PartialTypeNarrowsTheChoice) {
  GraphFixture g(offering({MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24}));
  CMediaType partial(&MEDIATYPE_Video);
  partial.SetSubtype(&MEDIASUBTYPE_RGB24);
  ASSERT_EQ(g.connect(&partial), S_OK);
  EXPECT_EQ(connectionType(g.in.get()).subtype, MEDIASUBTYPE_RGB24);
}

TEST(PinConnection, RefusedTypesLeaveBothPinsUnconnected) {
  SinkConfig refuseAll;
  refuseAll.accept = [](const CMediaType&) { return false; };
  GraphFixture g({}, refuseAll);
  EXPECT_EQ(g.connect(), VFW_E_NO_ACCEPTABLE_TYPES);
  const CMediaType full = toyVideoType(MEDIASUBTYPE_RGB24);
  EXPECT_EQ(g.connect(&full), VFW_E_TYPE_NOT_ACCEPTED);
  EXPECT_FALSE(isConnected(g.out.get()));
  EXPECT_FALSE(isConnected(g.in.get()));
  AM_MEDIA_TYPE mt{};
  EXPECT_EQ(g.out->ConnectionMediaType(&mt), VFW_E_NOT_CONNECTED);

  // A type the source itself does not offer is refused before the sink is asked.
  GraphFixture h;
  const CMediaType rgb32 = toyVideoType(MEDIASUBTYPE_RGB32);
  EXPECT_EQ(h.connect(&rgb32), VFW_E_TYPE_NOT_ACCEPTED);
  EXPECT_FALSE(isConnected(h.in.get()));
  EXPECT_EQ(h.connect(), S_OK);
}

TEST(PinConnection, ConnectAndDisconnectRespectStateAndDirection) {
  GraphFixture g;
  ASSERT_EQ(g.connect(), S_OK);
  EXPECT_EQ(g.connect(), VFW_E_ALREADY_CONNECTED);

  GraphFixture other;
  EXPECT_EQ(other.out->Connect(g.out.get(), nullptr), VFW_E_INVALID_DIRECTION);

  g.run();
  EXPECT_EQ(g.out->Disconnect(), VFW_E_NOT_STOPPED);
  EXPECT_EQ(other.out->Connect(other.in.get(), nullptr), S_OK);
  g.stop();
  EXPECT_EQ(g.out->Disconnect(), S_OK);
  EXPECT_EQ(g.out->Disconnect(), S_FALSE);
  EXPECT_EQ(g.in->Disconnect(), S_OK);
  ASSERT_EQ(g.source->Pause(), S_OK);
  EXPECT_EQ(g.connect(), VFW_E_NOT_STOPPED);
  g.stop();
  EXPECT_EQ(g.connect(), S_OK);
}

TEST(PinConnection, AllocatorFollowsTheSinkRequirements) {
  SinkConfig wants;
  wants.requirements = ALLOCATOR_PROPERTIES{4, 0, 16, 8};
  GraphFixture g({}, wants);
  ASSERT_EQ(g.connect(), S_OK);
  IMemAllocator* allocator = g.input->notifiedAllocator();
  ASSERT_NE(allocator, nullptr);
  ALLOCATOR_PROPERTIES props{};
  ASSERT_EQ(allocator->GetProperties(&props), S_OK);
  const LONG image = kel::test::kToyWidth * kel::test::kToyHeight * 3;
  EXPECT_EQ(props.cBuffers, 4);
  EXPECT_GE(props.cbBuffer, image);
  EXPECT_EQ(props.cbAlign, 16);
  EXPECT_EQ(props.cbPrefix, 8);

  g.run();
  ASSERT_TRUE(g.input->waitForEndOfStream());
  for (const auto& s : g.input->samples()) {
    EXPECT_EQ(s.size, props.cbBuffer);
    EXPECT_EQ(s.length, image);
    EXPECT_EQ(s.address % 16, 0u);
  }
}

TEST(PinConnection, OutputPinMakesAnAllocatorWhenTheSinkHasNone) {
  SinkConfig none;
  none.offerAllocator = false;
  GraphFixture g({}, none);
  ASSERT_EQ(g.connect(), S_OK);
  IMemAllocator* allocator = g.input->notifiedAllocator();
  ASSERT_NE(allocator, nullptr);
  ALLOCATOR_PROPERTIES props{};
  allocator->GetProperties(&props);
  EXPECT_EQ(props.cBuffers, 2);
  EXPECT_EQ(props.cbAlign, 1);
  g.run();
  ASSERT_TRUE(g.input->waitForEndOfStream());
  EXPECT_EQ(g.input->samples().size(), 5u);
}

TEST(PinConnection, SourcePinListsItsTypesInOrder) {
  GraphFixture g(offering({MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24}));
  ComPtr<IEnumMediaTypes> types;
  ASSERT_EQ(g.out->EnumMediaTypes(types.put()), S_OK);
  AM_MEDIA_TYPE* got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(types->Next(3, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_TRUE(CMediaType(*got[0]) == toyVideoType(MEDIASUBTYPE_RGB32));
  EXPECT_TRUE(CMediaType(*got[1]) == toyVideoType(MEDIASUBTYPE_RGB24));
  DeleteMediaType(got[0]);
  DeleteMediaType(got[1]);
  EXPECT_EQ(types->Next(2, got, nullptr), E_INVALIDARG);
  types->Reset();
  EXPECT_EQ(types->Skip(1), S_OK);
  EXPECT_EQ(types->Next(1, got, nullptr), S_OK);
  EXPECT_EQ(got[0]->subtype, MEDIASUBTYPE_RGB24);
  DeleteMediaType(got[0]);
}

TEST(FilterPins, FoundByNumberAndDescribeThemselves) {
  GraphFixture g;
  ComPtr<IPin> found;
  ASSERT_EQ(g.source->FindPin(u"1", found.put()), S_OK);
  EXPECT_EQ(found.get(), g.out.get());
  for (const char16_t* bad : {u"0", u"2", u"x", u"", u"1a"}) {
    EXPECT_EQ(g.source->FindPin(bad, found.put()), VFW_E_NOT_FOUND);
    EXPECT_EQ(found.get(), nullptr);
  }
  LPWSTR id = nullptr;
  ASSERT_EQ(g.out->QueryId(&id), S_OK);
  EXPECT_EQ(std::u16string(id), u"1");
  CoTaskMemFree(id);

  // The sink has no numbered pins: it finds its pin by name.
  ASSERT_EQ(g.sink->FindPin(u"In", found.put()), S_OK);
  EXPECT_EQ(found.get(), g.in.get());

  PIN_INFO info{};
  ASSERT_EQ(g.out->QueryPinInfo(&info), S_OK);
  EXPECT_EQ(info.pFilter, g.source.get());
  EXPECT_EQ(info.dir, PINDIR_OUTPUT);
  EXPECT_EQ(std::u16string(info.achName), u"Out");
  info.pFilter->Release();

  FILTER_INFO fi{};
  ASSERT_EQ(g.source->QueryFilterInfo(&fi), S_OK);
  EXPECT_EQ(std::u16string(fi.achName), u"Source");
  EXPECT_EQ(fi.pGraph, static_cast<IFilterGraph*>(g.graph.get()));
  fi.pGraph->Release();

  ComPtr<IEnumPins> pins;
  ASSERT_EQ(g.source->EnumPins(pins.put()), S_OK);
  IPin* two[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(pins->Next(2, two, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  two[0]->Release();
}

TEST(FilterPins, PinsKeepTheirFilterAlive) {
  plat::ModuleRefCount module;
  ComPtr<IPin> pin;
  {
    ComPtr<IBaseFilter> filter = kel::test::ToySource::create({}, &module);
    ASSERT_EQ(filter->FindPin(u"1", pin.put()), S_OK);
  }
  EXPECT_EQ(module.objects(), 1);
  PIN_DIRECTION dir;
  EXPECT_EQ(pin->QueryDirection(&dir), S_OK);
  pin = nullptr;
  EXPECT_EQ(module.objects(), 0);
}

}  // namespace
