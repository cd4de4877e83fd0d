// One run of a compressor: libswscale turns the camera's DIB pictures
// (bottom-up BGR rows) into what the encoder takes, and libavcodec encodes
// them. The encoder is set up to hold no frame back (no B-frames, no
// look-ahead, slice threads only), so each picture comes out as one packet
// before the next goes in, and a film cut short loses nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/avi/compressor_kinds.h"
#include "platform/graph/video_format.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace plat {

class FrameEncoder {
 public:
  // Receives each packet: its bytes, whether it is a key frame and the
  // number of the picture it came from.
  using PacketSink = std::function<HRESULT(const std::uint8_t* data, std::size_t size, bool key, std::int64_t number)>;

  // Nullptr with `error` set when the encoder refuses the settings.
  static std::unique_ptr<FrameEncoder> open(const CompressorKind& kind, const VideoFormat& input, LONG quality,
                                            REFERENCE_TIME frameDuration, std::string* error);
  ~FrameEncoder();
  FrameEncoder(const FrameEncoder&) = delete;
  FrameEncoder& operator=(const FrameEncoder&) = delete;

  // One picture of the input format's size.
  HRESULT encode(const std::uint8_t* picture, std::int64_t number, const PacketSink& sink);
  // Whatever the encoder still holds.
  HRESULT flush(const PacketSink& sink);
  // The encoder's global headers, which a decoder needs before the first
  // packet (empty when the stream carries its own).
  std::vector<std::uint8_t> codecData() const;

 private:
  FrameEncoder(const VideoFormat& input) : input_(input) {}
  // A fresh codec context opened with these settings; a libavcodec result.
  int openCodec(const CompressorKind& kind, const VideoFormat& input, LONG quality, REFERENCE_TIME frameDuration,
                int slices);
  HRESULT drain(const PacketSink& sink);

  VideoFormat input_;
  AVCodecContext* codec_ = nullptr;
  SwsContext* scaler_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
};

// Quality 1..100 as the encoders' own scales.
int mjpegQscale(LONG quality);
double x264Crf(LONG quality);

}  // namespace plat
