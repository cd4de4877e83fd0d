#include "tests/platform/avi/saved_film.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>

#include "kellib3/frame/frame_strip.h"

namespace kel::test {

StreamTiming readStreamTiming(const std::filesystem::path& path) {
  StreamTiming timing;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return timing;
  if (avformat_find_stream_info(format, nullptr) >= 0 && format->nb_streams == 1) {
    const AVStream* stream = format->streams[0];
    timing.opened = true;
    timing.timeBaseNum = stream->time_base.num;
    timing.timeBaseDen = stream->time_base.den;
    timing.frameRateNum = stream->avg_frame_rate.num;
    timing.frameRateDen = stream->avg_frame_rate.den;
    timing.frames = stream->nb_frames;
  }
  avformat_close_input(&format);
  return timing;
}

std::vector<std::optional<std::uint32_t>> stripsOf(const ReadFilm& film) {
  std::vector<std::optional<std::uint32_t>> out;
  const auto width = static_cast<unsigned>(film.width), height = static_cast<unsigned>(film.height);
  for (const auto& picture : film.pictures)
    out.push_back(kellib3::readFrameStrip(picture, width, height, 3, std::size_t{width} * 3));
  return out;
}

Block differingBlock(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int width, int height) {
  Block block{width, height, -1, -1};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
      if (std::equal(a.begin() + static_cast<std::ptrdiff_t>(at), a.begin() + static_cast<std::ptrdiff_t>(at + 3),
                     b.begin() + static_cast<std::ptrdiff_t>(at)))
        continue;
      block.left = std::min(block.left, x);
      block.right = std::max(block.right, x);
      block.top = std::min(block.top, y);
      block.bottom = std::max(block.bottom, y);
    }
  if (block.right < 0) return Block{};
  return block;
}

}  // namespace kel::test
