// What the save tests read back from a written film beyond the decoded
// pictures: the stream's timing as a player sees it, the frame numbers in
// the pictures' strips, and where two films' pictures differ.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "tests/platform/avi/avi_reading.h"

namespace kel::test {

struct StreamTiming {
  bool opened = false;
  int timeBaseNum = 0, timeBaseDen = 0;
  int frameRateNum = 0, frameRateDen = 0;  // the stream's average frame rate
  std::int64_t frames = 0;                 // as the header counts them
};

StreamTiming readStreamTiming(const std::filesystem::path& path);

// The frame number in each picture's strip along its top (empty where the
// strip does not read).
std::vector<std::optional<std::uint32_t>> stripsOf(const ReadFilm& film);

// The smallest rectangle holding every byte in which two equally sized
// upright BGR24 pictures differ; empty when they are equal.
struct Block {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive
  bool empty() const { return right < left; }
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};
Block differingBlock(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int width, int height);

}  // namespace kel::test
