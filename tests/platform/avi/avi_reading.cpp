#include "tests/platform/avi/avi_reading.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cstdlib>
#include <memory>

namespace kel::test {

namespace {

struct Closer {
  void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
  void operator()(AVPacket* p) const { av_packet_free(&p); }
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};

std::vector<std::uint8_t> upright(const AVFrame* frame) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(frame->width * frame->height * 3));
  SwsContext* sws = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                   frame->width, frame->height, AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr, nullptr);
  if (!sws) return {};
  std::uint8_t* dst[4] = {out.data()};
  const int dstStride[4] = {frame->width * 3};
  sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
  sws_freeContext(sws);
  return out;
}

}  // namespace

ReadFilm readFilm(const std::filesystem::path& path) {
  // The decoder names its full-range formats deprecated on every conversion.
  av_log_set_level(AV_LOG_ERROR);
  ReadFilm film;
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
    film.error = "cannot open " + path.string();
    return film;
  }
  std::unique_ptr<AVFormatContext, Closer> format(raw);
  if (avformat_find_stream_info(format.get(), nullptr) < 0 || format->nb_streams != 1) {
    film.error = "no single stream";
    return film;
  }
  AVStream* stream = format->streams[0];
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  std::unique_ptr<AVCodecContext, Closer> decoder(avcodec_alloc_context3(codec));
  if (!codec || !decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0 ||
      avcodec_open2(decoder.get(), codec, nullptr) < 0) {
    film.error = "no decoder";
    return film;
  }
  film.opened = true;
  film.codec = codec->name;
  film.width = stream->codecpar->width;
  film.height = stream->codecpar->height;
  film.frameRate = av_q2d(stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate);
  std::unique_ptr<AVPacket, Closer> packet(av_packet_alloc());
  std::unique_ptr<AVFrame, Closer> frame(av_frame_alloc());
  auto receive = [&] {
    while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) film.pictures.push_back(upright(frame.get()));
  };
  while (av_read_frame(format.get(), packet.get()) >= 0) {
    if (packet->stream_index == 0 && packet->size > 0) {
      ++film.packets;
      if (avcodec_send_packet(decoder.get(), packet.get()) == 0) receive();
    }
    av_packet_unref(packet.get());
  }
  avcodec_send_packet(decoder.get(), nullptr);
  receive();
  return film;
}

double meanDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 255.0;
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
  return sum / static_cast<double>(a.size());
}

}  // namespace kel::test
