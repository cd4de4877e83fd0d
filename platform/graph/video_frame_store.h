// The renderer's newest picture: one copy, replaced by every sample, so the
// memory it takes never grows with the stream. Written by the streaming
// thread and read by the window's thread under one lock.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/graph/renderer_frames.h"
#include "platform/graph/video_format.h"

namespace plat {

class VideoFrameStore {
 public:
  // A new connection: the old picture no longer fits and is dropped.
  void setFormat(const VideoFormat& format);
  // The connection went away; the row order goes back to the declared one.
  void clear();
  // The samples hold the top row first whatever the format declares; the
  // frames read back (and the DIB of the current image) say so.
  void setRowsTopDown(bool topDown);
  std::optional<VideoFormat> format() const;

  // Copies one picture; false when the format is unknown or `size` is
  // smaller than one picture of it.
  bool store(const BYTE* data, std::size_t size);

  // False without a picture; `frame` is left alone when it already holds
  // the newest one.
  bool copyTo(VideoFrame& frame) const;
  // The picture as a BITMAPINFOHEADER followed by its rows, in one
  // CoTaskMemAlloc block; null without a picture or memory.
  BYTE* copyAsDib() const;

 private:
  mutable std::mutex mutex_;
  std::optional<VideoFormat> format_;
  std::vector<BYTE> bytes_;
  bool hasFrame_ = false;
  bool topDownRows_ = false;
  // Keeps counting across connections, so that a reader never mistakes a
  // new stream's first frame for one it already has.
  std::uint64_t counter_ = 0;
};

}  // namespace plat
