#include "platform/avi/frame_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <thread>

namespace plat {

namespace {

constexpr int kKeyFrameInterval = 25;

std::string libraryText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof(text));
  return text;
}

// The range must be known before the converter is chosen: set afterwards,
// the direct RGB to 4:2:0 path would ignore it.
SwsContext* makeScaler(const VideoFormat& input, AVPixelFormat from, AVPixelFormat to, bool fullRange) {
  SwsContext* scaler = sws_alloc_context();
  if (!scaler) return nullptr;
  av_opt_set_int(scaler, "srcw", input.width, 0);
  av_opt_set_int(scaler, "srch", input.height, 0);
  av_opt_set_int(scaler, "dstw", input.width, 0);
  av_opt_set_int(scaler, "dsth", input.height, 0);
  av_opt_set_int(scaler, "src_format", from, 0);
  av_opt_set_int(scaler, "dst_format", to, 0);
  av_opt_set_int(scaler, "sws_flags", SWS_BILINEAR, 0);
  av_opt_set_int(scaler, "src_range", 1, 0);
  av_opt_set_int(scaler, "dst_range", fullRange ? 1 : 0, 0);
  if (sws_init_context(scaler, nullptr, nullptr) < 0) {
    sws_freeContext(scaler);
    return nullptr;
  }
  return scaler;
}

// FFV1 encodes the slices of a picture on separate threads: about one slice
// per core, as a square grid (a layout FFV1 takes for most picture sizes).
int ffv1Slices() {
  const auto cores = std::max(1u, std::thread::hardware_concurrency());
  int side = 2;
  while (side < 8 && static_cast<unsigned>(side * side) < cores) ++side;
  return side * side;
}

}  // namespace

int mjpegQscale(LONG quality) {
  quality = std::clamp<LONG>(quality, 1, 100);
  return 2 + static_cast<int>((100 - quality) * 29 / 99);
}

double x264Crf(LONG quality) {
  quality = std::clamp<LONG>(quality, 1, 100);
  return 10.0 + (100 - quality) * 0.35;
}

int FrameEncoder::openCodec(const CompressorKind& kind, const VideoFormat& input, LONG quality,
                            REFERENCE_TIME frameDuration, int slices) {
  avcodec_free_context(&codec_);
  const AVCodec* codec = avcodec_find_encoder_by_name(kind.encoder);
  if (!codec) return AVERROR_ENCODER_NOT_FOUND;
  AVCodecContext* c = codec_ = avcodec_alloc_context3(codec);
  if (!c) return AVERROR(ENOMEM);
  c->width = input.width;
  c->height = input.height;
  c->pix_fmt = static_cast<AVPixelFormat>(kind.pixelFormat);
  if (kind.fullRange) c->color_range = AVCOL_RANGE_JPEG;
  av_reduce(&c->time_base.num, &c->time_base.den, frameDuration > 0 ? frameDuration : 400000, 10000000, 1 << 30);
  c->framerate = av_inv_q(c->time_base);
  c->gop_size = kKeyFrameInterval;
  c->max_b_frames = 0;
  // Frame threads would hold pictures back; slices do not, so an encoder
  // that codes slices in parallel gets a thread per core.
  c->thread_type = FF_THREAD_SLICE;
  if (codec->capabilities & AV_CODEC_CAP_SLICE_THREADS) c->thread_count = 0;
  c->slices = slices;
  if (kind.fourcc == MAKEFOURCC('M', 'J', 'P', 'G')) {
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * mjpegQscale(quality);
  } else if (kind.fourcc == MAKEFOURCC('H', '2', '6', '4')) {
    av_opt_set(c->priv_data, "preset", "veryfast", 0);
    av_opt_set(c->priv_data, "tune", "zerolatency", 0);
    av_opt_set_double(c->priv_data, "crf", x264Crf(quality), 0);
  }
  return avcodec_open2(c, codec, nullptr);
}

