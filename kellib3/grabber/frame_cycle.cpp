#include "kellib3/grabber/frame_cycle.h"

#include <algorithm>
#include <string>

#include "kellib3/core/lib_error.h"
#include "kellib3/frame/packing.h"
#include "kellib3/frame/scene.h"

namespace kellib3 {

void FrameCycle::open() {
  open_ = true;
  blockOpen_ = false;
  dmaDone_ = false;
  completed_ = 0;
  frame_.reset();
  rendered_ = false;
}

void FrameCycle::close() {
  if (!open_) KL3_RAISE(ErrorCode::OutOfOrder, 0, "no frame cycle is open");
  open_ = false;
  blockOpen_ = false;
}

bool FrameCycle::ready(const Controller& c, std::int64_t nowNs) {
  if (!open_) KL3_RAISE(ErrorCode::OutOfOrder, 0, "no frame cycle is open");
  if (!frame_) frame_ = c.frameToTransfer(nowNs);
  return frame_.has_value() && completed_ < kPartCount;
}

std::size_t FrameCycle::partBytes() const {
  if (!frame_) return 0;
  return dmaPartBytes(frameWidth(frame_->settings), frameHeight(frame_->settings));
}

void FrameCycle::beginBlock() {
  if (!open_) KL3_RAISE(ErrorCode::OutOfOrder, 0, "BeginBlock without an open frame cycle");
  if (!frame_) KL3_RAISE(ErrorCode::OutOfOrder, 0, "BeginBlock before a frame is ready");
  if (blockOpen_) KL3_RAISE(ErrorCode::OutOfOrder, 0, "a block is already open");
  if (completed_ >= kPartCount) KL3_RAISE(ErrorCode::OutOfOrder, 0, "all four parts were already transferred");
  blockOpen_ = true;
  dmaDone_ = false;
}

void FrameCycle::render(const Config& config) {
  const auto& s = frame_->settings;
  SceneSettings scene;
  scene.sensorWidth = config.sensorWidth;
  scene.sensorHeight = config.sensorHeight;
  scene.windowX = static_cast<unsigned>(s.x);
  scene.windowY = static_cast<unsigned>(s.y);
  scene.windowWidth = static_cast<unsigned>(s.width);
  scene.windowHeight = static_cast<unsigned>(s.height * s.decimation);
  scene.decimation = static_cast<unsigned>(s.decimation);
  scene.bayer = config.bayer;
  scene.exposureNs = s.exposureNs;
  scene.periodNs = s.periodNs;
  scene.gain = static_cast<double>(s.gain);
  scene.blackLevel = s.blackLevel;
  scene.testPattern = s.testMode == 1;

  const unsigned w = frameWidth(s), h = frameHeight(s);
  if (sceneFrameWidth(scene) != w || sceneFrameHeight(scene) != h)
    KL3_RAISE(ErrorCode::DeviceFault, 0,
              "scene size " + std::to_string(sceneFrameWidth(scene)) + "x" + std::to_string(sceneFrameHeight(scene)) +
                  " differs from the frame " + std::to_string(w) + "x" + std::to_string(h));
  std::vector<std::uint16_t> samples(static_cast<std::size_t>(w) * h);
  renderScene(scene, static_cast<std::uint32_t>(frame_->number), samples);
  const auto bytes = dmaPartBytes(w, h);
  std::array<std::span<std::uint8_t>, kPartCount> spans;
  for (std::size_t i = 0; i < kPartCount; ++i) {
    parts_[i].assign(bytes, 0);
    spans[i] = parts_[i];
  }
  packFrame(samples, w, h, spans);
  rendered_ = true;
}

void FrameCycle::startDma(std::span<std::uint8_t> target, const Config& config) {
  if (!blockOpen_) KL3_RAISE(ErrorCode::OutOfOrder, 0, "StartDma without BeginBlock");
  const auto bytes = partBytes();
  if (target.size() < bytes)
    KL3_RAISE(ErrorCode::BlockSize, 0,
              "DMA buffer of " + std::to_string(target.size()) + " bytes is smaller than the part (" +
                  std::to_string(bytes) + " bytes)");
  if (!rendered_) render(config);
  std::copy(parts_[completed_].begin(), parts_[completed_].end(), target.begin());
  dmaDone_ = true;
}

void FrameCycle::endBlock() {
  if (!blockOpen_) KL3_RAISE(ErrorCode::OutOfOrder, 0, "EndBlock without BeginBlock");
  if (dmaDone_) ++completed_;
  blockOpen_ = false;
  dmaDone_ = false;
}

}  // namespace kellib3
