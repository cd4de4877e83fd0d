#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/co_create.h"
#include "platform/com/guid.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/media_type.h"
#include "tests/platform/dshow/counted_unknown.h"
#include "tests/platform/dshow/toy_source.h"

namespace {

using kel::test::CountedUnknown;
using kel::test::toyVideoType;

TEST(MediaType, CopiesOwnTheirFormatAndHoldTheUnknown) {
  CountedUnknown unk;
  CMediaType original = toyVideoType(MEDIASUBTYPE_RGB24);
  original.pUnk = &unk;
  unk.AddRef();
  {
    CMediaType copy(original);
    EXPECT_EQ(unk.refs, 2u);
    ASSERT_EQ(copy.FormatLength(), sizeof(VIDEOINFO));
    EXPECT_NE(copy.Format(), original.Format());
    EXPECT_TRUE(copy == original);

    // Changing the copy's format leaves the original alone.
    reinterpret_cast<VIDEOINFO*>(copy.Format())->bmiHeader.biWidth = 1;
    EXPECT_TRUE(copy != original);
    EXPECT_EQ(reinterpret_cast<VIDEOINFO*>(original.Format())->bmiHeader.biWidth, kel::test::kToyWidth);

    CMediaType assigned;
    assigned = original;
    EXPECT_EQ(unk.refs, 3u);
    assigned = assigned;  // self-assignment keeps the block
    EXPECT_TRUE(assigned == original);
  }
  EXPECT_EQ(unk.refs, 1u);
  FreeMediaType(original);
  EXPECT_EQ(unk.refs, 0u);
  EXPECT_EQ(original.pbFormat, nullptr);
  EXPECT_EQ(original.cbFormat, 0u);
  EXPECT_EQ(original.pUnk, nullptr);
}

TEST(MediaType, CreatedTypesAreDeepCopiesFreedByDelete) {
  const CMediaType source = toyVideoType(MEDIASUBTYPE_RGB32);
  AM_MEDIA_TYPE* created = CreateMediaType(&source);
  ASSERT_NE(created, nullptr);
  EXPECT_NE(created->pbFormat, source.pbFormat);
  EXPECT_EQ(std::memcmp(created->pbFormat, source.pbFormat, source.cbFormat), 0);
  EXPECT_TRUE(CMediaType(*created) == source);
  DeleteMediaType(created);
  DeleteMediaType(nullptr);
  EXPECT_EQ(CreateMediaType(nullptr), nullptr);
}

TEST(MediaType, EqualityLooksAtTypesAndFormatBytes) {
  const CMediaType a = toyVideoType(MEDIASUBTYPE_RGB24);
  CMediaType b = a;
  b.SetSubtype(&MEDIASUBTYPE_RGB32);
  EXPECT_TRUE(a != b);
  CMediaType c = a;
  c.ReallocFormatBuffer(sizeof(VIDEOINFOHEADER));
  EXPECT_TRUE(a != c);
  // The shorter block keeps the common prefix.
  EXPECT_EQ(std::memcmp(c.Format(), a.Format(), sizeof(VIDEOINFOHEADER)), 0);
  CMediaType d = a;
  d.SetSampleSize(7);  // sample size is not part of equality
  EXPECT_TRUE(a == d);
}

TEST(MediaType, PartialTypesMatchOnTheirKnownFields) {
  const CMediaType rgb24 = toyVideoType(MEDIASUBTYPE_RGB24);
  CMediaType anyVideo(&MEDIATYPE_Video);
  EXPECT_TRUE(anyVideo.IsPartiallySpecified());
  EXPECT_FALSE(rgb24.IsPartiallySpecified());
  EXPECT_TRUE(rgb24.MatchesPartial(&anyVideo));

  CMediaType wantRgb32(&MEDIATYPE_Video);
  wantRgb32.SetSubtype(&MEDIASUBTYPE_RGB32);
  EXPECT_FALSE(rgb24.MatchesPartial(&wantRgb32));

  CMediaType stream(&MEDIATYPE_Stream);
  EXPECT_FALSE(rgb24.MatchesPartial(&stream));

  // A partial type with a format must have the same bytes.
  CMediaType withFormat = rgb24;
  withFormat.SetSubtype(&GUID_NULL);
  EXPECT_TRUE(rgb24.MatchesPartial(&withFormat));
  reinterpret_cast<VIDEOINFO*>(withFormat.Format())->bmiHeader.biHeight = 2;
  EXPECT_FALSE(rgb24.MatchesPartial(&withFormat));
}

TEST(MediaType, SetFormatCopiesEvenFromItsOwnBlock) {
  CMediaType mt = toyVideoType(MEDIASUBTYPE_RGB24);
  const CMediaType before = mt;
  ASSERT_TRUE(mt.SetFormat(mt.Format(), sizeof(VIDEOINFOHEADER)));
  EXPECT_EQ(mt.FormatLength(), sizeof(VIDEOINFOHEADER));
  EXPECT_EQ(std::memcmp(mt.Format(), before.Format(), sizeof(VIDEOINFOHEADER)), 0);
  EXPECT_FALSE(mt.SetFormat(nullptr, 4));
  mt.ResetFormatBuffer();
  EXPECT_EQ(mt.Format(), nullptr);
  EXPECT_EQ(*mt.FormatType(), FORMAT_VideoInfo);
}

// The identifiers cross to other modules; a swapped byte would break them.
TEST(MediaType, IdentifiersHaveTheirPublishedText) {
  EXPECT_EQ(plat::guidToString(MEDIATYPE_Video), "{73646976-0000-0010-8000-00AA00389B71}");
  EXPECT_EQ(plat::guidToString(FORMAT_VideoInfo), "{05589F80-C356-11CE-BF01-00AA0055595A}");
  EXPECT_EQ(plat::guidToString(IID_IEnumMediaTypes), "{89C31040-846B-11CE-97D3-00AA0055595A}");
  EXPECT_EQ(plat::guidToString(IID_IMediaSeeking), "{36B73880-C2C8-11CF-8B46-00805F6CEF60}");
  EXPECT_EQ(plat::guidToString(TIME_FORMAT_MEDIA_TIME), "{7B785574-8C82-11CF-BC0C-00AA00AC74F6}");
  EXPECT_EQ(MAKEFOURCC('v', 'i', 'd', 's'), MEDIATYPE_Video.Data1);
}

}  // namespace
