// One frame cycle of the input: opened by command, then the frame's four
// parts move by DMA one block at a time. The frame is fixed when it first
// becomes ready and rendered once, on its first transfer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "kellib3/grabber/controller.h"

namespace kellib3 {

inline constexpr std::uint32_t kPartCount = 4;

class FrameCycle {
 public:
  void open();
  void close();
  bool isOpen() const { return open_; }

  // True once a frame is available; the first such call fixes the frame.
  bool ready(const Controller& c, std::int64_t nowNs);
  const std::optional<FrameSource>& frame() const { return frame_; }

  // Index of the part the next DMA delivers: 1..4, 5 when all are done.
  std::uint32_t nextPart() const { return completed_ + 1; }
  std::size_t partBytes() const;

  void beginBlock();
  void startDma(std::span<std::uint8_t> target, const Config& config);
  bool dmaDone() const { return dmaDone_; }
  bool blockOpen() const { return blockOpen_; }
  void endBlock();

 private:
  void render(const Config& config);

  bool open_ = false;
  bool blockOpen_ = false;
  bool dmaDone_ = false;
  std::uint32_t completed_ = 0;
  std::optional<FrameSource> frame_;
  std::array<std::vector<std::uint8_t>, kPartCount> parts_;
  bool rendered_ = false;
};

}  // namespace kellib3
