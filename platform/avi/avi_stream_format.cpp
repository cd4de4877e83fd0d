#include "platform/avi/avi_stream_format.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "platform/dshow/guids.h"
#include "platform/graph/video_format.h"

namespace plat {

namespace {

constexpr int kMaxDimension = 1 << 15;

std::optional<AviStreamSpec> uncompressed(const AM_MEDIA_TYPE& mt) {
  const auto format = videoFormatOf(mt);
  // Top-down pictures would need turning over; the camera never sends them.
  if (!format || !format->bottomUp) return std::nullopt;
  if (format->stride != ((format->width * format->bitCount / 8 + 3) & ~3)) return std::nullopt;
  AviStreamSpec spec;
  spec.codecId = AV_CODEC_ID_RAWVIDEO;
  spec.width = format->width;
  spec.height = format->height;
  spec.bitCount = format->bitCount;
  spec.rawImageSize = format->imageSize;
  return spec;
}

}  // namespace

std::optional<AviStreamSpec> aviStreamSpecOf(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Video || mt.formattype != FORMAT_VideoInfo || !mt.pbFormat ||
      mt.cbFormat < sizeof(VIDEOINFOHEADER)) {
    return std::nullopt;
  }
  const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
  const BITMAPINFOHEADER& bmi = vih->bmiHeader;
  std::optional<AviStreamSpec> spec;
  if (mt.subtype == MEDIASUBTYPE_RGB24 || mt.subtype == MEDIASUBTYPE_RGB32) {
    spec = uncompressed(mt);
  } else if (bmi.biCompression != BI_RGB && bmi.biCompression != BI_BITFIELDS) {
    const AVCodecTag* const tables[] = {avformat_get_riff_video_tags(), nullptr};
    const AVCodecID id = av_codec_get_id(tables, bmi.biCompression);
    if (id == AV_CODEC_ID_NONE || bmi.biWidth <= 0 || bmi.biWidth > kMaxDimension || bmi.biHeight == 0 ||
        bmi.biHeight > kMaxDimension || bmi.biHeight < -kMaxDimension) {
      return std::nullopt;
    }
    spec = AviStreamSpec{};
    spec->codecId = id;
    spec->codecTag = bmi.biCompression;
    spec->width = bmi.biWidth;
    spec->height = bmi.biHeight < 0 ? -bmi.biHeight : bmi.biHeight;
    spec->bitCount = bmi.biBitCount ? bmi.biBitCount : 24;
    spec->codecData.assign(mt.pbFormat + sizeof(VIDEOINFOHEADER), mt.pbFormat + mt.cbFormat);
  }
  if (spec) spec->frameDuration = vih->AvgTimePerFrame > 0 ? vih->AvgTimePerFrame : 0;
  return spec;
}

}  // namespace plat
