#include <gtest/gtest.h>

#include "platform/dshow/guids.h"
#include "platform/dshow/media_type.h"
#include "platform/graph/video_format.h"
#include "tests/platform/graph/toy_source.h"

namespace {

using kel::test::ToyConfig;
using kel::test::toyType;

BITMAPINFOHEADER& headerOf(CMediaType& mt) { return reinterpret_cast<VIDEOINFOHEADER*>(mt.Format())->bmiHeader; }

TEST(VideoFormat, RgbVideoGivesSizeDepthAndRowOrder) {
  ToyConfig c;
  c.width = 640;
  c.height = 480;
  c.subtype = MEDIASUBTYPE_RGB32;
  auto f = plat::videoFormatOf(toyType(c));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->width, 640);
  EXPECT_EQ(f->height, 480);
  EXPECT_EQ(f->bitCount, 32);
  EXPECT_EQ(f->stride, 640 * 4);
  EXPECT_TRUE(f->bottomUp);
  EXPECT_EQ(f->imageSize, 640u * 4 * 480);

  c.topDown = true;
  c.subtype = MEDIASUBTYPE_RGB24;
  f = plat::videoFormatOf(toyType(c));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->height, 480) << "the height is positive whatever the row order";
  EXPECT_FALSE(f->bottomUp);
  EXPECT_EQ(f->bitCount, 24);
}

TEST(VideoFormat, RowsArePaddedToDwordsUnlessTheImageSizeSaysPacked) {
  ToyConfig c;
  c.width = 6;  // 18 bytes of RGB24 per row
  c.height = 5;
  CMediaType mt = toyType(c);
  auto f = plat::videoFormatOf(mt);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->stride, 20);
  EXPECT_EQ(f->imageSize, 100u);

  headerOf(mt).biSizeImage = 18 * 5;
  f = plat::videoFormatOf(mt);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->stride, 18);
  EXPECT_EQ(f->header.biSizeImage, 90u);

  headerOf(mt).biSizeImage = 0;
  f = plat::videoFormatOf(mt);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->stride, 20) << "an image size of 0 is allowed for RGB and means padded rows";
}

TEST(VideoFormat, OtherTypesAreRefused) {
  const ToyConfig c;
  CMediaType stream = toyType(c);
  stream.SetType(&MEDIATYPE_Stream);
  EXPECT_FALSE(plat::videoFormatOf(stream)) << "the camera's data-header stream type";

  CMediaType depth = toyType(c);
  headerOf(depth).biBitCount = 32;
  EXPECT_FALSE(plat::videoFormatOf(depth)) << "bit count disagrees with the RGB24 subtype";

  CMediaType compressed = toyType(c);
  headerOf(compressed).biCompression = MAKEFOURCC('M', 'J', 'P', 'G');
  EXPECT_FALSE(plat::videoFormatOf(compressed));

  CMediaType empty = toyType(c);
  headerOf(empty).biHeight = 0;
  EXPECT_FALSE(plat::videoFormatOf(empty));

  CMediaType huge = toyType(c);
  headerOf(huge).biWidth = 1 << 20;
  EXPECT_FALSE(plat::videoFormatOf(huge));

  CMediaType shortBlock = toyType(c);
  shortBlock.ReallocFormatBuffer(sizeof(VIDEOINFOHEADER) - 1);
  EXPECT_FALSE(plat::videoFormatOf(shortBlock));

  CMediaType noFormat = toyType(c);
  noFormat.SetFormatType(&FORMAT_None);
  EXPECT_FALSE(plat::videoFormatOf(noFormat));
}

}  // namespace
