#include "platform/graph/video_frame_store.h"

#include <cstring>

#include "platform/com/co_create.h"

namespace plat {

void VideoFrameStore::setFormat(const VideoFormat& format) {
  std::lock_guard lock(mutex_);
  format_ = format;
  hasFrame_ = false;
  bytes_.clear();
}

void VideoFrameStore::clear() {
  std::lock_guard lock(mutex_);
  format_.reset();
  hasFrame_ = false;
  topDownRows_ = false;
  bytes_.clear();
  bytes_.shrink_to_fit();
}

void VideoFrameStore::setRowsTopDown(bool topDown) {
  std::lock_guard lock(mutex_);
  topDownRows_ = topDown;
}

std::optional<VideoFormat> VideoFrameStore::format() const {
  std::lock_guard lock(mutex_);
  return format_;
}

bool VideoFrameStore::store(const BYTE* data, std::size_t size) {
  std::lock_guard lock(mutex_);
  if (!format_ || !data || size < format_->imageSize) return false;
  bytes_.assign(data, data + format_->imageSize);
  hasFrame_ = true;
  ++counter_;
  return true;
}

bool VideoFrameStore::copyTo(VideoFrame& frame) const {
  std::lock_guard lock(mutex_);
  if (!hasFrame_) return false;
  if (frame.counter == counter_) return true;
  frame.width = format_->width;
  frame.height = format_->height;
  frame.stride = format_->stride;
  frame.bitCount = format_->bitCount;
  frame.bottomUp = format_->bottomUp && !topDownRows_;
  frame.counter = counter_;
  frame.bytes.assign(bytes_.begin(), bytes_.end());
  return true;
}

BYTE* VideoFrameStore::copyAsDib() const {
  std::lock_guard lock(mutex_);
  if (!hasFrame_) return nullptr;
  auto* block = static_cast<BYTE*>(CoTaskMemAlloc(sizeof(BITMAPINFOHEADER) + bytes_.size()));
  if (!block) return nullptr;
  BITMAPINFOHEADER header = format_->header;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biPlanes = 1;
  header.biClrUsed = 0;
  header.biClrImportant = 0;
  // A DIB says top-down rows with a negative height.
  if (topDownRows_ && header.biHeight > 0) header.biHeight = -header.biHeight;
  std::memcpy(block, &header, sizeof header);
  std::memcpy(block + sizeof header, bytes_.data(), bytes_.size());
  return block;
}

}  // namespace plat
