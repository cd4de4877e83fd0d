// The output pin's media types, the types it accepts and the buffers it
// asks for, seen through the pin as a graph sees it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "filter/hardware/kellib3.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"
#include "platform/dshow/guids.h"
#include "platform/dshow/media_type.h"
#include "platform/graph/graph_topology.h"
#include "shared/identifiers.h"
#include "tests/filter/capture/graph_rig.h"
#include "tests/filter/capture/stream_sink.h"

namespace kel::test {
namespace {

// {285A3DDB-2851-4CD4-8C31-7F4201D6DF90}
constexpr GUID kHeaderFormat{0x285A3DDB, 0x2851, 0x4CD4, {0x8C, 0x31, 0x7F, 0x42, 0x01, 0xD6, 0xDF, 0x90}};

std::vector<CMediaType> offeredTypes(IPin* pin) {
  std::vector<CMediaType> out;
  ComPtr<IEnumMediaTypes> types;
  EXPECT_EQ(pin->EnumMediaTypes(types.put()), S_OK);
  if (!types) return out;
  AM_MEDIA_TYPE* next = nullptr;
  ULONG fetched = 0;
  while (types->Next(1, &next, &fetched) == S_OK && fetched == 1) {
    out.emplace_back(*next);
    DeleteMediaType(next);
  }
  return out;
}

const BITMAPINFOHEADER& bitmapOf(const CMediaType& mt) {
  return reinterpret_cast<const VIDEOINFO*>(mt.Format())->bmiHeader;
}

struct Geometry {
  LONG width, height;
  int bytes;
};

void expectVideoType(const CMediaType& mt, const GUID& subtype, Geometry g) {
  EXPECT_EQ(*mt.Type(), MEDIATYPE_Video);
  EXPECT_EQ(*mt.Subtype(), subtype);
  EXPECT_EQ(*mt.FormatType(), FORMAT_VideoInfo);
  ASSERT_EQ(mt.FormatLength(), 1128u);
  const BITMAPINFOHEADER& bih = bitmapOf(mt);
  EXPECT_EQ(bih.biSize, 40u);
  EXPECT_EQ(bih.biWidth, g.width);
  EXPECT_EQ(bih.biHeight, g.height) << "a positive height, as any DIB";
  EXPECT_EQ(bih.biBitCount, g.bytes * 8);
  EXPECT_EQ(bih.biCompression, BI_RGB);
  EXPECT_EQ(bih.biSizeImage, static_cast<DWORD>(g.width * g.height * g.bytes));
  EXPECT_EQ(mt.GetSampleSize(), bih.biSizeImage);
  EXPECT_FALSE(mt.IsTemporalCompressed());
}

TEST(CapturePinTypes, StreamAndVideoTypesDescribeTheDesktopsPixels) {
  for (const auto& [bits, subtype] : {std::pair{"32", MEDIASUBTYPE_RGB32}, std::pair{"24", MEDIASUBTYPE_RGB24}}) {
    SCOPED_TRACE(bits);
    GraphRig rig({kSmallSensor, {"KELORVO_DESKTOP_BPP", bits}});
    const int bytes = bits[0] == '3' ? 4 : 3;
    const auto types = offeredTypes(rig.output().get());
    ASSERT_EQ(types.size(), 2u);

    const CMediaType& stream = types[0];
    EXPECT_EQ(*stream.Type(), MEDIATYPE_Stream);
    EXPECT_EQ(*stream.Subtype(), subtype);
    EXPECT_EQ(*stream.FormatType(), kHeaderFormat);
    // A whole frame of output pixels, not just its pixel count.
    EXPECT_EQ(stream.GetSampleSize(), 160u * 40u * static_cast<ULONG>(bytes));
    ASSERT_EQ(stream.FormatLength(), 8 + sizeof(KelLib3DataheaderImage));
    std::uint32_t lead[2];
    KelLib3DataheaderImage header;
    std::memcpy(lead, stream.Format(), sizeof lead);
    std::memcpy(&header, stream.Format() + sizeof lead, sizeof header);
    EXPECT_EQ(lead[0], 0u);
    EXPECT_EQ(lead[1], sizeof header);
    EXPECT_EQ(header.typeMajor, 3u);
    EXPECT_EQ(header.typeMinor, 8u);
    EXPECT_EQ(header.sizeLow, 160u * 40u * static_cast<std::uint32_t>(bytes));
    EXPECT_EQ(header.values[KELLIB3_KEY_BITS_PER_PIXEL], static_cast<std::uint32_t>(bytes * 8));
    EXPECT_EQ(header.values[KELLIB3_KEY_PIXEL_FORMAT], 65537u);
    EXPECT_EQ(header.values[KELLIB3_KEY_LAYOUT], 0x20000u);
    EXPECT_EQ(header.values[KELLIB3_KEY_WIDTH], 160u);
    EXPECT_EQ(header.values[KELLIB3_KEY_HEIGHT], 40u);

    expectVideoType(types[1], subtype, {160, 40, bytes});
  }
}

TEST(CapturePinTypes, SixteenBitDesktopGetsNeitherRgbType) {
  GraphRig rig({kSmallSensor, {"KELORVO_DESKTOP_BPP", "16"}});
  const auto types = offeredTypes(rig.output().get());
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(*types[0].Subtype(), GUID_NULL);
  EXPECT_EQ(*types[1].Subtype(), GUID_NULL);
  EXPECT_EQ(bitmapOf(types[1]).biBitCount, 0);
  EXPECT_EQ(bitmapOf(types[1]).biSizeImage, 0u);
  // The renderer takes no such video, so the camera cannot be shown.
  EXPECT_NE(rig.build(MODE_Setup), S_OK);
}

TEST(CapturePinTypes, SummationHalvesThePictureAndBayerMakesAColourCamera) {
  GraphRig rig({kSmallSensor, {"KELLIB3_SENSOR", "bayer"}});
  int colour = -1;
  ASSERT_EQ(rig.camera()->SetSummation(1), S_OK);
  auto types = offeredTypes(rig.output().get());
  ASSERT_EQ(types.size(), 2u);
  expectVideoType(types[1], MEDIASUBTYPE_RGB32, {80, 20, 4});
  EXPECT_EQ(rig.camera()->IsColorCamera(&colour), S_OK);
  EXPECT_EQ(colour, 1);
  rig.camera()->SetSummation(0);
  types = offeredTypes(rig.output().get());
  expectVideoType(types[1], MEDIASUBTYPE_RGB32, {160, 40, 4});
}

TEST(CapturePinTypes, MonochromeSensorIsNoColourCameraAndAbsentCameraHasNoPin) {
  {
    GraphRig rig;
    rig.camera()->SetSummation(0);
    ASSERT_EQ(offeredTypes(rig.output().get()).size(), 2u);
    int colour = -1;
    EXPECT_EQ(rig.camera()->IsColorCamera(&colour), S_OK);
    EXPECT_EQ(colour, 0);
  }
  // Without a camera the filter has no pin that could offer a type.
  CaptureHost host(std::vector<EnvVar>{{"KELLIB3_CAMERA", "absent"}});
  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(CoCreateInstance(CLSID_KelOrvoSource, nullptr, CLSCTX_ALL, IID_IBaseFilter, filter.putVoid()), S_OK);
  EXPECT_TRUE(plat::pinsOf(filter.get()).empty());
  ComPtr<IPin> pin;
  EXPECT_NE(filter->FindPin(u"1", pin.put()), S_OK);
}

TEST(CapturePinTypes, AcceptsVideoInfoAndHeaderFormatsOnly) {
  GraphRig rig;
  const auto pin = rig.output();
  CMediaType mt(&MEDIATYPE_Video);
  for (const auto& [format, accepted] : {std::pair{FORMAT_VideoInfo, true}, std::pair{kHeaderFormat, true},
                                         std::pair{FORMAT_None, false}, std::pair{GUID_NULL, false}}) {
    mt.SetFormatType(&format);
    EXPECT_EQ(pin->QueryAccept(&mt) == S_OK, accepted);
  }
}

TEST(CapturePinTypes, BuffersHoldOneFrameOfTheConnectedType) {
  GraphRig rig;
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  ComPtr<IMemInputPin> input;
  ASSERT_EQ(plat::pinsOf(rig.renderer()).front().as(IID_IMemInputPin, input), S_OK);
  ComPtr<IMemAllocator> allocator;
  ASSERT_EQ(input->GetAllocator(allocator.put()), S_OK);
  ALLOCATOR_PROPERTIES props{};
  ASSERT_EQ(allocator->GetProperties(&props), S_OK);
  EXPECT_EQ(props.cBuffers, 2);
  EXPECT_EQ(props.cbBuffer, 160 * 40 * 4);
}

TEST(CapturePinTypes, StreamTypeSamplesCarryAWholeFrame) {
  GraphRig rig;
  StreamSink* sink = nullptr;
  auto filter = StreamSink::create(&sink);
  ComPtr<IGraphBuilder> graph;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_ALL, IID_IGraphBuilder, graph.putVoid()), S_OK);
  ASSERT_EQ(graph->AddFilter(rig.cameraFilter(), u"Camera"), S_OK);
  ASSERT_EQ(graph->AddFilter(filter.get(), u"Sink"), S_OK);
  ASSERT_EQ(graph->ConnectDirect(rig.output().get(), sink->input(), nullptr), S_OK);
  AM_MEDIA_TYPE connected{};
  ASSERT_EQ(sink->input()->ConnectionMediaType(&connected), S_OK);
  EXPECT_EQ(connected.formattype, kHeaderFormat);
  FreeMediaType(connected);

  ComPtr<IMediaControl> control;
  ASSERT_EQ(graph.as(IID_IMediaControl, control), S_OK);
  rig.camera()->RunCamera();
  ASSERT_EQ(control->Run(), S_OK);
  EXPECT_TRUE(sink->first.wait(std::chrono::seconds(60)));
  rig.camera()->SetStopped();
  rig.camera()->StopCamera(TRUE);
  control->Stop();
  const auto sizes = sink->sizes();
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.front(), 160 * 40 * 4);
  graph->RemoveFilter(filter.get());
  graph->RemoveFilter(rig.cameraFilter());
}

}  // namespace
}  // namespace kel::test