std::unique_ptr<FrameEncoder> FrameEncoder::open(const CompressorKind& kind, const VideoFormat& input,
                                                 LONG quality, REFERENCE_TIME frameDuration, std::string* error) {
  auto fail = [&](std::string text) {
    if (error) *error = std::string(kind.encoder) + ": " + text;
    return nullptr;
  };
  std::unique_ptr<FrameEncoder> encoder(new FrameEncoder(input));
  const bool ffv1 = kind.fourcc == MAKEFOURCC('F', 'F', 'V', '1');
  int opened = encoder->openCodec(kind, input, quality, frameDuration, ffv1 ? ffv1Slices() : 0);
  // Some sizes take no such grid (a very large or very small picture):
  // FFV1 then chooses its slices itself.
  if (opened < 0 && ffv1) opened = encoder->openCodec(kind, input, quality, frameDuration, 0);
  if (opened == AVERROR_ENCODER_NOT_FOUND) return fail("the encoder is not available");
  if (opened < 0) return fail(libraryText(opened));
  AVCodecContext* c = encoder->codec_;
  encoder->frame_ = av_frame_alloc();
  encoder->packet_ = av_packet_alloc();
  if (!encoder->frame_ || !encoder->packet_) return fail("out of memory");

  const AVPixelFormat source = input.bitCount == 32 ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_BGR24;
  encoder->scaler_ = makeScaler(input, source, c->pix_fmt, kind.fullRange);
  if (!encoder->scaler_) return fail("no conversion to the encoder's pixel format");
  AVFrame* f = encoder->frame_;
  f->format = c->pix_fmt;
  f->width = c->width;
  f->height = c->height;
  f->color_range = c->color_range;
  if (av_frame_get_buffer(f, 0) < 0) return fail("out of memory");
  return encoder;
}

std::vector<std::uint8_t> FrameEncoder::codecData() const {
  if (!codec_->extradata || codec_->extradata_size <= 0) return {};
  return {codec_->extradata, codec_->extradata + codec_->extradata_size};
}

FrameEncoder::~FrameEncoder() {
  sws_freeContext(scaler_);
  av_packet_free(&packet_);
  av_frame_free(&frame_);
  avcodec_free_context(&codec_);
}

HRESULT FrameEncoder::encode(const std::uint8_t* picture, std::int64_t number, const PacketSink& sink) {
  if (av_frame_make_writable(frame_) < 0) return E_OUTOFMEMORY;
  // Bottom-up rows: start at the last row in memory (the top of the
  // picture) and walk backwards.
  const std::uint8_t* rows[4] = {picture + static_cast<std::ptrdiff_t>(input_.height - 1) * input_.stride};
  const int strides[4] = {input_.bottomUp ? -input_.stride : input_.stride};
  if (!input_.bottomUp) rows[0] = picture;
  sws_scale(scaler_, rows, strides, 0, input_.height, frame_->data, frame_->linesize);
  frame_->pts = number;
  if (codec_->flags & AV_CODEC_FLAG_QSCALE) frame_->quality = codec_->global_quality;
  if (avcodec_send_frame(codec_, frame_) < 0) return E_FAIL;
  return drain(sink);
}

HRESULT FrameEncoder::flush(const PacketSink& sink) {
  const int sent = avcodec_send_frame(codec_, nullptr);
  if (sent < 0 && sent != AVERROR_EOF) return E_FAIL;
  return drain(sink);
}

HRESULT FrameEncoder::drain(const PacketSink& sink) {
  for (;;) {
    const int got = avcodec_receive_packet(codec_, packet_);
    if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return S_OK;
    if (got < 0) return E_FAIL;
    const HRESULT hr = sink(packet_->data, static_cast<std::size_t>(packet_->size),
                            (packet_->flags & AV_PKT_FLAG_KEY) != 0, packet_->pts);
    av_packet_unref(packet_);
    if (FAILED(hr)) return hr;
  }
}

}  // namespace plat
