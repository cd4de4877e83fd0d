#include "platform/avi/avi_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
}

#include <cstdio>

namespace plat {

namespace {

constexpr int kIoBufferSize = 64 * 1024;
// Room the header needs, and what the index and the final headers need
// beyond the frames: 16 bytes per frame in the closing index, 8 more per
// frame for the per-segment indexes of a film over 1 GiB, and slack.
constexpr std::int64_t kHeaderRoom = 256 * 1024;
std::int64_t closingRoom(std::int64_t frames) { return 24 * (frames + 1) + 64 * 1024; }

int writePacket(void* opaque, std::uint8_t* data, int size) {
  auto* sink = static_cast<FileSink*>(opaque);
  const HRESULT hr = sink->write(data, static_cast<std::size_t>(size));
  return SUCCEEDED(hr) ? size : AVERROR(EIO);
}

std::int64_t seekPacket(void* opaque, std::int64_t offset, int whence) {
  auto* sink = static_cast<FileSink*>(opaque);
  std::int64_t target = 0;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: target = offset; break;
    case SEEK_CUR: target = sink->position() + offset; break;
    case SEEK_END: target = sink->dataEnd() + offset; break;
    case AVSEEK_SIZE: return sink->dataEnd();
    default: return AVERROR(EINVAL);
  }
  return SUCCEEDED(sink->seek(target)) ? target : AVERROR(EINVAL);
}

}  // namespace

AviWriter::AviWriter(std::shared_ptr<FileSink> sink) : sink_(std::move(sink)) {}

AviWriter::~AviWriter() {
  if (begun_ && !finished_) finish();
  freeIo();
  if (format_) avformat_free_context(format_);
  if (sink_) sink_->close();
}

HRESULT AviWriter::sinkResult(int libraryResult) const {
  const FileFailure failure = sink_->failure();
  if (FAILED(failure.hr)) return failure.hr;
  if (libraryResult == AVERROR(ENOMEM)) return E_OUTOFMEMORY;
  return libraryResult < 0 ? E_FAIL : S_OK;
}

HRESULT AviWriter::openIo() {
  auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferSize));
  if (!buffer) return E_OUTOFMEMORY;
  io_ = avio_alloc_context(buffer, kIoBufferSize, 1, sink_.get(), nullptr, &writePacket, &seekPacket);
  if (!io_) {
    av_free(buffer);
    return E_OUTOFMEMORY;
  }
  // Large writes (whole frames) go straight to the file without a copy.
  io_->direct = 1;
  if (format_) format_->pb = io_;
  return S_OK;
}

void AviWriter::freeIo() {
  if (!io_) return;
  av_freep(&io_->buffer);
  avio_context_free(&io_);
  if (format_) format_->pb = nullptr;
}

HRESULT AviWriter::begin(const AviStreamSpec& spec, REFERENCE_TIME frameDuration) {
  if (begun_ || !sink_) return E_UNEXPECTED;
  if (avformat_alloc_output_context2(&format_, nullptr, "avi", nullptr) < 0 || !format_) return E_OUTOFMEMORY;
  AVStream* stream = avformat_new_stream(format_, nullptr);
  if (!stream) return E_OUTOFMEMORY;
  AVCodecParameters* par = stream->codecpar;
  par->codec_type = AVMEDIA_TYPE_VIDEO;
  par->codec_id = static_cast<AVCodecID>(spec.codecId);
  par->codec_tag = spec.codecTag;
  par->width = spec.width;
  par->height = spec.height;
  par->bits_per_coded_sample = spec.bitCount;
  if (spec.codecId == AV_CODEC_ID_RAWVIDEO) par->format = spec.bitCount == 32 ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR24;
  if (!spec.codecData.empty()) {
    par->extradata = static_cast<std::uint8_t*>(av_mallocz(spec.codecData.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!par->extradata) return E_OUTOFMEMORY;
    std::copy(spec.codecData.begin(), spec.codecData.end(), par->extradata);
    par->extradata_size = static_cast<int>(spec.codecData.size());
  }
  AVRational duration{};
  av_reduce(&duration.num, &duration.den, frameDuration, 10000000, 1 << 30);
  stream->time_base = duration;
  stream->avg_frame_rate = av_inv_q(duration);

  HRESULT hr = sink_->reserve(kHeaderRoom);
  if (FAILED(hr)) return hr;
  hr = openIo();
  if (FAILED(hr)) return hr;
  // Uncompressed rows arrive bottom-up, as DIB rows are; the header then
  // carries a positive height and readers turn the picture upright.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "flipped_raw_rgb", "1", 0);
  format_->flags |= AVFMT_FLAG_FLUSH_PACKETS;
  const int result = avformat_write_header(format_, &options);
  av_dict_free(&options);
  if (result < 0) return sinkResult(result);
  avio_flush(io_);
  if (io_->error < 0) return sinkResult(io_->error);
  committedEnd_ = sink_->position();
  begun_ = true;
  return S_OK;
}

HRESULT AviWriter::writeFrame(const std::uint8_t* data, std::size_t size, std::int64_t index, bool keyFrame) {
  if (!begun_ || finished_) return E_UNEXPECTED;
  if (index <= lastIndex_) index = lastIndex_ + 1;
  // A gap in the numbers becomes empty frames; room for their index entries too.
  const std::int64_t entries = frames_ + (index - lastIndex_);
  HRESULT hr = sink_->reserve(static_cast<std::int64_t>(size) + 16 + closingRoom(entries));
  if (FAILED(hr)) return hr;

  AVPacket* packet = av_packet_alloc();
  if (!packet) return E_OUTOFMEMORY;
  packet->data = const_cast<std::uint8_t*>(data);
  packet->size = static_cast<int>(size);
  packet->pts = packet->dts = index;
  packet->duration = 1;
  packet->stream_index = 0;
  if (keyFrame) packet->flags |= AV_PKT_FLAG_KEY;
  int result = av_write_frame(format_, packet);
  av_packet_free(&packet);
  if (result >= 0) {
    avio_flush(io_);
    result = io_->error;
  }
  if (result < 0) {
    hr = sinkResult(result);
    recoverToLastFrame();
    return hr;
  }
  committedEnd_ = sink_->position();
  lastIndex_ = index;
  ++frames_;
  return S_OK;
}

void AviWriter::recoverToLastFrame() {
  // The library's own index may now name the frame that failed; a reader
  // finds its data missing and stops at the frame before.
  freeIo();
  if (SUCCEEDED(sink_->truncate(committedEnd_)) && SUCCEEDED(sink_->seek(committedEnd_))) openIo();
}

HRESULT AviWriter::finish() {
  if (finished_) return S_OK;
  finished_ = true;
  HRESULT hr = S_OK;
  if (begun_) {
    if (!io_) {
      hr = E_FAIL;
    } else {
      const int result = av_write_trailer(format_);
      avio_flush(io_);
      if (result < 0 || io_->error < 0) hr = sinkResult(result < 0 ? result : io_->error);
    }
  }
  freeIo();
  const HRESULT closed = sink_->close();
  return FAILED(hr) ? hr : closed;
}

}  // namespace plat
