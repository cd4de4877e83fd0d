#include "tools/png_writer.h"

#include <cstdio>
#include <cstring>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

namespace kelorvo {
namespace {

struct CodecContextFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FileClose {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string avText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// Rows top first, blue-green-red(-spare) pixels turned into RGB.
void copyRows(const plat::VideoFrame& frame, AVFrame* out) {
  const int bytes = frame.bitCount / 8;
  for (LONG y = 0; y < frame.height; ++y) {
    const LONG source = frame.bottomUp ? frame.height - 1 - y : y;
    const BYTE* in = frame.bytes.data() + static_cast<std::size_t>(source) * frame.stride;
    uint8_t* row = out->data[0] + static_cast<std::ptrdiff_t>(y) * out->linesize[0];
    for (LONG x = 0; x < frame.width; ++x) {
      row[3 * x + 0] = in[bytes * x + 2];
      row[3 * x + 1] = in[bytes * x + 1];
      row[3 * x + 2] = in[bytes * x + 0];
    }
  }
}

}  // namespace

bool writePng(const plat::VideoFrame& frame, const std::filesystem::path& file, std::string& reason) {
  if (frame.width <= 0 || frame.height <= 0 || (frame.bitCount != 24 && frame.bitCount != 32)) {
    reason = "the frame has no picture to write";
    return false;
  }
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
  if (!codec) {
    reason = "no PNG encoder";
    return false;
  }
  std::unique_ptr<AVCodecContext, CodecContextFree> ctx(avcodec_alloc_context3(codec));
  std::unique_ptr<AVFrame, FrameFree> picture(av_frame_alloc());
  std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
  if (!ctx || !picture || !packet) {
    reason = "out of memory";
    return false;
  }
  ctx->width = frame.width;
  ctx->height = frame.height;
  ctx->pix_fmt = AV_PIX_FMT_RGB24;
  ctx->time_base = {1, 25};
  int rc = avcodec_open2(ctx.get(), codec, nullptr);
  picture->format = AV_PIX_FMT_RGB24;
  picture->width = frame.width;
  picture->height = frame.height;
  if (rc >= 0) rc = av_frame_get_buffer(picture.get(), 0);
  if (rc >= 0) {
    copyRows(frame, picture.get());
    rc = avcodec_send_frame(ctx.get(), picture.get());
  }
  if (rc >= 0) rc = avcodec_receive_packet(ctx.get(), packet.get());
  if (rc < 0) {
    reason = "PNG encoding failed: " + avText(rc);
    return false;
  }
  std::unique_ptr<std::FILE, FileClose> out(std::fopen(file.c_str(), "wb"));
  if (!out) {
    reason = "cannot write " + file.string() + ": " + std::strerror(errno);
    return false;
  }
  if (std::fwrite(packet->data, 1, static_cast<std::size_t>(packet->size), out.get()) !=
          static_cast<std::size_t>(packet->size) ||
      std::fclose(out.release()) != 0) {
    reason = "cannot write " + file.string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace kelorvo
